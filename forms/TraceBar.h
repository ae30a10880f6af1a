#ifndef ZENDRIK_FORMS_TRACEBAR_H
#define ZENDRIK_FORMS_TRACEBAR_H

#include "app/MainChartSeries.h"
#include "app/MeasureSet.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
struct MainWindowColors;
struct MouseReadout;

// The main window's row under the chart: the labels that bring a pair of traces on top (and name
// the loaded chart and reference traces), and the frequency and the levels of both sets under the
// mouse.
class TraceBar : public QWidget {
    Q_OBJECT
public:
    explicit TraceBar(QWidget* parent);

    // The labels' own captions.
    void startUp();
    void showChartLabel(const QString& text);
    // The label of reference trace 1..3.
    void showTraceLabel(int trace, const QString& text);
    void showReadout(const MouseReadout& readout);
    // Each set's read-out in its corrected trace's colour.
    void tintLevelReadouts(const MainWindowColors& colors);

signals:
    // A click on a label: its pair of traces goes on top (the label is bold now).
    void pairClicked(TopTracePair pair);

private:
    // The clicked label turns bold, the other three normal.
    void MarkPairOnTop(const QLabel* label);

    QLabel* chartTraceLabel = nullptr;            // Label1 "Chart:", brings Series7/9 on top
    std::array<QLabel*, 3> traceLabels{};         // Label7 "Trace1:", Label9 "Trace2:", Label10 "Trace3:"
    QLineEdit* frequencyReadout = nullptr;        // Edit1, frequency under the mouse
    PerSet<QLineEdit*> levelReadouts{};    // Edit2, Edit3: each set's level there
};

#endif
