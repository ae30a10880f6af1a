#ifndef ZENDRIK_MEASUREMENT_SCPIGRIDINSTRUMENT_H
#define ZENDRIK_MEASUREMENT_SCPIGRIDINSTRUMENT_H

#include "datafiles/GridInstrument.h"

struct ScpiContext;

// The parameter grid's instrument through the SCPI command layer: each setting goes to the
// connected family in its dialect, as a command that owns the analyser (RunAnalyserCommand), and
// the settings echo records what was sent.
class ScpiGridInstrument final : public GridInstrument {
public:
    explicit ScpiGridInstrument(ScpiContext& context) : context_(context) {}

    bool Connected() const override;
    int32_t SweepWaitMarginMs() const override;
    void SetDetector(const QString& name) override;
    void SetSweepTime(const QString& seconds) override;
    void SetRbw(const QString& hz) override;
    void SetSpan(const QString& hz) override;
    void SetAttenuation(const QString& db) override;
    void SetPreamp(const QString& state) override;

private:
    ScpiContext& context_;
};

#endif
