#include "datafiles/ParameterGridRows.h"

#include <QDir>

namespace gridkeys {
const QString kChartStart = QStringLiteral("Chart Start[Hz]");
const QString kChartStop = QStringLiteral("Chart Stop[Hz]");
const QString kHigh = QStringLiteral("High[dBuV]");
const QString kLow = QStringLiteral("Low[dBuV]");
const QString kLimit1 = QStringLiteral("Limit1");
const QString kLimit2 = QStringLiteral("Limit2");
const QString kMargin1 = QStringLiteral("Margin1[dB]");
const QString kMargin2 = QStringLiteral("Margin2[dB]");
const QString kCableCor = QStringLiteral("Cable Cor");
const QString kLisnCor = QStringLiteral("Lisn/Att Cor");
const QString kAmpCor = QStringLiteral("Amp Cor");
const QString kAntCor = QStringLiteral("Ant Cor");
const QString kSegSet1 = QStringLiteral("Seg-Set1");
const QString kSegSet2 = QStringLiteral("Seg-Set2");
const QString kDetector = QStringLiteral("Detector");
const QString kSweep = QStringLiteral("Sweep [ms]");
const QString kRbw = QStringLiteral("RBW [Hz]");
const QString kSpan = QStringLiteral("Span [Hz]");
const QString kPreAmp = QStringLiteral("PreAmp");
const QString kAttenuator = QStringLiteral("Attenuator [dB]");
const QString kReport = QStringLiteral("Report");
const QString kMaxHold = QStringLiteral("MaxHold");
const QString kMarker = QStringLiteral("Marker");
const QString kFreqA = QStringLiteral("Freq A[Hz]");
const QString kFreqB = QStringLiteral("Freq B[Hz]");
const QString kFreqC = QStringLiteral("Freq C[Hz]");
const QString kHighDbm = QStringLiteral("High[dBm]");
const QString kLowDbm = QStringLiteral("Low[dBm]");
const QString kTemCor = QStringLiteral("TEM Cor");
const QString kSeptum = QStringLiteral("SEPTUM[cm]");
const QString kTgOff = QStringLiteral("Tg off");
const PerSet<QString> kLimits{kLimit1, kLimit2};
const PerSet<QString> kMargins{kMargin1, kMargin2};
const PerSet<QString> kSegSets{kSegSet1, kSegSet2};
} // namespace gridkeys

const QString kNoFile = QStringLiteral("none");
const QString kNotValid = QStringLiteral("not valid");

