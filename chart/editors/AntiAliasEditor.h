#ifndef ZENDRIK_CHART_EDITORS_ANTIALIASEDITOR_H
#define ZENDRIK_CHART_EDITORS_ANTIALIASEDITOR_H

#include "chart/editors/EditorRegistry.h"

#include <QWidget>

class QCheckBox;
class QPushButton;
class TAntiAliasTool;

// "TAntiAliasEditor": switches a smoothing tool's smoothing and edits its picture filters. The
// filter editor is shown the chart drawn plain (tool inactive, no automatic repaint meanwhile);
// the chart is drawn again once it closes, confirmed or not.
class TAntiAliasEditor : public QWidget {
    Q_OBJECT
public:
    explicit TAntiAliasEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    void RefreshControls(TAntiAliasTool& tool);
    TAntiAliasTool* Tool() const { return tool_; }
    void EditFilters();

    QCheckBox* antiAliasCheck;      // "&Anti-alias"
    QPushButton* filtersButton;     // "&Filters..."

private:
    const EditorDialogs& dialogs_;
    TAntiAliasTool* tool_ = nullptr;
    bool filling_ = false;
};

// The editor for a TAntiAliasTool*, null for another object.
QWidget* CreateAntiAliasEditor(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object);

#endif
