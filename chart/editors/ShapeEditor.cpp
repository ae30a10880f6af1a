#include "chart/editors/ShapeEditor.h"

#include "chart/canvas/PlotControls.h"
#include "chart/canvas/PlotShape.h"
#include "chart/editors/BackImageEditor.h"
#include "chart/editors/BrushDialog.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/FontEditor.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/ShadowEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

TFormPlotShape::TFormPlotShape(const EditorDialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FormPlotShape"));
    pages = NamedControl(new QTabWidget(this), "PageControl");

    formatPage = NamedControl(new QWidget, "FormatPage");
    colorButton = NamedControl(new TButtonColor(formatPage), "ColorButton");
    colorButton->setText(QStringLiteral("&Color..."));
    patternButton = NamedControl(new QPushButton(QStringLiteral("&Pattern..."), formatPage), "PatternButton");
    transparentCheck = NamedControl(new QCheckBox(QStringLiteral("&Transparent"), formatPage), "TransparentCheck");
    transparencySpin = NamedControl(new QSpinBox(formatPage), "TransparencySpin");
    transparencySpin->setRange(0, 100);
    visibleCheck = NamedControl(new QCheckBox(QStringLiteral("Visible"), formatPage), "VisibleCheck");
    visibleCheck->hide();
    auto* formatLayout = new QGridLayout(formatPage);
    formatLayout->addWidget(visibleCheck, 0, 0, 1, 2);
    formatLayout->addWidget(colorButton, 1, 0);
    formatLayout->addWidget(patternButton, 1, 1);
    formatLayout->addWidget(transparentCheck, 2, 0, 1, 2);
    formatLayout->addWidget(BuddyLabel("&Transparency:", transparencySpin, formatPage), 3, 0);
    formatLayout->addWidget(transparencySpin, 3, 1);
    formatLayout->setRowStretch(4, 1);

    borderPage = NamedControl(new QWidget, "BorderPage");
    frameButton = NamedControl(new TButtonPen(borderPage), "FrameButton");
    frameButton->setText(QStringLiteral("&Frame..."));
    frameButton->Dialogs = &dialogs_;
    bevelCombo = NamedControl(new QComboBox(borderPage), "BevelCombo");
    bevelCombo->addItems({QStringLiteral("None"), QStringLiteral("Lowered"), QStringLiteral("Raised")});
    bevelSizeSpin = NamedControl(new QSpinBox(borderPage), "BevelSizeSpin");
    bevelSizeSpin->setRange(1, 100);
    roundCheck = NamedControl(new QCheckBox(QStringLiteral("&Round Frame"), borderPage), "RoundCheck");
    roundSizeSpin = NamedControl(new QSpinBox(borderPage), "RoundSizeSpin");
    roundSizeSpin->setRange(0, 500);
    auto* borderLayout = new QGridLayout(borderPage);
    borderLayout->addWidget(frameButton, 0, 0);
    borderLayout->addWidget(BuddyLabel("&Bevel:", bevelCombo, borderPage), 1, 0);
    borderLayout->addWidget(bevelCombo, 1, 1);
    borderLayout->addWidget(BuddyLabel("Siz&e:", bevelSizeSpin, borderPage), 1, 2);
    borderLayout->addWidget(bevelSizeSpin, 1, 3);
    borderLayout->addWidget(roundCheck, 2, 0, 1, 2);
    borderLayout->addWidget(BuddyLabel("Siz&e:", roundSizeSpin, borderPage), 2, 2);
    borderLayout->addWidget(roundSizeSpin, 2, 3);
    borderLayout->setRowStretch(3, 1);

    textPage = NamedControl(new QWidget, "TextPage");
    gradientPage = NamedControl(new QWidget, "GradientPage");
    shadowPage = NamedControl(new QWidget, "ShadowPage");
    picturePage = NamedControl(new QWidget, "PicturePage");
    pages->addTab(formatPage, QStringLiteral("Format"));
    pages->addTab(borderPage, QStringLiteral("Border"));
    pages->addTab(textPage, QStringLiteral("Text"));
    pages->addTab(gradientPage, QStringLiteral("Gradient"));
    pages->addTab(shadowPage, QStringLiteral("Shadow"));
    pages->addTab(picturePage, QStringLiteral("Picture"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);

    LinkColorButton(*colorButton, dialogs_, [this] { return shape_ ? shape_->Color() : clNone; },
                    [this](TColor colour) {
                        if (!shape_)
                            return;
                        shape_->SetColor(colour);
                        // A chosen colour is meant to be seen.
                        transparentCheck->setChecked(false);
                    });
    connect(patternButton, &QPushButton::clicked, this, &TFormPlotShape::EditPattern);
    connect(transparentCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shape_)
            shape_->SetTransparent(on);
    });
    connect(transparencySpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shape_)
            shape_->SetTransparency(value);
    });
    connect(visibleCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shape_)
            shape_->SetVisible(on);
    });
    connect(bevelCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_ && shape_ && index >= 0)
            shape_->SetBevel(static_cast<TBevelCut>(index));
        EnableControls();
    });
    connect(bevelSizeSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shape_)
            shape_->SetBevelWidth(value);
    });
    connect(roundCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shape_)
            shape_->SetShapeStyle(on ? fosRoundRectangle : fosRectangle);
        EnableControls();
    });
    connect(roundSizeSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shape_)
            shape_->SetRoundSize(value);
    });
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) { PageShown(pages->widget(index)); });
    EnableControls();
}

