#include "chart/editors/AnnotationToolEditor.h"

#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/MarginsEditor.h"
#include "chart/editors/SeriesPointerEditor.h"
#include "chart/editors/ShapeEditor.h"
#include "chart/editors/StringsEditor.h"
#include "chart/tools/AnnotationTool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr QChar kLineFeed(10);
constexpr QChar kReturn(13);
// Left and top in percent of the chart's size go no further than its far edge.
constexpr int kMostPercent = 100;

QSpinBox* Spin(const char* name, int minimum, int maximum, QWidget* parent)
{
    auto* spin = NamedControl(new QSpinBox(parent), name);
    spin->setRange(minimum, maximum);
    return spin;
}

QWidget* Page(const char* name)
{
    return NamedControl(new QWidget, name);
}

// The alignment combo lists left, centre, right; the enumeration has centre last.
constexpr TAlignment kAlignments[] = {taLeftJustify, taCenter, taRightJustify};

int AlignmentItem(TAlignment alignment)
{
    for (int i = 0; i < 3; ++i)
        if (kAlignments[i] == alignment)
            return i;
    return -1;
}

} // namespace

QString AnnotationTextToMemo(const QString& text)
{
    QString memo = text;
    memo.replace(QStringLiteral("\r\n"), QString(kReturn));
    memo.remove(kLineFeed);
    memo.replace(kReturn, kLineFeed);
    return memo;
}

QString MemoToAnnotationText(const QString& memo)
{
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QString(kLineFeed));
    text.replace(kReturn, kLineFeed);
    text.replace(kLineFeed, kReturn);
    return text;
}

TAnnotationToolEdit::TAnnotationToolEdit(const EditorDialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("AnnotationToolEdit"));
    pages = NamedControl(new QTabWidget(this), "PageControl");
    BuildOptionsPage();
    BuildPositionPage();
    BuildSizePage();
    BuildCalloutPage();
    marginsPage = Page("MarginsPage");
    marginsEditor_ = new TMarginsEditor;
    EmbedEditorForm(marginsEditor_, marginsPage);
    pages->addTab(optionsPage, QStringLiteral("Options"));
    pages->addTab(positionPage, QStringLiteral("Position"));
    pages->addTab(sizePage, QStringLiteral("Size"));
    pages->addTab(calloutPage, QStringLiteral("Callout"));
    pages->addTab(marginsPage, QStringLiteral("Margins"));
    shapeEditor_ = new TFormPlotShape(dialogs_, this);
    shapeEditor_->hide();
    shapeEditor_->MovePagesTo(pages);
    pages->setCurrentWidget(optionsPage);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);
    ConnectControls();
    EnableControls();
}

void TAnnotationToolEdit::BuildOptionsPage()
{
    optionsPage = Page("OptionsPage");
    textMemo = NamedControl(new QPlainTextEdit(optionsPage), "TextMemo");
    textMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    alignmentCombo = NamedControl(new QComboBox(optionsPage), "AlignmentCombo");
    alignmentCombo->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    cursorCombo = NamedControl(new QComboBox(optionsPage), "CursorCombo");
    cursorLabel = BuddyLabel("&Cursor:", cursorCombo, optionsPage);
    visibleCheck = NamedControl(new QCheckBox(QStringLiteral("&Visible"), optionsPage), "VisibleCheck");
    clipTextCheck = NamedControl(new QCheckBox(QStringLiteral("C&lip Text"), optionsPage), "ClipTextCheck");
    editButton = NamedControl(new QPushButton(QStringLiteral("&Edit..."), optionsPage), "EditButton");
    auto* grid = new QGridLayout(optionsPage);
    grid->addWidget(textMemo, 0, 0, 1, 3);
    grid->addWidget(editButton, 0, 3, Qt::AlignTop);
    grid->addWidget(BuddyLabel("Text &alignment:", alignmentCombo, optionsPage), 1, 0);
    grid->addWidget(alignmentCombo, 1, 1);
    grid->addWidget(visibleCheck, 1, 2);
    grid->addWidget(cursorLabel, 2, 0);
    grid->addWidget(cursorCombo, 2, 1);
    grid->addWidget(clipTextCheck, 2, 2);
    grid->setRowStretch(0, 1);
}

