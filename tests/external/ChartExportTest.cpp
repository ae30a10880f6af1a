#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/tools/PlotBmpOptions.h"
#include "chart/tools/PlotJPEG.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

// Pictures of a chart panel exported as JPEG and as bitmaps at every depth, read back by
// programs we did not write: libjpeg-turbo's djpeg, ImageMagick's identify and mogrify, and file.
namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun Execute(const QString& program, const QStringList& args)
{
    ToolRun r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

void RequireTools(std::initializer_list<const char*> programs)
{
    for (const char* program : programs)
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            << program << " is missing; scripts/setup.sh installs it";
}

// A chart stand-in at whatever size it is drawn: a gradient back, coloured traces, a light
// yellow limit line and a label.
class ChartPanel : public TCustomPlotPanelExtended {
public:
    explicit ChartPanel(bool gradient)
    {
        resize(640, 480);
        SetColor(clSilver);
        if (gradient) {
            Gradient().SetStartColor(clWhite);
            Gradient().SetEndColor(clSkyBlue);
            Gradient().SetVisible(true);
        }
        OnAfterDraw = [this] {
            TPlotCanvas3D& c = Canvas();
            const TRect r = ChartRect;
            const TColor colours[] = {clRed, clBlue, clGreen, clFuchsia};
            for (int t = 0; t < 4; ++t) {
                TPointArray trace;
                for (int x = r.Left; x < r.Right; ++x)
                    trace.push_back(
                        TPoint {x, r.Top + (r.Height() * (t + 1)) / 6 + ((x * 7919 + t * 31) % 23) - 11});
                c.Pen().SetColor(colours[t]);
                c.Polyline(trace, static_cast<int>(trace.size()) - 1);
            }
            c.Pen().SetColor(clYellow);
            c.Pen().SetWidth(2);
            limitY = r.Top + r.Height() / 8;
            c.MoveTo(r.Left, limitY);
            c.LineTo(r.Right, limitY);
            c.Pen().SetWidth(1);
            c.Font().SetColor(clBlack);
            c.TextOut(r.Left + 10, r.Bottom - 30, QStringLiteral("Level dBuV"));
        };
    }
    int limitY = 0;
};

// The fields of identify's verbose report that the checks read.
QString IdentifyField(const QByteArray& report, const char* name)
{
    const QRegularExpression re(
        QStringLiteral("^\\s*%1: (.*)$").arg(QLatin1String(name)), QRegularExpression::MultilineOption);
    return re.match(QString::fromUtf8(report)).captured(1).trimmed();
}

// A binary PPM (P6) or PGM (P5) as djpeg writes it: channels per pixel and the samples.
struct Pnm {
    int width = 0;
    int height = 0;
    int channels = 0;
    QByteArray samples;
};

Pnm ParsePnm(const QByteArray& data)
{
    Pnm pnm;
    const QRegularExpression header(QStringLiteral("^P([56])\\s+(\\d+)\\s+(\\d+)\\s+255\\s"));
    const auto m = header.match(QString::fromLatin1(data.left(64)));
    if (!m.hasMatch())
        return pnm;
    pnm.channels = m.captured(1) == QLatin1String("6") ? 3 : 1;
    pnm.width = m.captured(2).toInt();
    pnm.height = m.captured(3).toInt();
    pnm.samples = data.mid(m.capturedLength());
    return pnm;
}

// Peak signal-to-noise ratio of the decoded picture against the source, in dB; gray pictures
// compare with the source's luminance.
double Psnr(const Pnm& decoded, const QImage& source)
{
    double sum = 0;
    const auto* s = reinterpret_cast<const uchar*>(decoded.samples.constData());
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = source.pixel(x, y);
            const uchar* d = s + (static_cast<qsizetype>(y) * source.width() + x) * decoded.channels;
            if (decoded.channels == 1) {
                const double luma = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
                sum += (d[0] - luma) * (d[0] - luma);
            } else {
                sum += std::pow(d[0] - qRed(c), 2) + std::pow(d[1] - qGreen(c), 2)
                    + std::pow(d[2] - qBlue(c), 2);
            }
        }
    }
    const double mse = sum / (static_cast<double>(source.width()) * source.height() * decoded.channels);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