void TFormPlotShape::ShowVisibleBox() const
{
    visibleCheck->show();
}

void TFormPlotShape::RefreshControls(TPlotCustomShape& shape)
{
    shape_ = &shape;
    Fill();
    if (fontEditor_)
        fontEditor_->RefreshControls(shape.Font());
    if (gradientEditor_)
        gradientEditor_->RefreshControls(shape.Gradient());
    if (shadowEditor_)
        shadowEditor_->RefreshControls(shape.Shadow());
    if (pictureEditor_)
        pictureEditor_->RefreshControls(shape.Picture());
}

void TFormPlotShape::Fill()
{
    const FillGuard guard(filling_);
    TPlotCustomShape& s = *shape_;
    transparentCheck->setChecked(s.Transparent());
    transparencySpin->setValue(s.Transparency());
    visibleCheck->setChecked(s.Visible());
    frameButton->LinkPen(&s.Pen());
    bevelCombo->setCurrentIndex(s.Bevel() <= bvRaised ? static_cast<int>(s.Bevel()) : -1);
    bevelSizeSpin->setValue(s.BevelWidth());
    roundCheck->setChecked(s.ShapeStyle() == fosRoundRectangle);
    roundSizeSpin->setValue(s.RoundSize());
    colorButton->update();
    EnableControls();
}

void TFormPlotShape::EnableControls()
{
    bevelSizeSpin->setEnabled(bevelCombo->currentIndex() > 0);
    roundSizeSpin->setEnabled(roundCheck->isChecked());
}

void TFormPlotShape::EditPattern()
{
    if (shape_)
        ShowBrushEditor(dialogs_, this, shape_->Brush());
}

void TFormPlotShape::PageShown(QWidget* page)
{
    if (!shape_ || !page)
        return;
    if (page == textPage && !fontEditor_)
        fontEditor_ = CreateFontEditorPage(dialogs_, textPage, shape_->Font());
    else if (page == gradientPage && !gradientEditor_)
        gradientEditor_ = CreateGradientEditorPage(dialogs_, gradientPage, shape_->Gradient());
    else if (page == shadowPage && !shadowEditor_)
        shadowEditor_ = CreateShadowEditorPage(dialogs_, shadowPage, shape_->Shadow());
    else if (page == picturePage && !pictureEditor_)
        pictureEditor_ = CreateBackImageEditorPage(dialogs_, picturePage, shape_->Picture());
}

void TFormPlotShape::MovePagesTo(QTabWidget* pageControl)
{
    if (!pageControl || pageControl == pages)
        return;
    // Taking the pages off changes the own current page each time; none of that is a visit.
    const QSignalBlocker quiet(pages);
    while (pages->count() > 0) {
        QWidget* page = pages->widget(0);
        const QString caption = pages->tabText(0);
        pages->removeTab(0);
        pageControl->addTab(page, caption);
    }
    pageControl_ = pageControl;
    connect(pageControl, &QTabWidget::currentChanged, this,
            [this](int index) { PageShown(pageControl_ ? pageControl_->widget(index) : nullptr); });
}

TFormPlotShape* CreateShapeEditorPage(const EditorDialogs& dialogs, QTabWidget* pageControl, TPlotCustomShape& shape)
{
    auto* editor = new TFormPlotShape(dialogs, pageControl);
    editor->hide();
    editor->RefreshControls(shape);
    editor->MovePagesTo(pageControl);
    return editor;
}