void TAnnotationToolEdit::BuildPositionPage()
{
    positionPage = Page("PositionPage");
    positionCombo = NamedControl(new QComboBox(positionPage), "PositionCombo");
    positionCombo->addItems({QStringLiteral("Left top"), QStringLiteral("Left bottom"), QStringLiteral("Right top"),
                             QStringLiteral("Right bottom"), QStringLiteral("Center")});
    customCheck = NamedControl(new QCheckBox(QStringLiteral("&Custom"), positionPage), "CustomCheck");
    leftSpin = Spin("LeftSpin", -32000, 32000, positionPage);
    topSpin = Spin("TopSpin", -32000, 32000, positionPage);
    for (QSpinBox* spin : {leftSpin, topSpin})
        spin->setSingleStep(5);
    leftLabel_ = BuddyLabel("L&eft:", leftSpin, positionPage);
    topLabel_ = BuddyLabel("T&op:", topSpin, positionPage);
    unitsCombo = NamedControl(new QComboBox(positionPage), "UnitsCombo");
    unitsCombo->addItems({QStringLiteral("Percent"), QStringLiteral("Pixels")});
    unitsLabel_ = BuddyLabel("&Units:", unitsCombo, positionPage);
    auto* grid = new QGridLayout(positionPage);
    grid->addWidget(BuddyLabel("&Auto:", positionCombo, positionPage), 0, 0);
    grid->addWidget(positionCombo, 0, 1);
    grid->addWidget(customCheck, 1, 0, 1, 2);
    grid->addWidget(leftLabel_, 2, 0);
    grid->addWidget(leftSpin, 2, 1);
    grid->addWidget(topLabel_, 3, 0);
    grid->addWidget(topSpin, 3, 1);
    grid->addWidget(unitsLabel_, 4, 0);
    grid->addWidget(unitsCombo, 4, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
}

void TAnnotationToolEdit::BuildSizePage()
{
    sizePage = Page("SizePage");
    autoSizeCheck = NamedControl(new QCheckBox(QStringLiteral("&Automatic"), sizePage), "AutoSizeCheck");
    widthSpin = Spin("WidthSpin", 0, 32000, sizePage);
    heightSpin = Spin("HeightSpin", 0, 32000, sizePage);
    widthLabel_ = BuddyLabel("&Width:", widthSpin, sizePage);
    heightLabel_ = BuddyLabel("&Height:", heightSpin, sizePage);
    auto* grid = new QGridLayout(sizePage);
    grid->addWidget(autoSizeCheck, 0, 0, 1, 2);
    grid->addWidget(widthLabel_, 1, 0);
    grid->addWidget(widthSpin, 1, 1);
    grid->addWidget(heightLabel_, 2, 0);
    grid->addWidget(heightSpin, 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
}

void TAnnotationToolEdit::BuildCalloutPage()
{
    calloutPage = Page("CalloutPage");
    calloutBorderButton = NamedControl(new TButtonPen(calloutPage), "CalloutBorderButton");
    calloutBorderButton->setText(QStringLiteral("&Border..."));
    calloutBorderButton->Dialogs = &dialogs_;
    pointerButton = NamedControl(new QPushButton(QStringLiteral("&Pointer..."), calloutPage), "PointerButton");
    xEdit = NamedControl(new QLineEdit(calloutPage), "XEdit");
    yEdit = NamedControl(new QLineEdit(calloutPage), "YEdit");
    zEdit = NamedControl(new QLineEdit(calloutPage), "ZEdit");
    distanceSpin = Spin("DistanceSpin", -32000, 32000, calloutPage);
    arrowHeadCombo = NamedControl(new QComboBox(calloutPage), "ArrowHeadCombo");
    arrowHeadCombo->addItems({QStringLiteral("None"), QStringLiteral("Line"), QStringLiteral("Solid")});
    arrowHeadSizeSpin = Spin("ArrowHeadSizeSpin", -10000, 10000, calloutPage);
    auto* grid = new QGridLayout(calloutPage);
    grid->addWidget(calloutBorderButton, 0, 0, 1, 2);
    grid->addWidget(pointerButton, 0, 2, 1, 2);
    grid->addWidget(BuddyLabel("&X:", xEdit, calloutPage), 1, 0);
    grid->addWidget(xEdit, 1, 1);
    grid->addWidget(BuddyLabel("&Y:", yEdit, calloutPage), 2, 0);
    grid->addWidget(yEdit, 2, 1);
    grid->addWidget(BuddyLabel("&Z:", zEdit, calloutPage), 3, 0);
    grid->addWidget(zEdit, 3, 1);
    grid->addWidget(BuddyLabel("&Distance:", distanceSpin, calloutPage), 1, 2);
    grid->addWidget(distanceSpin, 1, 3);
    grid->addWidget(BuddyLabel("&Arrow head:", arrowHeadCombo, calloutPage), 2, 2);
    grid->addWidget(arrowHeadCombo, 2, 3);
    grid->addWidget(BuddyLabel("&Size:", arrowHeadSizeSpin, calloutPage), 3, 2);
    grid->addWidget(arrowHeadSizeSpin, 3, 3);
    grid->setRowStretch(4, 1);
}

template <class Fn>
void TAnnotationToolEdit::Write(Fn&& change)
{
    if (!filling_ && tool_)
        change();
}

void TAnnotationToolEdit::ConnectControls()
{
    connect(textMemo, &QPlainTextEdit::textChanged, this,
            [this] { Write([&] { tool_->SetText(MemoToAnnotationText(textMemo->toPlainText())); }); });
    connect(alignmentCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Write([&] { tool_->SetTextAlignment(kAlignments[index]); });
    });
    connect(cursorCombo, &QComboBox::currentIndexChanged, this, [this] {
        Write([&] { tool_->SetCursor(CursorFromName(tool_->Cursor(), cursorCombo->currentText())); });
    });
    connect(visibleCheck, &QCheckBox::toggled, this, [this](bool on) { Write([&] { tool_->Shape().SetVisible(on); }); });
    connect(clipTextCheck, &QCheckBox::toggled, this, [this](bool on) { Write([&] { tool_->SetClipText(on); }); });
    connect(editButton, &QPushButton::clicked, this, &TAnnotationToolEdit::EditText);

    connect(positionCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        Write([&] {
            tool_->SetPosition(static_cast<TAnnotationPosition>(index));
            // A corner of the chart replaces the position of its own.
            FillPosition();
        });
    });
    connect(customCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { tool_->Shape().SetCustomPosition(on); });
        EnableControls();
    });
    connect(leftSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (customCheck->isChecked())
            Write([&] { tool_->SetLeft(value); });
    });
    connect(topSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (customCheck->isChecked())
            Write([&] { tool_->SetTop(value); });
    });
    connect(unitsCombo, &QComboBox::currentIndexChanged, this, &TAnnotationToolEdit::UnitsChosen);

    connect(autoSizeCheck, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { tool_->SetAutoSize(on); });
        EnableControls();
    });
    connect(widthSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!autoSizeCheck->isChecked())
            Write([&] { tool_->SetWidth(value); });
    });
    connect(heightSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!autoSizeCheck->isChecked())
            Write([&] { tool_->SetHeight(value); });
    });

    connect(pointerButton, &QPushButton::clicked, this, [this] {
        if (tool_)
            ShowCalloutPointerEditor(dialogs_, this, tool_->Callout());
    });
    for (QLineEdit* edit : {xEdit, yEdit, zEdit})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { WriteCalloutPosition(edit); });
    connect(distanceSpin, &QSpinBox::valueChanged, this,
            [this](int value) { Write([&] { tool_->Callout().SetDistance(value); }); });
    connect(arrowHeadCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Write([&] { tool_->Callout().SetArrowHead(static_cast<TArrowHeadStyle>(index)); });
    });
    connect(arrowHeadSizeSpin, &QSpinBox::valueChanged, this,
            [this](int value) { Write([&] { tool_->Callout().SetArrowHeadSize(value); }); });
}

