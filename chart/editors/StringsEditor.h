#ifndef ZENDRIK_CHART_EDITORS_STRINGSEDITOR_H
#define ZENDRIK_CHART_EDITORS_STRINGSEDITOR_H

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
struct EditorDialogs;

// Lines of a UTF-8 text file with any line ends (CR LF, LF, CR); false with the reason, and the
// lines untouched, when it cannot be read.
bool ReadTextFileLines(const QString& fileName, QStringList& lines, QString& error);
// Writes the lines as UTF-8, each ended by LF, through a temporary file; false with the reason,
// and the old file kept, when it cannot be written.
bool WriteTextFileLines(const QString& fileName, const QStringList& lines, QString& error);

// "Text Editor": a block of text in a memo, with copy, load and save.
class TStringsEditor : public QDialog {
    Q_OBJECT
public:
    explicit TStringsEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    QStringList Lines() const;
    void SetLines(const QStringList& lines);

    QPlainTextEdit* memo;
    QPushButton* copyButton;    // "&Copy"
    QPushButton* loadButton;    // "&Load.."
    QPushButton* saveButton;    // "&Save..."
    QPushButton* okButton;      // "OK"
    QPushButton* cancelButton;  // "Cancel", the default button

private:
    void CopyText();
    void LoadFile();
    void SaveFile();
    QString AskFile(bool save);

    const EditorDialogs& dialogs_;
};

// Shows the text editor modally on the strings, read-only when asked; on OK, and only when not
// read-only, the strings take the memo's lines. True on OK.
bool ShowStringsEditor(const EditorDialogs& dialogs, QWidget* owner, QStringList& strings, bool readOnly);

#endif
