#include "forms/StatusPanel.h"

#include <algorithm>

StatusPanel::StatusPanel(int designWidth, QWidget* parent) : QLabel(parent), designWidth_(designWidth)
{
    // Panels squeezed to their texts still stand a little apart.
    setContentsMargins(3, 0, 3, 0);
}

QSize StatusPanel::sizeHint() const
{
    const QSize text = minimumSizeHint();
    return {std::max(designWidth_, text.width()), text.height()};
}

// A one-line label's own hint is its whole text, margins and indent included.
QSize StatusPanel::minimumSizeHint() const
{
    return QLabel::sizeHint();
}
