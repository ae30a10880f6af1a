#include "chart/editors/AxisIncrement.h"

#include "app/DateTimeText.h"
#include "app/NumberText.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;

const char* const kStepNames[DateTimeStepCount] = {
    "One Microsecond", "One Millisecond", "One Second",   "Five Seconds",   "Ten Seconds",  "Fifteen Seconds",
    "Thirty Seconds",  "One Minute",      "Five Minutes", "Ten Minutes",    "Fifteen Minutes", "Thirty Minutes",
    "One Hour",        "Two Hours",       "Six Hours",    "Twelve Hours",   "One Day",      "Two Days",
    "Three Days",      "One Week",        "Half Month",   "One Month",      "Two Months",   "Three Months",
    "Four Months",     "Six Months",      "One Year",
};

// A whole number of 0 .. limit - 1 from one or two digits.
std::optional<int> TimeField(const QString& text, int limit)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value < limit ? std::optional<int>(value) : std::nullopt;
}

// "hh:nn" or "hh:nn:ss" on a 24-hour clock, in days.
std::optional<double> ReadTime(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const std::optional<int> hours = TimeField(parts[0], 24);
    const std::optional<int> minutes = TimeField(parts[1], 60);
    const std::optional<int> seconds = parts.size() == 3 ? TimeField(parts[2], 60) : std::optional<int>(0);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return (*hours * 3600.0 + *minutes * 60.0 + *seconds) / kSecondsPerDay;
}

QString NotAValidTime(const QString& text)
{
    return QStringLiteral("'%1' is not a valid time").arg(text);
}

QString NotAValidNumber(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

} // namespace

QString DateTimeIncrementText(double increment)
{
    if (!(increment > 0.0))
        return HoursMinutesSecondsText(1);
    double days = std::floor(increment);
    double seconds = std::nearbyint((increment - days) * kSecondsPerDay);
    // A fraction that rounds up to a whole day belongs to the days.
    if (seconds >= kSecondsPerDay) {
        days += 1.0;
        seconds = 0.0;
    }
    if (days < 1.0)
        return HoursMinutesSecondsText(static_cast<int64_t>(seconds));
    QString text = QString::number(days, 'f', 0);
    if (seconds > 0.0)
        text += QLatin1Char(' ') + HoursMinutesSecondsText(static_cast<int64_t>(seconds));
    return text;
}

std::optional<double> ReadDateTimeIncrement(const QString& text, QString& reason)
{
    const QString trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        const QString dayText = trimmed.left(blank);
        const QString timeText = trimmed.mid(blank + 1).trimmed();
        double days = 0.0;
        if (!TryStrToFloat(dayText, days)) {
            reason = NotAValidNumber(dayText);
            return std::nullopt;
        }
        const std::optional<double> time = ReadTime(timeText);
        if (!time) {
            reason = NotAValidTime(timeText);
            return std::nullopt;
        }
        return days + *time;
    }
    double days = 0.0;
    if (TryStrToFloat(trimmed, days))
        return days;
    if (const std::optional<double> time = ReadTime(trimmed))
        return time;
    reason = NotAValidTime(trimmed);
    return std::nullopt;
}

