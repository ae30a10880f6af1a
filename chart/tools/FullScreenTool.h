#ifndef ZENDRIK_CHART_TOOLS_FULLSCREENTOOL_H
#define ZENDRIK_CHART_TOOLS_FULLSCREENTOOL_H

#include "chart/engine/ChartTools.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

class QLayout;
class TCustomAxisPanel;

// The Qt key that a Windows virtual-key code stands for: Escape, Enter, Space, letters, digits
// and F1..F12; 0 for any other code (it never matches a key).
int KeyOfVirtualKey(int virtualKey);

// Shows its chart alone, full screen, while Active: the chart moves into a window of its own
// and goes back into its former parent, at its former place and size, when ReleaseKey is
// pressed, when Active goes off, or when that window is closed in any other way.
class TFullScreenTool : public TPlotCustomTool {
public:
    TFullScreenTool();
    ~TFullScreenTool() override;

    QString ClassName() const override { return QStringLiteral("TFullScreenTool"); }
    QString Description() const override;
    QString LongDescription() const override;
    void SetActive(bool value) override;
    void SetParentChart(ChartParent* chart) override;

    // A Windows virtual-key code; 27 is Escape.
    int ReleaseKey() const { return releaseKey_; }
    void SetReleaseKey(int value) { releaseKey_ = value; }
    // The full-screen window while there is one.
    QWidget* Window() const { return window_; }

private:
    class Holder;
    TCustomAxisPanel* Panel() const;
    void Enter();
    void Leave();

    int releaseKey_ = 27;
    QPointer<QWidget> window_;
    QPointer<QWidget> formerParent_;
    QRect formerGeometry_;
    bool wasVisible_ = false;
    // The chart's place in its former parent's layout.
    int layoutIndex_ = -1;
    int gridRow_ = -1, gridColumn_ = -1, gridRowSpan_ = 1, gridColumnSpan_ = 1;
    int boxStretch_ = 0;
    bool leaving_ = false;
};

#endif
