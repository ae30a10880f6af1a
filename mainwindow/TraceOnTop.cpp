#include "mainwindow/TraceOnTop.h"

#include "chart/engine/ChartElement.h"
#include "chart/engine/ChartSeriesList.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kFewestReordered = 8;

// The Names in drawing order: the ranked series by rank, with the clicked pair taken out and put
// last, in rank order (set 1, then set 2) after a flip to true and the other way after a flip to
// false.
QStringList WantedOrder(TopTracePair clicked, bool toggle)
{
    std::vector<const MainSeriesRow*> ranked;
    for (const MainSeriesRow& row : kMainChartSeries)
        if (row.DrawRank > 0)
            ranked.push_back(&row);
    std::sort(ranked.begin(), ranked.end(),
              [](const MainSeriesRow* a, const MainSeriesRow* b) { return a->DrawRank < b->DrawRank; });
    const auto onTop = std::stable_partition(ranked.begin(), ranked.end(),
                                             [clicked](const MainSeriesRow* row) { return row->Pair != clicked; });
    if (!toggle)
        std::reverse(onTop, ranked.end());
    QStringList order;
    for (const MainSeriesRow* row : ranked)
        order << QLatin1String(row->DesignerName);
    return order;
}

// Positions in current, in their new order; every position once.
std::vector<int> TraceOnTopPermutation(const QStringList& current, TopTracePair clicked, bool toggle)
{
    std::vector<int> order;
    std::vector<bool> placed(static_cast<size_t>(current.size()), false);
    if (current.size() >= kFewestReordered) {
        for (const QString& name : WantedOrder(clicked, toggle)) {
            for (qsizetype i = 0; i < current.size(); ++i) {
                if (!placed[static_cast<size_t>(i)] && current[i] == name) {
                    placed[static_cast<size_t>(i)] = true;
                    order.push_back(static_cast<int>(i));
                    break;
                }
            }
        }
    }
    for (qsizetype i = 0; i < current.size(); ++i)
        if (!placed[static_cast<size_t>(i)])
            order.push_back(static_cast<int>(i));
    return order;
}

} // namespace

QStringList TraceOnTopOrder(const QStringList& current, TopTracePair clicked, bool& toggle)
{
    toggle = !toggle;
    QStringList result;
    for (int i : TraceOnTopPermutation(current, clicked, toggle))
        result << current[i];
    return result;
}

void PutTraceOnTop(TCustomSeriesList& list, TopTracePair clicked, bool& toggle)
{
    toggle = !toggle;
    QStringList names;
    std::vector<TCustomChartSeries*> before;
    for (int i = 0; i < list.Count(); ++i) {
        before.push_back(list[i]);
        names << list[i]->Name();
    }
    const std::vector<int> order = TraceOnTopPermutation(names, clicked, toggle);
    for (size_t place = 0; place < order.size(); ++place)
        list.Put(static_cast<int>(place), before[static_cast<size_t>(order[place])]);
}