int Distance(QRgb a, QRgb b)
{
    return (qRed(a) - qRed(b)) * (qRed(a) - qRed(b)) + (qGreen(a) - qGreen(b)) * (qGreen(a) - qGreen(b))
        + (qBlue(a) - qBlue(b)) * (qBlue(a) - qBlue(b));
}

// The colour table as the file holds it.
QVector<QRgb> FilePalette(const QByteArray& file)
{
    const uint32_t count = qFromLittleEndian<uint32_t>(file.constData() + 46);
    QVector<QRgb> palette;
    for (uint32_t i = 0; i < count; ++i) {
        const auto* e = reinterpret_cast<const uchar*>(file.constData()) + 54 + 4 * i;
        palette.push_back(qRgb(e[2], e[1], e[0]));
    }
    return palette;
}

} // namespace

TEST(ChartExport, JpegOfTheApplicationsCallReadsBackInColourAndGray)
{
    RequireTools({"djpeg", "identify"});
    ChartPanel panel(true);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage source
        = panel.CreateBitmapRect(panel.GetBackColor(), TRect {0, 0, 800, 300}, QImage::Format_RGB32);

    for (const bool gray : {false, true}) {
        SCOPED_TRACE(gray ? "gray scale" : "colour");
        TJPEGExportFormat format;
        format.Panel = &panel;
        format.Width = 800;
        format.Height = 300;
        format.JPEGOptions()->grayScaleBox->setChecked(gray);
        const QString file = dir.filePath(QStringLiteral("ChartImage.jpg"));
        QString error;
        ASSERT_TRUE(format.SaveToFile(file, &error)) << error.toStdString();

        const ToolRun decoded = Execute(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), file});
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err.toStdString();
        EXPECT_TRUE(decoded.err.isEmpty()) << decoded.err.toStdString();
        const Pnm pnm = ParsePnm(decoded.out);
        ASSERT_EQ(pnm.width, 800);
        ASSERT_EQ(pnm.height, 300);
        ASSERT_EQ(pnm.channels, gray ? 1 : 3);
        ASSERT_EQ(pnm.samples.size(), 800 * 300 * pnm.channels);
        EXPECT_GE(Psnr(pnm, source), 35.0);

        const ToolRun info = Execute(QStringLiteral("identify"), {QStringLiteral("-verbose"), file});
        ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
        EXPECT_EQ(IdentifyField(info.out, "Geometry"), QStringLiteral("800x300+0+0"));
        EXPECT_EQ(IdentifyField(info.out, "Quality"), QStringLiteral("95"));
        EXPECT_EQ(IdentifyField(info.out, "Interlace"), QStringLiteral("None"));
        EXPECT_EQ(
            IdentifyField(info.out, "Colorspace"), gray ? QStringLiteral("Gray") : QStringLiteral("sRGB"));
    }
}

