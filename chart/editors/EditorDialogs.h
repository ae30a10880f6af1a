#ifndef ZENDRIK_CHART_EDITORS_EDITORDIALOGS_H
#define ZENDRIK_CHART_EDITORS_EDITORDIALOGS_H

#include "chart/canvas/PlotColor.h"

#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QFont;
class QImage;
class QWidget;
class TFilterItems;
struct TPlotLibrarySettings;

// The dialogs and boxes every chart editor goes through. The defaults are Qt's own; tests replace
// them, so that no test runs a real modal loop. The caller keeps the struct alive while editors
// that use it exist.
struct EditorDialogs {
    // Runs a dialog modally; the dialog's result code.
    std::function<int(QDialog& dialog)> RunModal;
    // The colour dialog of every editor colour button: the chosen colour, or the old one.
    std::function<TColor(QWidget* owner, TColor colour)> Color;
    // The font dialog: the chosen font, none when cancelled.
    std::function<std::optional<QFont>(QWidget* owner, const QFont& font)> Font;
    // A picture file to open (filter: the formats the image reader knows); empty when cancelled.
    std::function<QString(QWidget* owner, const QString& filter)> PictureFile;
    // A text file to open or save; empty when cancelled.
    std::function<QString(QWidget* owner, bool save, const QString& title, const QString& filter,
                          const QString& defaultSuffix)>
        TextFile;
    // A question with Yes and No; true for Yes.
    std::function<bool(QWidget* owner, const QString& message)> YesNo;
    // An error message box.
    std::function<void(QWidget* owner, const QString& message)> Error;
    // The image filter editor on a filter list and the picture it applies to; true on OK.
    // StartEditorsUnit installs ShowFiltersEditor here; the buttons that open it are disabled
    // while it is empty.
    std::function<bool(QWidget* owner, const QImage& graphic, TFilterItems& filters)> Filters;

    // The library settings whose control hook sees every editor form shown; may be null.
    const TPlotLibrarySettings* Library = nullptr;
};

// Qt's dialogs in every hook but Filters.
EditorDialogs StandardEditorDialogs();
// One shared, unchanging set of the standard dialogs, for controls made without a set.
const EditorDialogs& DefaultEditorDialogs();

// The open-file filter of every picture format the image reader knows.
QString PictureFileFilter();

#endif
