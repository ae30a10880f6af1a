#include "chart/editors/SeriesPointerEditor.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/editors/BrushDialog.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/series/LineSeries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Where an item of the style list shows its symbol, and where its text starts.
constexpr int kSymbolX = 6;
constexpr int kSymbolY = 8;
constexpr int kSymbolHalf = 4;
constexpr int kTextX = 14;

TColor ToColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// Styles drawn with the pen alone: without a visible pen they would show nothing.
bool IsLineOnly(TSeriesPointerStyle style)
{
    return style == psCross || style == psDiagCross || style == psStar || style == psSmallDot;
}

// Each style item shows the symbol as the pointer itself draws it, then the style's name.
class PointerStyleDelegate : public QStyledItemDelegate {
public:
    PointerStyleDelegate(const TSeriesPointerEditor& editor, QObject* parent)
        : QStyledItemDelegate(parent), editor_(editor)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor back = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        TSeriesPointer* pointer = editor_.Pointer();
        const auto style = static_cast<TSeriesPointerStyle>(index.row());
        const QImage symbol =
            DrawCanvasPicture(QSize(kTextX, option.rect.height()), ToColor(back), [&](TPlotCanvas3D& canvas) {
                if (!pointer)
                    return;
                const TColor colour = editor_.SymbolColor();
                pointer->PrepareCanvas(canvas, colour);
                if (IsLineOnly(style) && !pointer->Pen().Visible()) {
                    TChartPen line;
                    line.SetColor(colour);
                    canvas.AssignVisiblePen(line);
                }
                pointer->DrawPointer(canvas, false, kSymbolX, kSymbolY, kSymbolHalf, kSymbolHalf, colour, style);
            });
        painter->save();
        painter->fillRect(option.rect, back);
        painter->drawImage(option.rect.topLeft(), symbol);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(kTextX, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data().toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + kTextX, std::max(size.height(), 2 * kSymbolY + 1));
    }

private:
    const TSeriesPointerEditor& editor_;
};

} // namespace

