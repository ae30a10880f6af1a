#include "chart/editors/FontEditor.h"

#include "chart/canvas/PlotControls.h"
#include "chart/canvas/PlotFont.h"
#include "chart/editors/BackImageEditor.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/ShadowEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

bool ShowFontDialog(const EditorDialogs& dialogs, QWidget* owner, TFont& font)
{
    QFont shown(font.Name());
    shown.setPointSize(std::max(1, font.Size()));
    shown.setBold(font.Style() & fsBold);
    shown.setItalic(font.Style() & fsItalic);
    shown.setUnderline(font.Style() & fsUnderline);
    shown.setStrikeOut(font.Style() & fsStrikeOut);
    const auto& ask = dialogs.Font ? dialogs.Font : DefaultEditorDialogs().Font;
    const std::optional<QFont> chosen = ask(owner, shown);
    if (!chosen)
        return false;
    font.SetName(chosen->family());
    if (chosen->pointSize() > 0)
        font.SetSize(chosen->pointSize());
    TFontStyles style = 0;
    if (chosen->bold())
        style |= fsBold;
    if (chosen->italic())
        style |= fsItalic;
    if (chosen->underline())
        style |= fsUnderline;
    if (chosen->strikeOut())
        style |= fsStrikeOut;
    font.SetStyle(style);
    return true;
}

TPlotFontEditor::TPlotFontEditor(const EditorDialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FontEditor"));
    setWindowTitle(QStringLiteral("PlotFont Editor"));
    pages = NamedControl(new QTabWidget(this), "PageControl");

    fontPage = NamedControl(new QWidget, "FontPage");
    nameCombo = NamedControl(new QComboBox(fontPage), "NameCombo");
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    nameCombo->addItems(families);
    sizeSpin = NamedControl(new QSpinBox(fontPage), "SizeSpin");
    sizeSpin->setRange(1, 1500);
    styleGroup = NamedControl(new QGroupBox(QStringLiteral("Style:"), fontPage), "StyleGroup");
    italicCheck = NamedControl(new QCheckBox(QStringLiteral("&Italic"), styleGroup), "ItalicCheck");
    boldCheck = NamedControl(new QCheckBox(QStringLiteral("&Bold"), styleGroup), "BoldCheck");
    strikeoutCheck = NamedControl(new QCheckBox(QStringLiteral("Strikeout"), styleGroup), "StrikeoutCheck");
    underlineCheck = NamedControl(new QCheckBox(QStringLiteral("&Underline"), styleGroup), "UnderlineCheck");
    auto* styleLayout = new QVBoxLayout(styleGroup);
    for (QCheckBox* c : {italicCheck, boldCheck, strikeoutCheck, underlineCheck})
        styleLayout->addWidget(c);
    colorButton = NamedControl(new TButtonColor(fontPage), "ColorButton");
    colorButton->setText(QStringLiteral("&Color..."));
    editButton = NamedControl(new QPushButton(QStringLiteral("&Edit..."), fontPage), "EditButton");
    auto* fontLayout = new QGridLayout(fontPage);
    fontLayout->addWidget(BuddyLabel("&Name:", nameCombo, fontPage), 0, 0);
    fontLayout->addWidget(nameCombo, 0, 1, 1, 2);
    fontLayout->addWidget(BuddyLabel("&Size:", sizeSpin, fontPage), 1, 0);
    fontLayout->addWidget(sizeSpin, 1, 1);
    fontLayout->addWidget(styleGroup, 2, 0, 2, 2);
    fontLayout->addWidget(colorButton, 2, 2);
    fontLayout->addWidget(editButton, 3, 2, Qt::AlignTop);
    fontLayout->setRowStretch(4, 1);

    optionsPage = NamedControl(new QWidget, "OptionsPage");
    interCharSpin = NamedControl(new QSpinBox(optionsPage), "InterCharSpin");
    interCharSpin->setRange(-100, 100);
    outlineButton = NamedControl(new TButtonPen(optionsPage), "OutlineButton");
    outlineButton->setText(QStringLiteral("&Outline..."));
    outlineButton->Dialogs = &dialogs_;
    outlineGradientCheck = NamedControl(new QCheckBox(QStringLiteral("O&utline gradient"), optionsPage), "OutlineGradientCheck");
    auto* optionsLayout = new QGridLayout(optionsPage);
    optionsLayout->addWidget(BuddyLabel("&Inter-char spacing:", interCharSpin, optionsPage), 0, 0);
    optionsLayout->addWidget(interCharSpin, 0, 1);
    optionsLayout->addWidget(outlineButton, 1, 0);
    optionsLayout->addWidget(outlineGradientCheck, 2, 0, 1, 2);
    optionsLayout->setRowStretch(3, 1);

    shadowPage = NamedControl(new QWidget, "ShadowPage");
    gradientPage = NamedControl(new QWidget, "GradientPage");
    picturePage = NamedControl(new QWidget, "PicturePage");
    pages->addTab(fontPage, QStringLiteral("Font"));
    pages->addTab(optionsPage, QStringLiteral("Options"));
    pages->addTab(shadowPage, QStringLiteral("Shadow"));
    pages->addTab(gradientPage, QStringLiteral("Gradient"));
    pages->addTab(picturePage, QStringLiteral("Picture"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);

    LinkColorButton(*colorButton, dialogs_, [this] { return font_ ? font_->Color() : clNone; },
                    [this](TColor colour) {
                        if (font_)
                            font_->SetColor(colour);
                    });
    connect(nameCombo, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (!filling_ && font_ && !name.isEmpty())
            font_->SetName(name);
    });
    connect(sizeSpin, &QSpinBox::valueChanged, this, [this](int size) {
        if (!filling_ && font_)
            font_->SetSize(size);
    });
    const std::pair<QCheckBox*, int> bits[] = {
        {italicCheck, fsItalic}, {boldCheck, fsBold}, {strikeoutCheck, fsStrikeOut}, {underlineCheck, fsUnderline}};
    for (auto [check, bit] : bits)
        connect(check, &QCheckBox::toggled, this, [this, bit](bool on) { StyleBit(bit, on); });
    connect(editButton, &QPushButton::clicked, this, &TPlotFontEditor::EditFont);
    connect(interCharSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && font_)
            font_->SetInterCharSize(value);
    });
    // The outline pen is made only when it is edited.
    connect(outlineButton, &QPushButton::pressed, this, [this] {
        if (font_)
            outlineButton->LinkPen(&font_->OutLine());
    });
    connect(outlineGradientCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && font_)
            font_->Gradient().SetOutline(on);
    });
    connect(pages, &QTabWidget::currentChanged, this, &TPlotFontEditor::PageShown);
}

