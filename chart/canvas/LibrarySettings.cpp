#include "chart/canvas/LibrarySettings.h"

#include <QBitmap>
#include <QObject>
#include <QPixmap>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

const char* const kSettingsOrganisation = "Zendrik";
const char* const kSettingsApplication = "PlotChart";
const char* const kSettingsGroup = "Editor";

// '#' black, '.' white, ' ' transparent; hot spot at the tip of the index finger (6, 0).
const char* const kHandCursor[] = {
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    " ## #..#..#..## ",
    "#..##..#..#..#.#",
    "#...#........#.#",
    " #...........#.#",
    "  #............#",
    "  #...........# ",
    "   #..........# ",
    "    #........#  ",
    "     #.......#  ",
    "     #########  ",
};

} // namespace

QString DefaultFontName() { return QStringLiteral("Arial"); }
int32_t DefaultFontSize() { return 8; }

const std::vector<TColor>& BuiltInColorPalette()
{
    static const std::vector<TColor> palette = {
        clRed,    clGreen, clYellow, clBlue,   clWhite,  clGray,       clFuchsia,  clTeal,    clNavy,  clMaroon,
        clLime,   clOlive, clPurple, clSilver, clAqua,   clBlack,      clMoneyGreen, clSkyBlue, clCream, clMedGray};
    return palette;
}

TPlotLibrarySettings::TPlotLibrarySettings() : ColorPalette(BuiltInColorPalette())
{
    Cursors[crPlotHand] = MakeHandCursor();
}

void SetDefaultColorPalette(TPlotLibrarySettings& settings, const TColor* colors, int highIndex)
{
    if (!colors || highIndex <= 0) {
        settings.ColorPalette = BuiltInColorPalette();
        return;
    }
    settings.ColorPalette.assign(colors, colors + highIndex + 1);
}

void SetDefaultPalette(TPlotLibrarySettings& settings) { settings.ColorPalette = BuiltInColorPalette(); }

void CallControlHook(const TPlotLibrarySettings& settings, QObject* control)
{
    if (settings.ControlHook)
        settings.ControlHook(control);
}

void CallControlHookEx(const TPlotLibrarySettings& settings)
{
    if (settings.ControlHook)
        settings.ControlHook(nullptr);
}

QCursor MakeHandCursor()
{
    constexpr int kSize = 16;
    QImage bits(kSize, kSize, QImage::Format_Mono);
    QImage mask(kSize, kSize, QImage::Format_Mono);
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const char c = kHandCursor[y][x];
            // QCursor: bitmap 1 = black, mask 1 = opaque; bitmap 0 with mask 1 = white.
            bits.setPixel(x, y, c == '#' ? 1 : 0);
            mask.setPixel(x, y, c == ' ' ? 0 : 1);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), 6, 0);
}

bool ReadEditorBoolean(const QString& name, bool defaultValue)
{
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    const QVariant v = s.value(name);
    if (!v.isValid())
        return defaultValue;
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return defaultValue;
}

int32_t ReadEditorInteger(const QString& name, int32_t defaultValue)
{
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    const QVariant v = s.value(name);
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const int32_t n = v.toString().trimmed().toInt(&ok, 10);
    return ok ? n : defaultValue;
}

void WriteEditorBoolean(const QString& name, bool value)
{
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue(name, value);
}

void WriteEditorInteger(const QString& name, int32_t value)
{
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue(name, value);
}

bool LoadClassBitmap(QImage& bitmap, const QString& firstName, const QString& secondName)
{
    for (const QString& name : {firstName, secondName}) {
        if (name.isEmpty())
            continue;
        QImage image(QStringLiteral(":/bitmaps/") + name + QStringLiteral(".png"));
        if (!image.isNull()) {
            bitmap = image;
            return true;
        }
    }
    return false;
}

bool LoadObjectBitmap(const QObject& object, QImage& bitmap)
{
    const QMetaObject* meta = object.metaObject();
    const QMetaObject* parent = meta->superClass();
    return LoadClassBitmap(bitmap, QString::fromLatin1(meta->className()),
                           parent ? QString::fromLatin1(parent->className()) : QString());
}

int CountFields(const QString& text, QChar separator)
{
    if (text.isEmpty())
        return 0;
    return static_cast<int>(text.count(separator)) + 1;
}

QString ExtractField(const QString& text, int index, QChar separator)
{
    if (text.isEmpty() || index < 1)
        return {};
    const QStringList fields = text.split(separator);
    return fields.at(std::min<qsizetype>(index, fields.size()) - 1);
}

namespace {

QChar SeparatorOf(const TPlotLibrarySettings& settings)
{
    return settings.FieldSeparator.isEmpty() ? QChar(';') : settings.FieldSeparator.at(0);
}

} // namespace

int CountFields(const TPlotLibrarySettings& settings, const QString& text)
{
    return CountFields(text, SeparatorOf(settings));
}

