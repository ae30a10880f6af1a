#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/ExportStartup.h"
#include "chart/tools/JpegEncoder.h"
#include "chart/tools/PlotBmpOptions.h"
#include "chart/tools/PlotEmfOptions.h"
#include "chart/tools/PlotJPEG.h"
#include "common/TestSupport.h"
#include "platform/EmfReader.h"
#include "platform/gdi/EmfWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A chart stand-in: a red frame line and a blue diagonal inside the chart rectangle of the
// drawing under way, so that a picture at another size is drawn at that size. A set failure
// text makes the drawing throw.
class TracePanel : public TCustomPlotPanelExtended {
public:
    TracePanel()
    {
        resize(640, 480);
        SetColor(clWhite);
        OnAfterDraw = [this] {
            if (!failure.isEmpty())
                throw std::runtime_error(failure.toStdString());
            TPlotCanvas3D& c = Canvas();
            c.Pen().SetColor(clRed);
            c.MoveTo(ChartRect.Left, ChartRect.Top);
            c.LineTo(ChartRect.Right, ChartRect.Top);
            c.Pen().SetColor(clBlue);
            c.MoveTo(ChartRect.Left, ChartRect.Bottom);
            c.LineTo(ChartRect.Right, ChartRect.Top);
        };
    }
    QString failure;
};

QImage ReadImage(const QString& path, const char* format)
{
    return QImage::fromData(testsupport::ReadAll(path), format);
}

} // namespace

TEST(ExportFormats, RegistryOrderAndPicturesByExtension)
{
    TPlotExportFormats formats;
    StartExportUnit(formats);
    StartExportUnit(formats);
    ASSERT_EQ(formats.Classes.size(), 3u);
    EXPECT_EQ(formats.Classes[0], &TJPEGExportFormat::Class());
    EXPECT_EQ(formats.Classes[1], &TBMPExportFormat::Class());
    EXPECT_EQ(formats.Classes[2], &TEMFExportFormat::Class());

    for (const char* ext : {".jpg", ".JPG", ".Jpg"}) {
        const auto graphic = GraphicForExtension(formats, QString::fromLatin1(ext));
        ASSERT_TRUE(graphic) << ext;
        EXPECT_EQ(graphic->Kind(), gcJPEGImage);
        EXPECT_TRUE(graphic->Empty());
    }
    const auto bitmap = GraphicForExtension(formats, QStringLiteral(".BMP"));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Kind(), gcBitmap);
    EXPECT_FALSE(GraphicForExtension(formats, QStringLiteral(".png")));
    // A new metafile format is enhanced, so only its first extension finds it.
    const auto metafile = GraphicForExtension(formats, QStringLiteral(".Emf"));
    ASSERT_TRUE(metafile);
    EXPECT_EQ(metafile->Kind(), gcMetafile);
    EXPECT_FALSE(GraphicForExtension(formats, QStringLiteral(".wmf")));
    EXPECT_FALSE(GraphicForExtension(formats, QStringLiteral("jpg"))); // the dot belongs to it
    EXPECT_FALSE(GraphicForExtension(formats, QString()));

    // The picture reads files of its own kind only.
    QTemporaryDir dir;
    const QString bmpFile = dir.filePath(QStringLiteral("a.bmp"));
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(testsupport::WriteAll(bmpFile, EncodeBmp(red, pf24bit)));
    EXPECT_TRUE(bitmap->LoadFromFile(bmpFile));
    EXPECT_EQ(bitmap->Image().size(), QSize(4, 3));
    EXPECT_FALSE(GraphicForExtension(formats, QStringLiteral(".jpg"))->LoadFromFile(bmpFile));
    EXPECT_FALSE(TPlotGraphic(gcMetafile).LoadFromFile(bmpFile));

    StopExportUnit(formats);
    EXPECT_EQ(formats.Classes.size(), 3u); // still started once
    StopExportUnit(formats);
    EXPECT_TRUE(formats.Classes.empty());
    EXPECT_FALSE(GraphicForExtension(formats, QStringLiteral(".jpg")));
}

