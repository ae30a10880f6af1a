#include "reports/HourglassCursor.h"

#include <QCursor>
#include <QGuiApplication>

HourglassCursor::HourglassCursor()
{
    if (qGuiApp != nullptr) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        set_ = true;
    }
}

HourglassCursor::~HourglassCursor()
{
    if (set_)
        QGuiApplication::restoreOverrideCursor();
}