void TPlotFontEditor::RefreshControls(TPlotFont& font)
{
    font_ = &font;
    Fill();
    if (shadowEditor_)
        shadowEditor_->RefreshControls(font.Shadow());
    if (gradientEditor_)
        gradientEditor_->RefreshControls(font.Gradient());
    if (pictureEditor_)
        pictureEditor_->RefreshControls(font.Picture());
}

void TPlotFontEditor::Fill()
{
    const FillGuard guard(filling_);
    TPlotFont& f = *font_;
    int at = nameCombo->findText(f.Name(), Qt::MatchFixedString);
    if (at < 0) {
        // A face the screen does not list (a name from a stored chart) is still shown.
        at = 0;
        while (at < nameCombo->count() && QString::compare(nameCombo->itemText(at), f.Name(), Qt::CaseInsensitive) < 0)
            ++at;
        nameCombo->insertItem(at, f.Name());
    }
    nameCombo->setCurrentIndex(at);
    sizeSpin->setValue(f.Size());
    italicCheck->setChecked(f.Style() & fsItalic);
    boldCheck->setChecked(f.Style() & fsBold);
    strikeoutCheck->setChecked(f.Style() & fsStrikeOut);
    underlineCheck->setChecked(f.Style() & fsUnderline);
    interCharSpin->setValue(f.InterCharSize());
    outlineButton->LinkPen(f.HasOutLine() ? &f.OutLine() : nullptr);
    outlineGradientCheck->setChecked(f.HasGradient() && f.Gradient().Outline());
    colorButton->update();
}

void TPlotFontEditor::StyleBit(int bit, bool on)
{
    if (filling_ || !font_)
        return;
    const auto style = static_cast<TFontStyles>(on ? (font_->Style() | bit) : (font_->Style() & ~bit));
    font_->SetStyle(style);
}

void TPlotFontEditor::EditFont()
{
    if (font_ && ShowFontDialog(dialogs_, this, *font_))
        Fill();
}

void TPlotFontEditor::PageShown(int index)
{
    if (!font_)
        return;
    QWidget* page = pages->widget(index);
    if (page == shadowPage && !shadowEditor_)
        shadowEditor_ = CreateShadowEditorPage(dialogs_, shadowPage, font_->Shadow());
    else if (page == gradientPage && !gradientEditor_)
        gradientEditor_ = CreateGradientEditorPage(dialogs_, gradientPage, font_->Gradient());
    else if (page == picturePage && !pictureEditor_)
        pictureEditor_ = CreateBackImageEditorPage(dialogs_, picturePage, font_->Picture());
}

TPlotFontEditor* CreateFontEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotFont& font)
{
    auto* editor = new TPlotFontEditor(dialogs, page);
    editor->RefreshControls(font);
    EmbedEditorForm(editor, page);
    return editor;
}