namespace {

using namespace gridkeys;

ParameterRow Plain(const QString& key, const QString& def)
{
    return ParameterRow{key, def, false, false, {}, false};
}

ParameterRow Pick(const QString& key, const QString& def, bool readOnly, const QStringList& picks)
{
    return ParameterRow{key, def, true, readOnly, picks, false};
}

// A file row: "none" until the file lists are applied.
ParameterRow FileRow(const QString& key)
{
    return Pick(key, kNoFile, true, {kNoFile});
}

ParameterRow Separator()
{
    ParameterRow s;
    s.Separator = true;
    return s;
}

const QStringList kDetectors = {QStringLiteral("NEG"), QStringLiteral("NORM"), QStringLiteral("POS"),
                                QStringLiteral("RMS"), QStringLiteral("SAMP"), QStringLiteral("VAV"),
                                QStringLiteral("QPEAK")};
const QStringList kOnOff = {QStringLiteral("on"), QStringLiteral("off")};
const QStringList kAttenuations = {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("20"),
                                   QStringLiteral("auto")};
const QStringList kSpans = {QStringLiteral("10000"),  QStringLiteral("20000"),  QStringLiteral("30000"),
                            QStringLiteral("50000"),  QStringLiteral("100000"), QStringLiteral("300000"),
                            QStringLiteral("1000000")};

QStringList ListFiles(const QString& folder, const QString& mask)
{
    QStringList list = {kNoFile};
    list << QDir(folder).entryList({mask}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    return list;
}

} // namespace

std::vector<ParameterRow> MainParameterRows()
{
    return {
        Plain(kChartStart, QStringLiteral("9000")),
        Plain(kChartStop, QStringLiteral("30000000")),
        Plain(kHigh, QStringLiteral("120")),
        Plain(kLow, QStringLiteral("-11")),
        Separator(),
        FileRow(kLimit1),
        FileRow(kLimit2),
        Plain(kMargin1, QStringLiteral("0")),
        Plain(kMargin2, QStringLiteral("0")),
        Separator(),
        FileRow(kCableCor),
        FileRow(kLisnCor),
        FileRow(kAmpCor),
        FileRow(kAntCor),
        Separator(),
        FileRow(kSegSet1),
        FileRow(kSegSet2),
        Separator(),
        Pick(kDetector, QStringLiteral("POS"), true, kDetectors),
        Pick(kSweep, QStringLiteral("250"), false,
             {QStringLiteral("auto"), QStringLiteral("250"), QStringLiteral("1000"), QStringLiteral("10000"),
              QStringLiteral("25000")}),
        Pick(kRbw, QStringLiteral("100"), false,
             {QStringLiteral("120000"), QStringLiteral("10000"), QStringLiteral("9000"), QStringLiteral("3000"),
              QStringLiteral("1000"), QStringLiteral("300"), QStringLiteral("100")}),
        Pick(kSpan, QStringLiteral("50000"), false, kSpans),
        Pick(kPreAmp, QStringLiteral("on"), true, kOnOff),
        Pick(kAttenuator, QStringLiteral("0"), false, kAttenuations),
        Separator(),
        FileRow(kReport),
        Pick(kMaxHold, QStringLiteral("off"), true, kOnOff),
        Pick(kMarker, QStringLiteral("off"), true, kOnOff),
    };
}

std::vector<ParameterRow> CoverageParameterRows()
{
    return {
        Plain(kFreqA, QStringLiteral("140000000")),
        Plain(kFreqB, QStringLiteral("146000000")),
        Plain(kFreqC, QStringLiteral("148000000")),
        Plain(kHighDbm, QStringLiteral("-10")),
        Plain(kLowDbm, QStringLiteral("-110")),
        FileRow(kCableCor),
        FileRow(kAmpCor),
        FileRow(kAntCor),
        Pick(kDetector, QStringLiteral("POS"), true, kDetectors),
        Pick(kSweep, QStringLiteral("auto"), false,
             {QStringLiteral("auto"), QStringLiteral("10000"), QStringLiteral("25000")}),
        Pick(kRbw, QStringLiteral("9000"), false,
             {QStringLiteral("120000"), QStringLiteral("9000"), QStringLiteral("300"), QStringLiteral("200"),
              QStringLiteral("100"), QStringLiteral("30"), QStringLiteral("10")}),
        Pick(kSpan, QStringLiteral("20000"), false, kSpans),
        Pick(kPreAmp, QStringLiteral("off"), true, kOnOff),
        Pick(kAttenuator, QStringLiteral("10"), false, kAttenuations),
    };
}

std::vector<ParameterRow> GeneratorSettingsRows()
{
    return {
        FileRow(kAmpCor),
        Pick(kTemCor, kNoFile, true, {kNoFile}),
        Pick(kSeptum, QStringLiteral("2.8"), false,
             {QStringLiteral("2.8"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15")}),
        Pick(kTgOff, QStringLiteral("on"), true, {QStringLiteral("off"), QStringLiteral("on")}),
    };
}

DataFileLists ListDataFiles(const QString& workingFolder)
{
    const QString src = workingFolder + QStringLiteral("/src");
    DataFileLists lists;
    lists.Limit = ListFiles(src, QStringLiteral("*.lim"));
    lists.Cable = ListFiles(src, QStringLiteral("*.cac"));
    lists.Amplifier = ListFiles(src, QStringLiteral("*.amp"));
    lists.Lisn = ListFiles(src, QStringLiteral("*.lsc"));
    lists.Segment = ListFiles(src, QStringLiteral("*.seg"));
    lists.Report = ListFiles(workingFolder + QStringLiteral("/rep"), QStringLiteral("*.rep"));
    lists.Antenna = ListFiles(src, QStringLiteral("*.ant"));
    return lists;
}

void ApplyFileLists(ParameterGridModel& mainGrid, const DataFileLists& lists)
{
    mainGrid.SetPickList(kLimit1, lists.Limit);
    mainGrid.SetPickList(kLimit2, lists.Limit);
    mainGrid.SetPickList(kSegSet1, lists.Segment);
    mainGrid.SetPickList(kSegSet2, lists.Segment);
    mainGrid.SetPickList(kCableCor, lists.Cable);
    mainGrid.SetPickList(kLisnCor, lists.Lisn);
    mainGrid.SetPickList(kAmpCor, lists.Amplifier);
    mainGrid.SetPickList(kAntCor, lists.Antenna);
    mainGrid.SetPickList(kReport, lists.Report);
}

void ApplyGridColors(ParameterGridModel& mainGrid, const GridPalette& palette)
{
    using Colors = ParameterGridModel::CellColors;
    const Colors instrument{clSkyBlue, clBlack};
    for (const QString& key : {kDetector, kSweep, kRbw, kSpan, kPreAmp, kAttenuator})
        mainGrid.SetRowColors(key, instrument, instrument);
    const Colors range{palette.ChartBackground, palette.ChartBackground == clWhite ? clBlack : clWhite};
    for (const QString& key : {kChartStart, kChartStop, kHigh, kLow})
        mainGrid.SetRowColors(key, range, range);
    const std::pair<const QString&, TColor> files[] = {
        {kLimit1, palette.Limit1}, {kLimit2, palette.Limit2},       {kCableCor, palette.Cable},
        {kLisnCor, palette.Lisn},  {kAmpCor, palette.Amplifier},    {kAntCor, palette.Antenna},
        {kSegSet1, palette.TraceSet1}, {kSegSet2, palette.TraceSet2}};
    for (const auto& [key, color] : files)
        mainGrid.SetRowColors(key, Colors{color, clNone}, Colors{});
}
