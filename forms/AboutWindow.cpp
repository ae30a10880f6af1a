#include "forms/AboutWindow.h"

#include "app/AppContext.h"

#include <QLabel>
#include <QVBoxLayout>

AboutWindow::AboutWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Zendrik"), this);
    hostIdLabel = new QLabel(this);
    hostIdLabel->setObjectName(QStringLiteral("LabelHost"));
    hostIdLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name);
    layout->addWidget(hostIdLabel);
    hostIdLabel->setText(QStringLiteral("Host #:") + app_.HostId);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    hostIdLabel->setText(QStringLiteral("Host #:") + app_.HostId);
    QDialog::showEvent(event);
}