TSeriesPointerEditor::TSeriesPointerEditor(const EditorDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("SeriesPointerEditor"));

    pointerGroup = NamedControl(new QGroupBox(this), "PointerGroup");
    visibleCheck = NamedControl(new QCheckBox(QStringLiteral("&Visible"), pointerGroup), "VisibleCheck");
    styleCombo = NamedControl(new QComboBox(pointerGroup), "StyleCombo");
    styleCombo->addItems({QStringLiteral("Square"), QStringLiteral("Circle"), QStringLiteral("Triangle"),
                          QStringLiteral("Down Triangle"), QStringLiteral("Cross"), QStringLiteral("Diagonal Cross"),
                          QStringLiteral("Star"), QStringLiteral("Diamond"), QStringLiteral("Small Dot"),
                          QStringLiteral("Nothing"), QStringLiteral("Left Triangle"),
                          QStringLiteral("Right Triangle"), QStringLiteral("Hexagon")});
    styleCombo->setItemDelegate(new PointerStyleDelegate(*this, styleCombo));
    styleLabel_ = BuddyLabel("&Style:", styleCombo, pointerGroup);
    widthSpin = NamedControl(new QSpinBox(pointerGroup), "WidthSpin");
    heightSpin = NamedControl(new QSpinBox(pointerGroup), "HeightSpin");
    for (QSpinBox* spin : {widthSpin, heightSpin})
        spin->setRange(1, 1000);
    widthLabel_ = BuddyLabel("&Width:", widthSpin, pointerGroup);
    heightLabel_ = BuddyLabel("&Height:", heightSpin, pointerGroup);
    draw3DCheck = NamedControl(new QCheckBox(QStringLiteral("&3D"), pointerGroup), "Draw3DCheck");
    dark3DCheck = NamedControl(new QCheckBox(QStringLiteral("Dar&k 3D"), pointerGroup), "Dark3DCheck");
    inflateMarginsCheck = NamedControl(new QCheckBox(QStringLiteral("Inflate &Margins"), pointerGroup), "InflateMarginsCheck");
    transparencyTrack = NamedControl(new QSlider(Qt::Horizontal, pointerGroup), "TransparencyTrack");
    transparencyTrack->setRange(0, 100);
    transparencyLabel_ = BuddyLabel("&Transparency:", transparencyTrack, pointerGroup);
    patternButton = NamedControl(new QPushButton(QStringLiteral("&Pattern..."), pointerGroup), "PatternButton");
    defaultCheck = NamedControl(new QCheckBox(QStringLiteral("&Default"), pointerGroup), "DefaultCheck");
    borderButton = NamedControl(new TButtonPen(pointerGroup), "BorderButton");
    borderButton->setText(QStringLiteral("B&order..."));
    borderButton->Dialogs = &dialogs_;
    shadowButton = NamedControl(new QPushButton(QStringLiteral("Sh&adow..."), pointerGroup), "ShadowButton");
    gradientButton = NamedControl(new QPushButton(QStringLiteral("&Gradient..."), pointerGroup), "GradientButton");
    gradientButton->hide();
    colorEachCheck = NamedControl(new QCheckBox(QStringLiteral("&Color Each "), this), "ColorEachCheck");
    ignoreNullsCheck = NamedControl(new QCheckBox(QStringLiteral("&Ignore nulls"), this), "IgnoreNullsCheck");
    closePanel = NamedControl(new QWidget(this), "ClosePanel");
    closeButton = NamedControl(new QPushButton(QStringLiteral("Close"), closePanel), "CloseButton");
    closeButton->setDefault(true);
    closePanel->hide();

    auto* grid = new QGridLayout(pointerGroup);
    grid->addWidget(visibleCheck, 0, 0, 1, 2);
    grid->addWidget(styleLabel_, 1, 0);
    grid->addWidget(styleCombo, 1, 1, 1, 2);
    grid->addWidget(widthLabel_, 2, 0);
    grid->addWidget(widthSpin, 2, 1);
    grid->addWidget(heightLabel_, 3, 0);
    grid->addWidget(heightSpin, 3, 1);
    grid->addWidget(draw3DCheck, 2, 2);
    grid->addWidget(dark3DCheck, 3, 2);
    grid->addWidget(inflateMarginsCheck, 4, 0, 1, 2);
    grid->addWidget(transparencyLabel_, 5, 0);
    grid->addWidget(transparencyTrack, 5, 1, 1, 2);
    grid->addWidget(patternButton, 6, 0);
    grid->addWidget(defaultCheck, 6, 1);
    grid->addWidget(borderButton, 7, 0);
    grid->addWidget(shadowButton, 7, 1);
    grid->addWidget(gradientButton, 7, 2);
    auto* closeLayout = new QHBoxLayout(closePanel);
    closeLayout->setContentsMargins(0, 0, 0, 0);
    closeLayout->addStretch(1);
    closeLayout->addWidget(closeButton);
    auto* seriesBoxes = new QHBoxLayout;
    seriesBoxes->addWidget(colorEachCheck);
    seriesBoxes->addWidget(ignoreNullsCheck);
    seriesBoxes->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pointerGroup);
    layout->addLayout(seriesBoxes);
    layout->addStretch(1);
    layout->addWidget(closePanel);

    connect(visibleCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { pointer_->SetVisible(on); });
        EnableControls();
    });
    connect(styleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Write([&] { pointer_->SetStyle(static_cast<TSeriesPointerStyle>(index)); });
        EnableControls();
    });
    connect(widthSpin, &QSpinBox::valueChanged, this, [this](int value) { SetSize(true, value); });
    connect(heightSpin, &QSpinBox::valueChanged, this, [this](int value) { SetSize(false, value); });
    connect(draw3DCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { pointer_->SetDraw3D(on); });
        EnableControls();
    });
    connect(dark3DCheck, &QCheckBox::toggled, this, [this](bool on) { Write([&] { pointer_->SetDark3D(on); }); });
    connect(inflateMarginsCheck, &QCheckBox::toggled, this,
            [this](bool on) { Write([&] { pointer_->SetInflateMargins(on); }); });
    connect(transparencyTrack, &QSlider::valueChanged, this,
            [this](int value) { Write([&] { pointer_->SetTransparency(value); }); });
    connect(defaultCheck, &QCheckBox::toggled, this, &TSeriesPointerEditor::DefaultClicked);
    connect(patternButton, &QPushButton::clicked, this, [this] {
        if (!pointer_)
            return;
        ShowBrushEditor(dialogs_, this, pointer_->Brush());
        FillDefault();
        styleCombo->update();
    });
    connect(shadowButton, &QPushButton::clicked, this, [this] {
        if (pointer_)
            ShowShadowEditor(dialogs_, this, pointer_->Shadow());
    });
    connect(gradientButton, &QPushButton::clicked, this, [this] {
        if (pointer_)
            ShowGradientEditor(dialogs_, this, pointer_->Gradient());
    });
    connect(colorEachCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_ || !series_)
            return;
        series_->SetColorEachPoint(on);
        // A point series takes the automatic colour for its points with it.
        FillDefault();
    });
    connect(ignoreNullsCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && series_)
            series_->SetTreatNulls(on ? tnIgnore : tnDontPaint);
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    EnableControls();
}

template <class Fn>
void TSeriesPointerEditor::Write(Fn&& change)
{
    if (!filling_ && pointer_)
        change();
}

void TSeriesPointerEditor::accept()
{
    if (isWindow())
        QDialog::accept();
}

