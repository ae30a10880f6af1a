#include "forms/MainChart.h"

#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "mainwindow/LevelUnits.h"

#include <memory>

namespace {

// How each series starts. Colours are the chart's own until the colour window recolours the
// points; "default" leaves the chart's palette to choose.
struct SeriesSetup {
    bool Points = false;       // a point series (the segment marks), else a line series
    TColor Color = clDefault;
    int PenWidth = 0;          // 0 keeps the series' own width
    TPenStyle PenStyle = psSolid;
    bool LineHidden = false;
    bool Stairs = false;
    bool Active = true;
};

constexpr TColor kLimit1Red = 0x8000FF;
constexpr TColor kPreviewOrange = 0x4080FF;

// Indexed by series number - 1.
const std::array<SeriesSetup, MainChart::kSeriesCount> kSetups = {{
    {false, clYellow, 1},                      // 1 raw 1
    {false, kLimit1Red, 2},                    // 2 limit 1
    {false, clDefault, 1},                     // 3 cable
    {false, clDefault, 1},                     // 4 LISN / attenuator
    {false, clDefault, 2},                     // 5 limit 2
    {false, kPreviewOrange, 1},                // 6 table editor preview
    {false, clTeal, 1},                        // 7 corrected 1
    {false, clWhite},                          // 8 raw 2
    {false, clGray},                           // 9 corrected 2
    {false, clFuchsia, 1},                     // 10 amplifier
    {false, clNavy, 1},                        // 11 antenna
    {false, clMaroon},                         // 12 reference 1, set 1
    {false, clLime},                           // 13 reference 1, set 2
    {false, clOlive, 1, psDot},                // 14 margin 1
    {false, clPurple, 1, psDot, false, true},  // 15 margin 2, drawn as stairs
    {false, clDefault, 2, psSolid, true},      // 16 master correction
    {true},                                    // 17 segment marks 1
    {true},                                    // 18 segment marks 2
    {false, clLime},                           // 19 reference 2, set 1
    {false, clMaroon},                         // 20 reference 2, set 2
    {false, clDefault},                        // 21 reference 3, set 1
    {false, clMaroon},                         // 22 reference 3, set 2
    {false, clDefault},                        // 23 generator amplifier
    {false, clDefault},                        // 24 TEM cell
    {false, clDefault},                        // 25 smoothing 1
    {false, clDefault, 0, psSolid, true},      // 26 compensation 1
    {false, clDefault, 0, psSolid, false, false, false}, // 27 arithmetic result
    {false, clDefault},                        // 28 smoothing 2
    {false, clDefault, 0, psSolid, true},      // 29 compensation 2
}};

// The segment marks: a small left triangle at each segment's stop, numbered by point index, each
// point in its own colour.
void SetUpSegmentMarks(TPointSeries& marks)
{
    marks.Pointer().SetStyle(psLeftTriangle);
    marks.Pointer().SetHorizSize(3);
    marks.Pointer().SetVertSize(3);
    marks.Marks().SetStyle(smsPointIndex);
    marks.Marks().SetVisible(true);
    marks.SetColorEachPoint(true);
}

} // namespace

MainChart::MainChart(QWidget* parent)
{
    chart = new TChart(parent);
    chart->setObjectName(QStringLiteral("Chart1"));
    chart->SetView3D(false);
    // The legend stays hidden, so the chart rectangle keeps its whole width.
    chart->Legend().SetVisible(false);
    // The plot area shows the background colour of the colour settings.
    chart->BackWall().SetTransparent(false);
    for (int n = 1; n <= kSeriesCount; ++n) {
        const SeriesSetup& setup = kSetups[static_cast<size_t>(n - 1)];
        std::unique_ptr<TCustomSeries> made;
        if (setup.Points) {
            auto marks = std::make_unique<TPointSeries>();
            SetUpSegmentMarks(*marks);
            made = std::move(marks);
        } else {
            made = std::make_unique<TLineSeries>();
        }
        TCustomSeries& s = *made;
        s.SetName(QStringLiteral("Series%1").arg(n));
        if (setup.Color != clDefault)
            s.SetSeriesColor(setup.Color);
        if (setup.PenWidth > 0)
            s.LinePen().SetWidth(setup.PenWidth);
        s.LinePen().SetStyle(setup.PenStyle);
        if (setup.LineHidden)
            s.LinePen().Hide();
        s.SetStairs(setup.Stairs);
        s.SetActive(setup.Active);
        series_[static_cast<size_t>(n - 1)] = &s;
        chart->AddSeries(std::move(made));
    }

    auto line = [this](int n) { return static_cast<TLineSeries*>(series_[static_cast<size_t>(n - 1)]); };
    rawTrace1 = line(1);
    limitLine1 = line(2);
    cableCorrection = line(3);
    lisnCorrection = line(4);
    limitLine2 = line(5);
    tablePreview = line(6);
    correctedTrace1 = line(7);
    rawTrace2 = line(8);
    correctedTrace2 = line(9);
    amplifierCorrection = line(10);
    antennaFactor = line(11);
    reference1Set1 = line(12);
    reference1Set2 = line(13);
    marginLine1 = line(14);
    marginLine2 = line(15);
    masterCorrection = line(16);
    segmentMarks1 = static_cast<TPointSeries*>(series_[16]);
    segmentMarks2 = static_cast<TPointSeries*>(series_[17]);
    reference2Set1 = line(19);
    reference2Set2 = line(20);
    reference3Set1 = line(21);
    reference3Set2 = line(22);
    generatorAmpCorrection = line(23);
    temCellCorrection = line(24);
    smoothing1 = line(25);
    compensation1 = line(26);
    arithmeticResult = line(27);
    smoothing2 = line(28);
    compensation2 = line(29);

    // The level axis speaks dBuV; the frequency axis' title is a blank so that its labels keep
    // the room below them.
    chart->LeftAxis()->Title().SetCaption(LevelAxisTitleOf(LevelUnit::dBuV));
    chart->BottomAxis()->Title().SetCaption(QStringLiteral(" "));
    chart->BottomAxis()->SetAxisValuesFormat(QStringLiteral("###0.###"));
    chart->SetAllowZoom(true);
    chart->SetAllowPanning(pmNone);
    chart->setFocusPolicy(Qt::ClickFocus);
}

