#include "chart/editors/EditorButtons.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/PenDialog.h"

#include <algorithm>

namespace {

// The pen is drawn at most this wide, so the sample stays inside the button.
constexpr int32_t kWidestSample = 6;

// A click on an editor button: the editor made by makeDialog runs modal while the button has
// something linked, and OK shows the change; then the button's own handler. A failing handler
// leaves the object as the editor left it; nothing may leave a slot.
template <class MakeDialog>
void EditFromButton(QWidget& button, const EditorDialogs* hooks, QPointer<QDialog>& open, bool linked,
                    MakeDialog makeDialog, const std::function<void()>& onClick)
{
    try {
        if (linked) {
            const EditorDialogs& dialogs = hooks ? *hooks : DefaultEditorDialogs();
            auto dialog = makeDialog(dialogs);
            open = dialog.get();
            const int result = RunEditorDialog(dialogs, *dialog);
            dialog.reset();
            if (result != QDialog::Accepted)
                return;
            button.update();
        }
        if (onClick)
            onClick();
    } catch (...) {
        ReportChartError("EditFromButton");
    }
}

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
    EditFromButton(*this, Dialogs, dialog_, pen_ != nullptr, [this](const EditorDialogs& dialogs) {
        return CreateEditorForm<TPenDialog>(this, *pen_, HideColor, dialogs);
    }, OnClick);
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
    EditFromButton(*this, Dialogs, dialog_, gradient_ != nullptr, [this](const EditorDialogs& dialogs) {
        auto dialog = CreateEditorForm<TPlotGradientEditor>(this, dialogs, Flag, false);
        dialog->RefreshControls(*gradient_);
        return dialog;
    }, OnClick);
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
