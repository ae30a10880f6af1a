#ifndef ZENDRIK_TOOLS_SIM_SIMEMISSIONS_H
#define ZENDRIK_TOOLS_SIM_SIMEMISSIONS_H

#include <QString>
#include <cstdint>
#include <vector>

// What the analyser "measures": a few narrow emission lines above a noise floor, the same for
// the same seed. Levels are in dBuV at the input.
class SimEmissions {
public:
    struct Line {
        double frequencyHz;
        double levelDbuv;
    };
    struct Settings {
        double rbwHz = 9000;
        double attenuationDb = 10; // automatic attenuation counts as 10 dB
        bool preamp = false;
        // What the detector makes of the noise, relative to the peak detector (a steady line
        // reads the same with every detector).
        double noiseDetectorDb = 0;
    };

    // The noise offset of a detector as the analysers name it (POS, QPE, QUAS, RMS, AVER, ...).
    static double NoiseDetectorDb(const QString& detector);

    explicit SimEmissions(uint64_t seed, int lineCount = 12);

    const std::vector<Line>& Lines() const { return lines_; }

    // The noise floor without its random part, for the settings.
    static double FloorDbuv(const Settings& s);
    // Peak of the band [fromHz, toHz] as the analyser shows it with the settings; sweep makes
    // the noise differ from sweep to sweep (repeatably).
    double PeakDbuv(double fromHz, double toHz, const Settings& s, uint64_t sweep) const;
    // A trace of `points` values as an analyser lays them out: point i sits at start + i*w,
    // w = span / (points - 1), the first at the start and the last at the stop frequency, and
    // holds the peak within half a point spacing of it.
    std::vector<double> Trace(double startHz, double stopHz, int points, const Settings& s, uint64_t sweep) const;

private:
    double Noise(uint64_t key, uint64_t sweep) const;
    uint64_t seed_;
    std::vector<Line> lines_;
};

#endif
