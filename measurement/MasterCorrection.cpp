#include "measurement/MasterCorrection.h"

#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/SegmentTable.h"
#include "measurement/CorrectionChain.h"
#include "measurement/MeasurementState.h"
#include "measurement/RunHost.h"
#include "measurement/RunParameters.h"

namespace {

constexpr int32_t kMasterStepKhz = 4;

bool Empty(const TChartSeries* s) { return !s || s->Count() == 0; }

} // namespace

void CalcMasterCorrection(MasterCorrectionContext& c)
{
    MeasurementState& st = c.State;
    TChartSeries* master = c.Series[SeriesRole::masterCorrection];
    if (!master)
        return;
    if (st.MasterCalcState == MasterCalcPhase::Building) {
        CorrectionChain chain(c.Series, c.Switches);
        const int64_t at = st.MasterStepKhz;
        const auto add = [master](int64_t x, double y) {
            master->AddPointXY(static_cast<double>(x), y, QString(), clYellow);
        };
        c.Host.SetChartAutoRepaint(false);
        // A table that steps since the last point (two rows at one frequency) steps here too, with
        // both of its levels, rather than sloping across 4 kHz: a point above the step reads the
        // later row through this curve as it does term by term.
        for (auto step = chain.StepIn(at - kMasterStepKhz, at - 1); step; step = chain.StepIn(*step, at - 1)) {
            add(*step, chain.Sum(static_cast<double>(*step)));
            add(*step, chain.SumAbove(*step));
        }
        add(at, chain.Sum(static_cast<double>(at)));
        if (chain.StepIn(at - 1, at))
            add(at, chain.SumAbove(at));
        c.Host.SetChartAutoRepaint(true);
        st.MasterStepKhz += kMasterStepKhz;
        if (st.MasterStepKhz > st.MasterSpanEndKhz)
            st.MasterCalcState = MasterCalcPhase::Finished;
    }
    if (st.MasterCalcState == MasterCalcPhase::Finished) {
        c.Timer.Stop();
        st.MasterCalcState = MasterCalcPhase::Idle;
        c.Messages.Append(QStringLiteral("Info: measurement calculating master done"));
    }
    if (st.MasterCalcState == MasterCalcPhase::StartRequested) {
        st.MasterCalcState = MasterCalcPhase::Building;
        master->Clear();
        c.Messages.Append(QStringLiteral("Info: measurement calculating master"));
        using enum SeriesRole;
        if (Empty(c.Series[lisnCorrection]) && Empty(c.Series[antennaFactor]) && Empty(c.Series[amplifierCorrection]) &&
            Empty(c.Series[cableCorrection])) {
            st.MasterCalcState = MasterCalcPhase::Idle;
            c.Timer.Stop();
            c.Messages.Append(QStringLiteral("Info: measurement calculating master not possible "));
        }
        const MeasureSet set = c.Switches.SelectedSet;
        const SegmentTable& t = *c.Tables[set];
        if (t.Count < 1 || t.Count > SegmentTable::kMaxSegments) {
            // The plan was unloaded since Play: nothing to span.
            st.MasterCalcState = MasterCalcPhase::Idle;
            return;
        }
        st.MasterSpanStartKhz = static_cast<double>(RoundHalfEven(static_cast<double>(t.Segment(1).StartHz) / 1000.0));
        st.MasterSpanEndKhz = static_cast<double>(RoundHalfEven(static_cast<double>(t.Segment(t.Count).StopHz) / 1000.0));
        st.MasterStepKhz = static_cast<int32_t>(st.MasterSpanStartKhz);
        c.Messages.Append((set == MeasureSet::Set2 ? QStringLiteral("Info: measurement set2 ")
                                                     : QStringLiteral("Info: measurement set1 ")) +
                          QString::number(static_cast<qint64>(st.MasterSpanStartKhz)) + QStringLiteral("kHz to ") +
                          QString::number(static_cast<qint64>(st.MasterSpanEndKhz)) + QStringLiteral("kHz"));
    }
}