void TAnnotationToolEdit::RefreshControls(TAnnotationTool& tool)
{
    tool_ = &tool;
    shapeEditor_->RefreshControls(tool.Shape());
    marginsEditor_->RefreshControls(tool.Shape().Margins());
    const FillGuard guard(filling_);
    textMemo->setPlainText(AnnotationTextToMemo(tool.Text()));
    alignmentCombo->setCurrentIndex(AlignmentItem(tool.TextAlignment()));
    visibleCheck->setChecked(tool.Shape().Visible());
    clipTextCheck->setChecked(tool.ClipText());
    FillCursorCombo(*cursorCombo, tool.Cursor());
    FillPosition();
    autoSizeCheck->setChecked(tool.AutoSize());
    widthSpin->setValue(tool.Width());
    heightSpin->setValue(tool.Height());
    TAnnotationCallout& callout = tool.Callout();
    calloutBorderButton->LinkPen(&callout.Arrow());
    xEdit->setText(QString::number(callout.XPosition()));
    yEdit->setText(QString::number(callout.YPosition()));
    zEdit->setText(QString::number(callout.ZPosition()));
    distanceSpin->setValue(callout.Distance());
    arrowHeadCombo->setCurrentIndex(static_cast<int>(callout.ArrowHead()));
    arrowHeadSizeSpin->setValue(callout.ArrowHeadSize());
    EnableControls();
}

