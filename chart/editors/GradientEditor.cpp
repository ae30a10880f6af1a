#include "chart/editors/GradientEditor.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotControls.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/engine/ChartAxis.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>

namespace {

constexpr int kDirectionCount = 10;
const char* const kDirectionNames[kDirectionCount] = {
    "Top Bottom", "Bottom Top", "Left Right", "Right Left", "From Center",
    "From Top Left", "From Bottom Left", "Radial", "Diagonal Up", "Diagonal Down"};

// The directions that have no middle colour to show.
bool HasNoMiddle(TGradientDirection d)
{
    return d == gdFromCenter || d == gdFromTopLeft || d == gdFromBottomLeft || d == gdRadial;
}

// A new gradient of the same class as the one given, for the copy that Cancel puts back.
std::unique_ptr<TCustomPlotGradient> NewOfSameClass(const TCustomPlotGradient& g)
{
    if (dynamic_cast<const TPlotFontGradient*>(&g))
        return std::make_unique<TPlotFontGradient>();
    if (dynamic_cast<const TSubGradient*>(&g))
        return std::make_unique<TSubGradient>();
    if (dynamic_cast<const TPlotGradient*>(&g))
        return std::make_unique<TPlotGradient>();
    return std::make_unique<TCustomPlotGradient>();
}

QLabel* Buddy(const char* caption, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setBuddy(control);
    return label;
}

template <class W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

const std::vector<TGradientPreset>& GradientPresets()
{
    static const std::vector<TGradientPreset> presets = {
        {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, 50, gdTopBottom},
        {"Business", 0xC0C0C0, 0xFFFFFF, 0x808080, 50, gdTopBottom},
        {"Hot", 0x0000FF, clNone, 0x00FFFF, 50, gdTopBottom},
        {"Ace", 0x000000, 0xFF8080, 0x000000, 74, gdBottomTop},
        {"Farm", 0x006AD5, 0xFFFFFF, 0x0062C4, 4, gdBottomTop},
        {"Sea", 0xFFFF80, 0xFF8080, 0x800000, 55, gdBottomTop},
        {"Night", 0xFFFFFF, 0x800040, 0x000000, 40, gdTopBottom},
        {"Space", 0xA50320, 0x800040, 0xFFFFFF, 50, gdFromTopLeft},
        {"Golf", 0x159902, 0xC0C0C0, 0xD9F986, 50, gdTopBottom},
        {"Funky", 0xBD3881, 0x87607A, 0x52EB85, 50, gdTopBottom},
        {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, 50, gdTopBottom},
        {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, 50, gdTopBottom},
        {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, 50, gdTopBottom},
        {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, 50, gdTopBottom},
        {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, 50, gdTopBottom},
        {"Desert", 0x265FB7, 0xCE7185, 0x604457, 50, gdTopBottom},
        {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, 50, gdTopBottom},
    };
    return presets;
}

// ---- preview

TPreviewGradient::TPreviewGradient(QWidget* parent) : QWidget(parent), gradient_([this] { update(); })
{
    setMinimumSize(80, 60);
}

void TPreviewGradient::paintEvent(QPaintEvent*)
{
    const TColor back = RGBColor(palette().color(QPalette::Window).red(), palette().color(QPalette::Window).green(),
                                 palette().color(QPalette::Window).blue());
    const QImage picture = DrawCanvasPicture(size(), back, [this](TPlotCanvas3D& canvas) {
        if (gradient_.Visible())
            gradient_.Draw(canvas, TRect{0, 0, width(), height()}, 0);
    });
    QPainter(this).drawImage(0, 0, picture);
}

// ---- editor

TPlotGradientEditor::TPlotGradientEditor(const EditorDialogs& dialogs, bool flag, bool hideVisible, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), flag_(flag)
{
    setObjectName(QStringLiteral("GradientEditor"));
    setWindowTitle(QStringLiteral("Gradient Editor"));

    visibleCheck = Named(new QCheckBox(QStringLiteral("&Visible"), this), "VisibleCheck");
    directionCombo = Named(new QComboBox(this), "DirectionCombo");
    for (const char* name : kDirectionNames)
        directionCombo->addItem(QString::fromLatin1(name));
    auto* directionLabel = Buddy("&Direction:", directionCombo, this);
    pages = Named(new QTabWidget(this), "PageControl");

    defaultPage = Named(new QWidget, "DefaultPage");
    presetList = Named(new QListWidget(defaultPage), "PresetList");
    std::vector<int> order(GradientPresets().size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [](int a, int b) {
        return QString::compare(QString::fromLatin1(GradientPresets()[a].name),
                                QString::fromLatin1(GradientPresets()[b].name), Qt::CaseInsensitive) < 0;
    });
    for (int index : order) {
        auto* item = new QListWidgetItem(QString::fromLatin1(GradientPresets()[index].name), presetList);
        item->setData(Qt::UserRole, index);
    }
    preview = Named(new TPreviewGradient(defaultPage), "Preview");
    auto* defaultLayout = new QHBoxLayout(defaultPage);
    defaultLayout->addWidget(presetList);
    defaultLayout->addWidget(preview, 1);

    colorsPage = Named(new QWidget, "ColorsPage");
    auto colourButton = [this](const char* caption, const char* name) {
        auto* b = Named(new TButtonColor(colorsPage), name);
        b->setText(QString::fromLatin1(caption));
        return b;
    };
    startButton = colourButton("&Start...", "StartButton");
    middleButton = colourButton("&Middle...", "MiddleButton");
    endButton = colourButton("&End...", "EndButton");
    noMiddleCheck = Named(new QCheckBox(QStringLiteral("&No Middle"), colorsPage), "NoMiddleCheck");
    swapButton = Named(new QPushButton(QStringLiteral("S&wap"), colorsPage), "SwapButton");
    auto* colorsLayout = new QGridLayout(colorsPage);
    colorsLayout->addWidget(startButton, 0, 0);
    colorsLayout->addWidget(middleButton, 1, 0);
    colorsLayout->addWidget(noMiddleCheck, 1, 1);
    colorsLayout->addWidget(endButton, 2, 0);
    colorsLayout->addWidget(swapButton, 2, 1);
    colorsLayout->setRowStretch(3, 1);

    optionsPage = Named(new QWidget, "OptionsPage");
    balanceBar = Named(new QScrollBar(Qt::Horizontal, optionsPage), "BalanceBar");
    balanceBar->setRange(0, 100);
    balanceLabel = Named(new QLabel(optionsPage), "BalanceLabel");
    radialGroup_ = Named(new QGroupBox(QStringLiteral("Radial offset:"), optionsPage), "RadialGroup");
    radialXTrack = Named(new QSlider(Qt::Horizontal, radialGroup_), "RadialXTrack");
    radialYTrack = Named(new QSlider(Qt::Horizontal, radialGroup_), "RadialYTrack");
    for (QSlider* s : {radialXTrack, radialYTrack})
        s->setRange(-300, 300);
    radialXLabel = Named(new QLabel(radialGroup_), "RadialXLabel");
    radialYLabel = Named(new QLabel(radialGroup_), "RadialYLabel");
    auto* radialLayout = new QGridLayout(radialGroup_);
    radialLayout->addWidget(Buddy("&Horiz:", radialXTrack, radialGroup_), 0, 0);
    radialLayout->addWidget(radialXTrack, 0, 1);
    radialLayout->addWidget(radialXLabel, 0, 2);
    radialLayout->addWidget(Buddy("&Vert:", radialYTrack, radialGroup_), 1, 0);
    radialLayout->addWidget(radialYTrack, 1, 1);
    radialLayout->addWidget(radialYLabel, 1, 2);
    angleSpin = Named(new QSpinBox(optionsPage), "AngleSpin");
    angleSpin->setRange(0, 360);
    auto* optionsLayout = new QGridLayout(optionsPage);
    optionsLayout->addWidget(Buddy("&Balance:", balanceBar, optionsPage), 0, 0);
    optionsLayout->addWidget(balanceBar, 0, 1);
    optionsLayout->addWidget(balanceLabel, 0, 2);
    optionsLayout->addWidget(radialGroup_, 1, 0, 1, 3);
    optionsLayout->addWidget(Buddy("&Angle:", angleSpin, optionsPage), 2, 0);
    optionsLayout->addWidget(angleSpin, 2, 1);
    optionsLayout->setRowStretch(3, 1);

    directionsPage = Named(new QWidget, "DirectionsPage");
    auto* directionsLayout = new QVBoxLayout(directionsPage);
    directionsLayout->setContentsMargins(0, 0, 0, 0);

    subGradientPage = Named(new QWidget, "SubGradientPage");
    subVisibleCheck = Named(new QCheckBox(QStringLiteral("&Visible"), subGradientPage), "SubVisibleCheck");
    subTransparencyBar = Named(new QScrollBar(Qt::Horizontal, subGradientPage), "SubTransparencyBar");
    subTransparencyBar->setRange(0, 100);
    subEditButton = Named(new TButtonGradient(subGradientPage), "SubEditButton");
    subEditButton->setText(QStringLiteral("&Edit..."));
    subEditButton->Dialogs = &dialogs_;
    auto* subLayout = new QGridLayout(subGradientPage);
    subLayout->addWidget(subVisibleCheck, 0, 0, 1, 2);
    subLayout->addWidget(Buddy("&Transparency:", subTransparencyBar, subGradientPage), 1, 0);
    subLayout->addWidget(subTransparencyBar, 1, 1);
    subLayout->addWidget(subEditButton, 2, 0);
    subLayout->setRowStretch(3, 1);

    pages->addTab(defaultPage, QStringLiteral("Default"));
    pages->addTab(colorsPage, QStringLiteral("Colors"));
    pages->addTab(optionsPage, QStringLiteral("Options"));
    pages->addTab(directionsPage, QStringLiteral("Directions"));
    pages->addTab(subGradientPage, QStringLiteral("SubGradient"));
    pages->setCurrentWidget(colorsPage);

    buttonPanel = Named(new QWidget(this), "ButtonPanel");
    okButton = Named(new QPushButton(QStringLiteral("OK"), buttonPanel), "OKButton");
    okButton->setDefault(true);
    cancelButton = Named(new QPushButton(QStringLiteral("Cancel"), buttonPanel), "CancelButton");
    auto* buttons = new QHBoxLayout(buttonPanel);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* top = new QHBoxLayout;
    top->addWidget(visibleCheck);
    top->addStretch(1);
    top->addWidget(directionLabel);
    top->addWidget(directionCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages, 1);
    layout->addWidget(buttonPanel);

    visibleCheck->setVisible(!hideVisible);
    endButton->setVisible(!flag);
    swapButton->setVisible(!flag);

    LinkColorButton(*startButton, dialogs_, [this] { return gradient_ ? gradient_->StartColor() : clNone; },
                    [this](TColor colour) { Write([this, colour] { gradient_->SetStartColor(colour); }); });
    LinkColorButton(*middleButton, dialogs_, [this] { return gradient_ ? gradient_->MidColor() : clNone; },
                    [this](TColor colour) { Write([this, colour] { gradient_->SetMidColor(colour); }); });
    LinkColorButton(*endButton, dialogs_, [this] { return gradient_ ? gradient_->EndColor() : clNone; },
                    [this](TColor colour) { Write([this, colour] { gradient_->SetEndColor(colour); }); });
    connect(middleButton, &TButtonColor::ColorEdited, this, [this] {
        const FillGuard guard(filling_);
        noMiddleCheck->setChecked(gradient_ && gradient_->MidColor() == clNone);
    });

    connect(visibleCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { gradient_->SetVisible(on); });
        EnableControls();
    });
    connect(directionCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        Write([&] { gradient_->SetDirection(static_cast<TGradientDirection>(index)); });
        if (!filling_ && index > gdRightLeft)
            presetList->setCurrentRow(-1);
        if (directionCharts_ && index < directionCharts_->Count())
            directionCharts_->SetSelectedChart(directionCharts_->Chart(index));
        EnableControls();
    });
    // Ten live charts cost time; an editor that never shows the page never makes them.
    connect(pages, &QTabWidget::currentChanged, this, [this] {
        if (pages->currentWidget() == directionsPage)
            DirectionCharts();
    });
    connect(presetList, &QListWidget::currentRowChanged, this, &TPlotGradientEditor::PresetChosen);
    // A click on the chosen preset applies it again, after the colours were changed by hand.
    connect(presetList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PresetChosen(presetList->row(item)); });
    connect(noMiddleCheck, &QCheckBox::toggled, this, &TPlotGradientEditor::NoMiddleClicked);
    connect(swapButton, &QPushButton::clicked, this, &TPlotGradientEditor::Swap);
    connect(balanceBar, &QScrollBar::valueChanged, this, [this](int value) {
        balanceLabel->setText(FormatPercentLabel(value));
        Write([&] { gradient_->SetBalance(value); });
    });
    connect(radialXTrack, &QSlider::valueChanged, this, [this](int value) {
        radialXLabel->setText(QString::number(value));
        Write([&] { gradient_->SetRadialX(value); });
    });
    connect(radialYTrack, &QSlider::valueChanged, this, [this](int value) {
        radialYLabel->setText(QString::number(value));
        Write([&] { gradient_->SetRadialY(value); });
    });
    connect(angleSpin, &QSpinBox::valueChanged, this, [this](int value) { Write([&] { gradient_->SetAngle(value); }); });
    connect(subVisibleCheck, &QCheckBox::toggled, this,
            [this](bool on) { Write([&] { gradient_->SubGradient().SetVisible(on); }); });
    connect(subTransparencyBar, &QScrollBar::valueChanged, this,
            [this](int value) { Write([&] { gradient_->SubGradient().SetTransparency(value); }); });
    // The sub-gradient is made only when it is edited.
    connect(subEditButton, &QPushButton::pressed, this, [this] {
        if (gradient_)
            subEditButton->LinkGradient(&gradient_->SubGradient());
    });
    subEditButton->OnClick = [this] {
        modified_ = true;
        FillControls();
    };
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    EnableControls();
}

