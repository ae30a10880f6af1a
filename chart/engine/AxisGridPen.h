#ifndef ZENDRIK_CHART_ENGINE_AXISGRIDPEN_H
#define ZENDRIK_CHART_ENGINE_AXISGRIDPEN_H

#include "chart/canvas/ChartPen.h"

// The grid pen of an axis: dotted gray, with lines between labels instead of at them, a
// thinning of the lines and the depth at which the grid stands in 3D.
class TAxisGridPen : public TDottedGrayPen {
public:
    explicit TAxisGridPen(TNotifyEvent onChange = {}, double defaultZPosition = 0.0);

    void Assign(const TPen& source) override;

    bool Centered() const { return centered_; }
    void SetCentered(bool value);
    int32_t DrawEvery() const { return drawEvery_; }
    void SetDrawEvery(int32_t value);
    // The step between drawn lines; values below 1 draw every line.
    int32_t EffectiveDrawEvery() const { return drawEvery_ < 1 ? 1 : drawEvery_; }
    double ZPosition() const { return zPosition_; }
    void SetZPosition(double value);
    double DefaultZPosition() const { return defaultZPosition_; }
    bool IsZPositionStored() const { return zPosition_ != defaultZPosition_; }

private:
    bool centered_ = false;
    int32_t drawEvery_ = 1;
    double zPosition_ = 0.0;
    double defaultZPosition_ = 0.0;
};

#endif
