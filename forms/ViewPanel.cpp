#include "forms/ViewPanel.h"

#include "forms/MainWindowPalette.h"
#include "forms/PanelControls.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowColors.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace {

// The colour key beside a view box: a 13-pixel square in the colour of the series the box shows.
class ViewColorKey final : public QWidget {
public:
    ViewColorKey(std::function<TColor()> color, QWidget* parent) : QWidget(parent), color_(std::move(color))
    {
        setFixedSize(15, 15);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(QRect(1, 1, 13, 13), QColorOf(color_()));
    }

private:
    std::function<TColor()> color_;
};

// A view box: its designer name and caption, whether it is ticked at the start, where it sits in
// the group's grid (its colour key, if it has one, beside it), its key's colour (the corrections
// have many colours, so theirs is red) and its series.
struct ViewBoxRow {
    const char* name;
    const char* caption;
    bool checked;
    int column;
    int row;
    bool key;
    std::optional<TraceColor> colour;
    std::vector<SeriesRole> roles;
};

// In the order the boxes are made, column by column.
const std::vector<ViewBoxRow>& ViewBoxRows()
{
    using enum SeriesRole;
    using C = TraceColor;
    static const std::vector<ViewBoxRow> specs = {
        {"CheckBox4", "Set1", true, 0, 0, true, C::correctedTrace1, {correctedTrace1}},
        {"CheckBox5", "Set2", true, 0, 1, true, C::correctedTrace2, {correctedTrace2}},
        {"CheckBox6", "Raw1", true, 0, 2, true, C::rawTrace1, {rawTrace1}},
        {"CheckBox7", "Raw2", true, 0, 3, true, C::rawTrace2, {rawTrace2}},
        {"CheckBox9", "T1S1", true, 1, 0, true, C::reference1Set1, {reference1Set1}},
        {"CheckBox10", "T1S2", true, 1, 1, true, C::reference1Set2, {reference1Set2}},
        {"CheckBox25", "T2S1", true, 1, 2, true, C::reference2Set1, {reference2Set1}},
        {"CheckBox26", "T2S2", true, 1, 3, true, C::reference2Set2, {reference2Set2}},
        {"CheckBox27", "T3S1", true, 2, 0, true, C::reference3Set1, {reference3Set1}},
        {"CheckBox28", "T3S2", true, 2, 1, true, C::reference3Set2, {reference3Set2}},
        {"CheckBox13", "Marg1", true, 2, 2, true, C::limitLine1, {marginLine1}},
        {"CheckBox14", "Marg2", true, 2, 3, true, C::limitLine2, {marginLine2}},
        {"CheckBox8", "Cor", false, 2, 4, true, std::nullopt,
         {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor, smoothing1, compensation1, smoothing2,
          compensation2}},
        {"CheckBox16", "Master", false, 0, 4, false, std::nullopt, {masterCorrection}},
    };
    return specs;
}

constexpr std::array<LevelUnit, 3> kUnits{LevelUnit::dBuV, LevelUnit::dBpW, LevelUnit::dBm};

} // namespace

