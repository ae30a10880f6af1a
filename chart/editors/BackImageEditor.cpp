#include "chart/editors/BackImageEditor.h"

#include "chart/canvas/PlotPanelExtended.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/engine/PlotMessages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewSize = 96;

} // namespace

TBackImageEditor::TBackImageEditor(const EditorDialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("BackImageEditor"));
    InitChartMessages();

    previewImage = NamedControl(new QLabel(this), "PreviewImage");
    previewImage->setFixedSize(kPreviewSize, kPreviewSize);
    previewImage->setAlignment(Qt::AlignCenter);
    previewImage->setFrameShape(QFrame::StyledPanel);
    sizeLabel = NamedControl(new QLabel(this), "SizeLabel");
    formatLabel = NamedControl(new QLabel(this), "FormatLabel");

    styleGroup = NamedControl(new QGroupBox(QStringLiteral("St&yle"), this), "StyleGroup");
    stretchRadio = NamedControl(new QRadioButton(QStringLiteral("Stretch"), styleGroup), "StretchRadio");
    tileRadio = NamedControl(new QRadioButton(QStringLiteral("Tile"), styleGroup), "TileRadio");
    centerRadio = NamedControl(new QRadioButton(QStringLiteral("Center"), styleGroup), "CenterRadio");
    customRadio = NamedControl(new QRadioButton(QStringLiteral("C&ustom"), styleGroup), "CustomRadio");
    modes_ = new QButtonGroup(this);
    auto* styleLayout = new QVBoxLayout(styleGroup);
    int mode = pbmStretch;
    for (QRadioButton* r : {stretchRadio, tileRadio, centerRadio, customRadio}) {
        modes_->addButton(r, mode++);
        styleLayout->addWidget(r);
    }

    browseButton = NamedControl(new QPushButton(PlotMessage(PlotMsg::EditorBrowse), this), "BrowseButton");
    transparentCheck = NamedControl(new QCheckBox(QStringLiteral("&Transparent"), this), "TransparentCheck");
    filtersButton = NamedControl(new QPushButton(PlotMessage(PlotMsg::EditorFilters), this), "FiltersButton");

    positionGroup = NamedControl(new QGroupBox(QStringLiteral("Position:"), this), "PositionGroup");
    leftSpin = NamedControl(new QSpinBox(positionGroup), "LeftSpin");
    topSpin = NamedControl(new QSpinBox(positionGroup), "TopSpin");
    auto* positionLayout = new QGridLayout(positionGroup);
    int row = 0;
    for (auto [caption, spin] : {std::pair{"&Left:", leftSpin}, std::pair{"T&op:", topSpin}}) {
        spin->setRange(-32000, 32000);
        auto* label = new QLabel(QString::fromLatin1(caption), positionGroup);
        label->setBuddy(spin);
        positionLayout->addWidget(label, row, 0);
        positionLayout->addWidget(spin, row, 1);
        ++row;
    }

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(previewImage);
    pictureColumn->addWidget(sizeLabel);
    pictureColumn->addWidget(formatLabel);
    pictureColumn->addStretch(1);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(browseButton);
    buttonColumn->addWidget(transparentCheck);
    buttonColumn->addWidget(filtersButton);
    buttonColumn->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(pictureColumn, 0, 0, 2, 1);
    layout->addWidget(styleGroup, 0, 1);
    layout->addLayout(buttonColumn, 0, 2);
    layout->addWidget(positionGroup, 1, 1, 1, 2);
    layout->setRowStretch(2, 1);

    connect(modes_, &QButtonGroup::idClicked, this, [this](int id) {
        if (!filling_ && backImage_)
            backImage_->SetMode(static_cast<TPlotBackImageMode>(id));
        EnableControls();
    });
    connect(leftSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && backImage_ && backImage_->Mode() == pbmCustom)
            backImage_->SetLeft(value);
    });
    connect(topSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && backImage_ && backImage_->Mode() == pbmCustom)
            backImage_->SetTop(value);
    });
    connect(transparentCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && picture_)
            picture_->SetTransparent(on);
    });
    connect(browseButton, &QPushButton::clicked, this, &TBackImageEditor::Browse);
    connect(filtersButton, &QPushButton::clicked, this, &TBackImageEditor::EditFilters);
    EnableControls();
}