void TSeriesPointerEditor::reject()
{
    if (isWindow())
        QDialog::reject();
}

void TSeriesPointerEditor::RefreshControls(TCustomSeries& series)
{
    series_ = &series;
    pointer_ = &series.Pointer();
    SetControlsVisible(true, {colorEachCheck, ignoreNullsCheck});
    Fill();
}

void TSeriesPointerEditor::RefreshControls(TSeriesPointer& pointer)
{
    series_ = nullptr;
    pointer_ = &pointer;
    SetControlsVisible(false, {colorEachCheck, ignoreNullsCheck});
    Fill();
}

void TSeriesPointerEditor::Fill()
{
    const FillGuard guard(filling_);
    TSeriesPointer& p = *pointer_;
    visibleCheck->setChecked(p.Visible());
    styleCombo->setCurrentIndex(static_cast<int>(p.Style()));
    widthSpin->setValue(p.HorizSize());
    heightSpin->setValue(p.VertSize());
    SetControlsVisible(p.AllowChangeSize(), {widthLabel_, widthSpin, heightLabel_, heightSpin});
    draw3DCheck->setChecked(p.Draw3D());
    dark3DCheck->setChecked(p.Dark3D());
    inflateMarginsCheck->setChecked(p.InflateMargins());
    transparencyTrack->setValue(p.Transparency());
    borderButton->LinkPen(&p.Pen());
    if (series_) {
        colorEachCheck->setChecked(series_->ColorEachPoint());
        ignoreNullsCheck->setChecked(series_->TreatNulls() == tnIgnore);
    }
    FillDefault();
    EnableControls();
}

void TSeriesPointerEditor::FillDefault()
{
    if (!pointer_)
        return;
    const FillGuard guard(filling_);
    defaultCheck->setChecked(pointer_->GetColor() == clDefault && pointer_->Pen().Color() == clDefault);
}

TColor TSeriesPointerEditor::SymbolColor() const
{
    if (!pointer_)
        return clBlack;
    const TColor colour = pointer_->GetColor();
    if (colour != clDefault)
        return colour;
    const TChartSeries* series = pointer_->Series();
    return series ? series->SeriesColor() : clBlack;
}

bool TSeriesPointerEditor::Can3D() const
{
    const TChartSeries* series = pointer_ ? pointer_->Series() : nullptr;
    ChartParent* chart = series ? series->ParentChart() : nullptr;
    if (!chart || !chart->View3D())
        return false;
    switch (static_cast<TSeriesPointerStyle>(styleCombo->currentIndex())) {
    case psRectangle:
    case psTriangle:
    case psDownTriangle:
        return true;
    case psCircle: {
        // A sphere needs a canvas that can rotate freely.
        TCustomAxisPanel* panel = chart->AxisPanel();
        return panel && panel->Canvas().GetSupportsFeature();
    }
    default:
        return false;
    }
}

void TSeriesPointerEditor::EnableControls()
{
    const bool visible = visibleCheck->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             styleLabel_, styleCombo, widthLabel_, widthSpin, heightLabel_, heightSpin, inflateMarginsCheck,
             transparencyLabel_, transparencyTrack, patternButton, defaultCheck, borderButton, shadowButton,
             gradientButton})
        w->setEnabled(visible);
    draw3DCheck->setEnabled(visible && Can3D());
    dark3DCheck->setEnabled(draw3DCheck->isEnabled() && draw3DCheck->isChecked());
}

void TSeriesPointerEditor::SetSize(bool horizontal, int value)
{
    Write([&] {
        try {
            if (horizontal)
                pointer_->SetHorizSize(value);
            else
                pointer_->SetVertSize(value);
        } catch (const ChartException& e) {
            ShowEditorError(dialogs_, e.Message(), this);
        }
    });
}

void TSeriesPointerEditor::DefaultClicked(bool checked)
{
    Write([&] {
        TChartPen& pen = pointer_->Pen();
        if (checked) {
            pointer_->SetColor(clDefault);
            pen.SetColor(clDefault);
        } else if (pen.Color() == clDefault) {
            // An automatic pen on a coloured symbol would vanish into it; black keeps the outline.
            pen.SetColor(clBlack);
        }
        borderButton->update();
        styleCombo->update();
    });
}

bool ShowCalloutPointerEditor(const EditorDialogs& dialogs, QWidget* owner, TCallout& callout)
{
    auto dialog = CreateEditorForm<TSeriesPointerEditor>(owner, dialogs);
    dialog->setWindowTitle(QStringLiteral("Pointer"));
    dialog->RefreshControls(callout);
    SetControlsVisible(false, {dialog->inflateMarginsCheck, dialog->colorEachCheck});
    dialog->closePanel->show();
    return RunEditorDialog(dialogs, *dialog) == QDialog::Accepted;
}
