#include "mainwindow/TraceOnTop.h"

#include "chart/engine/ChartElement.h"
#include "chart/engine/ChartSeriesList.h"

#include <array>
#include <vector>

namespace {

constexpr std::array<const char*, 16> kBelowPairs = {
    "Series24", "Series1",  "Series2",  "Series3",  "Series4",  "Series5",  "Series6",  "Series8",
    "Series10", "Series11", "Series14", "Series15", "Series16", "Series17", "Series18", "Series23"};

constexpr std::array<std::array<const char*, 2>, 4> kPairs = {{
    {"Series7", "Series9"},
    {"Series12", "Series13"},
    {"Series19", "Series20"},
    {"Series21", "Series22"},
}};

constexpr int kFewestReordered = 8;

QStringList WantedOrder(TopTracePair clicked, uint8_t toggle)
{
    QStringList order;
    for (const char* name : kBelowPairs)
        order << QLatin1String(name);
    const size_t top = static_cast<size_t>(clicked);
    for (size_t p = 0; p < kPairs.size(); ++p)
        if (p != top)
            order << QLatin1String(kPairs[p][0]) << QLatin1String(kPairs[p][1]);
    const auto& pair = kPairs[top];
    if (toggle == 1)
        order << QLatin1String(pair[0]) << QLatin1String(pair[1]);
    else
        order << QLatin1String(pair[1]) << QLatin1String(pair[0]);
    return order;
}

// Positions in current, in their new order; every position once.
std::vector<int> TraceOnTopPermutation(const QStringList& current, TopTracePair clicked, uint8_t toggle)
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

QStringList TraceOnTopOrder(const QStringList& current, TopTracePair clicked, uint8_t& toggle)
{
    toggle = toggle == 0 ? 1 : 0;
    QStringList result;
    for (int i : TraceOnTopPermutation(current, clicked, toggle))
        result << current[i];
    return result;
}

void PutTraceOnTop(TCustomSeriesList& list, TopTracePair clicked, uint8_t& toggle)
{
    toggle = toggle == 0 ? 1 : 0;
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
