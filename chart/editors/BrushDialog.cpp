#include "chart/editors/BrushDialog.h"

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotControls.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>

// Outside any namespace, as the resource initialiser must be.
static void InitBrushResources()
{
    Q_INIT_RESOURCE(editors);
}

namespace {

const char* const kItemNames[TBrushDialog::kItemCount] = {
    "Solid", "None", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross", "Diagonal Cross",
    "Fill 80%", "Fill 60%", "Fill 40%", "Fill 20%", "Fill 10%", "Zig zag", "Vertical small", "Horiz. small",
    "Diag. small", "Back Diag. small", "Cross small", "Diag. Cross small",
    "Metal", "Wood", "Stone", "Clouds", "Grass", "Fire", "Snow"};

constexpr int kSampleWidth = 28;
constexpr int kPreviewSize = 64;

TColor ToColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// Each item shows a sample of the brush colour in its style, pattern or texture, then its name.
class BrushItemDelegate : public QStyledItemDelegate {
public:
    BrushItemDelegate(const TChartBrush& brush, QObject* parent) : QStyledItemDelegate(parent), brush_(brush) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor back = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const int row = index.row();
        const QRect sample(option.rect.left() + 2, option.rect.top() + 2, kSampleWidth, option.rect.height() - 4);
        painter->save();
        painter->fillRect(option.rect, back);
        if (row < TBrushDialog::kStyleItems) {
            const TColor colour = SampleColorOn(brush_.Color() == clDefault ? clBlack : brush_.Color(), ToColor(back));
            painter->drawImage(sample.topLeft(), DrawCanvasPicture(sample.size(), ToColor(back), [&](TPlotCanvas3D& c) {
                c.Brush().SetColor(colour);
                c.Brush().SetStyle(static_cast<TBrushStyle>(row));
                c.SetBackMode(cbmTransparent);
                c.Pen().SetStyle(psClear);
                c.Rectangle(0, 0, sample.width() + 1, sample.height() + 1);
            }));
        } else {
            painter->setBrush(QBrush(BrushItemPicture(row).convertToFormat(QImage::Format_RGB32)));
            painter->setPen(Qt::NoPen);
            painter->setBrushOrigin(sample.topLeft());
            painter->drawRect(sample);
        }
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(kSampleWidth + 6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data().toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + kSampleWidth + 6, std::max(size.height(), 18));
    }

private:
    const TChartBrush& brush_;
};

// A pattern as the canvas expects it: one bit deep with colour 0 black (drawn in the brush
// colour) and colour 1 white (the back colour).
QImage ToPattern(const QImage& source)
{
    QImage pattern(source.size(), QImage::Format_Mono);
    pattern.setColorCount(2);
    pattern.setColor(0, qRgb(0, 0, 0));
    pattern.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            pattern.setPixel(x, y, qGray(source.pixel(x, y)) > 127 ? 1 : 0);
    return pattern;
}

} // namespace

QImage BrushItemPicture(int item)
{
    InitBrushResources();
    if (item >= TBrushDialog::kFirstPattern && item < TBrushDialog::kFirstTexture) {
        const QImage source(QStringLiteral(":/editors/PlotBrush%1.png").arg(item - TBrushDialog::kFirstPattern + 1));
        return source.isNull() ? QImage() : ToPattern(source);
    }
    if (item >= TBrushDialog::kFirstTexture && item < TBrushDialog::kItemCount) {
        const QImage source(QStringLiteral(":/editors/%1.png").arg(QString::fromLatin1(kItemNames[item])));
        return source.convertToFormat(QImage::Format_RGB32);
    }
    return QImage();
}

