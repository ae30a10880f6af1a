#ifndef ZENDRIK_MAINWINDOW_AXISLABELRULES_H
#define ZENDRIK_MAINWINDOW_AXISLABELRULES_H

#include <QString>
#include <QStringList>
#include <cstdint>

// Label texts of the main chart's axes and the decades of its logarithmic frequency axis.

// A level label in the chosen unit: the dBuV value the axis drew plus the unit's offset, without
// decimals. The axis writes its labels with the process-wide mark, which the chart's repaint
// sets to ",", so either mark is read. A text that is no number stays as it is.
QString LevelAxisLabel(const QString& text, int32_t levelUnitOffset);
// A frequency label (kHz): in kHz, or with "kHz/MHz" ticked in kHz, MHz or GHz as the value
// needs. Either decimal mark is read, as for the level labels.
QString FrequencyAxisLabel(const QString& text, bool scaledUnits);

// The decade at or below the axis minimum where the logarithmic labels start (1, 10, ...,
// 100,000); a minimum of 1,000,000 or more is its own start.
double LogAxisStartDecade(double axisMinimum);

struct LogLabelStep {
    bool Stop = false;
    // Not even a second decade fits the axis: it is to become linear.
    bool SwitchToLinear = false;
};
// The label value of labelIndex on a logarithmic frequency axis, one decade after the other from
// the start decade. labelValue holds the previous label's value and receives this one's.
LogLabelStep NextLogAxisLabel(double axisMinimum, double axisMaximum, int labelIndex, double& labelValue);
// The message-log lines of a switch to the linear axis.
QStringList LogAxisSwitchLines();

#endif
