#include "mainwindow/MarkerTab.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartAxis.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/MarkerStore.h"
#include "measurement/PeakLists.h"

#include <cmath>

namespace {

constexpr int kMaxPeakPasses = 6;
constexpr double kNoLevel = -10000;

void Append(QStringListModel& model, const QString& text)
{
    const int row = model.rowCount();
    model.insertRows(row, 1);
    model.setData(model.index(row), text);
}

// Places a marker of one set; false when the click lies outside the visible frequency range (the
// handler then ends, and the other set is not looked at).
bool PlaceMarker(ChartClick& c, MeasureSet set, double frequency)
{
    c.Boxes.Sets[set].Armed = false;
    MarkerStore& store = *c.Markers[set];
    TChartSeries* corrected = c.Corrected[set];
    const QString name = QString::number(SetNumber(set));
    const int64_t x = RoundHalfEven(frequency);
    const OverlayPainter& p = c.Front;
    if (x < p.Bottom.CurrentMinimum() || x > p.Bottom.CurrentMaximum() + 1)
        return false;
    const TraceLevel level = corrected ? InterpolateSeriesLevel(*corrected, x) : TraceLevel{};
    const int32_t n = store.Count + 1;
    const int32_t row = p.Left.ValueToPixel(level.Level);
    if (store.Full()) {
        c.Messages.Append(QStringLiteral("Info: out of markers for set ") + name);
        return true;
    }
    store.Count = n;
    store.Marker(n) = MakeMarker(n, static_cast<int32_t>(x), level.Level, row);
    const QString label = QString::number(n) + QLatin1Char(' ') + IntKhzToScaledText(QString::number(x)) +
                          QLatin1Char(' ') + FloatToStrF(level.Level + c.UnitOffset, FloatFormat::ffFixed, 10, 2) +
                          QLatin1Char(' ') + c.UnitName;
    DrawMarkerFlag(p, c.Colors[kCorrectedTraceColors[set]], label, static_cast<double>(x), row);
    c.Debug.LogMessage(QStringLiteral("Marker") + name + QStringLiteral(" #") + QString::number(n));
    return true;
}

} // namespace

void ArmMarker(MarkerBoxes& boxes, MeasureSet set, bool checked)
{
    SetMarkerBoxes& armed = boxes.Sets[set];
    armed.Armed = checked;
    if (!checked)
        return;
    boxes.Harmonics = false;
    boxes.Sets[OtherSet(set)].Armed = false;
    armed.Show = true;
}

ChartBounds ChartMouseDown(ChartClick& c, int mouseX)
{
    const OverlayPainter& p = c.Front;
    ChartBounds frozen;
    frozen.Left = {p.Left.CurrentMinimum(), p.Left.CurrentMaximum()};
    frozen.Bottom = {p.Bottom.CurrentMinimum(), p.Bottom.CurrentMaximum()};
    c.Debug.LogMessage(QStringLiteral("OnMouseDown--> Freeze x: ") + FloatToStr(frozen.Bottom.Minimum) +
                       QLatin1Char(',') + FloatToStr(frozen.Bottom.Maximum));
    c.Debug.LogMessage(QStringLiteral("OnMouseDown--> Freeze y: ") + FloatToStr(frozen.Left.Minimum) +
                       QLatin1Char(',') + FloatToStr(frozen.Left.Maximum));
    const double frequency = p.Bottom.PixelToValue(mouseX);
    if (!std::isfinite(frequency))
        return frozen;
    if (c.Boxes.Harmonics && !c.Boxes.Magnify) {
        if (c.RepaintChart)
            c.RepaintChart();
        DrawHarmonics(p, c.Colors.Crosshair, static_cast<double>(RoundHalfEven(frequency)), c.HarmonicsOrder);
    }
    for (MeasureSet set : kMeasureSets)
        if (c.Boxes.Sets[set].Armed && !c.Boxes.Magnify && !PlaceMarker(c, set, frequency))
            break;
    return frozen;
}

void ClearAllMarkers(MarkerStore& store) { store.Count = 0; }

void ClearLastMarker(MarkerStore& store)
{
    if (store.Count > 0)
        --store.Count;
}

void CopyMarkers(const PerSet<const MarkerStore*>& markers, const PerSet<PeakLists*>& peaks)
{
    for (PeakLists* lists : peaks)
        lists->Clear();
    for (MeasureSet set : kMeasureSets) {
        for (int32_t n = 1; n <= markers[set]->Count; ++n) {
            const MarkerRecord& m = markers[set]->Marker(n);
            Append(peaks[set]->Lines, m.LabelDbuv);
            Append(peaks[set]->Freqs, m.FrequencyText);
            Append(peaks[set]->Levels, FormatMachineFixed(m.Level, 2));
        }
    }
}

std::vector<int> SelectMaxPeaks(const QStringList& levels)
{
    std::vector<double> values(static_cast<size_t>(levels.size()), kNoLevel);
    for (qsizetype i = 0; i < levels.size(); ++i) {
        double v = 0;
        if (ParsePeakText(levels[i], v))
            values[static_cast<size_t>(i)] = v;
    }
    std::vector<bool> taken(values.size(), false);
    std::vector<int> chosen;
    for (int pass = 0; pass < kMaxPeakPasses && !values.empty(); ++pass) {
        double best = kNoLevel;
        int index = 0;
        for (size_t i = 0; i < values.size(); ++i) {
            if (!taken[i] && values[i] > best) {
                best = values[i];
                index = static_cast<int>(i);
            }
        }
        taken[static_cast<size_t>(index)] = true;
        chosen.push_back(index);
    }
    return chosen;
}

std::optional<CrosshairPoint> PeakCrosshair(const QStringList& freqs, const QStringList& levels, int row)
{
    if (row < 0 || row >= freqs.size() || row >= levels.size())
        return std::nullopt;
    CrosshairPoint point{};
    if (!ParsePeakText(freqs[row], point.Frequency) || !ParsePeakText(levels[row], point.Level))
        return std::nullopt;
    return point;
}

bool ShowPeakCrosshair(const OverlayPainter& front, const std::function<void()>& repaintChart, TColor colour,
                       const QStringList& freqs, const QStringList& levels, int row)
{
    const std::optional<CrosshairPoint> point = PeakCrosshair(freqs, levels, row);
    if (!point)
        return false;
    if (repaintChart)
        repaintChart();
    DrawCrosshair(front, colour, point->Frequency, point->Level);
    return true;
}
