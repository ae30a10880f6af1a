#include "chart/editors/EditorButtons.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/PenDialog.h"

#include <algorithm>

namespace {

// The pen is drawn at most this wide, so the sample stays inside the button.
constexpr int32_t kWidestSample = 6;

} // namespace

// ---- TButtonPen

TButtonPen::TButtonPen(QWidget* parent) : TPlotButton(parent)
{
    connect(this, &QPushButton::clicked, this, &TButtonPen::Clicked);
}

void TButtonPen::LinkPen(TPen* pen)
{
    pen_ = pen;
    update();
}

void TButtonPen::Clicked()
{
    try {
        if (pen_) {
            const EditorDialogs& dialogs = Dialogs ? *Dialogs : DefaultEditorDialogs();
            auto dialog = CreateEditorForm<TPenDialog>(this, *pen_, HideColor, dialogs);
            dialog_ = dialog.get();
            const int result = RunEditorDialog(dialogs, *dialog);
            dialog.reset();
            if (result != QDialog::Accepted)
                return;
            update();
        }
        if (OnClick)
            OnClick();
    } catch (...) {
        // A failing handler leaves the pen as the dialog left it; nothing may leave a slot.
    }
}

void TButtonPen::DrawSymbol(TPlotCanvas3D& canvas)
{
    if (!pen_)
        return;
    const QRect symbol = SymbolRect();
    const int32_t y = height() / 2 - symbol.top();
    const int32_t width = pen_->Width();
    if (width > kWidestSample) {
        // The sample only: the pen keeps its width, and nobody hears of the detour.
        SilentChanges<TPen> quiet(*pen_);
        pen_->SetWidth(kWidestSample);
        canvas.AssignVisiblePen(*pen_);
        pen_->SetWidth(width);
    } else {
        canvas.AssignVisiblePen(*pen_);
    }
    canvas.MoveTo(this->width() - 17 - symbol.left(), y);
    canvas.LineTo(this->width() - 6 - symbol.left(), y);
}

// ---- TButtonGradient

TButtonGradient::TButtonGradient(QWidget* parent) : TPlotButton(parent)
{
    connect(this, &QPushButton::clicked, this, &TButtonGradient::Clicked);
}

void TButtonGradient::LinkGradient(TCustomPlotGradient* gradient)
{
    gradient_ = gradient;
    update();
}

void TButtonGradient::Clicked()
{
    try {
        if (gradient_) {
            const EditorDialogs& dialogs = Dialogs ? *Dialogs : DefaultEditorDialogs();
            auto dialog = CreateEditorForm<TPlotGradientEditor>(this, dialogs, Flag, false);
            dialog->RefreshControls(*gradient_);
            dialog_ = dialog.get();
            const int result = RunEditorDialog(dialogs, *dialog);
            dialog.reset();
            if (result != QDialog::Accepted)
                return;
            update();
        }
        if (OnClick)
            OnClick();
    } catch (...) {
        // A failing handler leaves the gradient as the editor left it; nothing may leave a slot.
    }
}

void TButtonGradient::DrawSymbol(TPlotCanvas3D& canvas)
{
    if (!gradient_)
        return;
    const QRect symbol = SymbolRect();
    const TRect all{0, 0, symbol.width(), symbol.height()};
    gradient_->Draw(canvas, all, 0);
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(gradient_->Visible() ? clBlack : clGray);
    canvas.Rectangle(all.Left, all.Top, all.Right, all.Bottom);
}
