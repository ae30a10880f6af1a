#ifndef ZENDRIK_DATAFILES_SEGMENTLOADER_H
#define ZENDRIK_DATAFILES_SEGMENTLOADER_H

#include "chart/canvas/PlotColor.h"

#include <QString>
#include <cstdint>

struct DataFileContext;
struct SegmentTable;
class CheckListModel;
class TChartSeries;

// Loads a segment file into the table of a measurement set and refreshes the set's two display
// companions: the mark series (the point (0, markLevel), then one point at every segment's stop
// frequency in kHz, each in markColor) and the check list ("all" and one row per segment, all
// checked). The file is parsed into a temporary first; after a failure the table has Count 0 and
// the companions show only the start point and "all". The caller empties the estimated-time label
// before and refreshes it afterwards. Returns why the file gave no segment, as LoadSegmentTable
// does (SegmentTable.h); empty on success or without a file.
QString LoadSegmentFile(SegmentTable& table, const QString& fileName, TChartSeries& marks,
                        CheckListModel& checkList, TColor markColor, double markLevel, int32_t sweepWaitMarginMs,
                        const DataFileContext& context);

#endif
