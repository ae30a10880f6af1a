#include "forms/TraceBar.h"

#include "forms/EventHook.h"
#include "forms/MainWindowPalette.h"
#include "forms/PanelControls.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowColors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

QLineEdit* Readout(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFixedWidth(132);
    return edit;
}

} // namespace

TraceBar::TraceBar(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    chartTraceLabel = NamedLabel(this, "Label1", QStringLiteral("Chart:"));
    traceLabels = {NamedLabel(this, "Label7", QStringLiteral("Trace1:")),
                   NamedLabel(this, "Label9", QStringLiteral("Trace2:")),
                   NamedLabel(this, "Label10", QStringLiteral("Trace3:"))};
    const std::pair<QLabel*, TopTracePair> labels[] = {{chartTraceLabel, TopTracePair::Chart},
                                                      {traceLabels[0], TopTracePair::Trace1},
                                                      {traceLabels[1], TopTracePair::Trace2},
                                                      {traceLabels[2], TopTracePair::Trace3}};
    for (const auto& [label, pair] : labels) {
        label->setCursor(Qt::PointingHandCursor);
        row->addWidget(label, 1);
    }
    frequencyReadout = Readout(this, "Edit1");
    levelReadouts = {Readout(this, "Edit2"), Readout(this, "Edit3")};
    row->addWidget(frequencyReadout);
    for (QLineEdit* readout : levelReadouts)
        row->addWidget(readout);

    for (const auto& [label, pair] : labels) {
        label->installEventFilter(new EventHook(
            [this, label = label, pair = pair](QObject*, QEvent* event) {
                if (event->type() != QEvent::MouseButtonRelease ||
                    static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
                    return false;
                MarkPairOnTop(label);
                emit pairClicked(pair);
                return true;
            },
            label));
    }
}

void TraceBar::startUp()
{
    chartTraceLabel->setText(QStringLiteral("Chart:"));
    for (size_t i = 0; i < traceLabels.size(); ++i)
        traceLabels[i]->setText(QStringLiteral("Trace%1:").arg(i + 1));
}

void TraceBar::showChartLabel(const QString& text)
{
    chartTraceLabel->setText(text);
}

void TraceBar::showTraceLabel(int trace, const QString& text)
{
    traceLabels.at(static_cast<size_t>(trace - 1))->setText(text);
}

void TraceBar::showReadout(const MouseReadout& readout)
{
    frequencyReadout->setText(readout.Frequency);
    levelReadouts[MeasureSet::Set1]->setText(readout.Set1);
    levelReadouts[MeasureSet::Set2]->setText(readout.Set2);
}

void TraceBar::tintLevelReadouts(const MainWindowColors& colors)
{
    for (MeasureSet set : kMeasureSets) {
        QPalette p = levelReadouts[set]->palette();
        p.setColor(QPalette::Text, QColorOf(colors[kCorrectedTraceColors[set]]));
        levelReadouts[set]->setPalette(p);
    }
}

void TraceBar::MarkPairOnTop(const QLabel* label)
{
    for (QLabel* l : {chartTraceLabel, traceLabels[0], traceLabels[1], traceLabels[2]}) {
        QFont font = l->font();
        font.setBold(l == label);
        l->setFont(font);
    }
}
