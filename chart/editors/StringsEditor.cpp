#include "chart/editors/StringsEditor.h"

#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/engine/PlotMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

// A text split at its LFs; a final LF ends the last line and starts none.
QStringList SplitLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

bool ReadTextFileLines(const QString& fileName, QStringList& lines, QString& error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = fileName + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = fileName + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = SplitLines(text);
    return true;
}

bool WriteTextFileLines(const QString& fileName, const QStringList& lines, QString& error)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + '\n';
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = fileName + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

TStringsEditor::TStringsEditor(const EditorDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("StringsEditor"));
    setWindowTitle(QStringLiteral("Text Editor"));
    InitChartMessages();

    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("Memo"));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    copyButton = new QPushButton(QStringLiteral("&Copy"), this);
    copyButton->setObjectName(QStringLiteral("CopyButton"));
    loadButton = new QPushButton(QStringLiteral("&Load.."), this);
    loadButton->setObjectName(QStringLiteral("LoadButton"));
    saveButton = new QPushButton(QStringLiteral("&Save..."), this);
    saveButton->setObjectName(QStringLiteral("SaveButton"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setAutoDefault(false);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setDefault(true);
    for (QPushButton* b : {copyButton, loadButton, saveButton})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(loadButton);
    buttons->addWidget(saveButton);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(copyButton, &QPushButton::clicked, this, &TStringsEditor::CopyText);
    connect(loadButton, &QPushButton::clicked, this, &TStringsEditor::LoadFile);
    connect(saveButton, &QPushButton::clicked, this, &TStringsEditor::SaveFile);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList TStringsEditor::Lines() const
{
    return SplitLines(memo->toPlainText());
}

void TStringsEditor::SetLines(const QStringList& lines)
{
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TStringsEditor::CopyText()
{
    const QTextCursor cursor = memo->textCursor();
    const QString text = cursor.hasSelection() ? cursor.selection().toPlainText() : memo->toPlainText();
    QApplication::clipboard()->setText(text);
}

QString TStringsEditor::AskFile(bool save)
{
    const auto& ask = dialogs_.TextFile ? dialogs_.TextFile : DefaultEditorDialogs().TextFile;
    const QString title = PlotMessage(save ? PlotMsg::EditorSaveAsTextFile : PlotMsg::EditorSelectTextFile);
    const QString filter = PlotMessage(PlotMsg::ExportTextFile) + QStringLiteral(" (*.txt)");
    return ask(this, save, title, filter, QStringLiteral("txt"));
}

void TStringsEditor::LoadFile()
{
    const QString fileName = AskFile(false);
    if (fileName.isEmpty())
        return;
    QStringList lines;
    QString error;
    if (!ReadTextFileLines(fileName, lines, error)) {
        ShowEditorError(dialogs_, error, this);
        return;
    }
    SetLines(lines);
}

void TStringsEditor::SaveFile()
{
    const QString fileName = AskFile(true);
    if (fileName.isEmpty())
        return;
    QString error;
    if (!WriteTextFileLines(fileName, Lines(), error))
        ShowEditorError(dialogs_, error, this);
}

bool ShowStringsEditor(const EditorDialogs& dialogs, QWidget* owner, QStringList& strings, bool readOnly)
{
    auto form = CreateEditorForm<TStringsEditor>(owner, dialogs);
    form->SetLines(strings);
    form->memo->setReadOnly(readOnly);
    form->loadButton->setEnabled(!readOnly);
    if (RunEditorDialog(dialogs, *form) != QDialog::Accepted)
        return false;
    if (!readOnly)
        strings = form->Lines();
    return true;
}