TPlotGradientEditor::~TPlotGradientEditor() = default;

template <class Fn>
void TPlotGradientEditor::Write(Fn&& change)
{
    if (filling_ || !gradient_)
        return;
    change();
    modified_ = true;
    RefreshPreview();
}

void TPlotGradientEditor::RefreshControls(TCustomPlotGradient& gradient)
{
    gradient_ = &gradient;
    backup_ = NewOfSameClass(gradient);
    backup_->Assign(gradient);
    FillControls();
    modified_ = false;
}

void TPlotGradientEditor::FillControls()
{
    if (!gradient_)
        return;
    const FillGuard guard(filling_);
    TCustomPlotGradient& g = *gradient_;
    visibleCheck->setChecked(g.Visible());
    directionCombo->setCurrentIndex(static_cast<int>(g.Direction()));
    noMiddleCheck->setChecked(g.MidColor() == clNone);
    balanceBar->setValue(g.Balance());
    balanceLabel->setText(FormatPercentLabel(g.Balance()));
    radialXTrack->setValue(g.RadialX());
    radialXLabel->setText(QString::number(g.RadialX()));
    radialYTrack->setValue(g.RadialY());
    radialYLabel->setText(QString::number(g.RadialY()));
    angleSpin->setValue(g.Angle());
    // Read without making one: a gradient without a sub-gradient keeps having none.
    subVisibleCheck->setChecked(g.HasSubGradient() && g.SubGradient().Visible());
    subTransparencyBar->setValue(g.HasSubGradient() ? g.SubGradient().Transparency() : 50);
    subEditButton->LinkGradient(g.HasSubGradient() ? &g.SubGradient() : nullptr);
    for (TButtonColor* b : {startButton, middleButton, endButton})
        b->update();
    EnableControls();
    RefreshPreview();
}