TEST(ExportFormats, TextsFilterIndexesAndOptionDefaults)
{
    TJPEGExportFormat jpeg;
    TBMPExportFormat bmp;
    EXPECT_EQ(jpeg.Description(), QStringLiteral("as &JPEG"));
    EXPECT_EQ(jpeg.FileExtension(), QStringLiteral("jpg"));
    EXPECT_EQ(jpeg.FileFilter(), QStringLiteral("JPEG files (*.jpg)|*.jpg"));
    EXPECT_EQ(bmp.Description(), QStringLiteral("as &Bitmap"));
    EXPECT_EQ(bmp.FileExtension(), QStringLiteral("bmp"));
    EXPECT_EQ(bmp.FileFilter(), QStringLiteral("Bitmaps (*.bmp)|*.bmp"));

    int32_t index = 0;
    jpeg.SetFilterIndex(index);
    bmp.SetFilterIndex(index);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(jpeg.WantsFilterIndex(1));
    EXPECT_TRUE(bmp.WantsFilterIndex(2));
    EXPECT_FALSE(bmp.WantsFilterIndex(1));

    EXPECT_EQ(jpeg.Options(false), nullptr);
    TPlotJPEGOptions* jo = jpeg.JPEGOptions();
    EXPECT_EQ(jo->Quality(), 95);
    EXPECT_EQ(jo->qualityEdit->minimum(), 1);
    EXPECT_EQ(jo->Performance(), jpBestQuality);
    EXPECT_FALSE(jo->GrayScale());
    EXPECT_EQ(TJPEGDefaults().CompressionQuality, 90);

    TBMPOptions* bo = bmp.BMPOptions();
    EXPECT_FALSE(bo->Monochrome());
    EXPECT_EQ(bo->PixelFormat(), pfDevice);
    EXPECT_EQ(bo->colorsCombo->count(), 8);
    EXPECT_EQ(bo->colorsCombo->itemText(pf15bit), QStringLiteral("32768 (15 bit)"));
    EXPECT_FALSE(bo->filtersButton->isEnabled()); // no filter editor yet
    bmp.EditFilters = [](QWidget*, const QImage&, TFilterItems&) { return false; };
    bo->UpdateFiltersButton();
    EXPECT_TRUE(bo->filtersButton->isEnabled());
    bo->monochromeBox->click();
    EXPECT_FALSE(bo->colorsCombo->isEnabled());
    bo->monochromeBox->click();
    EXPECT_TRUE(bo->colorsCombo->isEnabled());
}

TEST(ExportFormats, ApplicationCallAtAnotherSizeLeavesThePanelAsItWas)
{
    TracePanel panel;
    panel.Repaint();
    const TRect chartRect = panel.ChartRect;
    const TRect bounds = panel.ChartBounds;
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("ChartImage.jpg"));
    ASSERT_TRUE(testsupport::WriteAll(target, "an older picture"));

    TJPEGExportFormat format;
    format.Panel = &panel;
    format.Width = 800;
    format.Height = 300;
    QString error;
    ASSERT_TRUE(format.SaveToFile(target, &error)) << error.toStdString();
    EXPECT_EQ(ReadImage(target, "JPEG").size(), QSize(800, 300)); // the old file is replaced
    QWidget* form = format.Options(false);
    ASSERT_TRUE(format.SaveToFile(target, &error)) << error.toStdString();
    EXPECT_EQ(format.Options(false), form); // reused, not made again

    EXPECT_EQ(panel.ChartRect, chartRect);
    EXPECT_EQ(panel.ChartBounds, bounds);
    EXPECT_TRUE(panel.BufferedDisplay());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("ChartImage.jpg")});

    // Width and height 0 take the panel's.
    TBMPExportFormat bmp;
    bmp.Panel = &panel;
    const QString bmpFile = dir.filePath(QStringLiteral("chart.bmp"));
    ASSERT_TRUE(bmp.SaveToFile(bmpFile, &error)) << error.toStdString();
    EXPECT_EQ(ReadImage(bmpFile, "BMP").size(), QSize(640, 480));
}

