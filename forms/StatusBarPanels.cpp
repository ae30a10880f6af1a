#include "forms/StatusBarPanels.h"

#include "forms/StatusPanel.h"
#include "mainwindow/StatusLine.h"

#include <QEvent>
#include <QLayout>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

StatusBarPanels::StatusBarPanels(QStatusBar& bar, QObject* parent) : QObject(parent), bar_(bar)
{
    static constexpr int kPanelWidths[] = {70, 50, 350, 110, 400, 140, 90, 50};
    bar_.setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 8; ++i) {
        auto* panel = new StatusPanel(kPanelWidths[i], &bar_);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        bar_.addWidget(panel);
        statusPanels.append(panel);
    }
    bar_.installEventFilter(this);
    statusTimer = new QTimer(this);
    statusTimer->setObjectName(QStringLiteral("Timer1"));
    statusTimer->setInterval(1000);
    connect(statusTimer, &QTimer::timeout, this, &StatusBarPanels::tick);
}

void StatusBarPanels::setText(int panel, const QString& text)
{
    if (panel >= 0 && panel < statusPanels.size())
        statusPanels[panel]->setText(text);
}

QString StatusBarPanels::text(int panel) const
{
    return panel >= 0 && panel < statusPanels.size() ? statusPanels[panel]->text() : QString();
}

void StatusBarPanels::start()
{
    statusTimer->start();
}

void StatusBarPanels::stop()
{
    statusTimer->stop();
}

bool StatusBarPanels::eventFilter(QObject* watched, QEvent* event)
{
    // A panel's new text asks the status bar for a new layout.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) && watched == &bar_)
        AllotWidths();
    return QObject::eventFilter(watched, event);
}

// Short of room the panels that matter least give way first: the unused one, the version, the
// clock, the memory, the grid's hint, then the long settings echo; the connection and the model
// last.
void StatusBarPanels::AllotWidths()
{
    static const std::vector<int> kShrinkOrder = {1, 6, 7, 5, 2, 4, 0, 3};
    std::vector<StatusPanelRoom> rooms;
    for (const StatusPanel* panel : statusPanels)
        rooms.push_back({panel->designWidth(), panel->wholeWidth(), panel->minimumSizeHint().width()});
    const QLayout* layout = bar_.layout();
    const QMargins m = layout ? layout->contentsMargins() : QMargins();
    const int spacing = layout ? std::max(layout->spacing(), 0) : 0;
    // The size grip and the room the bar leaves around each panel.
    const int grip = bar_.isSizeGripEnabled() ? bar_.style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, &bar_) : 0;
    const int available = bar_.width() - m.left() - m.right() - grip -
                          static_cast<int>(statusPanels.size() + 1) * (spacing + 4);
    const std::vector<int> widths = AllotStatusPanelWidths(rooms, kShrinkOrder, available);
    bool changed = false;
    for (qsizetype i = 0; i < statusPanels.size(); ++i)
        changed = statusPanels[i]->setAllotted(widths[static_cast<size_t>(i)]) || changed;
    // The bar has laid itself out for the request that brought the panel's new text: once more
    // with the new widths.
    if (changed && layout)
        bar_.layout()->activate();
}