void TPlotGradientEditor::EnableControls()
{
    const bool on = flag_ || (gradient_ && gradient_->Visible());
    for (QWidget* w : {static_cast<QWidget*>(directionCombo), static_cast<QWidget*>(startButton),
                       static_cast<QWidget*>(endButton), static_cast<QWidget*>(swapButton),
                       static_cast<QWidget*>(presetList)})
        w->setEnabled(on);
    const auto direction = static_cast<TGradientDirection>(std::max(0, directionCombo->currentIndex()));
    const bool middle = flag_ || (on && !HasNoMiddle(direction));
    middleButton->setEnabled(middle);
    noMiddleCheck->setEnabled(middle);
    radialGroup_->setEnabled(direction == gdRadial);
}

TChartGalleryPanel* TPlotGradientEditor::DirectionCharts()
{
    if (directionCharts_)
        return directionCharts_;
    directionCharts_ = Named(new TChartGalleryPanel(directionsPage), "DirectionsGallery");
    directionCharts_->DisplaySub = false;
    directionCharts_->SetView3D(false);
    directionCharts_->SetNumRows(2);
    directionCharts_->SetNumCols(kDirectionCount / 2);
    directionsPage->layout()->addWidget(directionCharts_);
    directionCharts_->show();   // the page may be on screen already
    for (int d = 0; d < kDirectionCount; ++d) {
        TGalleryChart& chart = directionCharts_->AddChart();
        chart.SetRepaintOnChange(false);
        chart.setToolTip(QString::fromLatin1(kDirectionNames[d]));
        chart.SetView3D(false);
        chart.LeftAxis()->SetVisible(false);
        chart.BottomAxis()->SetVisible(false);
        chart.Title().SetText({});
        chart.BackWall().SetTransparent(false);
        chart.BackWall().Gradient().SetVisible(true);
        chart.BackWall().Gradient().SetDirection(static_cast<TGradientDirection>(d));
        chart.SetMarginLeft(16);
        chart.SetMarginTop(22);
        chart.SetMarginRight(16);
        chart.SetMarginBottom(22);
        chart.SetRepaintOnChange(true);
    }
    RefreshDirectionCharts();
    if (const int index = directionCombo->currentIndex(); index >= 0)
        directionCharts_->SetSelectedChart(directionCharts_->Chart(index));
    // A click on a chart chooses its direction; the combo writes it.
    directionCharts_->OnChangeChart = [this] {
        const int index = directionCharts_->IndexOf(directionCharts_->SelectedChart());
        if (index >= 0) {
            directionCombo->setCurrentIndex(index);
            directionCombo->setFocus();
        }
    };
    return directionCharts_;
}