void TBackImageEditor::RefreshControls(TBackImage& image)
{
    picture_ = &image;
    backImage_ = &image;
    Fill();
}

void TBackImageEditor::RefreshControls(TPlotPicture& picture)
{
    picture_ = &picture;
    backImage_ = nullptr;
    Fill();
}

void TBackImageEditor::Fill()
{
    const FillGuard guard(filling_);
    styleGroup->setVisible(backImage_ != nullptr);
    positionGroup->setVisible(backImage_ != nullptr);
    if (backImage_) {
        if (QAbstractButton* b = modes_->button(backImage_->Mode()))
            b->setChecked(true);
        leftSpin->setValue(backImage_->Left());
        topSpin->setValue(backImage_->Top());
    }
    transparentCheck->setChecked(picture_ && picture_->Transparent());
    ShowPicture();
}

void TBackImageEditor::ShowPicture()
{
    const bool loaded = picture_ && picture_->HasGraphic();
    if (loaded) {
        const QImage shown = picture_->FilteredGraphic();
        previewImage->setPixmap(QPixmap::fromImage(
            shown.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        sizeLabel->setText(QStringLiteral("%1x%2").arg(picture_->Graphic().width()).arg(picture_->Graphic().height()));
        formatLabel->setText(PictureFormat(picture_->Graphic()));
    } else {
        previewImage->clear();
        sizeLabel->setText(QStringLiteral("0x0"));
        formatLabel->clear();
    }
    browseButton->setText(PlotMessage(loaded ? PlotMsg::EditorClear : PlotMsg::EditorBrowse));
    EnableControls();
}

void TBackImageEditor::EnableControls()
{
    const bool loaded = picture_ && picture_->HasGraphic();
    styleGroup->setEnabled(loaded);
    transparentCheck->setEnabled(loaded);
    positionGroup->setEnabled(backImage_ && modes_->checkedId() == pbmCustom);
    filtersButton->setEnabled(picture_ && static_cast<bool>(dialogs_.Filters));
}

void TBackImageEditor::Browse()
{
    if (!picture_)
        return;
    if (picture_->HasGraphic()) {
        picture_->SetGraphic(QImage());
        ShowPicture();
        return;
    }
    const auto& ask = dialogs_.PictureFile ? dialogs_.PictureFile : DefaultEditorDialogs().PictureFile;
    const QString fileName = ask(this, PictureFileFilter());
    if (fileName.isEmpty())
        return;
    QImage picture;
    QString error;
    if (!LoadPictureFile(fileName, picture, error)) {
        const auto& report = dialogs_.Error ? dialogs_.Error : DefaultEditorDialogs().Error;
        report(this, error);
        return;
    }
    picture_->SetGraphic(picture);
    ShowPicture();
}

void TBackImageEditor::EditFilters()
{
    if (!picture_ || !dialogs_.Filters)
        return;
    if (dialogs_.Filters(this, picture_->Graphic(), picture_->Filters())) {
        NotifyGraphicChanged(*picture_);
        ShowPicture();
    }
}

namespace {

template <class Picture>
TBackImageEditor* EmbedBackImageEditor(const EditorDialogs& dialogs, QWidget* page, Picture& picture)
{
    auto* editor = new TBackImageEditor(dialogs, page);
    editor->RefreshControls(picture);
    EmbedEditorForm(editor, page);
    return editor;
}

} // namespace

TBackImageEditor* CreateBackImageEditorPage(const EditorDialogs& dialogs, QWidget* page, TBackImage& image)
{
    return EmbedBackImageEditor(dialogs, page, image);
}

TBackImageEditor* CreateBackImageEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotPicture& picture)
{
    return EmbedBackImageEditor(dialogs, page, picture);
}
