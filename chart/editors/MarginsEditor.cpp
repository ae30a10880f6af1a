#include "chart/editors/MarginsEditor.h"

#include "chart/editors/EditorRoutines.h"
#include "chart/engine/SeriesMarks.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* MarginSpin(const char* name, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(-32000, 32000);
    return spin;
}

} // namespace

TMarginsEditor::TMarginsEditor(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MarginsEditor"));
    setWindowTitle(QStringLiteral("MarginsEditor"));

    unitsGroup = new QGroupBox(QStringLiteral("&Units:"), this);
    unitsGroup->setObjectName(QStringLiteral("UnitsGroup"));
    percentFontRadio = new QRadioButton(QStringLiteral("Percent &Font"), unitsGroup);
    percentFontRadio->setObjectName(QStringLiteral("PercentFontRadio"));
    percentSizeRadio = new QRadioButton(QStringLiteral("P&ercent Size"), unitsGroup);
    percentSizeRadio->setObjectName(QStringLiteral("PercentSizeRadio"));
    pixelsRadio = new QRadioButton(QStringLiteral("P&ixels"), unitsGroup);
    pixelsRadio->setObjectName(QStringLiteral("PixelsRadio"));
    units_ = new QButtonGroup(this);
    units_->addButton(percentFontRadio, maPercentFont);
    units_->addButton(percentSizeRadio, maPercentSize);
    units_->addButton(pixelsRadio, maPixels);
    auto* unitsLayout = new QVBoxLayout(unitsGroup);
    unitsLayout->addWidget(percentFontRadio);
    unitsLayout->addWidget(percentSizeRadio);
    unitsLayout->addWidget(pixelsRadio);

    leftSpin = MarginSpin("LeftSpin", this);
    topSpin = MarginSpin("TopSpin", this);
    rightSpin = MarginSpin("RightSpin", this);
    bottomSpin = MarginSpin("BottomSpin", this);
    auto* grid = new QGridLayout;
    int row = 0;
    for (auto [caption, spin] : {std::pair{"&Left:", leftSpin}, std::pair{"&Top:", topSpin},
                                 std::pair{"&Right:", rightSpin}, std::pair{"&Bottom:", bottomSpin}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(spin);
        grid->addWidget(label, row, 0);
        grid->addWidget(spin, row, 1);
        ++row;
    }
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(unitsGroup);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(units_, &QButtonGroup::idClicked, this, [this](int id) {
        if (!filling_ && margins_)
            margins_->SetUnits(static_cast<TMarginUnits>(id));
    });
    connect(leftSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && margins_)
            margins_->SetLeft(value);
    });
    connect(topSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && margins_)
            margins_->SetTop(value);
    });
    connect(rightSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && margins_)
            margins_->SetRight(value);
    });
    connect(bottomSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && margins_)
            margins_->SetBottom(value);
    });
}

void TMarginsEditor::RefreshControls(TMargins& margins)
{
    margins_ = &margins;
    const FillGuard guard(filling_);
    if (QAbstractButton* b = units_->button(margins.Units()))
        b->setChecked(true);
    leftSpin->setValue(margins.Left());
    topSpin->setValue(margins.Top());
    rightSpin->setValue(margins.Right());
    bottomSpin->setValue(margins.Bottom());
}

TMarginsEditor* CreateMarginsEditorPage(QWidget* page, TMargins& margins)
{
    auto* editor = new TMarginsEditor(page);
    editor->RefreshControls(margins);
    EmbedEditorForm(editor, page);
    return editor;
}
