// The markers panel: the page control with the "Marker" page (markers of both sets, harmonics,
// magnifier), the "Fader" page (smoothing by rectangle) and the "Math" page (trace arithmetic).
#include "forms/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

QCheckBox* Box(QWidget* parent, const char* name, const QString& caption, bool checked = false)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

} // namespace

QWidget* MainWindow::BuildMarkersPanel(QWidget* parent)
{
    pageControl = new QTabWidget(parent);
    pageControl->setObjectName(QStringLiteral("PageControl1"));

    auto* marker = new QWidget(pageControl);
    auto* m = new QGridLayout(marker);
    m->setContentsMargins(4, 2, 4, 2);
    m->setVerticalSpacing(2);
    marker1CheckBox = Box(marker, "CheckBox32", QStringLiteral("M1"));
    showMarkers1CheckBox = Box(marker, "CheckBox34", QStringLiteral("show"), true);
    clearLastMarker1Button = Button(marker, "Button5", QStringLiteral("Clear Last"));
    clearAllMarkers1Button = Button(marker, "Button2", QStringLiteral("Clear All"));
    marker2CheckBox = Box(marker, "CheckBox33", QStringLiteral("M2"));
    showMarkers2CheckBox = Box(marker, "CheckBox35", QStringLiteral("show"), true);
    clearLastMarker2Button = Button(marker, "Button7", QStringLiteral("Clear Last"));
    clearAllMarkers2Button = Button(marker, "Button9", QStringLiteral("Clear All"));
    copyMarkersButton = Button(marker, "Button10", QStringLiteral("Copy Markers"));
    showMarkerNumbersCheckBox = Box(marker, "CheckBox15", QStringLiteral("Show Markers"));
    harmonicsCheckBox = Box(marker, "CheckBox20", QStringLiteral("Harmonics"));
    magnifyCheckBox = Box(marker, "CheckBox23", QStringLiteral("Magnify"));
    m->addWidget(new QLabel(QStringLiteral("Set1"), marker), 0, 0);
    m->addWidget(marker1CheckBox, 0, 1);
    m->addWidget(showMarkers1CheckBox, 0, 2);
    m->addWidget(clearLastMarker1Button, 0, 3);
    m->addWidget(clearAllMarkers1Button, 0, 4);
    m->addWidget(new QLabel(QStringLiteral("Set2"), marker), 1, 0);
    m->addWidget(marker2CheckBox, 1, 1);
    m->addWidget(showMarkers2CheckBox, 1, 2);
    m->addWidget(clearLastMarker2Button, 1, 3);
    m->addWidget(clearAllMarkers2Button, 1, 4);
    m->addWidget(showMarkerNumbersCheckBox, 2, 0, 1, 3);
    m->addWidget(copyMarkersButton, 2, 3, 1, 2);
    m->addWidget(harmonicsCheckBox, 3, 0, 1, 3);
    m->addWidget(magnifyCheckBox, 3, 3, 1, 2);
    m->setColumnStretch(5, 1);
    pageControl->addTab(marker, QStringLiteral("Marker"));

    auto* fader = new QWidget(pageControl);
    auto* f = new QHBoxLayout(fader);
    fadeCheckBox = Box(fader, "CheckBox36", QStringLiteral("fade"));
    clearFadeCheckBox = Box(fader, "CheckBox38", QStringLiteral("clr"));
    clearLastFadeButton = Button(fader, "Button14", QStringLiteral("clear last"));
    f->addWidget(fadeCheckBox);
    f->addWidget(clearFadeCheckBox);
    f->addWidget(clearLastFadeButton);
    f->addStretch();
    pageControl->addTab(fader, QStringLiteral("Fader"));

    auto* math = new QWidget(pageControl);
    auto* a = new QHBoxLayout(math);
    const QStringList operands = {QStringLiteral("T1S1"), QStringLiteral("T1S2"), QStringLiteral("T2S1"),
                                  QStringLiteral("T2S2"), QStringLiteral("T3S1"), QStringLiteral("T3S2"),
                                  QStringLiteral("S1"),   QStringLiteral("S2")};
    mathOperand1Combo = Combo(math, "ComboBox2", operands);
    mathOperatorCombo = Combo(math, "ComboBox1",
                              {QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("*"), QStringLiteral("/")});
    mathOperand2Combo = Combo(math, "ComboBox3", operands);
    calcButton = Button(math, "Button11", QStringLiteral("Calc"));
    mathCheckBox = Box(math, "CheckBox40", QStringLiteral("Math"));
    for (QWidget* w : {static_cast<QWidget*>(mathOperand1Combo), static_cast<QWidget*>(mathOperatorCombo),
                       static_cast<QWidget*>(mathOperand2Combo), static_cast<QWidget*>(calcButton),
                       static_cast<QWidget*>(mathCheckBox)})
        a->addWidget(w);
    a->addStretch();
    pageControl->addTab(math, QStringLiteral("Math"));
    return pageControl;
}

// The marker buttons, the fader and the arithmetic join here.
void MainWindow::WireMarkers()
{
}