TEST(ChartExport, BitmapsAtEveryDepthReadBackWithTheirPixels)
{
    RequireTools({"file", "identify", "mogrify"});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QVector<QRgb> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const struct {
        TPixelFormat format;
        bool mono;
        int bits;
    } cases[] = {{pfDevice, false, 32}, {pf1bit, false, 1}, {pf4bit, false, 4}, {pf8bit, false, 8},
        {pf15bit, false, 16}, {pf16bit, false, 16}, {pf24bit, false, 24}, {pf32bit, false, 32},
        {pf24bit, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << (c.mono ? " monochrome" : ""));
        // Monochrome wants a plain back colour to tell from the lines.
        ChartPanel panel(!c.mono);
        const QImage source
            = panel.CreateBitmapRect(panel.GetBackColor(), TRect {0, 0, 800, 300}, QImage::Format_RGB32);
        TBMPExportFormat format;
        format.Panel = &panel;
        format.Width = 800;
        format.Height = 300;
        format.BMPOptions()->colorsCombo->setCurrentIndex(c.format);
        format.BMPOptions()->monochromeBox->setChecked(c.mono);
        const QString file
            = dir.filePath(QStringLiteral("chart%1%2.bmp").arg(c.format).arg(c.mono ? "m" : ""));
        QString error;
        ASSERT_TRUE(format.SaveToFile(file, &error)) << error.toStdString();
        const QByteArray bytes = testsupport::ReadAll(file);

        const ToolRun kind = Execute(QStringLiteral("file"), {QStringLiteral("-b"), file});
        EXPECT_TRUE(kind.out.contains(
            QStringLiteral("PC bitmap, Windows 3.x format, 800 x 300 x %1").arg(c.bits).toLatin1()))
            << kind.out.toStdString();
        const ToolRun info
            = Execute(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%w %h"), file});
        ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
        EXPECT_TRUE(info.err.isEmpty()) << info.err.toStdString();
        EXPECT_EQ(info.out, "800 300");
        // mogrify writes the picture as ImageMagick decoded it, top row first.
        const ToolRun pixels = Execute(QStringLiteral("mogrify"),
            {QStringLiteral("-path"), dir.path(), QStringLiteral("-type"), QStringLiteral("TrueColor"),
                QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("-format"),
                QStringLiteral("ppm"), file});
        ASSERT_EQ(pixels.exitCode, 0) << pixels.err.toStdString();
        const Pnm decoded = ParsePnm(testsupport::ReadAll(file.chopped(3) + QStringLiteral("ppm")));
        ASSERT_EQ(decoded.channels, 3);
        ASSERT_EQ(decoded.samples.size(), 800 * 300 * 3);
        const QByteArray& rgb = decoded.samples;

        const QVector<QRgb> palette = FilePalette(bytes);
        if (c.format == pf4bit && !c.mono) {
            QVector<QRgb> colours;
            for (const QRgb p : palette)
                colours.push_back(p & 0xFFFFFF);
            EXPECT_EQ(colours, vga);
        }
        if (c.format == pf8bit) {
            ASSERT_EQ(palette.size(), 256);
            for (int i = 0; i < 216; ++i)
                EXPECT_EQ(palette[i] & 0xFFFFFF, qRgb(i / 36 * 51, i / 6 % 6 * 51, i % 6 * 51) & 0xFFFFFF);
            for (int i = 216; i < 256; ++i)
                EXPECT_TRUE(
                    qRed(palette[i]) == qGreen(palette[i]) && qGreen(palette[i]) == qBlue(palette[i]));
        }
        const QRgb back = qRgb(192, 192, 192); // clSilver
        int mismatches = 0;
        for (int y = 0; y < 300 && mismatches < 5; ++y) {
            for (int x = 0; x < 800 && mismatches < 5; ++x) {
                const QRgb s = source.pixel(x, y);
                const auto* d = reinterpret_cast<const uchar*>(rgb.constData()) + (y * 800 + x) * 3;
                const QRgb got = qRgb(d[0], d[1], d[2]);
                QRgb want = s;
                if (c.mono) {
                    want = s == back ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                } else if (c.bits <= 8) {
                    int best = 0;
                    for (int i = 1; i < palette.size(); ++i)
                        if (Distance(s, palette[i]) < Distance(s, palette[best]))
                            best = i;
                    want = palette[best];
                } else if (c.format == pf15bit || c.format == pf16bit) {
                    // Only the kept bits can be compared: readers widen them in their own ways.
                    const int greenBits = c.format == pf16bit ? 2 : 3;
                    const bool same = qRed(got) >> 3 == qRed(s) >> 3
                        && qGreen(got) >> greenBits == qGreen(s) >> greenBits
                        && qBlue(got) >> 3 == qBlue(s) >> 3;
                    want = same ? got : s;
                }
                if ((got & 0xFFFFFF) != (want & 0xFFFFFF)) {
                    ++mismatches;
                    ADD_FAILURE() << "pixel " << x << "," << y << " source " << std::hex << (s & 0xFFFFFF)
                                  << " read " << (got & 0xFFFFFF) << " expected " << (want & 0xFFFFFF);
                }
            }
        }
        if (c.mono) {
            // The light yellow limit line is black, not lost in white.
            EXPECT_EQ(source.pixel(400, panel.limitY) & 0xFFFFFF, 0xFFFF00u);
        }
    }
}
