#ifndef ZENDRIK_FORMS_COMPACTVIEW_H
#define ZENDRIK_FORMS_COMPACTVIEW_H

#include <QSize>

class QWidget;

// What a window may take of the small screen (800 x 480) once a window manager has added its
// title bar and frame: every dialog opens within it.
inline constexpr QSize kSmallScreenRoom(792, 450);

// A list or text box that asks for the height of a few lines instead of the toolkit's 192
// pixels, so that the window holding it fits a small screen; it still grows with its window.
template <class View>
class CompactView final : public View {
public:
    CompactView(int lines, QWidget* parent) : View(parent), lines_(lines) {}

    QSize sizeHint() const override
    {
        return {View::sizeHint().width(), lines_ * this->fontMetrics().height() + 2 * this->frameWidth()};
    }

private:
    int lines_;
};

#endif
