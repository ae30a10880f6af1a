#ifndef ZENDRIK_TESTS_CHART_CANVAS_FILTERTESTSUPPORT_H
#define ZENDRIK_TESTS_CHART_CANVAS_FILTERTESTSUPPORT_H

#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <vector>

// Readers for the reference files under tests/data/canvas/filters (written by make_reference.py).
namespace filtertest {

inline QString DataFile(const char* name)
{
    return QStringLiteral(ZENDRIK_TEST_DATA "/canvas/filters/") + QLatin1String(name);
}

// The file's lines without comments and blank lines, split into words.
inline std::vector<QStringList> ReadWords(const char* name)
{
    std::vector<QStringList> lines;
    QFile f(DataFile(name));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        lines.push_back(line.split(' ', Qt::SkipEmptyParts));
    }
    return lines;
}

inline std::vector<int> Ints(const QStringList& words, int from = 0)
{
    std::vector<int> v;
    for (int i = from; i < words.size(); ++i)
        v.push_back(words[i].toInt());
    return v;
}

inline uint32_t Rgb(int r, int g, int b)
{
    return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// Reads h rows of w pixels ("r g b r g b ...") starting at lines[at]; advances at.
inline QImage ReadImage(const std::vector<QStringList>& lines, size_t& at, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y, ++at) {
        const std::vector<int> v = Ints(lines.at(at));
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, Rgb(v.at(3 * x), v.at(3 * x + 1), v.at(3 * x + 2)));
    }
    return img;
}

// A bitmap whose pixel at (x, y) is (x, y, seed): shows where each pixel came from.
inline QImage CoordinateImage(int w, int h, int seed = 7)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, Rgb(x & 0xFF, y & 0xFF, seed));
    return img;
}

inline QImage Filled(int w, int h, uint32_t pixel)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(pixel);
    return img;
}

inline uint32_t Px(const QImage& img, int x, int y)
{
    return img.pixel(x, y) | 0xFF000000u;
}

} // namespace filtertest

#endif
