#include "chart/engine/SeriesStream.h"

#include "chart/canvas/PlotFiltersStream.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesMarks.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

enum : uint8_t { kHasX = 1, kHasColors = 2, kHasLabels = 4, kHasPositions = 8 };
constexpr int kHeaderSize = 5;
constexpr int kPositionSize = 34;
constexpr int kMaxLabelBytes = 255;

// Explicit byte order, whatever the machine's.
char* Put32(char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        *p++ = static_cast<char>((v >> (8 * i)) & 0xFF);
    return p;
}

char* Put64(char* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        *p++ = static_cast<char>((v >> (8 * i)) & 0xFF);
    return p;
}

char* PutDouble(char* p, double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return Put64(p, bits);
}

uint32_t Get32(const unsigned char* p)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

double GetDouble(const unsigned char* p)
{
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | p[i];
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QString DamagedData(const QString& reason)
{
    return QStringLiteral("The stored points of the series are damaged (%1); the series is left unchanged.").arg(reason);
}

// UTF-8 cut to at most 255 bytes, never inside a character.
QByteArray LabelBytes(const QString& label)
{
    QByteArray bytes = label.toUtf8();
    if (bytes.size() > kMaxLabelBytes) {
        int cut = kMaxLabelBytes;
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    return bytes;
}

// Every point is looked at: a series whose X leave 0, 1, 2 ... or whose colours or labels
// begin late in a long trace must not lose them.
bool HasOwnXValues(const TChartSeries& series, std::span<const double> xs)
{
    if (!series.AllowCustomXValues)
        return false;
    // -0 equals index 0 but would read back as +0.
    for (size_t i = 0; i < xs.size(); ++i)
        if (xs[i] != static_cast<double>(i) || std::signbit(xs[i]))
            return true;
    return false;
}

// A point coloured like the series reads back as the series colour, so it needs no storing;
// with a colour per point it would read back as its palette colour, so there it counts.
bool HasOwnColors(const TChartSeries& series)
{
    if (!series.HasColors())
        return false;
    const TColor seriesColor = series.SeriesColor();
    for (int i = 0; i < series.Count(); ++i) {
        const TColor c = series.GetPointColor(i);
        if (c != clDefault && (c != seriesColor || series.ColorEachPoint()))
            return true;
    }
    return false;
}

bool HasOwnLabels(const TChartSeries& series)
{
    const int n = std::min(series.Count(), series.Labels().Count());
    for (int i = 0; i < n; ++i)
        if (!series.Labels().Labels(i).isEmpty())
            return true;
    return false;
}

bool HasCustomPositions(TChartSeries& series)
{
    const TSeriesMarksPositions& positions = series.Marks().Positions();
    const int n = std::min(series.Count(), positions.Count());
    for (int i = 0; i < n; ++i)
        if (const TSeriesMarkPosition* p = positions.Position(i); p && p->Custom)
            return true;
    return false;
}

char* PutPosition(char* p, const TSeriesMarkPosition& m)
{
    p = Put32(p, static_cast<uint32_t>(m.ArrowFrom.X));
    p = Put32(p, static_cast<uint32_t>(m.ArrowFrom.Y));
    *p++ = static_cast<char>(m.ArrowFix ? 1 : 0);
    p = Put32(p, static_cast<uint32_t>(m.ArrowTo.X));
    p = Put32(p, static_cast<uint32_t>(m.ArrowTo.Y));
    *p++ = static_cast<char>(m.Custom ? 1 : 0);
    p = Put32(p, static_cast<uint32_t>(m.Height));
    p = Put32(p, static_cast<uint32_t>(m.LeftTop.X));
    p = Put32(p, static_cast<uint32_t>(m.LeftTop.Y));
    return Put32(p, static_cast<uint32_t>(m.Width));
}

TSeriesMarkPosition GetPosition(const unsigned char* p)
{
    const auto i32 = [](const unsigned char* q) { return static_cast<int32_t>(Get32(q)); };
    TSeriesMarkPosition m;
    m.ArrowFrom = {i32(p), i32(p + 4)};
    m.ArrowFix = p[8] != 0;
    m.ArrowTo = {i32(p + 9), i32(p + 13)};
    m.Custom = p[17] != 0;
    m.Height = i32(p + 18);
    m.LeftTop = {i32(p + 22), i32(p + 26)};
    m.Width = i32(p + 30);
    return m;
}

bool IsEmptyPosition(const TSeriesMarkPosition& m)
{
    return !m.Custom && !m.ArrowFix && m.ArrowFrom == TPoint{} && m.ArrowTo == TPoint{} && m.LeftTop == TPoint{}
        && m.Height == 0 && m.Width == 0;
}

// Everything a blob holds, checked before the series is touched.
struct StoredPoints {
    uint8_t flags = 0;
    int count = 0;
    int extraLists = 0;
    std::vector<double> xs;
    std::vector<double> values;
    std::vector<TColor> colors;
    std::vector<QString> labels;
    std::vector<double> extra;
    std::vector<TSeriesMarkPosition> positions;
};

StoredPoints ParseStoredPoints(const QByteArray& data, int extraLists)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const int64_t size = data.size();
    if (size < kHeaderSize)
        throw ChartException(DamagedData(QStringLiteral("%1 bytes, too short for a header").arg(size)));
    StoredPoints s;
    s.flags = bytes[0];
    if (s.flags > (kHasX | kHasColors | kHasLabels | kHasPositions))
        throw ChartException(DamagedData(QStringLiteral("unknown flags %1").arg(s.flags)));
    const int32_t count = static_cast<int32_t>(Get32(bytes + 1));
    if (count < 0)
        throw ChartException(DamagedData(QStringLiteral("negative point count %1").arg(count)));
    const bool hasX = s.flags & kHasX, hasColors = s.flags & kHasColors;
    const bool hasLabels = s.flags & kHasLabels, hasPositions = s.flags & kHasPositions;
    // What follows a label in a point, and the least a point can take.
    const int64_t afterLabel = 8 * int64_t{extraLists} + (hasPositions ? kPositionSize : 0);
    const int64_t leastPerPoint = (hasX ? 8 : 0) + 8 + (hasColors ? 4 : 0) + (hasLabels ? 1 : 0) + afterLabel;
    if (count > (size - kHeaderSize) / leastPerPoint)
        throw ChartException(DamagedData(QStringLiteral("%1 points do not fit in %2 bytes").arg(count).arg(size)));

    s.count = count;
    s.extraLists = extraLists;
    if (hasX)
        s.xs.resize(static_cast<size_t>(count));
    s.values.resize(static_cast<size_t>(count));
    if (hasColors)
        s.colors.resize(static_cast<size_t>(count));
    if (hasLabels)
        s.labels.resize(static_cast<size_t>(count));
    s.extra.resize(static_cast<size_t>(count) * static_cast<size_t>(extraLists));
    if (hasPositions)
        s.positions.resize(static_cast<size_t>(count));

    int64_t pos = kHeaderSize;
    for (int i = 0; i < count; ++i) {
        // Labels are the only part of variable length: the fixed part of this point, and the
        // label's length byte, are checked before they are read.
        if (size - pos < leastPerPoint)
            throw ChartException(DamagedData(QStringLiteral("point %1 ends early").arg(i)));
        const unsigned char* p = bytes + pos;
        if (hasX) {
            s.xs[static_cast<size_t>(i)] = GetDouble(p);
            p += 8;
        }
        s.values[static_cast<size_t>(i)] = GetDouble(p);
        p += 8;
        if (hasColors) {
            s.colors[static_cast<size_t>(i)] = static_cast<TColor>(Get32(p));
            p += 4;
        }
        if (hasLabels) {
            const int length = *p++;
            if (size - (p - bytes) < length + afterLabel)
                throw ChartException(DamagedData(QStringLiteral("label of point %1 ends early").arg(i)));
            s.labels[static_cast<size_t>(i)] = QString::fromUtf8(reinterpret_cast<const char*>(p), length);
            p += length;
        }
        for (int k = 0; k < extraLists; ++k, p += 8)
            s.extra[static_cast<size_t>(i) * static_cast<size_t>(extraLists) + static_cast<size_t>(k)] = GetDouble(p);
        if (hasPositions) {
            s.positions[static_cast<size_t>(i)] = GetPosition(p);
            p += kPositionSize;
        }
        pos = p - bytes;
    }
    if (pos != size)
        throw ChartException(DamagedData(QStringLiteral("%1 bytes left over after the last point").arg(size - pos)));
    return s;
}

} // namespace

