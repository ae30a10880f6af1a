// The instrument: the "Device" menu's connection kinds, the controls that follow the connected
// analyser's family, the preamplifier choice and the reference-level arrows.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "forms/ConnectionWindow.h"
#include "forms/Forms.h"
#include "forms/InstrumentPanel.h"
#include "forms/MainMenus.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"
#include "instrument/ReferenceLevel.h"
#include "instrument/ScpiContext.h"

// The connection window's signals are wired once it exists (wireLaterWindows).
void MainWindow::WireInstrument()
{
    connect(instrumentPanel_, &InstrumentPanel::preAmpChosen, this, &MainWindow::ChoosePreAmp);
    connect(instrumentPanel_, &InstrumentPanel::referenceLevelStepped, this, &MainWindow::StepReferenceLevel);
    connect(menus_, &MainMenus::connectionChosen, this, &MainWindow::ShowConnectionWindow);
}

void MainWindow::showAnalyserHeld(bool held)
{
    instrumentPanel_->showAnalyserHeld(held);
}

// Nothing reaches the analyser while a run, the generator or the coverage logging holds it: one
// line says who, and the radios show again what the analyser and the next set-up get.
void MainWindow::ChoosePreAmp(PreAmpChoice choice)
{
    RunLoggingErrors(app_.Messages, [&] { ApplyPreAmpChoice(*scpi_, choice); });
    instrumentPanel_->showPreAmpChoice(PreAmpChoiceOf(instrument_.Device));
}

// The arrows of "Ref Lev RSA5000": "RefLeveldBm" remembers the new level.
void MainWindow::StepReferenceLevel(RefLevelArrow arrow)
{
    RunLoggingErrors(app_.Messages, [&] {
        RunAnalyserCommand(*scpi_, {QStringLiteral("reference level"), QStringLiteral("not set")},
                           [&] { ::StepReferenceLevel(*scpi_, app_.Settings.OptRsaRefLevelDbm, arrow); });
    });
}

// The VBW choice and the zero-span boxes follow the family; the estimate follows them.
void MainWindow::ApplyFamilyControls(const FamilyControls& controls)
{
    instrumentPanel_->applyFamilyControls(controls);
    if (targets_.UpdateMeasureTimeEstimate)
        targets_.UpdateMeasureTimeEstimate();
}

// "SA USB", "SA TCP", "GPS USB", "SA SER": the connection window prepared for its kind.
void MainWindow::ShowConnectionWindow(LinkKind kind)
{
    if (forms_.connectionWindow)
        forms_.connectionWindow->openForKind(kind);
}
