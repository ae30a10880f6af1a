#ifndef ZENDRIK_DATAFILES_GRIDINSTRUMENT_H
#define ZENDRIK_DATAFILES_GRIDINSTRUMENT_H

#include <QString>
#include <cstdint>

// The instrument as the parameter grid reaches it: the grid's instrument rows are sent at once,
// but only while a device is connected. The main window supplies the SCPI command layer
// (ScpiGridInstrument); tests supply a recorder. The texts are passed on as they stand.
class GridInstrument {
public:
    virtual ~GridInstrument() = default;

    virtual bool Connected() const = 0;
    // The wait margin per segment that identification chose (enters the segment time sums).
    virtual int32_t SweepWaitMarginMs() const = 0;

    virtual void SetDetector(const QString& name) = 0;
    // Seconds with "." as decimal mark, or "AUTO".
    virtual void SetSweepTime(const QString& seconds) = 0;
    virtual void SetRbw(const QString& hz) = 0;
    virtual void SetSpan(const QString& hz) = 0;
    // dB, or "AUTO".
    virtual void SetAttenuation(const QString& db) = 0;
    // "ON" or "OFF".
    virtual void SetPreamp(const QString& state) = 0;
};

#endif