bool StoresSeriesData(const TChartSeries& series)
{
    return series.AlwaysStorePoints || (series.PointsFromStream && !series.NeverStorePoints);
}

QByteArray WriteSeriesData(TChartSeries& series)
{
    series.BeforeWriteData();
    const int count = series.Count();
    const std::span<const double> xs = series.NotMandatoryValueList().Values();
    const std::span<const double> values = series.MandatoryValueList().Values();
    std::vector<std::span<const double>> extra;
    for (int i = 2; i < series.ValuesList().Count(); ++i)
        extra.push_back(series.ValuesList()[i]->Values());

    uint8_t flags = 0;
    if (HasOwnXValues(series, xs))
        flags |= kHasX;
    if (HasOwnColors(series))
        flags |= kHasColors;
    std::vector<QByteArray> labels;
    if (HasOwnLabels(series)) {
        flags |= kHasLabels;
        labels.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            labels.push_back(LabelBytes(series.Labels().Labels(i)));
    }
    const bool hasPositions = HasCustomPositions(series);
    if (hasPositions)
        flags |= kHasPositions;

    int64_t size = kHeaderSize;
    const int64_t perPoint = ((flags & kHasX) ? 8 : 0) + 8 + ((flags & kHasColors) ? 4 : 0)
        + 8 * static_cast<int64_t>(extra.size()) + (hasPositions ? kPositionSize : 0);
    size += perPoint * count;
    for (const QByteArray& label : labels)
        size += 1 + label.size();

    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    char* p = out.data();
    *p++ = static_cast<char>(flags);
    p = Put32(p, static_cast<uint32_t>(count));
    const TSeriesMarksPositions& positions = series.Marks().Positions();
    const TSeriesMarkPosition none;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<size_t>(i);
        if (flags & kHasX)
            p = PutDouble(p, xs[at]);
        p = PutDouble(p, values[at]);
        if (flags & kHasColors)
            p = Put32(p, static_cast<uint32_t>(series.GetPointColor(i)));
        if (flags & kHasLabels) {
            *p++ = static_cast<char>(labels[at].size());
            std::memcpy(p, labels[at].constData(), static_cast<size_t>(labels[at].size()));
            p += labels[at].size();
        }
        for (const std::span<const double>& list : extra)
            p = PutDouble(p, list[at]);
        if (hasPositions) {
            const TSeriesMarkPosition* m = positions.Position(i);
            p = PutPosition(p, m ? *m : none);
        }
    }
    return out;
}

