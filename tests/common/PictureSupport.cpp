#include "common/PictureSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace picture {

namespace {

constexpr int kInkTolerance = 40;
constexpr int kBlendTolerance = 40;
// A pixel at least this far from the fill towards the ink belongs to a stroke of the text.
constexpr double kStrokeShare = 0.4;

// How far the pixel lies on the way from the fill colour (0) to the ink colour (1), as the
// antialiased edges of text do; -1 when it is off that way.
double BlendOf(QRgb p, QRgb fill, QRgb ink)
{
    const std::array<int, 3> f {qRed(fill), qGreen(fill), qBlue(fill)};
    const std::array<int, 3> d {qRed(ink) - f[0], qGreen(ink) - f[1], qBlue(ink) - f[2]};
    const std::array<int, 3> v {qRed(p) - f[0], qGreen(p) - f[1], qBlue(p) - f[2]};
    const double length = double(d[0]) * d[0] + double(d[1]) * d[1] + double(d[2]) * d[2];
    const double t = std::clamp((v[0] * d[0] + v[1] * d[1] + v[2] * d[2]) / length, 0.0, 1.0);
    for (int c = 0; c < 3; ++c)
        if (std::abs(v[c] - t * d[c]) > kBlendTolerance)
            return -1;
    return t;
}

} // namespace

void Save(const QImage& image, const QString& name)
{
    const QString dir = QStringLiteral(ZENDRIK_PICTURE_DIR);
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

int Distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

InkReport FindInk(const QImage& source, QRgb fill, QRgb ink, QRgb frame)
{
    frame |= 0xFF000000u;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    auto px = [&](int x, int y) { return image.pixel(x, y) | 0xFF000000u; };
    fill |= 0xFF000000u;

    // Label the areas of the fill colour, four-connected.
    std::vector<int> label(static_cast<size_t>(w) * h, -1);
    std::vector<QRect> areas;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (label[size_t(y) * w + x] >= 0 || px(x, y) != fill)
                continue;
            const int id = static_cast<int>(areas.size());
            QRect bounds(x, y, 1, 1);
            std::vector<QPoint> stack {QPoint(x, y)};
            label[size_t(y) * w + x] = id;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                bounds |= QRect(p, QSize(1, 1));
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + step;
                    if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h)
                        continue;
                    int& l = label[size_t(n.y()) * w + n.x()];
                    if (l < 0 && px(n.x(), n.y()) == fill) {
                        l = id;
                        stack.push_back(n);
                    }
                }
            }
            areas.push_back(bounds);
        }

    // The fill inside a letter (the eye of an "e") belongs to the box around the letter: every
    // area counts as the largest one whose bounds hold it.
    std::vector<int> owner(areas.size());
    for (size_t a = 0; a < areas.size(); ++a) {
        owner[a] = static_cast<int>(a);
        for (size_t b = 0; b < areas.size(); ++b) {
            const QRect& outer = areas[b];
            const QRect& best = areas[size_t(owner[a])];
            if (outer.contains(areas[a]) && outer.width() * outer.height() > best.width() * best.height())
                owner[a] = static_cast<int>(b);
        }
    }

    // The box a walk from (x, y) reaches over ink and blends, kFrame when it meets the frame
    // first (text touching its frame from inside), kOutside when it meets anything else.
    constexpr int kOutside = -1;
    constexpr int kFrame = -2;
    auto walk = [&](int x, int y, int dx, int dy) {
        for (x += dx, y += dy; x >= 0 && y >= 0 && x < w && y < h; x += dx, y += dy) {
            const QRgb p = px(x, y);
            if (p == fill)
                return owner[size_t(label[size_t(y) * w + x])];
            if (p == frame)
                return kFrame;
            if (BlendOf(p, fill, ink) < 0 && Distance(p, ink) > kInkTolerance)
                return kOutside;
        }
        return kOutside;
    };
    // The box that encloses (x, y), kOutside for none: no walk gets out and those that reach
    // a fill reach the same box.
    auto enclosing = [&](int x, int y) {
        int area = kOutside;
        for (const QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
            const int reached = walk(x, y, step.x(), step.y());
            if (reached == kOutside || (reached >= 0 && area >= 0 && reached != area))
                return kOutside;
            if (reached >= 0)
                area = reached;
        }
        return area;
    };

    InkReport report;
    std::map<int, size_t> boxOf;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (Distance(px(x, y), ink) > kInkTolerance)
                continue;
            ++report.Ink;
            const int area = enclosing(x, y);
            if (area < 0) {
                ++report.Loose;
                continue;
            }
            auto [it, added] = boxOf.emplace(area, report.Boxes.size());
            if (added)
                report.Boxes.push_back(InkBox {areas[size_t(area)], QRect(x, y, 1, 1), {}});
            report.Boxes[it->second].Ink |= QRect(x, y, 1, 1);
        }

    // Bands of rows inside each box that hold text, counting the half-covered pixels of thin
    // strokes too, each with the bounds of what it holds.
    for (InkBox& box : report.Boxes) {
        for (int y = box.Box.top(); y <= box.Box.bottom(); ++y) {
            int left = w, right = -1;
            for (int x = box.Box.left(); x <= box.Box.right(); ++x)
                if (BlendOf(px(x, y), fill, ink) >= kStrokeShare) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            if (right < 0)
                continue;
            const QRect span(left, y, right - left + 1, 1);
            if (!box.Lines.empty() && box.Lines.back().bottom() == y - 1)
                box.Lines.back() |= span;
            else
                box.Lines.push_back(span);
        }
    }
    return report;
}

void ExpectTwoAlignedLines(const InkBox& box, bool centred)
{
    ASSERT_EQ(box.Lines.size(), 2u) << "the lines run together";
    const QRect& wide = box.Lines.front();
    const QRect& narrow = box.Lines.back();
    ASSERT_LT(narrow.width() + 8, wide.width());
    if (centred) {
        EXPECT_LE(std::abs(narrow.center().x() - wide.center().x()), 2);
        EXPECT_LE(std::abs(wide.center().x() - box.Box.center().x()), 3);
    } else {
        EXPECT_LE(std::abs(narrow.right() - wide.right()), 2);
        EXPECT_LT(box.Box.right() - narrow.right(), narrow.left() - box.Box.left());
    }
}

void ExpectWholeText(const QImage& image, const InkBox& box, const QImage& alone, QRgb fill, QRgb ink)
{
    fill |= 0xFF000000u;
    QRect inkBounds;
    for (int y = 0; y < alone.height(); ++y)
        for (int x = 0; x < alone.width(); ++x)
            if (Distance(alone.pixel(x, y), ink) <= kInkTolerance)
                inkBounds |= QRect(x, y, 1, 1);
    ASSERT_FALSE(inkBounds.isEmpty());
    const QPoint shift = box.Ink.topLeft() - inkBounds.topLeft();
    int changed = 0, differing = 0;
    for (int y = 0; y < alone.height(); ++y)
        for (int x = 0; x < alone.width(); ++x)
            if ((alone.pixel(x, y) | 0xFF000000u) != fill) {
                ++changed;
                const QPoint p = QPoint(x, y) + shift;
                differing += !image.valid(p) || image.pixel(p) != alone.pixel(x, y);
            }
    EXPECT_EQ(differing, 0) << "of the " << changed << " pixels of the text";
}

} // namespace picture
