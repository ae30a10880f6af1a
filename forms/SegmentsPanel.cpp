#include "forms/SegmentsPanel.h"

#include "datafiles/CheckListModel.h"
#include "forms/PanelControls.h"
#include "mainwindow/SegmentChecks.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListView>
#include <QVBoxLayout>
#include <memory>

SegmentsPanel::SegmentsPanel(const PerSet<CheckListModel*>& segmentChecks, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* segments = new QHBoxLayout;
    segmentsCheckBox = NamedCheckBox(this, "CheckBox24", QStringLiteral("Segm."), true);
    maxFilterCheckBox = NamedCheckBox(this, "CheckBox3", QStringLiteral("MaxFilter"));
    segments->addWidget(segmentsCheckBox);
    segments->addWidget(maxFilterCheckBox);
    column->addLayout(segments);
    static constexpr PerSet<const char*> kNames{"CheckListBox1", "CheckListBox2"};
    for (MeasureSet set : kMeasureSets) {
        segmentLists[set] = NamedList(this, kNames[set]);
        segmentLists[set]->setModel(segmentChecks[set]);
        segmentLists[set]->setFixedHeight(76);
        column->addWidget(segmentLists[set]);
    }

    connect(segmentsCheckBox, &QCheckBox::toggled, this, &SegmentsPanel::segmentMarksToggled);
    // An operator's tick on a segment row: "all" gives every row its state, a segment row sets
    // "all" when every segment is ticked.
    for (CheckListModel* checks : segmentChecks) {
        connect(checks, &CheckListModel::dataChanged, this,
                [checks, applying = std::make_shared<bool>(false)](const QModelIndex& from, const QModelIndex&,
                                                                   const QList<int>& roles) {
                    if (*applying || !roles.contains(Qt::CheckStateRole))
                        return;
                    *applying = true;
                    ApplySegmentCheck(*checks, from.row());
                    *applying = false;
                });
    }
}

void SegmentsPanel::startUp()
{
    for (MeasureSet set : kMeasureSets)
        segmentLists[set]->setVisible(set == MeasureSet::Set1);
}

void SegmentsPanel::showSet(MeasureSet set)
{
    const bool segments = segmentsCheckBox->isChecked();
    for (MeasureSet each : kMeasureSets) {
        const bool chosen = each == set;
        segmentLists[each]->setVisible(chosen);
        segmentLists[each]->setEnabled(chosen && segments);
    }
}

bool SegmentsPanel::segmentMarksShown() const
{
    return segmentsCheckBox->isChecked();
}

bool SegmentsPanel::maxFilterOn() const
{
    return maxFilterCheckBox->isChecked();
}