void ReadSeriesData(TChartSeries& series, const QByteArray& data)
{
    const int extraLists = series.ValuesList().Count() - 2;
    const StoredPoints s = ParseStoredPoints(data, extraLists);

    series.Clear();
    {
        TChartSeries::UpdateScope scope(series);
        series.ReservePoints(s.count);
        const bool yMandatory = series.YMandatory();
        for (int i = 0; i < s.count; ++i) {
            const auto at = static_cast<size_t>(i);
            const double along = s.xs.empty() ? static_cast<double>(i) : s.xs[at];
            const double value = s.values[at];
            for (int k = 0; k < extraLists; ++k)
                series.ValuesList()[k + 2]->TempValue = s.extra[at * static_cast<size_t>(extraLists) + static_cast<size_t>(k)];
            const QString label = s.labels.empty() ? QString() : s.labels[at];
            const TColor color = s.colors.empty() ? clDefault : s.colors[at];
            const int index = yMandatory ? series.AddPointXY(along, value, label, color)
                                         : series.AddPointXY(value, along, label, color);
            if (index < 0 || s.positions.empty())
                continue;
            const TSeriesMarkPosition& m = s.positions[at];
            if (m.Custom)
                series.Marks().Positions().SetPosition(index, m);
            else if (!IsEmptyPosition(m))
                series.Marks().Positions().Store(index, m);
        }
    }
    series.PointsFromStream = true;
}

// ---- the extra stream properties

