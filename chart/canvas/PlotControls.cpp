#include "chart/canvas/PlotControls.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/RasterDC.h"

#include <QColorDialog>
#include <QEnterEvent>
#include <QPainter>
#include <QAbstractItemView>

namespace {

QColor ToQColor(TColor c) { return QColor::fromRgb(gdi::ToQRgb(ColorToRGB(c))); }
TColor FromQColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// The width of a caption button in the classic scheme; fixed, so that the look is the same
// everywhere.
constexpr int kCaptionButtonWidth = 18;

} // namespace

TColor EditColorDialog(QWidget* owner, TColor colour)
{
    QColorDialog dialog(owner);
    dialog.setCurrentColor(ToQColor(colour));
    if (dialog.exec() != QDialog::Accepted)
        return colour;
    return FromQColor(dialog.currentColor());
}

bool EditColor(QWidget* owner, TColor& colour)
{
    const TColor chosen = EditColorDialog(owner, colour);
    if (chosen == colour)
        return false;
    colour = chosen;
    return true;
}

QString ComboBoxSelectedText(const QComboBox& combo)
{
    return combo.currentIndex() < 0 ? QString() : combo.itemText(combo.currentIndex());
}

QObject* ComboBoxSelectedObject(const QComboBox& combo)
{
    if (combo.currentIndex() < 0)
        return nullptr;
    return combo.itemData(combo.currentIndex()).value<QObject*>();
}

// ---- TPlotButton

TPlotButton::TPlotButton(QWidget* parent) : QPushButton(parent)
{
    resize(75, 25);
}

void TPlotButton::LinkProperty(QObject* instance, const QString& propertyName)
{
    instance_ = instance;
    property_ = QMetaProperty();
    if (instance && !propertyName.isEmpty()) {
        const int index = instance->metaObject()->indexOfProperty(propertyName.toLatin1().constData());
        if (index >= 0)
            property_ = instance->metaObject()->property(index);
    }
    update();
}

QRect TPlotButton::SymbolRect() const
{
    const int w = width();
    const int h = height();
    const int left = w - 19, right = w - 6;
    const int top = h - 3 * (h / 4), bottom = h - h / 4;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TPlotButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    try {
        PaintSymbol();
    } catch (...) {
        // Nothing may leave a paint event; the button keeps the platform's painting.
        ReportChartError("TPlotButton::paintEvent");
    }
}

void TPlotButton::PaintSymbol()
{
    const QRect symbol = SymbolRect();
    if (symbol.width() <= 0 || symbol.height() <= 0)
        return;
    // The symbol is drawn by a device-context canvas into a picture of the symbol's size that
    // starts in the button colour, then laid over the platform's painting.
    TPlotCanvas3D canvas;
    canvas.InitWindow(nullptr, nullptr, clBtnFace, false, TRect{0, 0, symbol.width(), symbol.height()});
    canvas.ResetState();
    canvas.Brush().SetColor(FromQColor(palette().color(QPalette::Button)));
    canvas.FillRect(TRect{0, 0, symbol.width(), symbol.height()});
    QImage before = canvas.Bitmap()->Image().copy();
    DrawSymbol(canvas);
    const QImage& drawn = canvas.Bitmap()->Image();
    if (drawn == before)
        return;
    QPainter painter(this);
    painter.drawImage(symbol.topLeft(), drawn);
}

void TPlotButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

void TPlotButton::DrawSymbol(TPlotCanvas3D&) {}

// ---- TButtonColor

TButtonColor::TButtonColor(QWidget* parent) : TPlotButton(parent)
{
    // Connected first, so the colour is edited before any other handler of the click runs.
    connect(this, &QPushButton::clicked, this, &TButtonColor::EditClicked);
}

TColor TButtonColor::SymbolColor() const
{
    if (OnGetColor)
        return OnGetColor();
    if (instance_ && property_.isValid()) {
        bool ok = false;
        const int value = property_.read(instance_).toInt(&ok);
        if (ok)
            return static_cast<TColor>(ColorToRGB(static_cast<TColor>(value)));
    }
    return color_;
}

void TButtonColor::SetStoredColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        update();
    }
}

void TButtonColor::DrawSymbol(TPlotCanvas3D& canvas)
{
    const TColor colour = SymbolColor();
    if (colour == clNone)
        return;
    canvas.Brush().SetColor(colour);
    if (!isEnabled())
        canvas.Pen().SetStyle(psClear);
    const QRect r = SymbolRect();
    canvas.Rectangle(0, 0, r.width(), r.height());
}

void TButtonColor::EditClicked()
{
    try {
        const TColor old = SymbolColor();
        const TColor chosen = ColorDialog ? ColorDialog(this, old) : old;
        if (chosen == old)
            return;
        if (instance_ && property_.isValid())
            property_.write(instance_, QVariant::fromValue(static_cast<int>(chosen)));
        else
            color_ = chosen;
        update();
        emit ColorEdited(chosen);
    } catch (...) {
        // A failing property setter leaves the old colour; nothing may leave a slot.
        ReportChartError("TButtonColor::EditClicked");
    }
}

// ---- TComboFlat

TComboFlat::TComboFlat(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setFixedHeight(21);
    setCurrentIndex(-1);
}

int TComboFlat::DropDownWidth() const
{
    const int w = view() ? view()->minimumWidth() : 0;
    return w > 0 ? w : width();
}

void TComboFlat::SetDropDownWidth(int value)
{
    if (view())
        view()->setMinimumWidth(value);
}

void TComboFlat::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    if (!DrawsFlat())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QRect r = rect();
    p.setPen(ToQColor(clBtnFace));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.drawRect(r.adjusted(1, 1, -2, -2));
    const int right = r.right() + 1;
    const QRect button(QPoint(right - kCaptionButtonWidth - 2, r.top() + 1), QPoint(right - 1, r.bottom() - 1));
    p.setPen(ToQColor(clWindow));
    p.drawRect(button.adjusted(0, 0, -1, -1));
    p.drawLine(QPoint(right - 2, r.top() + 1), QPoint(right - 2, r.bottom() - 1));
}

void TComboFlat::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    mouseInside_ = true;
    update();
}

void TComboFlat::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    mouseInside_ = false;
    update();
}

void TComboFlat::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    mouseInside_ = false;
    update();
}

void TComboFlat::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    mouseInside_ = false;
    update();
}
