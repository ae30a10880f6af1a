#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/tools/ExportStartup.h"
#include "chart/tools/JpegEncoder.h"
#include "chart/tools/PlotBmpOptions.h"
#include "chart/tools/PlotJPEG.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    ASSERT_EQ(formats.Classes.size(), 2u);
    EXPECT_EQ(formats.Classes[0], &TJPEGExportFormat::Class());
    EXPECT_EQ(formats.Classes[1], &TBMPExportFormat::Class());

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
    EXPECT_EQ(formats.Classes.size(), 2u); // still started once
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
