#include "chart/editors/FilterFormCreator.h"

#include "chart/canvas/PlotControls.h"
#include "chart/editors/EditorRoutines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

QString PropertyCaption(const QString& name)
{
    qsizetype first = 0;
    while (first < name.size() && name[first].isLower())
        ++first;
    if (first == name.size())
        return name;
    QString caption;
    for (qsizetype i = first; i < name.size(); ++i) {
        if (i > first && name[i].isUpper())
            caption += QLatin1Char(' ');
        caption += name[i];
    }
    return caption;
}

TFilterFormCreator::TFilterFormCreator(const EditorDialogs& dialogs, QWidget* page) : dialogs_(dialogs), page_(page)
{
    if (page && !page->layout()) {
        // The first row starts 8 pixels down; rows are 6 pixels apart.
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->addStretch(1);
    }
}

TFilterFormCreator::~TFilterFormCreator()
{
    Clear();
}

void TFilterFormCreator::Clear()
{
    if (instance_)
        instance_->DetachEditor();
    instance_ = nullptr;
    controls_.clear();
    delete form_.data();
}

void TFilterFormCreator::Edit(TPlotFilter* filter, std::function<void()> onChange)
{
    Clear();
    if (!filter || !page_)
        return;
    form_ = new QWidget(page_);
    auto* grid = new QGridLayout(form_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    if (auto* layout = qobject_cast<QBoxLayout*>(page_->layout()))
        layout->insertWidget(0, form_);
    else if (page_->layout())
        page_->layout()->addWidget(form_);
    instance_ = filter;
    {
        const FillGuard guard(updating_);
        filter->CreateEditor(*this, std::move(onChange));
    }
    form_->show();
}

QWidget* TFilterFormCreator::Control(const QString& property) const
{
    const auto found = controls_.find(property);
    return found == controls_.end() ? nullptr : found->second;
}

QVariant TFilterFormCreator::Value(const QString& property) const
{
    if (!instance_)
        return {};
    for (const FilterProperty& p : instance_->Properties())
        if (p.name == property)
            return p.value;
    return {};
}

int TFilterFormCreator::IntegerValue(const QString& property) const
{
    // Some integer controls edit a floating property (an angle, a percentage).
    const double value = Value(property).toDouble();
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::nearbyint(value), -2.0e9, 2.0e9));
}

void TFilterFormCreator::Write(const QString& property, const QVariant& value)
{
    if (updating_ || !instance_)
        return;
    if (instance_->SetProperty(property, value))
        instance_->EditorChanged(property);
}

void TFilterFormCreator::AddRow(QWidget* label, QWidget* control)
{
    auto* grid = static_cast<QGridLayout*>(form_->layout());
    const int row = grid->rowCount();
    if (label)
        grid->addWidget(label, row, 0);
    grid->addWidget(control, row, label ? 1 : 0, 1, label ? 1 : 2);
    controls_[control->objectName()] = control;
}

void TFilterFormCreator::AddInteger(const QString& property, int minimum, int maximum)
{
    if (!form_)
        return;
    auto* label = new QLabel(PropertyCaption(property) + QLatin1Char(':'), form_);
    auto* spin = new QSpinBox(form_);
    spin->setObjectName(property);
    spin->setRange(minimum, maximum);
    spin->setValue(IntegerValue(property));
    label->setBuddy(spin);
    AddRow(label, spin);
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [this, property](int value) { Write(property, value); });
}

void TFilterFormCreator::AddCheckBox(const QString& property)
{
    if (!form_)
        return;
    auto* check = new QCheckBox(PropertyCaption(property), form_);
    check->setObjectName(property);
    check->setChecked(Value(property).toBool());
    AddRow(nullptr, check);
    QObject::connect(check, &QCheckBox::toggled, check, [this, property](bool on) { Write(property, on); });
}

void TFilterFormCreator::AddColor(const QString& property)
{
    if (!form_)
        return;
    auto* button = new TButtonColor(form_);
    button->setObjectName(property);
    button->setText(PropertyCaption(property) + QStringLiteral("..."));
    AddRow(nullptr, button);
    LinkColorButton(*button, dialogs_, [this, property] { return static_cast<TColor>(Value(property).toInt()); },
                    [this, property](TColor colour) { Write(property, static_cast<int>(colour)); });
}

void TFilterFormCreator::AddChoice(const QString& property, const QStringList& choices)
{
    if (!form_)
        return;
    auto* label = new QLabel(PropertyCaption(property) + QLatin1Char(':'), form_);
    auto* combo = new QComboBox(form_);
    combo->setObjectName(property);
    combo->addItems(choices);
    combo->setCurrentIndex(Value(property).toInt());
    label->setBuddy(combo);
    AddRow(label, combo);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this, property](int index) {
        if (index >= 0)
            Write(property, index);
    });
}

// A new range moves the shown value into it; a value that had to move is stored as shown, so
// that the filter and its control agree. Filling stores nothing.
void TFilterFormCreator::SetIntegerRange(const QString& property, int minimum, int maximum)
{
    auto* spin = qobject_cast<QSpinBox*>(Control(property));
    if (!spin)
        return;
    const QSignalBlocker quiet(spin);
    spin->setRange(minimum, maximum);
    const int value = IntegerValue(property);
    spin->setValue(value);
    if (!updating_ && instance_ && spin->value() != value)
        instance_->SetProperty(property, spin->value());
}
