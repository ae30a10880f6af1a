#ifndef ZENDRIK_CHART_TOOLS_MAGNIFYTOOL_H
#define ZENDRIK_CHART_TOOLS_MAGNIFYTOOL_H

#include "chart/tools/AnnotationTool.h"

#include <QImage>

struct TLibraryTexts;

// A lens over the finished chart: the part of the chart under its box, enlarged through the zoom
// filter, optionally clipped to a circle, framed with the tool's pen. It follows the mouse or is
// dragged and resized like a rectangle; the wheel over it changes the enlargement. Metafiles
// (WMF export, the printed report) never show it.
class TMagnifyTool : public TRectangleTool {
public:
    TMagnifyTool();

    QString ClassName() const override { return QStringLiteral("TMagnifyTool"); }
    QString EditorClassName() const override { return QStringLiteral("TMagnifyToolEditor"); }
    // Its name and description come from the library's text table (which a translation assigns
    // anew) once it has one; until then its own English texts.
    QString Description() const override;
    QString LongDescription() const override;
    void SetTexts(const TLibraryTexts* texts) { texts_ = texts; }
    void SetParentChart(ChartParent* chart) override;
    void Assign(const TMagnifyTool& source);

    bool Circled() const { return circled_; }
    void SetCircled(bool value) { SetAndRepaint(circled_, value); }
    bool FollowMouse() const { return followMouse_; }
    void SetFollowMouse(bool value) { followMouse_ = value; }
    // Handed to the zoom filter: 50 doubles the scale.
    double Percent() const { return percent_; }
    void SetPercent(double value) { SetAndRepaint(percent_, value); }
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value) { SetAndRepaint(smooth_, value); }
    // Step of Percent per wheel notch over the lens; 0 switches the wheel off, the sign is ignored.
    int WheelZoom() const { return wheelZoom_; }
    void SetWheelZoom(int value) { wheelZoom_ = value; }

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;
    void MouseWheel(int delta, int x, int y) override;

    // The enlarged picture of the chart pixels under a box of that size (pixels outside the
    // source are white), as the lens shows it.
    static QImage MagnifiedPicture(const QImage& source, const TRect& box, double percent, bool smooth);

private:
    void DrawMagnified();

    bool circled_ = false;
    bool followMouse_ = false;
    double percent_ = 50.0;
    bool smooth_ = false;
    int wheelZoom_ = 5;
    const TLibraryTexts* texts_ = nullptr;
};

#endif
