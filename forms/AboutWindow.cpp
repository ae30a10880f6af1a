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
    LabelHost = new QLabel(this);
    LabelHost->setObjectName(QStringLiteral("LabelHost"));
    LabelHost->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name);
    layout->addWidget(LabelHost);
    LabelHost->setText(QStringLiteral("Host #:") + app_.HostId);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    LabelHost->setText(QStringLiteral("Host #:") + app_.HostId);
    QDialog::showEvent(event);
}
