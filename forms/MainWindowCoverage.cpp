// The coverage view (Frame141) laid over the window: its placement and defaults, its grid as
// projects store it, and the "Mode" menu's switch between the views.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/PlotMessages.h"
#include "coverage/CoverageView.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/CoverageFrame.h"
#include "forms/ImmunityFrame.h"
#include "forms/MainMenus.h"
#include "forms/MainWindowPalette.h"
#include "forms/ViewPanel.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/MainMode.h"
#include "mainwindow/MainWindowState.h"

#include <QScrollArea>

namespace {

// The coverage level chart's left axis as projects set it ("High[dBm]", "Low[dBm]"), with the
// chart library's rule that an end may not pass the other.
class CoverageLevelAxis final : public AxisBounds {
public:
    explicit CoverageLevelAxis(CoverageChart& chart) : chart_(chart) {}
    double Minimum() const override { return chart_.LeftMinimum; }
    double Maximum() const override { return chart_.LeftMaximum; }
    void SetMinimum(double value) override
    {
        if (value > chart_.LeftMaximum)
            throw AxisException(PlotMessage(PlotMsg::ErrAxisMinimum));
        chart_.LeftMinimum = value;
    }
    void SetMaximum(double value) override
    {
        if (value < chart_.LeftMinimum)
            throw AxisException(PlotMessage(PlotMsg::ErrAxisMinimum));
        chart_.LeftMaximum = value;
    }

private:
    CoverageChart& chart_;
};

} // namespace

void MainWindow::BuildFrames(QWidget* parent)
{
    auto host = [parent](QWidget* frame) {
        auto* area = new QScrollArea(parent);
        area->setObjectName(frame->objectName() + QStringLiteral("Host"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setWidget(frame);
        area->hide();
        return area;
    };
    coverageFrame_ = new CoverageFrame(app_, instrument_, state_.Table, services_, parent);
    coverageLevelAxis_ = std::make_unique<CoverageLevelAxis>(coverageFrame_->view().Chart());
    immunityFrame_ = new ImmunityFrame(app_, instrument_, services_, *generatorSettings_, parent);
    coverageHost_ = host(coverageFrame_);
    generatorHost_ = host(immunityFrame_);
    coverageFrame_->hide();
    immunityFrame_->hide();
}

void MainWindow::WireCoverage()
{
    connect(menus_, &MainMenus::modeChosen, this, &MainWindow::ShowMode);
}

// The view's defaults: its drive-test calculators from its combo boxes, the latch button's two
// lines, the program's logo.
void MainWindow::SetUpCoverageFrame()
{
    PlaceFrames();
    coverageFrame_->startUp();
}

// Both views cover the client area the main view uses, the status bar left free, in either
// layout and at every size the window takes.
void MainWindow::PlaceFrames()
{
    if (!coverageHost_ || !clientArea_)
        return;
    const QRect client = clientArea_->viewport()->rect();
    for (QWidget* frame : {static_cast<QWidget*>(coverageFrame_), static_cast<QWidget*>(immunityFrame_)}) {
        QPalette p = frame->palette();
        p.setColor(QPalette::Window, QColorOf(clInactiveCaption));
        frame->setPalette(p);
        frame->setAutoFillBackground(true);
    }
    for (QScrollArea* host : {coverageHost_, generatorHost_}) {
        host->setGeometry(client);
        host->raise();
    }
    viewPanel_->refreshColorKeys();
}

void MainWindow::ShowMode(MainMode mode)
{
    // While the generator runs, or its output was left on, the view the operator moves to says so
    // in one line, so that it is not missed: the EMC view in the message log, the coverage view,
    // which covers the log, in its memo too.
    if (mode != state_.MainMode && mode != MainMode::Generator) {
        const QString on = immunityFrame_->generatorOnLine();
        if (!on.isEmpty()) {
            app_.Messages.Append(on);
            if (mode == MainMode::Coverage) {
                coverageFrame_->view().Memo() << on;
                coverageFrame_->showGpsReceiver();
            }
        }
    }
    state_.MainMode = mode;
    const ModeFrames frames = FramesOfMode(mode);
    coverageFrame_->setVisible(frames.CoverageVisible);
    coverageHost_->setVisible(frames.CoverageVisible);
    immunityFrame_->setVisible(frames.GeneratorVisible);
    generatorHost_->setVisible(frames.GeneratorVisible);
    // A view scrolls in its own area; the main view's scroll bars beneath it would only confuse.
    const Qt::ScrollBarPolicy bars =
        frames.CoverageVisible || frames.GeneratorVisible ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    clientArea_->setHorizontalScrollBarPolicy(bars);
    clientArea_->setVerticalScrollBarPolicy(bars);
    immunityFrame_->setMainMode(mode);
    WatchArrowKeys(mode == MainMode::Generator);
}

// The coverage grid's values go into the project's copy before a save or load, and come back
// after a load.
void MainWindow::CoverageToProject()
{
    for (const CoverageGrid::Row& row : coverageFrame_->view().Grid().Rows())
        coverageValues_->SetValue(row.Key, row.Value);
}

void MainWindow::ProjectToCoverage()
{
    CoverageGrid& grid = coverageFrame_->view().Grid();
    QStringList keys;
    for (const CoverageGrid::Row& row : grid.Rows())
        keys << row.Key;
    for (const QString& key : keys)
        grid.SetValue(key, coverageValues_->Value(key));
}
