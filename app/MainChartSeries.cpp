#include "app/MainChartSeries.h"

// The table is checked where it is built, so that a row out of place fails the build instead of
// putting a file's curve into the wrong series.
namespace {

constexpr bool NamedByNumber(const char* name, int number)
{
    constexpr const char* prefix = "Series";
    for (int i = 0; prefix[i] != '\0'; ++i, ++name)
        if (*name != prefix[i])
            return false;
    if (*name == '\0')
        return false;
    int value = 0;
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9')
            return false;
        value = value * 10 + (*name - '0');
    }
    return value == number;
}

constexpr bool RowsInNumberOrder()
{
    for (size_t i = 0; i < kMainChartSeries.size(); ++i) {
        const MainSeriesRow& row = kMainChartSeries[i];
        if (IndexOf(row.Role) != i || !NamedByNumber(row.DesignerName, NumberOf(row.Role)))
            return false;
    }
    return true;
}

// Ranks 1 .. 24 each once: the series below the pairs first, then two per pair in the order of
// the labels.
constexpr bool DrawRanksComplete()
{
    constexpr int kPairedFrom = 17;
    constexpr int kRanked = 24;
    for (int rank = 1; rank <= kRanked; ++rank) {
        int holders = 0;
        for (const MainSeriesRow& row : kMainChartSeries)
            if (row.DrawRank == rank) {
                ++holders;
                if (row.Pair.has_value() != (rank >= kPairedFrom))
                    return false;
                if (row.Pair && (rank - kPairedFrom) / 2 != static_cast<int>(*row.Pair))
                    return false;
            }
        if (holders != 1)
            return false;
    }
    for (const MainSeriesRow& row : kMainChartSeries)
        if (row.DrawRank > kRanked)
            return false;
    return true;
}

static_assert(RowsInNumberOrder(), "the rows must follow the series numbers");
static_assert(DrawRanksComplete(), "every drawing rank must be held once");

} // namespace