ViewPanel::ViewPanel(const MainWindowColors& colors, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);

    viewGroup = new QGroupBox(QStringLiteral("View (on/off)"), this);
    viewGroup->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(viewGroup);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(2);
    for (const ViewBoxRow& box : ViewBoxRows())
        viewBoxes.push_back(
            {NamedCheckBox(viewGroup, box.name, QString::fromLatin1(box.caption), box.checked), box.roles});
    viewCorrectionsCheckBox = BoxOf(SeriesRole::cableCorrection);
    viewMasterCheckBox = BoxOf(SeriesRole::masterCorrection);
    for (size_t i = 0; i < viewBoxes.size(); ++i) {
        const ViewBoxRow& box = ViewBoxRows()[i];
        if (box.key) {
            auto* key = new ViewColorKey(
                [&colors, entry = box.colour] { return entry ? colors[*entry] : clRed; }, viewGroup);
            viewColorKeys << key;
            grid->addWidget(key, box.row, box.column * 2);
        }
        grid->addWidget(viewBoxes[i].box, box.row, box.column * 2 + 1);
    }
    row->addWidget(viewGroup);

    auto* options = new QVBoxLayout;
    options->setSpacing(0);
    unitBoxes = {NamedCheckBox(this, "CheckBox29", QStringLiteral("dBuV"), true),
                 NamedCheckBox(this, "CheckBox30", QStringLiteral("dBpW")),
                 NamedCheckBox(this, "CheckBox31", QStringLiteral("dBm"))};
    logAxisCheckBox = NamedCheckBox(this, "CheckBox2", QStringLiteral("log"), kLogAxisAtStartUp);
    khzMhzCheckBox = NamedCheckBox(this, "CheckBox11", QStringLiteral("kHz/MHz"), true);
    zoomYAxisCheckBox = NamedCheckBox(this, "CheckBox12", QStringLiteral("Zoom Y Axis"));
    for (QCheckBox* box : unitBoxes)
        options->addWidget(box);
    for (QCheckBox* box : {logAxisCheckBox, khzMhzCheckBox, zoomYAxisCheckBox})
        options->addWidget(box);
    options->addStretch();
    row->addLayout(options);

    auto* buttons = new QVBoxLayout;
    undoZoomButton = NamedButton(this, "Button3", QStringLiteral("Undo zoom"));
    clearChartButton = NamedButton(this, "Button12", QStringLiteral("Clear chart"));
    clearAllButton = NamedButton(this, "Button4", QStringLiteral("Clear all"));
    buttons->addWidget(undoZoomButton);
    buttons->addWidget(clearChartButton);
    buttons->addWidget(clearAllButton);
    buttons->addStretch();
    row->addLayout(buttons);

    for (const ViewBox& view : viewBoxes) {
        connect(view.box, &QCheckBox::toggled, this,
                [this, roles = view.roles](bool shown) { emit viewToggled(roles, shown); });
    }
    for (size_t i = 0; i < unitBoxes.size(); ++i) {
        connect(unitBoxes[i], &QCheckBox::toggled, this,
                [this, unit = kUnits[i]](bool on) { emit levelUnitToggled(unit, on); });
    }
    connect(logAxisCheckBox, &QCheckBox::toggled, this, &ViewPanel::logAxisToggled);
    connect(khzMhzCheckBox, &QCheckBox::toggled, this, &ViewPanel::scaledKhzToggled);
    connect(undoZoomButton, &QPushButton::clicked, this, &ViewPanel::undoZoomClicked);
    connect(clearChartButton, &QPushButton::clicked, this, &ViewPanel::clearChartClicked);
    connect(clearAllButton, &QPushButton::clicked, this, &ViewPanel::clearAllClicked);
}

void ViewPanel::startUp()
{
    viewCorrectionsCheckBox->setChecked(false);
    for (size_t i = 0; i < unitBoxes.size(); ++i)
        unitBoxes[i]->setChecked(kUnits[i] == LevelUnit::dBuV);
}

bool ViewPanel::shows(SeriesRole role) const
{
    const QCheckBox* box = BoxOf(role);
    return !box || box->isChecked();
}

QCheckBox* ViewPanel::BoxOf(SeriesRole role) const
{
    for (const ViewBox& view : viewBoxes)
        if (std::find(view.roles.begin(), view.roles.end(), role) != view.roles.end())
            return view.box;
    return nullptr;
}

// The boxes are set with their signals blocked, so that only the operator's click chooses.
void ViewPanel::showLevelUnit(LevelUnit unit)
{
    for (size_t i = 0; i < unitBoxes.size(); ++i) {
        const QSignalBlocker quiet(unitBoxes[i]);
        unitBoxes[i]->setChecked(kUnits[i] == unit);
    }
}

bool ViewPanel::logAxis() const
{
    return logAxisCheckBox->isChecked();
}

void ViewPanel::setLogAxis(bool logarithmic)
{
    logAxisCheckBox->setChecked(logarithmic);
}

void ViewPanel::showLinearAxis()
{
    const QSignalBlocker quiet(logAxisCheckBox);
    logAxisCheckBox->setChecked(false);
}

bool ViewPanel::scaledKhz() const
{
    return khzMhzCheckBox->isChecked();
}

bool ViewPanel::zoomY() const
{
    return zoomYAxisCheckBox->isChecked();
}

void ViewPanel::enableClearCommands(bool idle)
{
    clearChartButton->setEnabled(idle);
    clearAllButton->setEnabled(idle);
}

void ViewPanel::refreshColorKeys()
{
    for (QWidget* key : viewColorKeys)
        key->update();
}

void ViewPanel::showDebugControls(bool shown)
{
    viewMasterCheckBox->setVisible(shown);
}