TCustomSeries* MainChart::Series(int number) const
{
    if (number < 1 || number > kSeriesCount)
        return nullptr;
    return series_[static_cast<size_t>(number - 1)];
}

TChartSeries* MainChart::SeriesNamed(const QString& name) const
{
    for (TCustomSeries* s : series_)
        if (s->Name() == name)
            return s;
    return nullptr;
}

ProjectSeries MainChart::ForProject() const
{
    ProjectSeries p;
    p.limitLine1 = limitLine1;
    p.cableCorrection = cableCorrection;
    p.lisnCorrection = lisnCorrection;
    p.limitLine2 = limitLine2;
    p.amplifierCorrection = amplifierCorrection;
    p.antennaFactor = antennaFactor;
    p.marginLine1 = marginLine1;
    p.marginLine2 = marginLine2;
    p.masterCorrection = masterCorrection;
    p.segmentMarks1 = segmentMarks1;
    p.segmentMarks2 = segmentMarks2;
    p.generatorAmpCorrection = generatorAmpCorrection;
    p.temCellCorrection = temCellCorrection;
    return p;
}

MainChartSeries MainChart::ForMeasurement(TColor corrected1, TColor corrected2) const
{
    MainChartSeries m;
    m.Raw1 = rawTrace1;
    m.Limit1 = limitLine1;
    m.Cable = cableCorrection;
    m.Lisn = lisnCorrection;
    m.Limit2 = limitLine2;
    m.Corrected1 = correctedTrace1;
    m.Raw2 = rawTrace2;
    m.Corrected2 = correctedTrace2;
    m.Amplifier = amplifierCorrection;
    m.Antenna = antennaFactor;
    m.Margin1 = marginLine1;
    m.Margin2 = marginLine2;
    m.Master = masterCorrection;
    m.Marks1 = segmentMarks1;
    m.Marks2 = segmentMarks2;
    m.Compensation1 = compensation1;
    m.Compensation2 = compensation2;
    m.CorrectedColor1 = corrected1;
    m.CorrectedColor2 = corrected2;
    return m;
}

ChartSeriesByRole MainChart::ForReports() const
{
    ChartSeriesByRole r;
    r.Raw1 = rawTrace1;
    r.Limit1 = limitLine1;
    r.Cable = cableCorrection;
    r.Lisn = lisnCorrection;
    r.Limit2 = limitLine2;
    r.TablePreview = tablePreview;
    r.Corrected1 = correctedTrace1;
    r.Raw2 = rawTrace2;
    r.Corrected2 = correctedTrace2;
    r.Amplifier = amplifierCorrection;
    r.Antenna = antennaFactor;
    r.Reference1Set1 = reference1Set1;
    r.Reference1Set2 = reference1Set2;
    r.Margin1 = marginLine1;
    r.Margin2 = marginLine2;
    r.Master = masterCorrection;
    r.SegmentMarks1 = segmentMarks1;
    r.SegmentMarks2 = segmentMarks2;
    r.Reference2Set1 = reference2Set1;
    r.Reference2Set2 = reference2Set2;
    r.Reference3Set1 = reference3Set1;
    r.Reference3Set2 = reference3Set2;
    r.GeneratorAmplifier = generatorAmpCorrection;
    r.TemCell = temCellCorrection;
    r.Smoothing1 = smoothing1;
    r.Compensation1 = compensation1;
    r.Arithmetic = arithmeticResult;
    r.Smoothing2 = smoothing2;
    r.Compensation2 = compensation2;
    return r;
}
