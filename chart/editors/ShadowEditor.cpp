#include "chart/editors/ShadowEditor.h"

#include "chart/canvas/PlotColorHls.h"
#include "chart/canvas/PlotControls.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

TPlotShadowEditor::TPlotShadowEditor(const EditorDialogs& dialogs, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ShadowEditor"));
    setWindowTitle(QStringLiteral("Shadow editor"));

    visibleCheck = new QCheckBox(QStringLiteral("&Visible"), this);
    visibleCheck->setObjectName(QStringLiteral("VisibleCheck"));
    colorButton = new TButtonColor(this);
    colorButton->setObjectName(QStringLiteral("ColorButton"));
    colorButton->setText(QStringLiteral("&Color..."));
    colorTrack = new QSlider(Qt::Horizontal, this);
    colorTrack->setObjectName(QStringLiteral("ColorTrack"));
    colorTrack->setRange(0, 240);
    auto* transparencyLabel = new QLabel(QStringLiteral("&Transparency:"), this);
    transparencySpin = new QSpinBox(this);
    transparencySpin->setObjectName(QStringLiteral("TransparencySpin"));
    transparencySpin->setRange(0, 100);
    transparencyLabel->setBuddy(transparencySpin);
    sizeGroup = new QGroupBox(QStringLiteral("Size:"), this);
    sizeGroup->setObjectName(QStringLiteral("SizeGroup"));
    horizLabel_ = new QLabel(QStringLiteral("&Horiz:"), sizeGroup);
    horizSpin = new QSpinBox(sizeGroup);
    horizSpin->setObjectName(QStringLiteral("HorizSpin"));
    horizSpin->setRange(-1000, 1000);
    horizLabel_->setBuddy(horizSpin);
    vertLabel_ = new QLabel(QStringLiteral("V&ert:"), sizeGroup);
    vertSpin = new QSpinBox(sizeGroup);
    vertSpin->setObjectName(QStringLiteral("VertSpin"));
    vertSpin->setRange(-1000, 1000);
    vertLabel_->setBuddy(vertSpin);
    smoothCheck = new QCheckBox(QStringLiteral("&Smooth"), this);
    smoothCheck->setObjectName(QStringLiteral("SmoothCheck"));
    blurLabel_ = new QLabel(QStringLiteral("&Blur:"), this);
    blurTrack = new QSlider(Qt::Horizontal, this);
    blurTrack->setObjectName(QStringLiteral("BlurTrack"));
    blurTrack->setRange(-75, 75);
    blurLabel_->setBuddy(blurTrack);
    clipCheck = new QCheckBox(QStringLiteral("Cl&ip"), this);
    clipCheck->setObjectName(QStringLiteral("ClipCheck"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setDefault(true);
    okButton->hide();

    auto* sizeLayout = new QGridLayout(sizeGroup);
    sizeLayout->addWidget(horizLabel_, 0, 0);
    sizeLayout->addWidget(horizSpin, 0, 1);
    sizeLayout->addWidget(vertLabel_, 1, 0);
    sizeLayout->addWidget(vertSpin, 1, 1);
    auto* grid = new QGridLayout;
    grid->addWidget(visibleCheck, 0, 0, 1, 2);
    grid->addWidget(colorButton, 1, 0);
    grid->addWidget(colorTrack, 1, 1);
    grid->addWidget(transparencyLabel, 2, 0);
    grid->addWidget(transparencySpin, 2, 1);
    grid->addWidget(sizeGroup, 3, 0, 1, 2);
    grid->addWidget(smoothCheck, 4, 0);
    grid->addWidget(clipCheck, 4, 1);
    grid->addWidget(blurLabel_, 5, 0);
    grid->addWidget(blurTrack, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    LinkColorButton(*colorButton, dialogs, [this] { return shadow_ ? shadow_->Color() : clNone; },
                    [this](TColor colour) {
                        Write([&] { shadow_->SetColor(colour); });
                        const FillGuard guard(filling_);
                        SplitColour();
                    });
    connect(visibleCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { shadow_->SetVisible(on); });
        EnableControls();
    });
    connect(colorTrack, &QSlider::valueChanged, this, [this](int luminance) {
        Write([&] { shadow_->SetColor(HLSToColor(hue_, luminance, saturation_)); });
        colorButton->update();
    });
    connect(transparencySpin, &QSpinBox::valueChanged, this,
            [this](int value) { Write([&] { shadow_->SetTransparency(value); }); });
    connect(horizSpin, &QSpinBox::valueChanged, this, [this](int value) { Write([&] { shadow_->SetHorizSize(value); }); });
    connect(vertSpin, &QSpinBox::valueChanged, this, [this](int value) { Write([&] { shadow_->SetVertSize(value); }); });
    connect(smoothCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { shadow_->SetSmooth(on); });
        EnableControls();
    });
    connect(blurTrack, &QSlider::valueChanged, this, [this](int value) { Write([&] { shadow_->SetSmoothBlur(value); }); });
    connect(clipCheck, &QCheckBox::toggled, this, [this](bool on) { Write([&] { shadow_->SetClip(on); }); });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    EnableControls();
}

template <class Fn>
void TPlotShadowEditor::Write(Fn&& change)
{
    if (!filling_ && shadow_)
        change();
}

void TPlotShadowEditor::accept()
{
    if (isWindow())
        QDialog::accept();
}

void TPlotShadowEditor::reject()
{
    if (isWindow())
        QDialog::reject();
}

void TPlotShadowEditor::RefreshControls(TPlotShadow& shadow)
{
    shadow_ = &shadow;
    const FillGuard guard(filling_);
    visibleCheck->setChecked(shadow.Visible());
    SplitColour();
    transparencySpin->setValue(shadow.Transparency());
    horizSpin->setValue(shadow.HorizSize());
    vertSpin->setValue(shadow.VertSize());
    smoothCheck->setChecked(shadow.Smooth());
    blurTrack->setValue(shadow.SmoothBlur());
    clipCheck->setChecked(shadow.Clip());
    colorButton->update();
    EnableControls();
}

void TPlotShadowEditor::SplitColour()
{
    if (!shadow_)
        return;
    int luminance = 0;
    ColorToHLS(shadow_->Color(), hue_, luminance, saturation_);
    colorTrack->setValue(luminance);
}

void TPlotShadowEditor::EnableControls()
{
    const bool visible = visibleCheck->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(horizLabel_), static_cast<QWidget*>(horizSpin),
                       static_cast<QWidget*>(vertLabel_), static_cast<QWidget*>(vertSpin)})
        w->setEnabled(visible);
    const bool smooth = smoothCheck->isChecked();
    blurLabel_->setEnabled(smooth);
    blurTrack->setEnabled(smooth);
    clipCheck->setEnabled(smooth);
}

bool ShowShadowEditor(const EditorDialogs& dialogs, QWidget* owner, TPlotShadow& shadow)
{
    auto dialog = CreateEditorForm<TPlotShadowEditor>(owner, dialogs);
    dialog->okButton->show();
    dialog->RefreshControls(shadow);
    return RunEditorDialog(dialogs, *dialog) == QDialog::Accepted;
}

TPlotShadowEditor* CreateShadowEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotShadow& shadow)
{
    auto* editor = new TPlotShadowEditor(dialogs, page);
    editor->okButton->hide();
    editor->RefreshControls(shadow);
    EmbedEditorForm(editor, page);
    return editor;
}
