#include "forms/LoggerWindow.h"

#include "app/AppContext.h"
#include "forms/CompactView.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoggerWindow::LoggerWindow(AppContext& app) : QWidget(nullptr, Qt::Window), app_(app)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Logger"));
    resize(QSize(395, 499).boundedTo(kSmallScreenRoom));

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    auto make = [this, buttons](QPushButton*& b, const char* name, const QString& caption, int row, int col) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b, row, col);
    };
    make(showSeries1Button, "Button9", QStringLiteral("Show Series1"), 0, 0);
    make(showSeriesXButton, "Button7", QStringLiteral("Show Seriesx"), 0, 1);
    make(refreshLabelsButton, "Button15", QStringLiteral("Refresh Labels"), 0, 2);
    make(readLabelsButton, "Button14", QStringLiteral("Rd Labels"), 0, 3);
    // The designer's doubled ampersand shows as one; Qt escapes it the same way.
    make(newLabelsButton, "Button17", QStringLiteral("New Labels"), 1, 0);
    make(spectrumModeButton, "Button11", QStringLiteral("R&&S SPEC Mode"), 1, 1);
    make(receiverModeButton, "Button10", QStringLiteral("R&&S REC Mode"), 1, 2);
    make(clearLogButton, "Button5", QStringLiteral("clr Log"), 1, 3);
    layout->addLayout(buttons);

    debugLog = new QPlainTextEdit(this);
    debugLog->setObjectName(QStringLiteral("Memo1"));
    debugLog->setReadOnly(true);
    debugLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(debugLog, 1);

    connect(&app_.Debug, &DebugLog::LineAppended, debugLog, &QPlainTextEdit::appendPlainText);
    connect(&app_.Debug, &DebugLog::Cleared, debugLog, &QPlainTextEdit::clear);
    connect(showSeries1Button, &QPushButton::clicked, this, &LoggerWindow::dumpRawTrace1);
    connect(showSeriesXButton, &QPushButton::clicked, this, &LoggerWindow::dumpCorrectedTrace1AndTables);
    connect(refreshLabelsButton, &QPushButton::clicked, this, &LoggerWindow::refreshBottomAxisLabels);
    connect(readLabelsButton, &QPushButton::clicked, this, &LoggerWindow::dumpBottomAxisLabels);
    connect(newLabelsButton, &QPushButton::clicked, this, &LoggerWindow::drawBottomAxisLabels);
    connect(spectrumModeButton, &QPushButton::clicked, this, &LoggerWindow::selectSpectrumMode);
    connect(receiverModeButton, &QPushButton::clicked, this, &LoggerWindow::selectReceiverMode);
    connect(clearLogButton, &QPushButton::clicked, this, &LoggerWindow::clearLog);
}

void LoggerWindow::dumpRawTrace1()
{
    DumpSeries1(app_.Debug, *app_.LoggerHooks);
}

void LoggerWindow::dumpCorrectedTrace1AndTables()
{
    DumpSeriesX(app_.Debug, *app_.LoggerHooks);
}

void LoggerWindow::refreshBottomAxisLabels()
{
    app_.LoggerHooks->RefreshBottomAxisLabels();
}

void LoggerWindow::dumpBottomAxisLabels()
{
    DumpBottomAxisLabels(app_.Debug, *app_.LoggerHooks);
    show();
}

void LoggerWindow::drawBottomAxisLabels()
{
    show();
    emit bottomAxisLabelsRequested();
}

void LoggerWindow::selectSpectrumMode()
{
    app_.LoggerHooks->SelectSpectrumMode();
}

void LoggerWindow::selectReceiverMode()
{
    app_.LoggerHooks->SelectReceiverMode();
}

void LoggerWindow::clearLog()
{
    app_.Debug.ClearLog();
}
