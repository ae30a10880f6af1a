#ifndef ZENDRIK_CHART_EDITORS_MAGNIFYTOOLEDITOR_H
#define ZENDRIK_CHART_EDITORS_MAGNIFYTOOLEDITOR_H

#include "chart/editors/AnnotationToolEditor.h"

class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class TMagnifyTool;

// The magnifier's pages: its own options and the lens box's "Format" page. It is the annotation
// editor with the pages a lens has no use for hidden, so the box is filled and written the same
// way. Every change is written at once.
class TMagnifyToolEditor : public TAnnotationToolEdit {
    Q_OBJECT
public:
    explicit TMagnifyToolEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    // Stores the magnifier and copies it into every control.
    void RefreshControls(TMagnifyTool& tool);
    TMagnifyTool* Magnifier() const { return magnifier_; }

    QWidget* magnifierPage;        // "Options", with the annotation's "&Cursor:"
    QSlider* zoomTrack;            // "&Zoom %:" 0..100
    QCheckBox* followMouseCheck;   // "&Follow mouse"
    QSpinBox* wheelZoomSpin;       // "Mouse &Wheel zoom:" 0..100 "%"
    QCheckBox* circledCheck;       // "&Circled"
    QCheckBox* allowDragCheck;     // "Allow &drag"
    QCheckBox* allowResizeCheck;   // "Allow &resize"

private:
    template <class Fn>
    void Write(Fn&& change);

    TMagnifyTool* magnifier_ = nullptr;
    QLabel* zoomValue_;
    bool filling_ = false;
};

#endif
