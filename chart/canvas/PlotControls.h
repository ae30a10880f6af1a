#ifndef ZENDRIK_CHART_CANVAS_PLOTCONTROLS_H
#define ZENDRIK_CHART_CANVAS_PLOTCONTROLS_H

#include "chart/canvas/PlotColor.h"

#include <QComboBox>
#include <QMetaProperty>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <optional>

class TPlotCanvas3D;

// Small controls of the chart editor dialogs.

// Shows the colour dialog starting at colour; the chosen colour, or colour when cancelled. The
// dialog's custom colours are the process-wide ones of the colour dialog, kept between calls.
TColor EditColorDialog(QWidget* owner, TColor colour);
// True, with colour updated, when the dialog returned another colour.
bool EditColor(QWidget* owner, TColor& colour);

QString ComboBoxSelectedText(const QComboBox& combo);
// The object stored as the selected item's data (a QObject pointer), none without a selection.
QObject* ComboBoxSelectedObject(const QComboBox& combo);

// A push button that draws a symbol after the platform has painted it.
class TPlotButton : public QPushButton {
    Q_OBJECT
public:
    explicit TPlotButton(QWidget* parent = nullptr);

    // Links a property of an object (none for an empty name) and repaints.
    void LinkProperty(QObject* instance, const QString& propertyName);
    QObject* LinkedInstance() const { return instance_; }
    const QMetaProperty& LinkedProperty() const { return property_; }
    // The symbol's area: X Width - 19 .. Width - 6, Y Height - 3 * (Height / 4) .. Height - Height / 4
    // (integer division).
    QRect SymbolRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Draws the symbol on a canvas whose origin is the top-left of SymbolRect; nothing here.
    virtual void DrawSymbol(TPlotCanvas3D& canvas);

    QPointer<QObject> instance_;
    QMetaProperty property_;

private:
    void PaintSymbol();
};

// A button that shows a colour swatch and edits the colour when clicked.
class TButtonColor : public TPlotButton {
    Q_OBJECT
public:
    explicit TButtonColor(QWidget* parent = nullptr);

    // The query event's answer; else the linked property resolved to RGB; else the stored colour.
    TColor SymbolColor() const;
    TColor StoredColor() const { return color_; }
    void SetStoredColor(TColor value);

    std::function<TColor()> OnGetColor;
    // The dialog used by a click; EditColorDialog unless replaced (tests replace it).
    std::function<TColor(QWidget*, TColor)> ColorDialog = EditColorDialog;

signals:
    void ColorEdited(TColor colour);

protected:
    void DrawSymbol(TPlotCanvas3D& canvas) override;

private:
    void EditClicked();

    TColor color_ = clNone;
};

// A drop-down list that looks flat unless the mouse is over it or it has the focus.
class TComboFlat : public QComboBox {
    Q_OBJECT
public:
    explicit TComboFlat(QWidget* parent = nullptr);

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value) { itemHeight_ = value; }
    int DropDownWidth() const;
    void SetDropDownWidth(int value);
    bool IsDropDownWidthStored() const { return DropDownWidth() != width(); }
    bool MouseInside() const { return mouseInside_; }
    // True when the flat frame is drawn over the platform look.
    bool DrawsFlat() const { return !mouseInside_ && !hasFocus(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool mouseInside_ = false;
    int itemHeight_ = 13;
};

#endif
