#include "mainwindow/MainMode.h"

#include <Qt>

ModeFrames FramesOfMode(MainMode mainMode)
{
    return {mainMode == MainMode::Coverage, mainMode == MainMode::Generator};
}

ArrowKeyOutcome ArrowKeyInMainWindow(MainMode mainMode, bool memoFocused, int qtKey)
{
    ArrowKeyOutcome out;
    if (mainMode != MainMode::Generator)
        return out;
    QString text;
    if (!memoFocused) {
        switch (qtKey) {
        case Qt::Key_Up:
            out.Step = ManualStep::AmplitudeUp;
            text = QStringLiteral("hinauf");
            break;
        case Qt::Key_Down:
            out.Step = ManualStep::AmplitudeDown;
            text = QStringLiteral("hinunter");
            break;
        case Qt::Key_Left:
            out.Step = ManualStep::FrequencyDown;
            text = QStringLiteral("links");
            break;
        case Qt::Key_Right:
            out.Step = ManualStep::FrequencyUp;
            text = QStringLiteral("rechts");
            break;
        default:
            break;
        }
    }
    out.Consumed = out.Step != ManualStep::None;
    out.DebugLine = QStringLiteral("key: ") + text;
    return out;
}

std::optional<QSize> FrameSizeAfterResize(bool smallScreen, QSize clientSize, int statusBarHeight)
{
    if (smallScreen)
        return std::nullopt;
    return QSize(clientSize.width(), clientSize.height() - statusBarHeight);
}

bool FolderChangeClosesDialog(int32_t& counter)
{
    if (++counter <= 1)
        return false;
    counter = 0;
    return true;
}