void TAnnotationToolEdit::FillPosition()
{
    const FillGuard guard(filling_);
    positionCombo->setCurrentIndex(static_cast<int>(tool_->Position()));
    customCheck->setChecked(tool_->Shape().CustomPosition());
    leftSpin->setValue(tool_->Left());
    topSpin->setValue(tool_->Top());
    unitsCombo->setCurrentIndex(tool_->PositionUnits() == muPercent ? 0 : 1);
    EnableControls();
}

void TAnnotationToolEdit::EnableControls()
{
    const bool custom = customCheck->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(leftLabel_), static_cast<QWidget*>(leftSpin),
                       static_cast<QWidget*>(topLabel_), static_cast<QWidget*>(topSpin),
                       static_cast<QWidget*>(unitsLabel_), static_cast<QWidget*>(unitsCombo)})
        w->setEnabled(custom);
    const bool ownSize = !autoSizeCheck->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(widthLabel_), static_cast<QWidget*>(widthSpin),
                       static_cast<QWidget*>(heightLabel_), static_cast<QWidget*>(heightSpin)})
        w->setEnabled(ownSize);
}

void TAnnotationToolEdit::UnitsChosen(int index)
{
    if (index < 0 || filling_ || !tool_)
        return;
    const bool percent = index == 0;
    tool_->SetPositionUnits(percent ? muPercent : muPixels);
    if (!percent)
        return;
    // The spins write the clamped values, as any change of theirs.
    for (QSpinBox* spin : {leftSpin, topSpin})
        if (spin->value() > kMostPercent)
            spin->setValue(kMostPercent);
}

void TAnnotationToolEdit::EditText()
{
    QStringList lines = textMemo->toPlainText().split(kLineFeed);
    if (ShowStringsEditor(dialogs_, this, lines, false))
        textMemo->setPlainText(lines.join(kLineFeed));
}

void TAnnotationToolEdit::WriteCalloutPosition(QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    // Half-typed or foreign text leaves the callout where it is.
    if (!ok)
        return;
    Write([&] {
        TAnnotationCallout& callout = tool_->Callout();
        if (edit == xEdit)
            callout.SetXPosition(value);
        else if (edit == yEdit)
            callout.SetYPosition(value);
        else
            callout.SetZPosition(value);
    });
}
