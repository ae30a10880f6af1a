#include "chart/editors/MagnifyToolEditor.h"

#include "chart/editors/EditorRoutines.h"
#include "chart/editors/ShapeEditor.h"
#include "chart/tools/MagnifyTool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include <cmath>
#include <cstdlib>

TMagnifyToolEditor::TMagnifyToolEditor(const EditorDialogs& dialogs, QWidget* parent)
    : TAnnotationToolEdit(dialogs, parent)
{
    setObjectName(QStringLiteral("MagnifyToolEditor"));
    // Of the box's pages a lens only uses the fill; the text, position and callout pages stay
    // hidden.
    for (int i = 0; i < pages->count(); ++i)
        pages->setTabVisible(i, pages->widget(i) == ShapeEditor()->formatPage);

    magnifierPage = NamedControl(new QWidget, "MagnifierPage");
    if (QLayout* old = optionsPage->layout()) {
        old->removeWidget(cursorLabel);
        old->removeWidget(cursorCombo);
    }
    cursorLabel->setParent(magnifierPage);
    cursorCombo->setParent(magnifierPage);
    zoomTrack = NamedControl(new QSlider(Qt::Horizontal, magnifierPage), "ZoomTrack");
    zoomTrack->setRange(0, 100);
    zoomValue_ = NamedControl(new QLabel(magnifierPage), "ZoomValueLabel");
    followMouseCheck = NamedControl(new QCheckBox(QStringLiteral("&Follow mouse"), magnifierPage), "FollowMouseCheck");
    wheelZoomSpin = NamedControl(new QSpinBox(magnifierPage), "WheelZoomSpin");
    wheelZoomSpin->setRange(0, 100);
    circledCheck = NamedControl(new QCheckBox(QStringLiteral("&Circled"), magnifierPage), "CircledCheck");
    allowDragCheck = NamedControl(new QCheckBox(QStringLiteral("Allow &drag"), magnifierPage), "AllowDragCheck");
    allowResizeCheck = NamedControl(new QCheckBox(QStringLiteral("Allow &resize"), magnifierPage), "AllowResizeCheck");
    auto* grid = new QGridLayout(magnifierPage);
    grid->addWidget(cursorLabel, 0, 0);
    grid->addWidget(cursorCombo, 0, 1, 1, 2);
    grid->addWidget(BuddyLabel("&Zoom %:", zoomTrack, magnifierPage), 1, 0);
    grid->addWidget(zoomTrack, 1, 1);
    grid->addWidget(zoomValue_, 1, 2);
    grid->addWidget(followMouseCheck, 2, 0, 1, 3);
    grid->addWidget(BuddyLabel("Mouse &Wheel zoom:", wheelZoomSpin, magnifierPage), 3, 0);
    grid->addWidget(wheelZoomSpin, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), magnifierPage), 3, 2);
    grid->addWidget(circledCheck, 4, 0, 1, 3);
    grid->addWidget(allowDragCheck, 5, 0, 1, 3);
    grid->addWidget(allowResizeCheck, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    pages->insertTab(0, magnifierPage, QStringLiteral("Options"));
    pages->setCurrentWidget(magnifierPage);

    connect(zoomTrack, &QSlider::valueChanged, this, [this](int value) {
        zoomValue_->setNum(value);
        Write([&] { magnifier_->SetPercent(value); });
    });
    connect(followMouseCheck, &QCheckBox::toggled, this,
            [this](bool on) { Write([&] { magnifier_->SetFollowMouse(on); }); });
    connect(wheelZoomSpin, &QSpinBox::valueChanged, this,
            [this](int value) { Write([&] { magnifier_->SetWheelZoom(value); }); });
    connect(circledCheck, &QCheckBox::toggled, this, [this](bool on) { Write([&] { magnifier_->SetCircled(on); }); });
    connect(allowDragCheck, &QCheckBox::toggled, this,
            [this](bool on) { Write([&] { magnifier_->SetAllowDrag(on); }); });
    connect(allowResizeCheck, &QCheckBox::toggled, this,
            [this](bool on) { Write([&] { magnifier_->SetAllowResize(on); }); });
}

template <class Fn>
void TMagnifyToolEditor::Write(Fn&& change)
{
    if (!filling_ && magnifier_)
        change();
}

void TMagnifyToolEditor::RefreshControls(TMagnifyTool& tool)
{
    TAnnotationToolEdit::RefreshControls(tool);
    magnifier_ = &tool;
    const FillGuard guard(filling_);
    zoomTrack->setValue(static_cast<int>(std::nearbyint(tool.Percent())));
    zoomValue_->setNum(zoomTrack->value());
    followMouseCheck->setChecked(tool.FollowMouse());
    // The wheel zooms by the step's size whatever its sign.
    wheelZoomSpin->setValue(std::abs(tool.WheelZoom()));
    circledCheck->setChecked(tool.Circled());
    allowDragCheck->setChecked(tool.AllowDrag());
    allowResizeCheck->setChecked(tool.AllowResize());
}
