#include "chart/editors/PenDialog.h"

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotControls.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>

namespace {

TColor ToColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// Each style item shows a sample line of the pen's colour in that style, then its name.
class PenStyleDelegate : public QStyledItemDelegate {
public:
    PenStyleDelegate(const TPenDialog& dialog, QObject* parent) : QStyledItemDelegate(parent), dialog_(dialog) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor back = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const TColor background = ToColor(back);
        const TColor colour = SampleColorOn(dialog_.Pen().Color(), background);
        const bool smallDots = index.row() > psDashDotDot;
        const auto style = static_cast<TPenStyle>(index.row());
        const auto* chartPen = dynamic_cast<const TChartPen*>(&dialog_.Pen());
        const QImage sample = DrawCanvasPicture(QSize(34, option.rect.height()), background, [&](TPlotCanvas3D& canvas) {
            TChartPen pen;
            pen.SetColor(colour);
            if (smallDots) {
                pen.SetSmallDots(true);
                pen.SetSmallSpace(chartPen ? chartPen->SmallSpace() : 0);
            } else {
                pen.SetStyle(style);
            }
            canvas.AssignVisiblePen(pen);
            canvas.MoveTo(2, 8);
            canvas.LineTo(30, 8);
        });
        painter->save();
        painter->fillRect(option.rect, back);
        painter->drawImage(option.rect.topLeft(), sample);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text = option.rect.adjusted(34, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + 34, std::max(size.height(), 16));
    }

private:
    const TPenDialog& dialog_;
};

} // namespace

