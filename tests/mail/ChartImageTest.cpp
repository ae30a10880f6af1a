// The picture the mail notices attach: the main chart as an 800 x 300 JPEG below the working folder.
#include "chart/canvas/PlotPanelExtended.h"
#include "common/TestSupport.h"
#include "mail/ChartImage.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ChartImage, ForTheMailNotices)
{
    QTemporaryDir dir;
    TCustomPlotPanelExtended chart;
    chart.resize(1340, 706);
    QString error;
    ASSERT_TRUE(SaveChartJpeg(chart, dir.path(), &error)) << error.toStdString();
    const QImage image(dir.filePath("out/ChartImage.jpg"));
    EXPECT_EQ(image.size(), QSize(800, 300));
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("out/ChartImage.jpg")).left(2), QByteArray("\xFF\xD8"));
}
