#ifndef ZENDRIK_FORMS_MESSAGESPANEL_H
#define ZENDRIK_FORMS_MESSAGESPANEL_H

#include <QWidget>

class MessageLog;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The main window's messages panel along its bottom: the operator's message log with its pop-up
// menu, "Debug" and the tools debug mode shows, and the program's logo.
class MessagesPanel : public QWidget {
    Q_OBJECT
public:
    // The log shows every line of messages and empties with it.
    MessagesPanel(MessageLog& messages, QWidget* parent);

    void showDebugControls(bool shown);
    // The debug read-out of the level look-up.
    void showDebugText(const QString& text);
    void showLogo();

signals:
    void debugClicked(bool checked);
    void showLogClicked();
    void createIniFileClicked();
    // "Save to File" of the log's pop-up menu.
    void saveMessagesRequested();

private:
    QGroupBox* messagesGroup = nullptr;     // GroupBox3 "Messages"
    QPlainTextEdit* messageLog = nullptr;   // Memo1, the operator's message log
    QAction* saveMessagesAction = nullptr;  // SavetoFile1 "Save to File"
    QAction* clearMessagesAction = nullptr; // ClearMessages1 "Clear Messages"
    QCheckBox* debugCheckBox = nullptr;     // CheckBox1 "Debug"
    QPushButton* showLogButton = nullptr;   // Button1 "Show Log", debug only
    QPushButton* createIniFileButton = nullptr; // Button19 "Create ini File", debug only
    QLabel* debugLabel = nullptr;           // Label2, debug only
    QLabel* logo = nullptr;                 // Image2, the program's logo
};

#endif
