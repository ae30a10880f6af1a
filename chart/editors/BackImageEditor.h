#ifndef ZENDRIK_CHART_EDITORS_BACKIMAGEEDITOR_H
#define ZENDRIK_CHART_EDITORS_BACKIMAGEEDITOR_H

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TBackImage;
class TPlotPicture;
struct EditorDialogs;

// Edits a back image (picture, placement, transparency, filters) or a plain picture, whose
// placement it does not show.
class TBackImageEditor : public QWidget {
    Q_OBJECT
public:
    explicit TBackImageEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    void RefreshControls(TBackImage& image);
    void RefreshControls(TPlotPicture& picture);
    TPlotPicture* Picture() const { return picture_; }

    QLabel* previewImage;
    QLabel* sizeLabel;                // "40x30", "0x0" when empty
    QLabel* formatLabel;              // the reader's format ("png")
    QGroupBox* styleGroup;            // "St&yle"
    QRadioButton* stretchRadio;       // "Stretch"
    QRadioButton* tileRadio;          // "Tile"
    QRadioButton* centerRadio;        // "Center"
    QRadioButton* customRadio;        // "C&ustom"
    QPushButton* browseButton;        // "B&rowse...", "Clea&r" while a picture is loaded
    QCheckBox* transparentCheck;      // "&Transparent"
    QPushButton* filtersButton;       // "&Filters..."
    QGroupBox* positionGroup;         // "Position:"
    QSpinBox* leftSpin;               // "&Left:"
    QSpinBox* topSpin;                // "T&op:"

private:
    void Fill();
    void ShowPicture();
    void EnableControls();
    void Browse();
    void EditFilters();

    const EditorDialogs& dialogs_;
    TPlotPicture* picture_ = nullptr;
    TBackImage* backImage_ = nullptr;   // the picture when it is a back image
    QButtonGroup* modes_;
    bool filling_ = false;
};

// The back-image editor as a page's content.
TBackImageEditor* CreateBackImageEditorPage(const EditorDialogs& dialogs, QWidget* page, TBackImage& image);
TBackImageEditor* CreateBackImageEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotPicture& picture);

#endif
