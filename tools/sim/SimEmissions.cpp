#include "tools/sim/SimEmissions.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {
uint64_t Mix(uint64_t x)
{
    // splitmix64: a cheap, well-spread hash so that noise needs no stored state.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
} // namespace

SimEmissions::SimEmissions(uint64_t seed, int lineCount) : seed_(seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> logF(std::log10(150e3), std::log10(1e9));
    std::uniform_real_distribution<double> level(30.0, 70.0);
    for (int i = 0; i < lineCount; ++i) {
        // Whole kHz, so that a line sits exactly on the program's kHz grid.
        const double f = std::nearbyint(std::pow(10.0, logF(rng)) / 1000.0) * 1000.0;
        const double l = std::nearbyint(level(rng) * 10.0) / 10.0;
        lines_.push_back({f, l});
    }
    std::sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.frequencyHz < b.frequencyHz; });
}

double SimEmissions::FloorDbuv(const Settings& s)
{
    return -5.0 + 10.0 * std::log10(std::max(s.rbwHz, 1.0) / 9000.0) + (s.attenuationDb - 10.0) - (s.preamp ? 15.0 : 0.0) +
           s.noiseDetectorDb;
}

double SimEmissions::NoiseDetectorDb(const QString& detector)
{
    // Gaussian noise as the detectors weigh it: the peak detectors see its crests, quasi-peak
    // a little less, RMS, sample and average its power, the video average of the log a further
    // 2 dB less, the negative peak its troughs.
    const QString d = detector.toUpper();
    auto is = [&d](const char* prefix) { return d.startsWith(QLatin1String(prefix)); };
    if (is("QPE") || is("QUAS"))
        return -4.0;
    if (is("RMS") || is("SAMP") || is("AVER"))
        return -10.0;
    if (is("VAV") || is("AVG"))
        return -12.0;
    if (is("NEG"))
        return -20.0;
    return 0.0;
}

double SimEmissions::Noise(uint64_t key, uint64_t sweep) const
{
    const uint64_t h = Mix(seed_ ^ Mix(key) ^ Mix(sweep + 0x51ull));
    return (static_cast<double>(h >> 11) / 9007199254740992.0) * 4.0 - 2.0; // -2 .. +2 dB
}

double SimEmissions::PeakDbuv(double fromHz, double toHz, const Settings& s, uint64_t sweep) const
{
    // The noise of a bin is keyed by its lower edge; the first bin of a trace from 0 Hz reaches
    // below it, and a key must be a whole number of Hz an analyser can tune to.
    const double keyHz = fromHz > 0.0 ? std::min(fromHz, 1e18) : 0.0;
    double power = std::pow(10.0, (FloorDbuv(s) + Noise(static_cast<uint64_t>(keyHz), sweep)) / 10.0);
    const double rbw = std::max(s.rbwHz, 1.0);
    for (const Line& l : lines_) {
        double d = 0;
        if (l.frequencyHz < fromHz)
            d = fromHz - l.frequencyHz;
        else if (l.frequencyHz > toHz)
            d = l.frequencyHz - toHz;
        // A Gaussian filter response: -3 dB at half the resolution bandwidth off the line.
        const double attenuation = 12.0 * (d / rbw) * (d / rbw);
        if (attenuation < 120.0)
            power += std::pow(10.0, (l.levelDbuv - attenuation) / 10.0);
    }
    return 10.0 * std::log10(power);
}

std::vector<double> SimEmissions::Trace(double startHz, double stopHz, int points, const Settings& s,
                                       uint64_t sweep) const
{
    std::vector<double> v;
    if (points <= 0)
        return v;
    v.reserve(static_cast<size_t>(points));
    const double w = points > 1 ? (stopHz - startHz) / (points - 1) : 0.0;
    const double half = std::max(w, 0.0) / 2.0;
    for (int i = 0; i < points; ++i) {
        const double at = startHz + i * w;
        // An analyser shows nothing below 0 Hz: the first bin of a trace from there is cut.
        v.push_back(PeakDbuv(std::max(at - half, 0.0), at + half, s, sweep));
    }
    return v;
}
