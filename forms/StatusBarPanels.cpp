#include "forms/StatusBarPanels.h"

#include "forms/StatusPanel.h"
#include "mainwindow/StatusLine.h"

#include <QEvent>
#include <QLayout>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

struct PanelRow {
    StatusBarPanel panel;
    int width; // pixels at the start size
    // Short of room the panels give way from the lowest number up: the unused one, the version,
    // the clock, the memory, the grid's hint, then the long settings echo; the connection, the
    // model and a generator left on last.
    int givesWay;
};

// clang-format off
constexpr std::array<PanelRow, kStatusBarPanelCount> kPanels = {{
    {StatusBarPanel::Connection, 70,  6},
    {StatusBarPanel::Spare,      50,  0},
    {StatusBarPanel::Hint,       350, 4},
    {StatusBarPanel::Model,      110, 7},
    {StatusBarPanel::Settings,   400, 5},
    {StatusBarPanel::Memory,     140, 3},
    {StatusBarPanel::Version,    90,  1},
    {StatusBarPanel::Clock,      50,  2},
    {StatusBarPanel::Generator,  0,   8},
}};
// clang-format on

constexpr bool RowsInPanelOrder()
{
    for (size_t i = 0; i < kPanels.size(); ++i)
        if (PanelIndex(kPanels[i].panel) != i)
            return false;
    return true;
}
static_assert(RowsInPanelOrder(), "one row per status bar panel, in the panels' order");

} // namespace

StatusBarPanels::StatusBarPanels(QStatusBar& bar, QObject* parent) : QObject(parent), statusBar(bar)
{
    statusBar.setObjectName(QStringLiteral("StatusBar1"));
    for (const PanelRow& row : kPanels) {
        auto* panel = new StatusPanel(row.width, &statusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(PanelIndex(row.panel)));
        if (row.panel == StatusBarPanel::Generator) { // a radiating output is not to be overlooked
            QPalette p = panel->palette();
            p.setColor(QPalette::WindowText, Qt::red);
            panel->setPalette(p);
        }
        statusBar.addWidget(panel);
        statusPanels.append(panel);
    }
    statusBar.installEventFilter(this);
    statusTimer = new QTimer(this);
    statusTimer->setObjectName(QStringLiteral("Timer1"));
    statusTimer->setInterval(1000);
    connect(statusTimer, &QTimer::timeout, this, &StatusBarPanels::tick);
}

void StatusBarPanels::setText(StatusBarPanel panel, const QString& text)
{
    statusPanels.at(static_cast<qsizetype>(PanelIndex(panel)))->setText(text);
}

QString StatusBarPanels::text(StatusBarPanel panel) const
{
    return statusPanels.at(static_cast<qsizetype>(PanelIndex(panel)))->text();
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
    if ((event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) && watched == &statusBar)
        AllotWidths();
    return QObject::eventFilter(watched, event);
}

void StatusBarPanels::AllotWidths()
{
    std::vector<StatusPanelRoom> rooms;
    for (const PanelRow& row : kPanels) {
        const StatusPanel* panel = statusPanels.at(static_cast<qsizetype>(PanelIndex(row.panel)));
        rooms.push_back(
            {panel->designWidth(), panel->wholeWidth(), panel->minimumSizeHint().width(), row.givesWay});
    }
    const QLayout* layout = statusBar.layout();
    const QMargins m = layout ? layout->contentsMargins() : QMargins();
    const int spacing = layout ? std::max(layout->spacing(), 0) : 0;
    // The size grip and the room the bar leaves around each panel.
    const int grip = statusBar.isSizeGripEnabled() ? statusBar.style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, &statusBar) : 0;
    const int available = statusBar.width() - m.left() - m.right() - grip -
                          static_cast<int>(statusPanels.size() + 1) * (spacing + 4);
    const std::vector<int> widths = AllotStatusPanelWidths(rooms, available);
    bool changed = false;
    for (qsizetype i = 0; i < statusPanels.size(); ++i)
        changed = statusPanels[i]->setAllotted(widths[static_cast<size_t>(i)]) || changed;
    // The bar has laid itself out for the request that brought the panel's new text: once more
    // with the new widths.
    if (changed && layout)
        statusBar.layout()->activate();
}
