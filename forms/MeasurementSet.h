#ifndef ZENDRIK_FORMS_MEASUREMENTSET_H
#define ZENDRIK_FORMS_MEASUREMENTSET_H

#include "app/MainChartSeries.h"
#include "app/MeasureSet.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/SegmentTable.h"
#include "measurement/PeakLists.h"

#include <array>

// The main chart's series of one measurement set.
struct SetSeriesRoles {
    SeriesRole raw;
    SeriesRole corrected;
    SeriesRole smoothing;
    SeriesRole compensation;
    SeriesRole segmentMarks;
};
inline constexpr PerSet<SetSeriesRoles> kSetSeriesRoles{{{
    {SeriesRole::rawTrace1, SeriesRole::correctedTrace1, SeriesRole::smoothing1, SeriesRole::compensation1,
     SeriesRole::segmentMarks1},
    {SeriesRole::rawTrace2, SeriesRole::correctedTrace2, SeriesRole::smoothing2, SeriesRole::compensation2,
     SeriesRole::segmentMarks2},
}}};

// A measurement set as the main window holds it: its segment plan, the segments ticked for the
// run (the model of the set's segment list), the peak lists the window keeps until the peak commands
// exist, and the peak lists it shows.
struct MeasurementSet {
    explicit MeasurementSet(MeasureSet set) : ownPeaks(set), shownPeaks(&ownPeaks) {}
    MeasurementSet(const MeasurementSet&) = delete;
    MeasurementSet& operator=(const MeasurementSet&) = delete;

    SegmentTable segments;
    CheckListModel segmentChecks;
    PeakLists ownPeaks;
    PeakLists* shownPeaks;
};

#endif
