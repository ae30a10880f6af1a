#include "datafiles/SegmentLoader.h"

#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/SegmentTable.h"

QString LoadSegmentFile(SegmentTable& table, const QString& fileName, TChartSeries& marks,
                        CheckListModel& checkList, TColor markColor, double markLevel, int32_t sweepWaitMarginMs,
                        const DataFileContext& context)
{
    QString fault = LoadSegmentTable(table, fileName, sweepWaitMarginMs, context);

    std::vector<CheckListModel::Row> rows;
    rows.reserve(static_cast<size_t>(table.Count) + 1);
    rows.push_back({QStringLiteral("all"), true});
    {
        TChartSeries::UpdateScope hold(marks);
        marks.Clear();
        marks.AddPointXY(0.0, markLevel, QString(), markColor);
        for (int n = 1; n <= table.Count; ++n) {
            marks.AddPointXY(static_cast<double>(RoundHalfEven(static_cast<double>(table.Segment(n).StopHz) / 1000.0)),
                             markLevel, QString(), markColor);
            rows.push_back({QString::number(n), true});
        }
    }
    checkList.Assign(std::move(rows));
    return fault;
}
