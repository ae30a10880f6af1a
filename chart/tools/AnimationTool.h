#ifndef ZENDRIK_CHART_TOOLS_ANIMATIONTOOL_H
#define ZENDRIK_CHART_TOOLS_ANIMATIONTOOL_H

#include "chart/engine/ChartTools.h"

#include <functional>
#include <memory>
#include <vector>

class QTimer;
class TSeriesAnimationTool;

enum TSeriesAnimationLoop { salNo, salOneWay, salCircular };

using TSeriesAnimationEvent = std::function<void(TSeriesAnimationTool* sender)>;
using TSeriesAnimationStepEvent = std::function<void(TSeriesAnimationTool* sender, int step)>;

// Grows its series' values from a start value (the series' minimum, or StartValue) to the values
// they have: step i of 0..Steps shows start - start x i/Steps + value x i/Steps, DrawEvery points
// at a time (all at once below 1), one timer tick of Delay ms per group. The values are put back
// exactly at the end and on Stop; a series that goes away ends the animation untouched.
class TSeriesAnimationTool : public TPlotCustomToolSeries {
public:
    TSeriesAnimationTool();
    ~TSeriesAnimationTool() override;

    QString ClassName() const override { return QStringLiteral("TSeriesAnimationTool"); }
    QString EditorClassName() const override { return QStringLiteral("TSeriesAnimToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    int Steps() const { return steps_; }
    void SetSteps(int value) { steps_ = value; }
    bool StartAtMin() const { return startAtMin_; }
    void SetStartAtMin(bool value) { startAtMin_ = value; }
    double StartValue() const { return startValue_; }
    void SetStartValue(double value) { startValue_ = value; }
    int Delay() const { return delay_; }
    void SetDelay(int value) { delay_ = value; }
    int DrawEvery() const { return drawEvery_; }
    void SetDrawEvery(int value) { drawEvery_ = value; }
    TSeriesAnimationLoop Loop() const { return loop_; }
    void SetLoop(TSeriesAnimationLoop value) { loop_ = value; }

    void Execute();
    void Stop();
    bool Running() const;
    // The step being shown, -1 when not running.
    int CurrentStep() const { return running_ ? step_ : -1; }

    TSeriesAnimationEvent OnStart;
    TSeriesAnimationStepEvent OnStep;
    TSeriesAnimationEvent OnStop;

protected:
    void Notification(ChartComponent* removed) override;

private:
    void Tick();
    void Finish(bool restore);
    int EffectiveSteps() const { return steps_ < 1 ? 1 : steps_; }

    int steps_ = 100;
    bool startAtMin_ = true;
    double startValue_ = 0.0;
    int delay_ = 0;
    int drawEvery_ = 0;
    TSeriesAnimationLoop loop_ = salNo;
    std::unique_ptr<QTimer> timer_;
    std::vector<double> saved_;
    double start_ = 0.0;
    int step_ = 0;
    int direction_ = 1;
    int group_ = 0;
    bool running_ = false;
};

#endif