TBrushDialog::TBrushDialog(TChartBrush& brush, const EditorDialogs& dialogs, QWidget* parent)
    : QDialog(parent), brush_(brush), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("BrushDialog"));
    setWindowTitle(QStringLiteral("Pattern Color Editor"));

    auto* styleLabel = new QLabel(QStringLiteral("Style"), this);
    styleList = new QListWidget(this);
    styleList->setObjectName(QStringLiteral("StyleList"));
    for (const char* name : kItemNames)
        styleList->addItem(QString::fromLatin1(name));
    styleList->setItemDelegate(new BrushItemDelegate(brush_, styleList));
    colorButton = new TButtonColor(this);
    colorButton->setObjectName(QStringLiteral("ColorButton"));
    colorButton->setText(QStringLiteral("&Color..."));
    backButton = new TButtonColor(this);
    backButton->setObjectName(QStringLiteral("BackButton"));
    backButton->setText(QStringLiteral("&Back..."));
    transparentCheck = new QCheckBox(QStringLiteral("&Transparent"), this);
    transparentCheck->setObjectName(QStringLiteral("TransparentCheck"));
    imageGroup = new QGroupBox(QStringLiteral("Image:"), this);
    imageGroup->setObjectName(QStringLiteral("ImageGroup"));
    imagePreview = new QLabel(imageGroup);
    imagePreview->setObjectName(QStringLiteral("ImagePreview"));
    imagePreview->setFixedSize(kPreviewSize, kPreviewSize);
    imagePreview->setAlignment(Qt::AlignCenter);
    imageButton = new QPushButton(QStringLiteral("&Image..."), imageGroup);
    imageButton->setObjectName(QStringLiteral("ImageButton"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* imageLayout = new QVBoxLayout(imageGroup);
    imageLayout->addWidget(imagePreview, 0, Qt::AlignHCenter);
    imageLayout->addWidget(imageButton);
    auto* side = new QVBoxLayout;
    side->addWidget(colorButton);
    side->addWidget(backButton);
    side->addWidget(transparentCheck);
    side->addWidget(imageGroup);
    side->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(styleLabel, 0, 0);
    grid->addWidget(styleList, 1, 0);
    grid->addLayout(side, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    LinkColorButton(*colorButton, dialogs, [this] { return brush_.Color(); },
                    [this](TColor colour) {
                        brush_.SetColor(colour);
                        modified_ = true;
                        styleList->viewport()->update();
                    });
    LinkColorButton(*backButton, dialogs, [this] { return brush_.BackColor(); },
                    [this](TColor colour) {
                        brush_.SetBackColor(colour);
                        modified_ = true;
                    });

    Fill();

    connect(styleList, &QListWidget::currentRowChanged, this, &TBrushDialog::ItemChosen);
    connect(transparentCheck, &QCheckBox::toggled, this, &TBrushDialog::TransparentClicked);
    connect(backButton, &TButtonColor::ColorEdited, this, &TBrushDialog::BackColorChosen);
    connect(imageButton, &QPushButton::clicked, this, &TBrushDialog::ImageClicked);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TBrushDialog::~TBrushDialog() = default;

void TBrushDialog::Fill()
{
    const FillGuard guard(filling_);
    if (!backup_)
        backup_ = std::make_unique<TChartBrush>();
    backup_->Assign(brush_);
    styleList->setCurrentRow(brush_.HasImage() ? -1 : static_cast<int>(brush_.Style()));
    transparentCheck->setChecked(brush_.BackColor() == clNone);
    transparentCheck->setEnabled(brush_.BackColor() != clNone);
    EnableColors();
    ShowImage();
    modified_ = false;
}

void TBrushDialog::EnableColors()
{
    colorButton->setEnabled(brush_.Style() != bsClear);
    backButton->setEnabled(colorButton->isEnabled());
}

void TBrushDialog::ShowImage()
{
    if (brush_.HasImage()) {
        const QImage& picture = brush_.Image().Graphic();
        imagePreview->setPixmap(QPixmap::fromImage(
            picture.convertToFormat(QImage::Format_RGB32).scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio)));
        imageButton->setText(QStringLiteral("Clea&r"));
    } else {
        imagePreview->clear();
        imageButton->setText(QStringLiteral("&Image..."));
    }
}

void TBrushDialog::ItemChosen(int row)
{
    if (filling_ || row < 0)
        return;
    if (row < kStyleItems) {
        brush_.SetStyle(static_cast<TBrushStyle>(row));
        if (brush_.HasImage())
            brush_.SetImage(nullptr);
    } else {
        brush_.Image().SetGraphic(BrushItemPicture(row));
    }
    modified_ = true;
    EnableColors();
    ShowImage();
}

void TBrushDialog::TransparentClicked(bool checked)
{
    if (filling_ || !checked)
        return;
    brush_.SetBackColor(clNone);
    transparentCheck->setEnabled(false);
    backButton->update();
    modified_ = true;
}

void TBrushDialog::BackColorChosen()
{
    const FillGuard guard(filling_);
    transparentCheck->setChecked(false);
    transparentCheck->setEnabled(true);
}

void TBrushDialog::ImageClicked()
{
    if (brush_.HasImage()) {
        brush_.SetImage(nullptr);
        brush_.SetBitmap(QImage());
        modified_ = true;
        {
            const FillGuard guard(filling_);
            styleList->setCurrentRow(static_cast<int>(brush_.Style()));
        }
        ShowImage();
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
    brush_.Image().SetGraphic(picture);
    modified_ = true;
    {
        const FillGuard guard(filling_);
        styleList->setCurrentRow(-1);
    }
    ShowImage();
}

void TBrushDialog::reject()
{
    if (modified_) {
        ChangeWithOneEvent(brush_, [this] { brush_.Assign(*backup_); });
        modified_ = false;
    }
    QDialog::reject();
}

bool ShowBrushEditor(const EditorDialogs& dialogs, QWidget* owner, TChartBrush& brush)
{
    auto dialog = CreateEditorForm<TBrushDialog>(owner, brush, dialogs);
    return RunEditorDialog(dialogs, *dialog) == QDialog::Accepted;
}
