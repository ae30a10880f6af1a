// Segment files: the editor's reader and the run-time loader with its marks and check list.
#include "chart/engine/ChartSeries.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/SegmentFiles.h"
#include "datafiles/SegmentLoader.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteScratchFile(QStringLiteral("segment/src/fuzz.seg"),
                           QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    DataFileContext context;
    context.WorkingFolder = fuzz::ScratchFolder() + QStringLiteral("/segment");
    const QString path = QStringLiteral(".\\src\\fuzz.seg");

    TableBuffer grid;
    LoadSegmentFileIntoEditor(grid, path, context);
    fuzz::Check(grid.Rows() <= TableBuffer::kMaxRows, "the editor's grid stays within its limit");
    // What the editor saves, the run reads: a grid it would refuse is not written.
    const QString copy = fuzz::ScratchFolder() + QStringLiteral("/segment/src/copy.seg");
    QFile::remove(copy);
    if (SaveSegmentFile(grid, copy, context))
        fuzz::Check(ParseSegmentFile(copy, 0).Error.isEmpty(), "the run takes the saved segment file");

    // A table half read before: a failed load must not leave it behind.
    const auto table = std::make_unique<SegmentTable>();
    table->Count = 3;
    TChartSeries marks;
    CheckListModel checkList;
    const bool ok = LoadSegmentFile(*table, path, marks, checkList, 0xFF, 5.0, 1000, context).isEmpty();
    fuzz::Check(ok || table->Count == 0, "a failed load leaves no segments");
    fuzz::Check(table->Count >= 0 && table->Count <= SegmentTable::kMaxSegments, "at most 500 segments");
    fuzz::Check(marks.Count() == table->Count + 1 && checkList.Count() == table->Count + 1,
                "one mark and one check-list row per segment, and the first ones");
    int64_t previousStop = 0;
    int64_t total = 0;
    for (int n = 1; n <= table->Count; ++n) {
        const SegmentRecord& s = table->Segment(n);
        fuzz::Check(s.StartHz >= previousStop && s.StartHz <= s.StopHz, "segments are in order");
        fuzz::Check(s.PreAmp == QLatin1String("on") || s.PreAmp == QLatin1String("off"), "preamplifier on or off");
        for (const SegmentColumnInfo& column : kSegmentColumns)
            fuzz::Check(column.Bound.Refusal(s).isEmpty(), "every value within its column's bound");
        previousStop = s.StopHz;
        total += 1000 + 3000 + static_cast<int64_t>(s.SweepMs);
    }
    fuzz::Check(total == table->TotalTimeMs, "the total time is the sum over the segments");
    return 0;
}
