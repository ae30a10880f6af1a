#ifndef ZENDRIK_MAINWINDOW_MARKERSTORE_H
#define ZENDRIK_MAINWINDOW_MARKERSTORE_H

#include "mainwindow/LevelUnits.h"

#include <QString>
#include <array>
#include <cstdint>

// One marker the operator placed on a set's corrected trace.
struct MarkerRecord {
    int32_t X = 0;         // kHz (the rounded frequency under the mouse)
    int32_t Y = 0;         // pixel row of the level when it was placed; the flag stays at this row
    QString FrequencyText; // X as a decimal text
    QString FreqLevelText; // frequency display text, " ", level in dBuV (2 decimals)
    QString LabelDbm;      // "n <frequency> <level> dBm"
    QString LabelDbuv;     // "n <frequency> <level> dBuV"
    QString LabelDbpw;     // "n <frequency> <level> dBpW"
    double Level = 0.0;    // dBuV as read from the trace

    const QString& Label(LevelUnit unit) const;
};

// The markers of one set, numbered from 1, added and removed at the end only.
struct MarkerStore {
    static constexpr int32_t kCapacity = 50;
    int32_t Count = 0;
    std::array<MarkerRecord, kCapacity> Records{};

    bool Full() const { return Count >= kCapacity; }
    MarkerRecord& Marker(int32_t n) { return Records[static_cast<size_t>(n - 1)]; }
    const MarkerRecord& Marker(int32_t n) const { return Records[static_cast<size_t>(n - 1)]; }
};

// Marker number n at xKhz with its level in dBuV and its pixel row: the three labels carry the
// level in their unit, so that a change of unit relabels stored markers without measuring again.
MarkerRecord MakeMarker(int32_t number, int32_t xKhz, double levelDbuv, int32_t row);

#endif
