#include "chart/tools/AnimationTool.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/engine/ChartSeries.h"

#include <QTimer>
#include <algorithm>

TSeriesAnimationTool::TSeriesAnimationTool() : timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        try {
            Tick();
        } catch (...) {
            ReportChartError("TSeriesAnimationTool::Tick");
            Finish(true);
        }
    });
}

TSeriesAnimationTool::~TSeriesAnimationTool()
{
    MarkDestroying();
    timer_->stop();
}

QString TSeriesAnimationTool::Description() const { return QStringLiteral("Series Animation"); }

QString TSeriesAnimationTool::LongDescription() const
{
    return QStringLiteral("Performs growing animation of Series points.");
}

bool TSeriesAnimationTool::Running() const { return running_; }

void TSeriesAnimationTool::Execute()
{
    if (running_)
        Stop();
    TChartSeries* series = Series();
    if (!series || series->Count() == 0)
        return;
    TChartValueList& values = series->MandatoryValueList();
    saved_.assign(values.Values().begin(), values.Values().end());
    start_ = startAtMin_ ? values.MinValue() : startValue_;
    for (int i = 0; i < values.Count(); ++i)
        values.SetValueQuiet(i, start_);
    series->Repaint();
    running_ = true;
    step_ = 0;
    direction_ = 1;
    group_ = 0;
    if (OnStart)
        OnStart(this);
    timer_->start(std::max(0, delay_));
}

void TSeriesAnimationTool::Stop()
{
    if (running_)
        Finish(true);
}

void TSeriesAnimationTool::Finish(bool restore)
{
    timer_->stop();
    running_ = false;
    if (restore) {
        if (TChartSeries* series = Series()) {
            TChartValueList& values = series->MandatoryValueList();
            const int count = std::min(values.Count(), static_cast<int>(saved_.size()));
            for (int i = 0; i < count; ++i)
                values.SetValueQuiet(i, saved_[static_cast<size_t>(i)]);
            series->Repaint();
        }
    }
    saved_.clear();
    if (OnStop)
        OnStop(this);
}

// The series went away: nothing of it is touched again.
void TSeriesAnimationTool::Notification(ChartComponent* removed)
{
    if (removed == Series() && running_)
        Finish(false);
    TPlotCustomToolSeries::Notification(removed);
}

void TSeriesAnimationTool::Tick()
{
    TChartSeries* series = Series();
    if (!series) {
        Finish(false);
        return;
    }
    TChartValueList& values = series->MandatoryValueList();
    const int count = std::min(values.Count(), static_cast<int>(saved_.size()));
    const int group = drawEvery_ < 1 ? count : drawEvery_;
    const int steps = EffectiveSteps();
    const double i = step_;
    const int end = std::min(count, group_ + group);
    for (int j = group_; j < end; ++j)
        values.SetValueQuiet(j, start_ - start_ * i / steps + saved_[static_cast<size_t>(j)] * i / steps);
    group_ = end;
    series->Repaint();
    if (group_ < count)
        return;
    group_ = 0;
    if (OnStep)
        OnStep(this, step_);
    if (!running_)
        return;   // stopped from the step event
    const int next = step_ + direction_;
    if (next >= 0 && next <= steps) {
        step_ = next;
        return;
    }
    switch (loop_) {
    case salNo: Finish(true); break;
    case salOneWay: step_ = 0; break;
    case salCircular:
        direction_ = -direction_;
        step_ += direction_;
        break;
    }
}