void TPlotGradientEditor::RefreshDirectionCharts()
{
    if (!directionCharts_ || !gradient_)
        return;
    for (int i = 0; i < directionCharts_->Count(); ++i) {
        TPlotGradient& wall = directionCharts_->Chart(i)->BackWall().Gradient();
        wall.SetStartColor(gradient_->StartColor());
        wall.SetMidColor(gradient_->MidColor());
        wall.SetEndColor(gradient_->EndColor());
    }
}

void TPlotGradientEditor::RefreshPreview()
{
    if (!gradient_)
        return;
    RefreshDirectionCharts();
    TPlotGradient& shown = preview->Gradient();
    shown.SetVisible(gradient_->Visible());
    shown.SetDirection(gradient_->Direction());
    shown.SetStartColor(gradient_->StartColor());
    shown.SetMidColor(gradient_->MidColor());
    shown.SetEndColor(gradient_->EndColor());
}

void TPlotGradientEditor::PresetChosen(int row)
{
    if (filling_ || row < 0 || !gradient_)
        return;
    const int index = presetList->item(row)->data(Qt::UserRole).toInt();
    const TGradientPreset& p = GradientPresets().at(static_cast<size_t>(index));
    gradient_->SetStartColor(p.startColor);
    gradient_->SetMidColor(p.midColor);
    gradient_->SetEndColor(p.endColor);
    gradient_->SetDirection(p.direction);
    gradient_->SetBalance(p.balance);
    modified_ = true;
    FillControls();
}

