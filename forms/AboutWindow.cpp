#include "forms/AboutWindow.h"

#include "app/AppContext.h"
#include "app/ProgramVersion.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"

#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Plain text: an ampersand in a host or build text is a character, never a shortcut or markup.
QLabel* PlainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutWindow::AboutWindow(AppContext& app, Forms& forms) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);

    titleLabel = PlainLabel(QStringLiteral("Zendrik"), this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont big = titleLabel->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    titleLabel->setFont(big);
    layout->addWidget(titleLabel);

    auto* pairs = new QFormLayout;
    auto pair = [this, pairs](const QString& caption, QLabel*& value, const char* name, const QString& text) {
        value = PlainLabel(text, this);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        pairs->addRow(PlainLabel(caption, this), value);
    };
    pair(QStringLiteral("Version:"), versionLabel, "versionLabel", ProgramVersionText());
    pair(QStringLiteral("Build date:"), buildDateLabel, "buildDateLabel", BuildDateText());
    pair(QStringLiteral("Build #:"), buildLabel, "buildLabel", BuildNumberText());
    pair(QStringLiteral("Host #:"), hostIdLabel, "hostIdLabel", app_.HostId);
    layout->addLayout(pairs);

    closeButton = new QPushButton(QStringLiteral("OK"), this);
    closeButton->setObjectName(QStringLiteral("Button1"));
    closeButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    setMinimumWidth(300);

    if (forms.mainWindow)
        forms.mainWindow->setStatusText(StatusBarPanel::Version, VersionStatusText());
}

void AboutWindow::showEvent(QShowEvent* event)
{
    // The host identifier is computed by the main window's start-up; show the one in force.
    hostIdLabel->setText(app_.HostId);
    QDialog::showEvent(event);
}