TEST(ExportFormats, FailuresKeepTheOldFileAndSayWhy)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("ChartImage.jpg"));
    const QByteArray old = "the picture of the last segment";
    ASSERT_TRUE(testsupport::WriteAll(target, old));

    // No panel: nothing is written, not even a new file.
    TJPEGExportFormat format;
    QString error;
    EXPECT_FALSE(format.SaveToFile(target, &error));
    EXPECT_EQ(error, QStringLiteral("Panel property is not set in Export format"));
    EXPECT_FALSE(format.SaveToFile(dir.filePath(QStringLiteral("new.jpg")), &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("new.jpg"))));
    QString clipboardError;
    EXPECT_FALSE(format.CopyToClipboard(&clipboardError));
    EXPECT_EQ(clipboardError, error);

    // libjpeg refuses the size: its message comes back and the process goes on.
    TracePanel panel;
    panel.Repaint();
    const TRect chartRect = panel.ChartRect;
    format.Panel = &panel;
    format.Width = 70000;
    format.Height = 2;
    EXPECT_FALSE(format.SaveToFile(target, &error));
    EXPECT_TRUE(error.contains(QLatin1String("65500"))) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(target), old);

    // The drawing throws: the panel is back in its on-screen state.
    format.Width = 800;
    format.Height = 300;
    panel.failure = QStringLiteral("axis range broken");
    EXPECT_FALSE(format.SaveToFile(target, &error));
    EXPECT_EQ(error, panel.failure);
    EXPECT_EQ(testsupport::ReadAll(target), old);
    EXPECT_TRUE(panel.BufferedDisplay());
    EXPECT_EQ(panel.ChartRect, chartRect);
    panel.failure.clear();
    // A caller that takes no error text (a preview) has the failure go to the library's hook.
    QStringList caught;
    ChartErrorHookScope hook([&](const QString& where, const QString& what) { caught << where + ": " + what; });
    EXPECT_FALSE(RunExportStep([] { throw std::runtime_error("preview failed"); }, nullptr));
    EXPECT_EQ(caught, QStringList{"RunExportStep: preview failed"});

    // A folder where the file should be: the folder stays, the reason names the file.
    const QString folder = dir.filePath(QStringLiteral("taken.jpg"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_FALSE(format.SaveToFile(folder, &error));
    EXPECT_TRUE(error.contains(QLatin1String("taken.jpg"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("ChartImage.jpg")});
}

TEST(ExportFormats, BitmapFiltersMonochromeAndClipboard)
{
    TracePanel panel;
    TBMPExportFormat bmp;
    bmp.Panel = &panel;
    bmp.Width = 100;
    bmp.Height = 60;
    bmp.Filters().Add(TInvertFilter::Class());
    QImage picture = QImage::fromData(bmp.BuildBitmap(), "BMP");
    EXPECT_EQ(picture.pixel(80, 50) & 0xFFFFFF, 0u); // white back colour, inverted

    // Monochrome ignores the colour list.
    bmp.Filters().Clear();
    bmp.BMPOptions()->colorsCombo->setCurrentIndex(pf24bit);
    bmp.BMPOptions()->monochromeBox->setChecked(true);
    const QByteArray mono = bmp.BuildBitmap();
    EXPECT_EQ(static_cast<uchar>(mono[28]), 1); // bits per pixel
    bmp.BMPOptions()->monochromeBox->setChecked(false);
    EXPECT_EQ(static_cast<uchar>(bmp.BuildBitmap()[28]), 24);

    QString error;
    ASSERT_TRUE(bmp.CopyToClipboard(&error)) << error.toStdString();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(100, 60));

    TJPEGExportFormat jpeg;
    jpeg.Panel = &panel;
    jpeg.Width = 90;
    jpeg.Height = 40;
    jpeg.JPEGOptions()->grayScaleBox->setChecked(true);
    ASSERT_TRUE(jpeg.CopyToClipboard(&error)) << error.toStdString();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(90, 40));
    EXPECT_TRUE(copied.allGray());
}

TEST(ExportFormats, MetafileEntriesAndExtensionFollowEnhanced)
{
    TJPEGExportFormat jpeg;
    TEMFExportFormat emf;
    TBMPExportFormat bmp;
    EXPECT_EQ(emf.Description(), QStringLiteral("as &Metafile"));
    EXPECT_EQ(emf.FileFilter(), QStringLiteral("Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"));
    // Without a form the format is enhanced.
    EXPECT_EQ(emf.Options(false), nullptr);
    EXPECT_TRUE(emf.Enhanced());
    EXPECT_EQ(emf.FileExtension(), QStringLiteral("emf"));

    // Two entries of the combined filter: jpg 1, emf 2, wmf 3, bmp 4.
    int32_t index = 0;
    jpeg.SetFilterIndex(index);
    emf.SetFilterIndex(index);
    bmp.SetFilterIndex(index);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(emf.FilterIndex, 2);
    EXPECT_EQ(emf.GetFilterIndex(), 2);
    EXPECT_EQ(bmp.GetFilterIndex(), 4);
    EXPECT_FALSE(emf.WantsFilterIndex(1));
    EXPECT_FALSE(emf.WantsFilterIndex(4));
    EXPECT_TRUE(emf.WantsFilterIndex(2));
    EXPECT_EQ(emf.Options(false), nullptr); // the enhanced entry needs no form

    // The second entry switches "&Enhanced" off, creating the form.
    EXPECT_TRUE(emf.WantsFilterIndex(3));
    ASSERT_NE(emf.EMFOptions(false), nullptr);
    EXPECT_FALSE(emf.EMFOptions()->enhancedBox->isChecked());
    EXPECT_FALSE(emf.Enhanced());
    EXPECT_EQ(emf.FileExtension(), QStringLiteral("wmf"));
    EXPECT_EQ(emf.GetFilterIndex(), 3);
    // Choosing the first entry again gives an enhanced file again.
    EXPECT_TRUE(emf.WantsFilterIndex(2));
    EXPECT_TRUE(emf.Enhanced());
}