QString ExtractField(const TPlotLibrarySettings& settings, const QString& text, int index)
{
    return ExtractField(text, index, SeparatorOf(settings));
}

QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar)
{
    QString r = text;
    if (newChar.unicode() == 0)
        r.remove(oldChar);
    else
        r.replace(oldChar, newChar);
    return r;
}

QString GetUniqueComponentName(const QObject* owner, const QString& prefix)
{
    if (!owner)
        return prefix + QStringLiteral("1");
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        bool taken = false;
        for (const QObject* child : owner->children()) {
            if (child->objectName().compare(name, Qt::CaseInsensitive) == 0) {
                taken = true;
                break;
            }
        }
        if (!taken)
            return name;
    }
}

bool PointInLineTolerance(const TPoint& p, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t tolerance)
{
    if ((p.X == x0 && p.Y == y0) || (p.X == x1 && p.Y == y1))
        return true;
    const double ax = x0, ay = y0, bx = x1, by = y1, px = p.X, py = p.Y;
    double distance;
    if (x0 == x1 && y0 == y1) {
        distance = std::hypot(px - ax, py - ay);
    } else {
        const double dx = bx - ax, dy = by - ay;
        const double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
        if (t < 0)
            distance = std::hypot(px - ax, py - ay);
        else if (t > 1)
            distance = std::hypot(px - bx, py - by);
        else
            distance = std::hypot(px - (ax + t * dx), py - (ay + t * dy));
    }
    return distance <= tolerance + 1;
}

bool PointInPolygon(const TPoint& p, const TPoint* points, int highIndex)
{
    if (!points || highIndex < 0)
        return false;
    bool inside = false;
    int j = highIndex;
    for (int i = 0; i <= highIndex; ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[j];
        if (((a.Y <= p.Y && p.Y < b.Y) || (b.Y <= p.Y && p.Y < a.Y)) &&
            p.X < static_cast<double>(b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
            inside = !inside;
        j = i;
    }
    return inside;
}

bool PointInTriangle(const TPoint& p, int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    const TPoint poly[3] = {{x0, y1}, {(x0 + x1) / 2, y0}, {x1, y1}};
    return PointInPolygon(p, poly, 2);
}

bool PointInHorizTriangle(const TPoint& p, int32_t y0, int32_t y1, int32_t x0, int32_t x1)
{
    const TPoint poly[3] = {{x1, y0}, {x0, (y0 + y1) / 2}, {x1, y1}};
    return PointInPolygon(p, poly, 2);
}

bool PointInEllipse(const TPoint& p, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const int32_t cx = (left + right) / 2;
    const int32_t cy = (top + bottom) / 2;
    const double a = cx - left;
    const double b = cy - top;
    if (a == 0 || b == 0)
        return false;
    const double dx = p.X - cx;
    const double dy = p.Y - cy;
    return dx * dx / (a * a) + dy * dy / (b * b) <= 1.0;
}

void EnableControls(bool enabled, std::initializer_list<QWidget*> controls)
{
    for (QWidget* w : controls)
        if (w)
            w->setEnabled(enabled);
}

void QuickSortRange(int left, int right, const std::function<int(int, int)>& compare,
                    const std::function<void(int, int)>& swap)
{
    while (left < right) {
        int i = left;
        int j = right;
        int p = (left + right) >> 1;
        while (i <= j) {
            while (compare(i, p) < 0)
                ++i;
            while (compare(p, j) < 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    swap(i, j);
                    // The pivot element moved with the swap: follow it.
                    if (p == i)
                        p = j;
                    else if (p == j)
                        p = i;
                }
                ++i;
                --j;
            }
        }
        // Recurse into the smaller part and loop on the larger: the depth stays below log2(n).
        if (j - left < right - i) {
            if (left < j)
                QuickSortRange(left, j, compare, swap);
            left = i;
        } else {
            if (i < right)
                QuickSortRange(i, right, compare, swap);
            right = j;
        }
    }
}

void SwapDouble(double& a, double& b) { std::swap(a, b); }
void SwapInteger(int32_t& a, int32_t& b) { std::swap(a, b); }

TPoint PointAtDistanceFromEnd(const TPoint& start, const TPoint& end, int32_t distance)
{
    if (start.X == end.X) {
        const int32_t dir = start.Y < end.Y ? -1 : 1;
        return TPoint{end.X, end.Y + dir * distance};
    }
    const double a = std::atan2(static_cast<double>(end.Y - start.Y), static_cast<double>(end.X - start.X));
    return TPoint{end.X - static_cast<int32_t>(std::nearbyint(distance * std::cos(a))),
                  end.Y - static_cast<int32_t>(std::nearbyint(distance * std::sin(a)))};
}

double Hypotenuse(double x, double y) { return std::sqrt(x * x + y * y); }
