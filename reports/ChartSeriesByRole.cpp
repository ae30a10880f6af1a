#include "reports/ChartSeriesByRole.h"

#include <array>
#include <cstddef>

TChartSeries* ChartSeriesByRole::Number(int n) const
{
    using Member = TChartSeries* ChartSeriesByRole::*;
    static constexpr std::array<Member, kCount> members = {
        &ChartSeriesByRole::Raw1,           &ChartSeriesByRole::Limit1,
        &ChartSeriesByRole::Cable,          &ChartSeriesByRole::Lisn,
        &ChartSeriesByRole::Limit2,         &ChartSeriesByRole::TablePreview,
        &ChartSeriesByRole::Corrected1,     &ChartSeriesByRole::Raw2,
        &ChartSeriesByRole::Corrected2,     &ChartSeriesByRole::Amplifier,
        &ChartSeriesByRole::Antenna,        &ChartSeriesByRole::Reference1Set1,
        &ChartSeriesByRole::Reference1Set2, &ChartSeriesByRole::Margin1,
        &ChartSeriesByRole::Margin2,        &ChartSeriesByRole::Master,
        &ChartSeriesByRole::SegmentMarks1,  &ChartSeriesByRole::SegmentMarks2,
        &ChartSeriesByRole::Reference2Set1, &ChartSeriesByRole::Reference2Set2,
        &ChartSeriesByRole::Reference3Set1, &ChartSeriesByRole::Reference3Set2,
        &ChartSeriesByRole::GeneratorAmplifier, &ChartSeriesByRole::TemCell,
        &ChartSeriesByRole::Smoothing1,     &ChartSeriesByRole::Compensation1,
        &ChartSeriesByRole::Arithmetic,     &ChartSeriesByRole::Smoothing2,
        &ChartSeriesByRole::Compensation2,
    };
    if (n < 1 || n > kCount)
        return nullptr;
    return this->*members[static_cast<size_t>(n - 1)];
}
