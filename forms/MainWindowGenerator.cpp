// The generator view (Frame131) laid over the window: its defaults, the main chart's correction
// series and the table grid it loads through, its output on the status bar, the arrow keys while
// it owns the window, and what a project stores of it.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/series/LineSeries.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/CoverageFrame.h"
#include "forms/EventHook.h"
#include "forms/ImmunityFrame.h"
#include "forms/MainChart.h"
#include "mainwindow/MainWindowState.h"

#include <QApplication>
#include <QKeyEvent>

// A generator left on shows on the status bar until its output is off, whichever view is shown.
void MainWindow::WireGenerator()
{
    immunityFrame_->setCorrectionSeries(chart().Series(SeriesRole::generatorAmpCorrection),
                                        chart().Series(SeriesRole::temCellCorrection));
    immunityFrame_->setTableGrid(&state_.Table);
    connect(coverageFrame_, &CoverageFrame::startOrStopPressed, immunityFrame_,
            &ImmunityFrame::refreshInstrumentOwnership);
    connect(immunityFrame_, &ImmunityFrame::generatorOutputChanged, this,
            [this] { setStatusText(StatusBarPanel::Generator, immunityFrame_->generatorOutputText()); });
}

// The view's defaults are its own; the start-up empties its messages and shows the program's
// logo.
void MainWindow::SetUpImmunityFrame()
{
    PlaceFrames();
    immunityFrame_->clearMessages();
    immunityFrame_->showLogo();
}

// While the generator view owns the window, the arrow keys pressed anywhere in it step the
// generator by hand (unless the cursor is in one of the view's memos) and go no further. The
// filter sees a key where it is delivered first, the focused control of this window, and not
// again as it travels up to the parents.
void MainWindow::WatchArrowKeys(bool on)
{
    if (!on) {
        delete arrowKeys_;
        arrowKeys_ = nullptr;
        return;
    }
    if (arrowKeys_)
        return;
    arrowKeys_ = new EventHook(
        [this](QObject* watched, QEvent* event) {
            if (event->type() != QEvent::KeyPress)
                return false;
            auto* target = qobject_cast<QWidget*>(watched);
            const QWidget* focus = QApplication::focusWidget();
            if (!target || target->window() != this || target != (focus ? focus : this))
                return false;
            return immunityFrame_->handleMainWindowKey(static_cast<QKeyEvent*>(event)->key());
        },
        this);
    qApp->installEventFilter(arrowKeys_);
}

void MainWindow::GeneratorToProject()
{
    generatorValues_ = immunityFrame_->projectValues();
    for (int row = 0; row < generatorGridValues_->RowCount(); ++row) {
        const QString key = generatorGridValues_->Definition(row).Key;
        generatorGridValues_->SetValue(key, immunityFrame_->settingValue(key));
    }
}

void MainWindow::ProjectToGenerator()
{
    immunityFrame_->setProjectValues(generatorValues_);
    if (!app_.Settings.OptTgFieldValue)
        return;
    for (const QString& key : {gridkeys::kAmpCor, gridkeys::kTemCor, gridkeys::kSeptum})
        immunityFrame_->setSettingValue(key, generatorGridValues_->Value(key));
}
