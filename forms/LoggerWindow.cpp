#include "forms/LoggerWindow.h"

#include "app/AppContext.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoggerWindow::LoggerWindow(AppContext& app) : QWidget(nullptr, Qt::Window), app_(app)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Logger"));
    resize(395, 499);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    auto make = [this, buttons](QPushButton*& b, const char* name, const QString& caption, int row, int col) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b, row, col);
    };
    make(Button9, "Button9", QStringLiteral("Show Series1"), 0, 0);
    make(Button7, "Button7", QStringLiteral("Show Seriesx"), 0, 1);
    make(Button15, "Button15", QStringLiteral("Refresh Labels"), 0, 2);
    make(Button14, "Button14", QStringLiteral("Rd Labels"), 0, 3);
    // The designer's doubled ampersand shows as one; Qt escapes it the same way.
    make(Button17, "Button17", QStringLiteral("New Labels"), 1, 0);
    make(Button11, "Button11", QStringLiteral("R&&S SPEC Mode"), 1, 1);
    make(Button10, "Button10", QStringLiteral("R&&S REC Mode"), 1, 2);
    make(Button5, "Button5", QStringLiteral("clr Log"), 1, 3);
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Memo1, 1);

    connect(&app_.Debug, &DebugLog::LineAppended, Memo1, &QPlainTextEdit::appendPlainText);
    connect(&app_.Debug, &DebugLog::Cleared, Memo1, &QPlainTextEdit::clear);
    connect(Button9, &QPushButton::clicked, this, &LoggerWindow::Button9Click);
    connect(Button7, &QPushButton::clicked, this, &LoggerWindow::Button7Click);
    connect(Button15, &QPushButton::clicked, this, &LoggerWindow::Button15Click);
    connect(Button14, &QPushButton::clicked, this, &LoggerWindow::Button14Click);
    connect(Button17, &QPushButton::clicked, this, &LoggerWindow::Button17Click);
    connect(Button11, &QPushButton::clicked, this, &LoggerWindow::Button11Click);
    connect(Button10, &QPushButton::clicked, this, &LoggerWindow::Button10Click);
    connect(Button5, &QPushButton::clicked, this, &LoggerWindow::Button5Click);
}

void LoggerWindow::Button9Click()
{
    DumpSeries1(app_.Debug, *app_.LoggerHooks);
}

void LoggerWindow::Button7Click()
{
    DumpSeriesX(app_.Debug, *app_.LoggerHooks);
}

void LoggerWindow::Button15Click()
{
    app_.LoggerHooks->RefreshBottomAxisLabels();
}

void LoggerWindow::Button14Click()
{
    DumpBottomAxisLabels(app_.Debug, *app_.LoggerHooks);
    show();
}

void LoggerWindow::Button17Click()
{
    show();
    app_.LoggerHooks->DrawBottomAxisLabels();
}

void LoggerWindow::Button11Click()
{
    if (app_.LoggerHooks->DeviceConnected())
        app_.LoggerHooks->VisaWriteString(QStringLiteral(":INST:SEL SAN"));
}

void LoggerWindow::Button10Click()
{
    if (app_.LoggerHooks->DeviceConnected())
        app_.LoggerHooks->VisaWriteString(QStringLiteral(":INST:SEL REC"));
}

void LoggerWindow::Button5Click()
{
    app_.Debug.ClearLog();
}
