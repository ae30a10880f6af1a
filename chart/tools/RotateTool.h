#ifndef ZENDRIK_CHART_TOOLS_ROTATETOOL_H
#define ZENDRIK_CHART_TOOLS_ROTATETOOL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/engine/ChartTools.h"

#include <array>
#include <functional>
#include <memory>

class QTimer;
class TCustomAxisPanel;
class TRotateTool;

enum TRotateToolStyles { rsAll, rsRotation, rsElevation };

using TRotateToolEvent = std::function<void(TRotateTool* sender)>;

// Turns a 3D chart by dragging: the horizontal movement changes the rotation, the vertical one
// the elevation, by 90 degrees per chart width or height at Speed 50. With a visible pen the
// chart is drawn again only at the release; meanwhile an outline box shows the new angles.
// With Inertia the turn goes on after the release, slowing down by Inertia percent per 20 ms.
class TRotateTool : public TPlotCustomTool {
public:
    TRotateTool();
    ~TRotateTool() override;

    QString ClassName() const override { return QStringLiteral("TRotateTool"); }
    QString EditorClassName() const override { return QStringLiteral("TRotateToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    int Button() const { return button_; }
    void SetButton(int value) { button_ = value; }
    int Cursor() const { return cursor_; }
    void SetCursor(int value) { cursor_ = value; }
    int Inertia() const { return inertia_; }
    void SetInertia(int value) { inertia_ = value; }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool value) { inverted_ = value; }
    int Speed() const { return speed_; }
    void SetSpeed(int value) { speed_ = value; }
    TRotateToolStyles Style() const { return style_; }
    void SetStyle(TRotateToolStyles value) { style_ = value; }
    bool Rotating() const { return rotating_; }
    bool Spinning() const;

    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TRotateToolEvent OnRotate;

protected:
    std::unique_ptr<TChartPen> CreateChartPen() override;

private:
    TCustomAxisPanel* Panel() const;
    // Adds to the chart's angles (those the style chooses), kept within 0..360.
    void Turn(double rotation, double elevation, bool repaint);
    void DrawBox();
    void InertiaTick();

    int button_ = 0;   // mbLeft
    int cursor_ = crPlotHand;
    int inertia_ = 0;
    bool inverted_ = false;
    int speed_ = 50;
    TRotateToolStyles style_ = rsAll;
    bool rotating_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    double lastRotation_ = 0.0;
    double lastElevation_ = 0.0;
    bool boxShown_ = false;
    std::array<TPoint, 8> box_{};
    std::unique_ptr<QTimer> inertiaTimer_;
};

#endif
