#ifndef ZENDRIK_INSTRUMENT_ANALYSERKIND_H
#define ZENDRIK_INSTRUMENT_ANALYSERKIND_H

#include <cstdint>

// Analyser families as the identification sets them. The numbers are fixed: reference files and
// log lines show them.
enum DeviceFamilyCode : int32_t {
    dfNone = 0,
    dfRigol = 1,
    dfSiglent = 2,
    dfHameg = 3,
    dfRsFpc = 4,
    dfRsFph = 5,
};

enum SiglentSeriesCode : int32_t {
    ssNone = 0,
    ssSsa = 1,
    ssSva = 2,
};

// What the identification made of the analyser. Every choice by family, model or series asks
// the predicates below instead of comparing the numbers, so that each kind is told apart here
// and nowhere else.
struct AnalyserKind {
    // The model number every Rigol RSA gets, whichever RSA it is.
    static constexpr int32_t kRigolRsaModel = 5000;

    DeviceFamilyCode DeviceFamily = dfNone;
    // Rigol only: 815, 832, 875, 1030, 700 or kRigolRsaModel; 0 unknown.
    int32_t DeviceModel = 0;
    SiglentSeriesCode SiglentSeries = ssNone;

    constexpr bool IsKnown() const { return DeviceFamily != dfNone; }
    constexpr bool IsRigol() const { return DeviceFamily == dfRigol; }
    // The RSA models work in dBm, answer binary traces big-endian and need the "*OPC" handshake.
    constexpr bool IsRigolRsa() const { return IsRigol() && DeviceModel == kRigolRsaModel; }
    constexpr bool IsRigolDsa() const { return IsRigol() && DeviceModel != kRigolRsaModel; }
    constexpr bool IsSiglent() const { return DeviceFamily == dfSiglent; }
    constexpr bool IsSiglentSsa() const { return IsSiglent() && SiglentSeries == ssSsa; }
    constexpr bool IsSiglentSva() const { return IsSiglent() && SiglentSeries == ssSva; }
    constexpr bool IsHameg() const { return DeviceFamily == dfHameg; }
    constexpr bool IsRsFpc() const { return DeviceFamily == dfRsFpc; }
    constexpr bool IsRsFph() const { return DeviceFamily == dfRsFph; }
    // The two R&S families are EMI receivers: scan and fixed-frequency modes instead of sweeps.
    constexpr bool IsRsReceiver() const { return IsRsFpc() || IsRsFph(); }

    // What the analyser offers, each decided per family in a switch without a default: a family
    // added to DeviceFamilyCode does not compile until it is placed in every one.

    // The generator view drives its tracking generator.
    constexpr bool HasTrackingGenerator() const
    {
        switch (DeviceFamily) {
        case dfRigol:
        case dfSiglent: return true;
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return false;
        }
        return false;
    }
    // The main window's "VBW" choice (auto or 1:3) reaches it.
    constexpr bool HasVbwChoice() const
    {
        switch (DeviceFamily) {
        case dfRigol:
        case dfSiglent: return true;
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return false;
        }
        return false;
    }
    // Marker 1 can be put on a frequency and read there; the Hameg's marker only finds the peak.
    constexpr bool PlacesMarkerAtFrequency() const
    {
        switch (DeviceFamily) {
        case dfRigol:
        case dfSiglent:
        case dfRsFpc:
        case dfRsFph: return true;
        case dfNone:
        case dfHameg: return false;
        }
        return false;
    }
    // Play measures it with the swept analyser's runs: whole sweeps ("sweep"), or point by point
    // in zero span with marker 1 ("emi"). The receivers scan instead; the Hameg has no run.
    constexpr bool HasSweptRuns() const
    {
        switch (DeviceFamily) {
        case dfRigol:
        case dfSiglent: return true;
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return false;
        }
        return false;
    }
};

#endif
