#ifndef ZENDRIK_CHART_CANVAS_PLOTPANELEVENTS_H
#define ZENDRIK_CHART_CANVAS_PLOTPANELEVENTS_H

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <vector>

class TCustomPlotPanel;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event.
using TShiftState = uint16_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;

// Qt's modifiers and buttons as the panel's events carry them.
TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
// False for a button the panels do not report (back, forward, ...).
bool ButtonOf(Qt::MouseButton b, TMouseButton& out);

// What a panel tells its listeners.
class TPlotEvent {
public:
    virtual ~TPlotEvent() = default;
    TCustomPlotPanel* Sender = nullptr;
};

enum TPlotMouseEventKind { pmeDown, pmeUp, pmeMove };

class TPlotMouseEvent : public TPlotEvent {
public:
    TPlotMouseEventKind Event = pmeMove;
    TMouseButton Button = mbLeft;
    TShiftState Shift = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

// Sent when the panel's View3D changes.
class TPlotView3DEvent : public TPlotEvent {};

class TPlotEventListener {
public:
    virtual ~TPlotEventListener() = default;
    virtual void PlotEvent(TPlotEvent& event) = 0;
};

// The panel's listeners, in the order they were added. The list does not own them; a listener
// removes itself before it goes away.
class TPlotEventListeners {
public:
    // Adds a listener that is not in the list yet; answers its index.
    int Add(TPlotEventListener* listener);
    void Remove(TPlotEventListener* listener);
    int IndexOf(const TPlotEventListener* listener) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TPlotEventListener* Item(int index) const { return items_[static_cast<size_t>(index)]; }

private:
    std::vector<TPlotEventListener*> items_;
};

#endif
