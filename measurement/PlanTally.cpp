#include "measurement/PlanTally.h"

#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// "2, 4-6": runs of consecutive segment numbers, each as its first and last.
QString SegmentRanges(const std::vector<int>& segments)
{
    QStringList ranges;
    for (size_t k = 0; k < segments.size();) {
        size_t last = k;
        while (last + 1 < segments.size() && segments[last + 1] == segments[last] + 1)
            ++last;
        ranges << (last == k ? QString::number(segments[k])
                             : QStringLiteral("%1-%2").arg(segments[k]).arg(segments[last]));
        k = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

} // namespace

void PlanTally::Plan(int segment) { segments_.try_emplace(segment); }

void PlanTally::Record(int segment, Measured measured, const QString& reason)
{
    Outcome& o = segments_[segment];
    if (o.recorded && measured <= o.measured)
        return;
    o = {measured, measured == Measured::Whole ? QString() : reason, true};
}

int PlanTally::Count(Measured measured) const
{
    int count = 0;
    for (const auto& [segment, o] : segments_)
        count += o.measured == measured;
    return count;
}

QString PlanTally::Summary(int setNumber) const
{
    if (Complete())
        return {};
    QString line = QStringLiteral("Warning: Set%1: %2 of %3 segments measured whole")
                       .arg(setNumber)
                       .arg(Count(Measured::Whole))
                       .arg(Planned());
    for (const auto& [kind, words] : {std::pair{Measured::InPart, "in part"}, {Measured::None, "not measured"}}) {
        // One group per reason, in the order of its first segment.
        std::vector<std::pair<QString, std::vector<int>>> groups;
        for (const auto& [segment, o] : segments_) {
            if (o.measured != kind)
                continue;
            QString reason = o.recorded ? o.reason : endReason_;
            if (reason.isEmpty())
                reason = QStringLiteral("no trace");
            auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == reason; });
            if (group == groups.end())
                group = groups.insert(groups.end(), {reason, {}});
            group->second.push_back(segment);
        }
        QStringList texts;
        for (const auto& [reason, segments] : groups)
            texts << QStringLiteral("seg ") + SegmentRanges(segments) + QStringLiteral(" (") + reason +
                         QLatin1Char(')');
        if (!texts.isEmpty())
            line += QStringLiteral("; ") + QLatin1String(words) + QStringLiteral(": ") +
                    texts.join(QStringLiteral(", "));
    }
    return line;
}
