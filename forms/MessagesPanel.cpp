#include "forms/MessagesPanel.h"

#include "app/Log.h"
#include "forms/PanelControls.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MessagesPanel::MessagesPanel(MessageLog& messages, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);

    messagesGroup = new QGroupBox(QStringLiteral("Messages"), this);
    messagesGroup->setObjectName(QStringLiteral("GroupBox3"));
    auto* inner = new QVBoxLayout(messagesGroup);
    inner->setContentsMargins(4, 2, 4, 4);
    messageLog = new QPlainTextEdit(messagesGroup);
    messageLog->setObjectName(QStringLiteral("Memo1"));
    messageLog->setReadOnly(true);
    messageLog->setFixedHeight(72);
    inner->addWidget(messageLog);
    row->addWidget(messagesGroup, 1);

    auto* tools = new QVBoxLayout;
    debugCheckBox = NamedCheckBox(this, "CheckBox1", QStringLiteral("Debug"));
    showLogButton = NamedButton(this, "Button1", QStringLiteral("Show Log"));
    createIniFileButton = NamedButton(this, "Button19", QStringLiteral("Create ini File"));
    createIniFileButton->setToolTip(QStringLiteral("Create advanced options inifile"));
    debugLabel = NamedLabel(this, "Label2");
    logo = NamedLabel(this, "Image2");
    logo->setPixmap(QPixmap(QStringLiteral(":/forms/Logo.png")).scaledToHeight(64, Qt::SmoothTransformation));
    tools->addWidget(debugCheckBox);
    tools->addWidget(showLogButton);
    tools->addWidget(createIniFileButton);
    tools->addWidget(debugLabel);
    tools->addStretch();
    row->addLayout(tools);
    row->addWidget(logo, 0, Qt::AlignBottom);

    saveMessagesAction = new QAction(QStringLiteral("Save to File"), messageLog);
    saveMessagesAction->setObjectName(QStringLiteral("SavetoFile1"));
    clearMessagesAction = new QAction(QStringLiteral("Clear Messages"), messageLog);
    clearMessagesAction->setObjectName(QStringLiteral("ClearMessages1"));
    messageLog->setContextMenuPolicy(Qt::ActionsContextMenu);
    messageLog->addAction(saveMessagesAction);
    messageLog->addAction(clearMessagesAction);

    connect(&messages, &MessageLog::LineAppended, messageLog, &QPlainTextEdit::appendPlainText);
    connect(&messages, &MessageLog::Cleared, messageLog, &QPlainTextEdit::clear);
    connect(clearMessagesAction, &QAction::triggered, &messages, &MessageLog::Clear);
    connect(saveMessagesAction, &QAction::triggered, this, &MessagesPanel::saveMessagesRequested);
    connect(debugCheckBox, &QCheckBox::clicked, this, &MessagesPanel::debugClicked);
    connect(showLogButton, &QPushButton::clicked, this, &MessagesPanel::showLogClicked);
    connect(createIniFileButton, &QPushButton::clicked, this, &MessagesPanel::createIniFileClicked);
}

void MessagesPanel::showDebugControls(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(debugLabel), static_cast<QWidget*>(createIniFileButton),
                       static_cast<QWidget*>(showLogButton)})
        w->setVisible(shown);
}

void MessagesPanel::showDebugText(const QString& text)
{
    debugLabel->setText(text);
}

void MessagesPanel::showLogo()
{
    logo->show();
}
