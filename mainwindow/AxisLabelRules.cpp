#include "mainwindow/AxisLabelRules.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"

#include <array>

QString LevelAxisLabel(const QString& text, int32_t levelUnitOffset)
{
    double value = 0;
    if (!TryStrToFloatAnySep(text, value))
        return text;
    return FloatToStrF(value + levelUnitOffset, FloatFormat::ffFixed, 10, 0);
}

QString FrequencyAxisLabel(const QString& text, bool scaledUnits)
{
    double value = 0;
    // The frequency routines read "." only; a label drawn with "," is handed on with ".".
    const QString khz = TryStrToFloatAnySep(text, value) ? FormatMachine(value) : text;
    return scaledUnits ? KhzToScaledText(khz) : KhzToKhzText(khz);
}

double LogAxisStartDecade(double axisMinimum)
{
    static constexpr std::array<double, 6> kDecades = {10, 100, 1000, 10000, 100000, 1000000};
    for (double decade : kDecades)
        if (axisMinimum < decade)
            return decade / 10;
    return axisMinimum;
}

LogLabelStep NextLogAxisLabel(double axisMinimum, double axisMaximum, int labelIndex, double& labelValue)
{
    LogLabelStep step;
    if (labelIndex == 0)
        labelValue = LogAxisStartDecade(axisMinimum);
    const double next = labelValue * 10;
    if (next >= axisMaximum) {
        step.Stop = true;
        step.SwitchToLinear = labelIndex == 0;
    } else if (labelIndex > 0) {
        labelValue = next;
    }
    return step;
}

QStringList LogAxisSwitchLines()
{
    return {QStringLiteral("Info: switching to lin chart mode, log mode disabled"),
            QStringLiteral("Info: change zooming for log mode")};
}