TEST(ExportFormats, MetafileOfThePanelAsEmfWmfAndOnTheClipboard)
{
    TracePanel panel;
    panel.Repaint();
    const TRect chartRect = panel.ChartRect;
    TEMFExportFormat emf;
    emf.Panel = &panel;
    emf.Width = 500;
    emf.Height = 300;

    // The recording reads back call by call, and the file is that recording's.
    const gdi::Metafile picture = emf.BuildMetafile();
    EXPECT_TRUE(picture.Enhanced);
    EXPECT_EQ(picture.Width, 500);
    const emfread::Picture read = emfread::ExpectReadsBack(picture);
    EXPECT_EQ(read.calls.filter(QStringLiteral("LineTo")).filter(QStringLiteral("/0000ff |")).size(), 1)
        << read.calls.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(panel.ChartRect, chartRect); // the drawing at another size left nothing behind

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("chart.emf"));
    ASSERT_TRUE(testsupport::WriteAll(target, "an older picture"));
    QString error;
    ASSERT_TRUE(emf.SaveToFile(target, &error)) << error.toStdString();
    const QByteArray file = testsupport::ReadAll(target);
    EXPECT_EQ(file, gdi::EncodeEmf(picture));

    // Plain: the placeable metafile.
    emf.EMFOptions()->enhancedBox->setChecked(false);
    const QString plain = dir.filePath(QStringLiteral("chart.wmf"));
    ASSERT_TRUE(emf.SaveToFile(plain, &error)) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(plain).left(4), QByteArray::fromHex("d7cdc69a"));

    emf.EMFOptions()->enhancedBox->setChecked(true);
    ASSERT_TRUE(emf.CopyToClipboard(&error)) << error.toStdString();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(emfread::Read(data->data(QStringLiteral("image/emf"))).error.isEmpty());
    EXPECT_FALSE(data->data(QStringLiteral("image/emf")).isEmpty());
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(500, 300));
    // The red frame line of the drawing is in the rendered picture too.
    int red = 0;
    for (int y = 0; y < copied.height(); ++y)
        for (int x = 0; x < copied.width(); ++x)
            red += (copied.pixel(x, y) & 0xFFFFFF) == 0xFF0000u ? 1 : 0;
    EXPECT_GT(red, 100);

    // No panel: the reason, and the file stays.
    TEMFExportFormat lonely;
    EXPECT_FALSE(lonely.SaveToFile(target, &error));
    EXPECT_EQ(error, QStringLiteral("Panel property is not set in Export format"));
    EXPECT_EQ(testsupport::ReadAll(target), file);
}

// A million-point line is written as its columns show it: each file under 1 MB, played at its size
// as the screen shows it (outlines and text may fall half a pixel apart).
TEST(ExportFormats, MillionPointLineKeepsWhatItsColumnsShow)
{
    TChart chart;
    chart.SetView3D(false);
    chart.Legend().Hide();
    for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()})
        axis->Grid().Hide();
    chart.resize(700, 400);
    std::vector<double> x(1000000), y(x.size());
    for (uint32_t i = 0, seed = 7; i < x.size(); ++i, seed = seed * 1664525u + 1013904223u) {
        x[i] = i;
        y[i] = (seed >> 8) % 1000 + (i % 5000 < 40 ? 3000 : 0);
    }
    chart.AddNewSeries<TLineSeries>().AddPointsXY(x, y);
    chart.RepaintNow();
    TEMFExportFormat emf;
    emf.Panel = &chart;
    ASSERT_TRUE(emf.CopyToClipboard());
    const QImage played = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    const QImage& screen = chart.WindowImage();
    ASSERT_EQ(played.size(), screen.size());
    int differences = 0;
    for (int j = 0; j < screen.height(); ++j)
        for (int i = 0; i < screen.width(); ++i)
            differences += (played.pixel(i, j) & 0xFFFFFF) != (screen.pixel(i, j) & 0xFFFFFF);
    EXPECT_LT(differences, screen.width() * screen.height() / 30);
    for (const bool enhanced : {true, false}) {
        emf.EMFOptions()->enhancedBox->setChecked(enhanced);
        EXPECT_LT(emf.BuildFile().size(), 1000000) << enhanced;
    }
}