TAxisIncrement::TAxisIncrement(const EditorDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("AxisIncrement"));
    setWindowTitle(QStringLiteral("Axis Increment"));
    InitChartMessages();

    incrementGroup = NamedControl(new QGroupBox(QStringLiteral("Increment:"), this), "IncrementGroup");
    standardRadio = NamedControl(new QRadioButton(QStringLiteral("&Standard:"), incrementGroup), "StandardRadio");
    customRadio = NamedControl(new QRadioButton(QStringLiteral("&Custom:"), incrementGroup), "CustomRadio");
    stepCombo = NamedControl(new QComboBox(incrementGroup), "StepCombo");
    for (const char* name : kStepNames)
        stepCombo->addItem(QString::fromLatin1(name));
    auto* choice = new QButtonGroup(this);
    choice->addButton(standardRadio);
    choice->addButton(customRadio);
    incrementLabel = NamedControl(new QLabel(QStringLiteral("&Increment:"), this), "IncrementLabel");
    incrementEdit = NamedControl(new QLineEdit(this), "IncrementEdit");
    incrementLabel->setBuddy(incrementEdit);
    exactCheck = NamedControl(new QCheckBox(QStringLiteral("&Exact Date Time"), this), "ExactCheck");
    okButton = NamedControl(new QPushButton(QStringLiteral("OK"), this), "OKButton");
    okButton->setDefault(true);
    cancelButton = NamedControl(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton");

    auto* groupLayout = new QGridLayout(incrementGroup);
    groupLayout->addWidget(standardRadio, 0, 0);
    groupLayout->addWidget(stepCombo, 0, 1);
    groupLayout->addWidget(customRadio, 1, 0);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(incrementLabel);
    editRow->addWidget(incrementEdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(incrementGroup);
    layout->addLayout(editRow);
    layout->addWidget(exactCheck);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(standardRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !filling_)
            ChooseStandard();
    });
    connect(customRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !filling_)
            ChooseCustom();
    });
    connect(exactCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_)
            return;
        IsExact = on;
        if (!on)
            customRadio->setChecked(true);
    });
    connect(stepCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            StepIndex = index;
    });
    connect(okButton, &QPushButton::clicked, this, &TAxisIncrement::OkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TAxisIncrement::RefreshControls()
{
    const FillGuard guard(filling_);
    incrementGroup->setVisible(IsDateTime);
    exactCheck->setVisible(IsDateTime);
    if (!IsDateTime) {
        customRadio->setChecked(true);
        incrementEdit->setEnabled(true);
        incrementEdit->setToolTip(QString());
        ShowIncrementText();
        incrementEdit->setFocus();
        incrementEdit->selectAll();
        return;
    }
    incrementEdit->setToolTip(PlotMessage(PlotMsg::EditorEnterDaysTime));
    exactCheck->setChecked(IsExact);
    const bool standard = IsExact && StepIndex >= 0 && StepIndex < DateTimeStepCount;
    (standard ? standardRadio : customRadio)->setChecked(true);
    exactCheck->setEnabled(standard);
    stepCombo->setEnabled(standard);
    incrementEdit->setEnabled(!standard);
    if (standard) {
        stepCombo->setCurrentIndex(StepIndex);
        incrementEdit->clear();
        shownText_.clear();
        stepCombo->setFocus();
    } else {
        stepCombo->setCurrentIndex(-1);
        ShowIncrementText();
    }
}

bool TAxisIncrement::Execute()
{
    RefreshControls();
    return RunEditorDialog(dialogs_, *this) == QDialog::Accepted;
}

void TAxisIncrement::ChooseStandard()
{
    const FillGuard guard(filling_);
    incrementEdit->setEnabled(false);
    exactCheck->setChecked(true);
    exactCheck->setEnabled(true);
    IsExact = true;
    stepCombo->setEnabled(true);
    if (StepIndex < 0 || StepIndex >= DateTimeStepCount)
        StepIndex = 0;
    stepCombo->setCurrentIndex(StepIndex);
}

void TAxisIncrement::ChooseCustom()
{
    const FillGuard guard(filling_);
    incrementEdit->setEnabled(true);
    exactCheck->setChecked(false);
    exactCheck->setEnabled(false);
    IsExact = false;
    stepCombo->setEnabled(false);
    ShowIncrementText();
}

void TAxisIncrement::ShowIncrementText()
{
    shownText_ = IsDateTime ? DateTimeIncrementText(Increment) : FloatToStr(Increment);
    incrementEdit->setText(shownText_);
}

// The text shown for the increment may round it (to whole seconds, to 15 digits): OK without an
// edit keeps the increment exactly as it was.
bool TAxisIncrement::ReadIncrement(double& value, QString& reason) const
{
    const QString text = incrementEdit->text();
    if (!shownText_.isEmpty() && text == shownText_) {
        value = Increment;
        return true;
    }
    if (!IsDateTime) {
        if (TryStrToFloat(text, value))
            return true;
        reason = NotAValidNumber(text.trimmed());
        return false;
    }
    const std::optional<double> read = ReadDateTimeIncrement(text, reason);
    if (!read)
        return false;
    value = *read;
    return true;
}

void TAxisIncrement::OkClicked()
{
    if (IsDateTime && standardRadio->isChecked()) {
        const int index = stepCombo->currentIndex();
        if (index >= 0 && index < DateTimeStepCount)
            Increment = DateTimeSteps()[static_cast<size_t>(index)];
        accept();
        return;
    }
    double value = 0.0;
    QString reason;
    if (!ReadIncrement(value, reason)) {
        ShowEditorError(dialogs_, seriestexts::FormatText(PlotMessage(PlotMsg::EditorIncorrectValue), {reason}), this);
        return;
    }
    Increment = value;
    accept();
}
