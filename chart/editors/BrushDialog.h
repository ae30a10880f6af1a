#ifndef ZENDRIK_CHART_EDITORS_BRUSHDIALOG_H
#define ZENDRIK_CHART_EDITORS_BRUSHDIALOG_H

#include <QDialog>
#include <QImage>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class TButtonColor;
class TChartBrush;
struct EditorDialogs;

// "Pattern Color Editor": edits a chart brush in place; Cancel puts back what it was when shown.
class TBrushDialog : public QDialog {
    Q_OBJECT
public:
    // The list: 8 brush styles, 12 patterns, 7 textures.
    static constexpr int kStyleItems = 8;
    static constexpr int kFirstPattern = 8;
    static constexpr int kFirstTexture = 20;
    static constexpr int kItemCount = 27;

    TBrushDialog(TChartBrush& brush, const EditorDialogs& dialogs, QWidget* parent = nullptr);
    ~TBrushDialog() override;

    TChartBrush& Brush() const { return brush_; }
    bool Modified() const { return modified_; }

    QListWidget* styleList;        // "Style"
    TButtonColor* colorButton;     // "&Color..."
    TButtonColor* backButton;      // "&Back..."
    QCheckBox* transparentCheck;   // "&Transparent"
    QGroupBox* imageGroup;         // "Image:"
    QLabel* imagePreview;
    QPushButton* imageButton;      // "&Image...", "Clea&r" while the brush has an image
    QPushButton* okButton;         // "OK"
    QPushButton* cancelButton;     // "Cancel"

    void reject() override;

private:
    void Fill();
    void ShowImage();
    void EnableColors();
    void ItemChosen(int row);
    void TransparentClicked(bool checked);
    void BackColorChosen();
    void ImageClicked();

    TChartBrush& brush_;
    const EditorDialogs& dialogs_;
    std::unique_ptr<TChartBrush> backup_;
    bool modified_ = false;
    bool filling_ = false;
};

// The picture of a pattern or texture item of the style list (items 8..26), as the brush takes
// it: the patterns one bit deep (black = brush colour, white = back colour). Null for other items.
QImage BrushItemPicture(int item);

// Shows the brush dialog modally for a brush; true on OK.
bool ShowBrushEditor(const EditorDialogs& dialogs, QWidget* owner, TChartBrush& brush);

#endif
