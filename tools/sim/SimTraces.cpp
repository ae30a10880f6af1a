#include "tools/sim/SimTraces.h"

#include "instrument/protocol/LevelOffsets.h"
#include "tools/sim/ScpiParser.h"
#include "tools/sim/SimInstrument.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace simtrace {

namespace {
std::vector<double> Shift(std::vector<double> v, double by)
{
    for (double& x : v)
        x += by;
    return v;
}
} // namespace

QByteArray Block(const QByteArray& data, int digits, int lengthDelta)
{
    const QByteArray len = QByteArray::number(static_cast<qlonglong>(data.size()) + lengthDelta);
    const int n = digits > 0 ? digits : static_cast<int>(len.size());
    return "#" + QByteArray::number(n) + len.rightJustified(n, '0') + data;
}

QByteArray Floats(const std::vector<double>& values, bool bigEndian)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(values.size() * 4));
    for (double v : values) {
        // A value beyond the float range goes out as the largest float, as an analyser's would.
        constexpr double kLargest = std::numeric_limits<float>::max();
        const float f = std::fabs(v) > kLargest && std::isfinite(v) ? static_cast<float>(std::copysign(kLargest, v))
                                                                     : static_cast<float>(v);
        const uint32_t bits = std::bit_cast<uint32_t>(f);
        for (int i = 0; i < 4; ++i) {
            const int shift = bigEndian ? 24 - 8 * i : 8 * i;
            out.append(static_cast<char>((bits >> shift) & 0xFF));
        }
    }
    return out;
}

QByteArray SiglentAscii(const std::vector<double>& values, bool sva)
{
    QByteArray out;
    const int decimals = sva ? 6 : 9; // 13 or 16 characters: sign, digit, point, decimals, e+XX
    for (size_t i = 0; i < values.size(); ++i) {
        // A three-digit exponent takes a decimal's place: the width is the format's.
        QString text = scpi::FormatExponent(values[i], decimals);
        if (text.size() > decimals + 7)
            text = scpi::FormatExponent(values[i], decimals - 1);
        out += text.toLatin1();
        if (!sva || i + 1 < values.size())
            out += ',';
    }
    return out;
}

QByteArray CommaList(const std::vector<double>& values)
{
    QByteArray out;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            out += ',';
        out += std::isnan(values[i]) ? QByteArray("nan") : scpi::FormatFixed(values[i], 2).toLatin1();
    }
    return out;
}

QByteArray TraceAnswer(SimInstrument& inst)
{
    const SimSettings& s = inst.State();
    const SimFaults& f = inst.ActiveFaults();
    const bool dbm = s.unit.startsWith(QStringLiteral("DBM"), Qt::CaseInsensitive) &&
                     !s.unit.startsWith(QStringLiteral("DBMV"), Qt::CaseInsensitive);
    const SimKind kind = inst.Family().kind;
    const bool receiver = (kind == SimKind::RsFpc || kind == SimKind::RsFph) &&
                          s.instrument.startsWith(QStringLiteral("REC"), Qt::CaseInsensitive);
    const bool scan = receiver && !s.receiverMode.startsWith(QStringLiteral("FIX"), Qt::CaseInsensitive);

    std::vector<double> v;
    if (receiver && !scan) {
        v = {inst.LevelAt((s.startHz + s.stopHz) / 2.0)};
    } else if (scan) {
        const double step = s.scanStepHz > 0 ? s.scanStepHz : 1.0;
        const int n = std::max(1, static_cast<int>(std::floor((s.scanStopHz - s.scanStartHz) / step)) + 1);
        SimEmissions::Settings ss = inst.SpectrumSettings();
        // A receiver measures at each step's frequency; its filter takes in half a step on
        // either side.
        for (int i = 0; i < n && i < 100000; ++i) {
            const double at = s.scanStartHz + i * step;
            v.push_back(inst.Spectrum().PeakDbuv(at - step / 2, at + step / 2, ss, inst.SweepCount()));
        }
    } else {
        v = inst.TraceDbuv();
    }
    inst.ReportLevels({v, scan});
    if (f.blockShort && !v.empty())
        v.pop_back();
    if (f.nanValue && !v.empty())
        v[v.size() / 2] = std::numeric_limits<double>::quiet_NaN();
    if (f.hugeValue && !v.empty())
        v[v.size() / 2] = 1e308;
    const int delta = f.blockLengthWrong ? 4 : 0;
    // Levels in dBm are less what the program adds to the answer's format, text or binary.
    const auto text = [&v](bool inDbm) { return inDbm ? Shift(v, -kTextLevelDbmToDbuv) : v; };
    const auto binary = [&v](bool inDbm) { return inDbm ? Shift(v, -kBinaryLevelDbmToDbuv) : v; };

    switch (kind) {
    case SimKind::RigolDsa:
        if (s.asciiFormat)
            return Block(CommaList(text(dbm)), 9, delta);
        return Block(Floats(binary(dbm), inst.Family().bigEndian), 9, delta);
    case SimKind::RigolRsa:
        if (s.asciiFormat)
            return Block(CommaList(text(true)), 6, delta);
        return Block(Floats(binary(true), true), 6, delta);
    case SimKind::SiglentSsa:
    case SimKind::SiglentSva: {
        QByteArray answer = SiglentAscii(text(true), kind == SimKind::SiglentSva);
        if (delta)
            answer.chop(delta);
        return answer;
    }
    case SimKind::Hameg:
    case SimKind::RsFpc:
    case SimKind::RsFph:
        if (receiver || s.asciiFormat)
            return CommaList(text(dbm));
        return Block(Floats(binary(dbm), false), 0, delta);
    }
    return {};
}

} // namespace simtrace
