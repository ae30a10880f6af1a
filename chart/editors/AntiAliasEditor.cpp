#include "chart/editors/AntiAliasEditor.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/PlotMessages.h"
#include "chart/tools/AntiAliasTool.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The chart's automatic repaint off while alive.
class RepaintOffScope {
public:
    explicit RepaintOffScope(TCustomPlotPanel& panel) : panel_(panel), saved_(panel.RepaintOnChange())
    {
        panel_.SetRepaintOnChange(false);
    }
    ~RepaintOffScope() { panel_.SetRepaintOnChange(saved_); }
    RepaintOffScope(const RepaintOffScope&) = delete;
    RepaintOffScope& operator=(const RepaintOffScope&) = delete;

private:
    TCustomPlotPanel& panel_;
    bool saved_;
};

// The tool inactive while alive: no smoothing, no filters.
class InactiveScope {
public:
    explicit InactiveScope(TAntiAliasTool& tool) : tool_(tool), saved_(tool.Active()) { tool_.SetActive(false); }
    ~InactiveScope() { tool_.SetActive(saved_); }
    InactiveScope(const InactiveScope&) = delete;
    InactiveScope& operator=(const InactiveScope&) = delete;

private:
    TAntiAliasTool& tool_;
    bool saved_;
};

} // namespace

TAntiAliasEditor::TAntiAliasEditor(const EditorDialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("AntiAliasEditor"));
    antiAliasCheck = new QCheckBox(QStringLiteral("&Anti-alias"), this);
    antiAliasCheck->setObjectName(QStringLiteral("AntiAliasCheck"));
    antiAliasCheck->setChecked(true);
    filtersButton = new QPushButton(PlotMessage(PlotMsg::EditorFilters), this);
    filtersButton->setObjectName(QStringLiteral("FiltersButton"));
    filtersButton->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(antiAliasCheck);
    layout->addWidget(filtersButton, 0, Qt::AlignLeft);
    layout->addStretch(1);

    connect(antiAliasCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && tool_)
            tool_->SetAntiAlias(on);
    });
    connect(filtersButton, &QPushButton::clicked, this, [this] {
        try {
            EditFilters();
        } catch (...) {
            // The chart keeps its filters; the editor stays usable.
            ReportChartError("TAntiAliasEditor::EditFilters");
        }
    });
}

void TAntiAliasEditor::RefreshControls(TAntiAliasTool& tool)
{
    tool_ = &tool;
    filling_ = true;
    antiAliasCheck->setChecked(tool.AntiAlias());
    filling_ = false;
    filtersButton->setEnabled(static_cast<bool>(dialogs_.Filters));
}

void TAntiAliasEditor::EditFilters()
{
    if (!tool_ || !dialogs_.Filters)
        return;
    ChartParent* chart = tool_->ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    QImage picture;
    if (panel) {
        RepaintOffScope repaintOff(*panel);
        InactiveScope inactive(*tool_);
        picture = panel->CreateBitmap();
    }
    dialogs_.Filters(this, picture, tool_->Filters());
    if (panel)
        panel->RepaintNow();
}

QWidget* CreateAntiAliasEditor(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object)
{
    const auto* tool = std::any_cast<TAntiAliasTool*>(&object);
    if (!tool || !*tool)
        return nullptr;
    auto* editor = new TAntiAliasEditor(dialogs, parent);
    editor->RefreshControls(**tool);
    return editor;
}
