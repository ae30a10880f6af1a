#ifndef ZENDRIK_CHART_EDITORS_EDITORBUTTONS_H
#define ZENDRIK_CHART_EDITORS_EDITORBUTTONS_H

#include "chart/canvas/PlotControls.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class TCustomPlotGradient;
class TPen;
struct EditorDialogs;

// A button that shows a sample of a pen and edits it in the pen dialog when clicked.
class TButtonPen : public TPlotButton {
    Q_OBJECT
public:
    explicit TButtonPen(QWidget* parent = nullptr);

    // The pen to show and edit (not owned); null for none.
    void LinkPen(TPen* pen);
    TPen* Pen() const { return pen_; }
    // The pen dialog while it is open.
    QDialog* OpenDialog() const { return dialog_; }

    // The dialog's "&Color..." is hidden.
    bool HideColor = false;
    // The dialogs the pen dialog goes through; the standard ones when null.
    const EditorDialogs* Dialogs = nullptr;
    // Runs after the pen was edited with OK, or on every click without a pen.
    std::function<void()> OnClick;

protected:
    // A line from (Width - 17, Height / 2) to (Width - 6, Height / 2), at most 6 pixels wide.
    void DrawSymbol(TPlotCanvas3D& canvas) override;

private:
    void Clicked();

    TPen* pen_ = nullptr;
    QPointer<QDialog> dialog_;
};

// A button that shows a swatch of a gradient and edits it in the gradient editor when clicked.
class TButtonGradient : public TPlotButton {
    Q_OBJECT
public:
    explicit TButtonGradient(QWidget* parent = nullptr);

    // The gradient to show and edit (not owned); null for none.
    void LinkGradient(TCustomPlotGradient* gradient);
    TCustomPlotGradient* Gradient() const { return gradient_; }
    QDialog* OpenDialog() const { return dialog_; }

    // The editor's first creation flag: "&End..." and "S&wap" hidden, colours always editable.
    bool Flag = false;
    const EditorDialogs* Dialogs = nullptr;
    std::function<void()> OnClick;

protected:
    // The gradient over the symbol area, framed grey while it is hidden and black while visible.
    void DrawSymbol(TPlotCanvas3D& canvas) override;

private:
    void Clicked();

    TCustomPlotGradient* gradient_ = nullptr;
    QPointer<QDialog> dialog_;
};

#endif