void TPlotGradientEditor::NoMiddleClicked(bool checked)
{
    Write([&] {
        if (checked) {
            gradient_->SetMidColor(clNone);
            return;
        }
        gradient_->UseMiddleColor();
        if (gradient_->MidColor() == clNone)
            gradient_->SetMidColor(clWhite);
    });
    middleButton->update();
}

void TPlotGradientEditor::Swap()
{
    Write([&] {
        const TColor start = gradient_->StartColor();
        gradient_->SetStartColor(gradient_->EndColor());
        gradient_->SetEndColor(start);
    });
    startButton->update();
    endButton->update();
}

void TPlotGradientEditor::HideButtonPanel()
{
    const int panel = buttonPanel->sizeHint().height();
    buttonPanel->hide();
    okButton->hide();
    cancelButton->hide();
    resize(width(), std::max(0, height() - panel));
}

void TPlotGradientEditor::accept()
{
    if (isWindow())
        QDialog::accept();
}

void TPlotGradientEditor::reject()
{
    if (!isWindow())
        return;
    if (modified_ && gradient_ && backup_) {
        ChangeWithOneEvent(*gradient_, [this] { gradient_->Assign(*backup_); });
        modified_ = false;
    }
    QDialog::reject();
}

bool ShowGradientEditor(const EditorDialogs& dialogs, QWidget* owner, TCustomPlotGradient& gradient, bool flag,
                        bool hideVisible)
{
    auto dialog = CreateEditorForm<TPlotGradientEditor>(owner, dialogs, flag, hideVisible);
    dialog->RefreshControls(gradient);
    return RunEditorDialog(dialogs, *dialog) == QDialog::Accepted;
}

TPlotGradientEditor* CreateGradientEditorPage(const EditorDialogs& dialogs, QWidget* page,
                                              TCustomPlotGradient& gradient)
{
    auto* editor = new TPlotGradientEditor(dialogs, false, false, page);
    editor->HideButtonPanel();
    editor->RefreshControls(gradient);
    EmbedEditorForm(editor, page);
    return editor;
}
