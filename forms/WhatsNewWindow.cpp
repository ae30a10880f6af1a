#include "forms/WhatsNewWindow.h"

#include "mainwindow/WhatsNew.h"

#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

WhatsNewWindow::WhatsNewWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("WhatsNew"));
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);

    titlePanel = new QLabel(QStringLiteral("Zendrik"), this);
    titlePanel->setObjectName(QStringLiteral("titlePanel"));
    titlePanel->setTextFormat(Qt::PlainText);
    titlePanel->setAlignment(Qt::AlignCenter);
    titlePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    titlePanel->setMinimumHeight(40);
    QFont bold = titlePanel->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    titlePanel->setFont(bold);
    layout->addWidget(titlePanel);

    historyMemo = new QPlainTextEdit(this);
    historyMemo->setObjectName(QStringLiteral("historyMemo"));
    historyMemo->setReadOnly(true);
    // A vertical scroll bar only: long entries wrap at the memo's edge.
    historyMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    historyMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    historyMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    historyMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    historyMemo->setPlainText(WhatsNewHistory());
    layout->addWidget(historyMemo);
}
