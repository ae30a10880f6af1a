#include "forms/TForm2.h"

#include "app/AppContext.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm2::TForm2(AppContext& app) : QWidget(nullptr, Qt::Window), app_(app)
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
    connect(Button9, &QPushButton::clicked, this, &TForm2::Button9Click);
    connect(Button7, &QPushButton::clicked, this, &TForm2::Button7Click);
    connect(Button15, &QPushButton::clicked, this, &TForm2::Button15Click);
    connect(Button14, &QPushButton::clicked, this, &TForm2::Button14Click);
    connect(Button17, &QPushButton::clicked, this, &TForm2::Button17Click);
    connect(Button11, &QPushButton::clicked, this, &TForm2::Button11Click);
    connect(Button10, &QPushButton::clicked, this, &TForm2::Button10Click);
    connect(Button5, &QPushButton::clicked, this, &TForm2::Button5Click);
}

void TForm2::Button9Click()
{
    DumpSeries1(app_.Debug, *app_.LoggerHooks);
}

void TForm2::Button7Click()
{
    DumpSeriesX(app_.Debug, *app_.LoggerHooks);
}

void TForm2::Button15Click()
{
    app_.LoggerHooks->RefreshBottomAxisLabels();
}

void TForm2::Button14Click()
{
    DumpBottomAxisLabels(app_.Debug, *app_.LoggerHooks);
    show();
}

void TForm2::Button17Click()
{
    show();
    app_.LoggerHooks->DrawBottomAxisLabels();
}

void TForm2::Button11Click()
{
    if (app_.LoggerHooks->DeviceConnected())
        app_.LoggerHooks->VisaWriteString(QStringLiteral(":INST:SEL SAN"));
}

void TForm2::Button10Click()
{
    if (app_.LoggerHooks->DeviceConnected())
        app_.LoggerHooks->VisaWriteString(QStringLiteral(":INST:SEL REC"));
}

void TForm2::Button5Click()
{
    app_.Debug.ClearLog();
}
