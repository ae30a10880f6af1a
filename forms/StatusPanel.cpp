#include "forms/StatusPanel.h"

#include "mainwindow/StatusLine.h"

#include <QPainter>
#include <algorithm>

StatusPanel::StatusPanel(int designWidth, QWidget* parent) : QLabel(parent), designWidth_(designWidth)
{
    // Panels squeezed to their texts still stand a little apart.
    setContentsMargins(3, 0, 3, 0);
}

QSize StatusPanel::sizeHint() const
{
    // A one-line label's own hint is its whole text, margins and indent included.
    const QSize text = QLabel::sizeHint();
    return {allotted_ > 0 ? allotted_ : std::max(designWidth_, text.width()), text.height()};
}

bool StatusPanel::setAllotted(int width)
{
    if (width == allotted_)
        return false;
    allotted_ = width;
    updateGeometry();
    return true;
}

QSize StatusPanel::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("...")) + m.left() + m.right(), QLabel::sizeHint().height()};
}

QString StatusPanel::shownText() const
{
    const QFontMetrics metrics = fontMetrics();
    return ElideStatusText(text(), contentsRect().width(),
                           [&metrics](const QString& t) { return metrics.horizontalAdvance(t); });
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    FollowToolTip();
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}

void StatusPanel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    FollowToolTip();
}

void StatusPanel::FollowToolTip()
{
    const QString tip = shownText() == text() ? QString() : text();
    if (toolTip() != tip)
        setToolTip(tip);
}
