#ifndef ZENDRIK_INSTRUMENT_ANALYSERKIND_H
#define ZENDRIK_INSTRUMENT_ANALYSERKIND_H

#include <cstddef>
#include <iterator>
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

// Every family, in the order of its code. The identification tries their texts in this order and
// the tests go through it, so a family left out is never recognised nor tested: IsFamilyCode's
// switch stops the build at a new code, and the assertion below until the code is listed here.
inline constexpr DeviceFamilyCode kDeviceFamilies[] = {dfRigol, dfSiglent, dfHameg, dfRsFpc, dfRsFph};

constexpr bool IsFamilyCode(DeviceFamilyCode code)
{
    switch (code) {
    case dfNone:
    case dfRigol:
    case dfSiglent:
    case dfHameg:
    case dfRsFpc:
    case dfRsFph: return true;
    }
    return false;
}

constexpr bool FamiliesListedInOrder()
{
    for (size_t i = 0; i < std::size(kDeviceFamilies); ++i)
        if (kDeviceFamilies[i] != static_cast<DeviceFamilyCode>(i + 1))
            return false;
    return !IsFamilyCode(static_cast<DeviceFamilyCode>(std::size(kDeviceFamilies) + 1));
}
static_assert(FamiliesListedInOrder(), "kDeviceFamilies lists every family code from 1, in order");

enum SiglentSeriesCode : int32_t {
    ssNone = 0,
    ssSsa = 1,
    ssSva = 2,
};

// How Play's swept runs drive the analyser (the runner of SweepRunners.cpp per kind); None for a
// kind that no swept run serves, which Play then refuses with a line instead of measuring nothing.
enum class SweptRun { None, RigolDsa, RigolRsa, SiglentSsa, SiglentSva };

// What "Get Info" asks of the analyser's options: "SYST:OPT?" read as lines (Rigol), "SYST:OPT?"
// and the configuration list (Siglent SSA), "*OPT?" read as lines (R&S), or nothing.
enum class OptionsQuery { None, RigolOptions, SiglentConfiguration, RsOptions };

// How the analyser's ASCII trace answer is laid out: 17-byte fields each closed by a comma and a
// line end after the last (Siglent SSA), or 14-byte fields whose last value ends with the line
// end instead of a comma (Siglent SVA).
enum class AsciiTraceLayout { ClosedFields17, OpenFields14 };

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
    // The swept run that serves this kind. A family joined to another's case here meets that
    // case's model or series tests; one that none of them serves has no swept run.
    constexpr SweptRun SweptRunKind() const
    {
        switch (DeviceFamily) {
        case dfRigol: return IsRigolRsa() ? SweptRun::RigolRsa : SweptRun::RigolDsa;
        case dfSiglent:
            switch (SiglentSeries) {
            case ssSsa: return SweptRun::SiglentSsa;
            case ssSva: return SweptRun::SiglentSva;
            case ssNone: return SweptRun::None;
            }
            return SweptRun::None;
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return SweptRun::None;
        }
        return SweptRun::None;
    }
    // Play measures it with the swept analyser's runs: whole sweeps ("sweep"), or point by point
    // in zero span with marker 1 ("emi"). The receivers scan instead; the Hameg has no run.
    constexpr bool HasSweptRuns() const { return SweptRunKind() != SweptRun::None; }
    constexpr OptionsQuery InfoOptionsQuery() const
    {
        switch (DeviceFamily) {
        case dfRigol: return OptionsQuery::RigolOptions;
        case dfSiglent:
            switch (SiglentSeries) {
            case ssSsa: return OptionsQuery::SiglentConfiguration;
            case ssSva:
            case ssNone: return OptionsQuery::None;
            }
            return OptionsQuery::None;
        case dfRsFpc:
        case dfRsFph: return OptionsQuery::RsOptions;
        case dfNone:
        case dfHameg: return OptionsQuery::None;
        }
        return OptionsQuery::None;
    }
    // Only the Siglent runners read ASCII traces; the other kinds keep the SSA's layout.
    constexpr AsciiTraceLayout AsciiLayout() const
    {
        switch (DeviceFamily) {
        case dfSiglent:
            switch (SiglentSeries) {
            case ssSva: return AsciiTraceLayout::OpenFields14;
            case ssSsa:
            case ssNone: return AsciiTraceLayout::ClosedFields17;
            }
            return AsciiTraceLayout::ClosedFields17;
        case dfNone:
        case dfRigol:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return AsciiTraceLayout::ClosedFields17;
        }
        return AsciiTraceLayout::ClosedFields17;
    }
    // The marker level comes in dBm, and the marker reader adds the dBm-to-dBuV offset to it.
    constexpr bool MarkerAnswersInDbm() const
    {
        switch (DeviceFamily) {
        case dfRigol: return IsRigolRsa();
        case dfSiglent: return true;
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return false;
        }
        return false;
    }
    // The coverage logger reads the marker half a second later after the sweep.
    constexpr bool MarkerSettlesSlowly() const
    {
        switch (DeviceFamily) {
        case dfSiglent: return true;
        case dfNone:
        case dfRigol:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return false;
        }
        return false;
    }
};

#endif