namespace {

bool Is(const QString& name, const char* key)
{
    return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
}

QString WrongType(const QString& name)
{
    return QStringLiteral("The series property %1 holds a value of the wrong type; it is ignored.").arg(name);
}

bool IsInteger(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short
        || type == QMetaType::SChar || type == QMetaType::UInt;
}

int AxisIndex(TChartSeries& series, const SeriesAxis* axis)
{
    ChartParent* chart = series.ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    return axis && panel ? panel->Axes().IndexOf(axis) : -1;
}

SeriesAxis* AxisAt(TChartSeries& series, int index, bool horizontal)
{
    ChartParent* chart = series.ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    if (!panel || index < 0 || index >= panel->Axes().Count())
        return nullptr;
    SeriesAxis* axis = panel->Axes()[index];
    return axis && axis->Horizontal() == horizontal ? axis : nullptr;
}

ChartComponent* FindSeriesByName(TChartSeries& series, const QString& name)
{
    ChartParent* chart = series.ParentChart();
    if (!chart || name.isEmpty())
        return nullptr;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (list[i] && list[i]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return list[i];
    return nullptr;
}

} // namespace

void WriteSeriesProperties(TChartSeries& series, QByteArray& out)
{
    if (!series.Identifier().isEmpty())
        WriteStreamProperty(out, QStringLiteral("Identifier"), series.Identifier());
    if (series.Style() != 0)
        WriteStreamProperty(out, QStringLiteral("Style"), series.Style());
    if (StoresSeriesData(series))
        WriteStreamProperty(out, QStringLiteral("Data"), WriteSeriesData(series));
    QStringList names;
    for (int i = 0; i < series.DataSources().Count(); ++i)
        if (const QString& name = series.DataSources()[i]->Name(); !name.isEmpty())
            names.append(name);
    if (!names.isEmpty())
        WriteStreamProperty(out, QStringLiteral("DataSources"), names);
    if (const int index = AxisIndex(series, series.CustomHorizAxis()); index >= 0)
        WriteStreamProperty(out, QStringLiteral("CustomHorizAxis"), index);
    if (const int index = AxisIndex(series, series.CustomVertAxis()); index >= 0)
        WriteStreamProperty(out, QStringLiteral("CustomVertAxis"), index);
}

bool ReadSeriesProperty(TChartSeries& series, const QString& name, const QVariant& value, SeriesStreamLinks& links)
{
    if (Is(name, "Identifier")) {
        if (value.typeId() != QMetaType::QString)
            throw ChartException(WrongType(name));
        series.SetIdentifier(value.toString());
    } else if (Is(name, "Style")) {
        if (!IsInteger(value))
            throw ChartException(WrongType(name));
        series.SetStyle(value.toInt());
    } else if (Is(name, "Data")) {
        if (value.typeId() != QMetaType::QByteArray)
            throw ChartException(WrongType(name));
        ReadSeriesData(series, value.toByteArray());
    } else if (Is(name, "DataSources")) {
        if (value.typeId() != QMetaType::QVariantList)
            throw ChartException(WrongType(name));
        QStringList names;
        for (const QVariant& item : value.toList()) {
            if (item.typeId() != QMetaType::QString)
                throw ChartException(WrongType(name));
            names.append(item.toString());
        }
        links.DataSources = names;
    } else if (Is(name, "CustomHorizAxis") || Is(name, "CustomVertAxis")) {
        if (!IsInteger(value))
            throw ChartException(WrongType(name));
        (Is(name, "CustomHorizAxis") ? links.CustomHorizAxis : links.CustomVertAxis) = value.toInt();
    } else {
        return false;
    }
    return true;
}

void ResolveSeriesLinks(TChartSeries& series, const SeriesStreamLinks& links, const ComponentFinder& find)
{
    const bool wasLoading = series.Loading();
    series.SetLoading(true);
    for (const QString& name : links.DataSources) {
        ChartComponent* source = find ? find(name) : FindSeriesByName(series, name);
        // A source the chart does not accept for this series is left out like a missing one.
        if (source && source != &series && series.AcceptsSource(source))
            series.SetDataSource(source);
    }
    series.SetLoading(wasLoading);
    if (SeriesAxis* axis = AxisAt(series, links.CustomHorizAxis, true))
        series.SetCustomHorizAxis(axis);
    if (SeriesAxis* axis = AxisAt(series, links.CustomVertAxis, false))
        series.SetCustomVertAxis(axis);
    series.CheckDataSource();
}
