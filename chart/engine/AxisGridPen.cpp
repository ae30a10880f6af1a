#include "chart/engine/AxisGridPen.h"

TAxisGridPen::TAxisGridPen(TNotifyEvent onChange, double defaultZPosition)
    : TDottedGrayPen(std::move(onChange)), zPosition_(defaultZPosition), defaultZPosition_(defaultZPosition)
{
}

void TAxisGridPen::Assign(const TPen& source)
{
    if (const auto* grid = dynamic_cast<const TAxisGridPen*>(&source); grid && grid != this) {
        const bool same = centered_ == grid->centered_ && drawEvery_ == grid->drawEvery_ &&
                          zPosition_ == grid->zPosition_;
        centered_ = grid->centered_;
        drawEvery_ = grid->drawEvery_;
        zPosition_ = grid->zPosition_;
        defaultZPosition_ = grid->defaultZPosition_;
        if (!same)
            Changed();
    }
    TChartPen::Assign(source);
}

void TAxisGridPen::SetCentered(bool value)
{
    if (centered_ != value) {
        centered_ = value;
        Changed();
    }
}

void TAxisGridPen::SetDrawEvery(int32_t value)
{
    if (drawEvery_ != value) {
        drawEvery_ = value;
        Changed();
    }
}

void TAxisGridPen::SetZPosition(double value)
{
    if (zPosition_ != value) {
        zPosition_ = value;
        Changed();
    }
}