TPenDialog::TPenDialog(TPen& pen, bool hideColor, const EditorDialogs& dialogs, QWidget* parent)
    : QDialog(parent), pen_(pen), chartPen_(dynamic_cast<TChartPen*>(&pen))
{
    setObjectName(QStringLiteral("PenDialog"));
    setWindowTitle(QStringLiteral("Border Editor"));

    visibleCheck = new QCheckBox(QStringLiteral("&Visible"), this);
    visibleCheck->setObjectName(QStringLiteral("VisibleCheck"));
    auto* styleLabel = new QLabel(QStringLiteral("&Style:"), this);
    styleCombo = new QComboBox(this);
    styleCombo->setObjectName(QStringLiteral("StyleCombo"));
    styleCombo->addItems({QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
                          QStringLiteral("Dash Dot"), QStringLiteral("Dash Dot Dot")});
    styleCombo->setItemDelegate(new PenStyleDelegate(*this, styleCombo));
    styleLabel->setBuddy(styleCombo);
    widthLabel_ = new QLabel(QStringLiteral("&Width:"), this);
    widthSpin = new QSpinBox(this);
    widthSpin->setObjectName(QStringLiteral("WidthSpin"));
    widthSpin->setRange(1, 100);
    widthSpin->setValue(1);
    widthLabel_->setBuddy(widthSpin);
    colorButton = new TButtonColor(this);
    colorButton->setObjectName(QStringLiteral("ColorButton"));
    colorButton->setText(QStringLiteral("&Color..."));
    endStyleCombo = new QComboBox(this);
    endStyleCombo->setObjectName(QStringLiteral("EndStyleCombo"));
    endStyleCombo->addItems({QStringLiteral("Round"), QStringLiteral("Square"), QStringLiteral("Flat")});
    spaceLabel_ = new QLabel(QStringLiteral("Sp&ace:"), this);
    spaceSpin = new QSpinBox(this);
    spaceSpin->setObjectName(QStringLiteral("SpaceSpin"));
    spaceSpin->setRange(1, 100);
    spaceLabel_->setBuddy(spaceSpin);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* grid = new QGridLayout;
    grid->addWidget(visibleCheck, 0, 0, 1, 2);
    grid->addWidget(styleLabel, 1, 0);
    grid->addWidget(styleCombo, 1, 1);
    grid->addWidget(widthLabel_, 2, 0);
    grid->addWidget(widthSpin, 2, 1);
    grid->addWidget(colorButton, 3, 0);
    grid->addWidget(endStyleCombo, 3, 1);
    grid->addWidget(spaceLabel_, 4, 0);
    grid->addWidget(spaceSpin, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    colorButton->setVisible(!hideColor);
    LinkColorButton(*colorButton, dialogs, [this] { return pen_.Color(); },
                    [this](TColor colour) { pen_.SetColor(colour); });

    Fill();

    connect(styleCombo, &QComboBox::currentIndexChanged, this, &TPenDialog::StyleChanged);
    connect(widthSpin, &QSpinBox::valueChanged, this, &TPenDialog::WidthChanged);
    connect(visibleCheck, &QCheckBox::toggled, this, &TPenDialog::VisibleChanged);
    connect(endStyleCombo, &QComboBox::currentIndexChanged, this, &TPenDialog::EndStyleChanged);
    connect(spaceSpin, &QSpinBox::valueChanged, this, &TPenDialog::SpaceChanged);
    connect(colorButton, &TButtonColor::ColorEdited, this, [this] { modified_ = true; });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TPenDialog::~TPenDialog() = default;

void TPenDialog::Fill()
{
    const FillGuard guard(filling_);
    if (!backup_)
        backup_ = std::make_unique<TChartPen>();
    backup_->Assign(pen_);
    if (!chartPen_) {
        visibleCheck->hide();
        endStyleCombo->hide();
        styleCombo->setCurrentIndex(pen_.Style() <= psDashDotDot ? static_cast<int>(pen_.Style()) : -1);
        SetSmallDotsControls(false);
    } else {
        visibleCheck->setChecked(chartPen_->Visible());
        // Small dots are a cosmetic pen every platform here draws.
        if (PlatformIsNT && styleCombo->count() == psDashDotDot + 1)
            styleCombo->addItem(QStringLiteral("Small Dots"));
        if (chartPen_->SmallDots())
            styleCombo->setCurrentIndex(styleCombo->count() - 1);
        else
            styleCombo->setCurrentIndex(pen_.Style() <= psDashDotDot ? static_cast<int>(pen_.Style()) : -1);
        SetSmallDotsControls(chartPen_->SmallDots());
        endStyleCombo->setCurrentIndex(static_cast<int>(chartPen_->EndStyle()));
        spaceSpin->setValue(chartPen_->SmallSpace());
    }
    widthSpin->setValue(pen_.Width());
    colorButton->update();
    modified_ = false;
}

void TPenDialog::SetSmallDotsControls(bool smallDots)
{
    widthLabel_->setEnabled(!smallDots);
    widthSpin->setEnabled(!smallDots);
    spaceLabel_->setEnabled(smallDots);
    spaceSpin->setEnabled(smallDots);
}

void TPenDialog::StyleChanged(int index)
{
    if (filling_ || index < 0)
        return;
    const bool smallDots = chartPen_ && PlatformIsNT && index == psDashDotDot + 1;
    if (smallDots) {
        chartPen_->SetSmallDots(true);
    } else {
        pen_.SetStyle(static_cast<TPenStyle>(index));
        if (chartPen_)
            chartPen_->SetSmallDots(false);
    }
    SetSmallDotsControls(smallDots);
    modified_ = true;
}

void TPenDialog::WidthChanged(int value)
{
    if (filling_)
        return;
    pen_.SetWidth(value);
    modified_ = true;
}

void TPenDialog::VisibleChanged(bool checked)
{
    if (filling_ || !chartPen_)
        return;
    chartPen_->SetVisible(checked);
    modified_ = true;
}

void TPenDialog::EndStyleChanged(int index)
{
    if (filling_ || !chartPen_ || index < 0)
        return;
    chartPen_->SetEndStyle(static_cast<TPenEndStyle>(index));
    modified_ = true;
}

void TPenDialog::SpaceChanged(int value)
{
    if (filling_ || !chartPen_)
        return;
    chartPen_->SetSmallSpace(value);
    modified_ = true;
}

void TPenDialog::reject()
{
    if (modified_) {
        ChangeWithOneEvent(pen_, [this] { pen_.Assign(*backup_); });
        modified_ = false;
    }
    QDialog::reject();
}

bool ShowPenEditor(const EditorDialogs& dialogs, QWidget* owner, TPen& pen, bool hideColor)
{
    auto dialog = CreateEditorForm<TPenDialog>(owner, pen, hideColor, dialogs);
    return RunEditorDialog(dialogs, *dialog) == QDialog::Accepted;
}
