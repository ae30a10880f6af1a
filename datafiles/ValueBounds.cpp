#include "datafiles/ValueBounds.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/GeneratorViewValues.h"
#include "datafiles/ParameterGridRows.h"

namespace valuebounds {

namespace {

constexpr plausible::Range kPositiveHz{1, plausible::kFrequencyHz.High};
const QStringList kAutoWord{QStringLiteral("auto")};

// A whole number as the views read it: digits with an optional "-", nothing else.
bool IsWholeNumberText(const QString& text)
{
    const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == first)
        return false;
    for (qsizetype i = first; i < text.size(); ++i)
        if (!text[i].isDigit())
            return false;
    return true;
}

} // namespace

const ValueBound kHz{{}, &plausible::kFrequencyHz, " Hz"};
const ValueBound kWholeHz{{}, &plausible::kFrequencyHz, " Hz", true};
const ValueBound kStepHz{{}, &kPositiveHz, " Hz", true};
// Wider than the grid's typed span: a project spans its chart's whole range (1 to 6 GHz).
const ValueBound kSpanHz{{}, &kPositiveHz, " Hz", true};
const ValueBound kRbwHz{{}, &gridbounds::kRbwHz, " Hz", true};
const ValueBound kSweepMs{kAutoWord, &gridbounds::kSweepMs, " ms", true};
const ValueBound kAttenuationDb{kAutoWord, &gridbounds::kAttenuationDb, " dB", true};
const ValueBound kMarginDb{{}, &gridbounds::kMarginDb, " dB", true};
const ValueBound kDbuv{{}, &plausible::kLimitDbuv, " dBuV"};
const ValueBound kDbm{{}, &plausible::kAnalyserDbm, " dBm"};
const ValueBound kGeneratorDbm{{}, &plausible::kAnalyserDbm, " dBm", true};
const ValueBound kStepDb{{}, &plausible::kCorrectionDb, " dB", true};
const ValueBound kRampMs{{}, &GeneratorViewValues::kRampTimeMs, " ms", true};
const ValueBound kRampSteps{{}, &GeneratorViewValues::kRampSteps, "", true};
const ValueBound kDwellMs{{}, &GeneratorViewValues::kDwellMs, " ms", true};
const ValueBound kSeptumCm{{}, &gridbounds::kSeptumCm, " cm"};
const ValueBound kDetectorName{{QStringLiteral("NEG"), QStringLiteral("NORM"), QStringLiteral("POS"),
                                QStringLiteral("RMS"), QStringLiteral("SAMP"), QStringLiteral("VAV"),
                                QStringLiteral("QPEAK")}};
const ValueBound kOnOff{{QStringLiteral("on"), QStringLiteral("off")}};
const ValueBound kFile{{}, nullptr, "", false, true};

bool Allows(const ValueBound& bound, const QString& value)
{
    if (bound.FileName || bound.Words.contains(value))
        return true;
    if (bound.Range == nullptr)
        return false;
    // Frequencies may carry thousands dots; other numbers may have "," or "." as decimal sign.
    const bool hz = qstrcmp(bound.Unit, " Hz") == 0;
    const QString text = hz ? RemoveDots(value) : QString(value).replace(QLatin1Char(','), QLatin1Char('.'));
    if (bound.Whole && !IsWholeNumberText(text))
        return false;
    const std::optional<double> v = ParseMachine(text);
    return v && bound.Range->Holds(*v);
}

QString AllowedText(const ValueBound& bound)
{
    QStringList parts = bound.Words;
    if (bound.Range != nullptr) {
        const plausible::Range& r = *bound.Range;
        const QString range = QStringLiteral("%1..%2").arg(r.Low, 0, 'g', 12).arg(r.High, 0, 'g', 12);
        parts << (bound.Whole ? QStringLiteral("whole numbers ") : QString()) + range + QLatin1String(bound.Unit);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace valuebounds
