#ifndef ZENDRIK_CHART_EDITORS_FILTERSEDITOR_H
#define ZENDRIK_CHART_EDITORS_FILTERSEDITOR_H

#include "chart/canvas/PlotFilters.h"

#include <QDialog>
#include <QImage>
#include <memory>

class QAction;
class QCheckBox;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TDraw3D;
class TFilterFormCreator;
struct EditorDialogs;

// "Filters": the list of a picture's filters with each filter's options and region, and a
// preview of the picture with the enabled filters applied. The dialog works on a copy of the
// list; OK writes it back, closing the window otherwise leaves the list as it was.
class TFiltersEditor : public QDialog {
    Q_OBJECT
public:
    TFiltersEditor(const EditorDialogs& dialogs, const QImage& graphic, TFilterItems& filters, QWidget* parent = nullptr);
    ~TFiltersEditor() override;

    // The list as edited so far.
    TFilterItems& Filters() { return work_; }
    TPlotFilter* SelectedFilter() const;
    // Adds a filter of the class at the end of the list and selects it.
    void AddFilter(const TPlotFilterClass& filterClass);
    // Draws the preview again from the unfiltered picture.
    void RedrawPreview();

    void accept() override;

    QListWidget* filterList;        // the filters, checked while enabled
    QPushButton* addButton;         // "+"
    QMenu* addMenu;                 // every filter class, by caption
    QPushButton* deleteButton;      // "-"
    QPushButton* moveUpButton;
    QPushButton* moveDownButton;
    QTabWidget* optionPages;
    QWidget* optionsPage;           // "Options": the selected filter's own controls
    QWidget* regionPage;            // "Region"
    QSpinBox* regionLeftSpin;       // "&Left:"
    QSpinBox* regionTopSpin;        // "&Top:"
    QSpinBox* regionWidthSpin;      // "&Width:"
    QSpinBox* regionHeightSpin;     // "&Height:"
    TDraw3D* preview;
    QCheckBox* previewCheck;        // "&Preview"
    QCheckBox* scaledCheck;         // "&Scaled"
    QAction* scaledAction;          // "&Scaled" in the preview's pop-up menu
    QPushButton* okButton;          // "OK"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList();
    void SelectFilter(int row);
    void ShowRegion();
    void RegionChanged();
    void DeleteFilter();
    void MoveFilter(int delta);
    void EnableButtons();

    const EditorDialogs& dialogs_;
    QImage graphic_;
    TFilterItems& filters_;
    TFilterItems work_;
    std::unique_ptr<TFilterFormCreator> creator_;
    bool filling_ = false;
};

// Shows the filter editor modally for a filter list and the picture it applies to; true on OK.
bool ShowFiltersEditor(const EditorDialogs& dialogs, QWidget* owner, const QImage& graphic, TFilterItems& filters);
// The same for a picture's own filters; on OK the picture's owner repaints it.
bool ShowFiltersEditor(const EditorDialogs& dialogs, QWidget* owner, TPlotPicture& picture);

#endif
