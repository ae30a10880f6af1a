// The generator view's handlers: each reads its controls into the view model, calls the
// generator controller or the settings logic, and shows the model again.
#include "forms/ImmunityFrame.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/TableBuffer.h"
#include "forms/FormDialogs.h"
#include "forms/FormServices.h"
#include "forms/RampDiagram.h"
#include "immunity/GeneratorLayout.h"
#include "immunity/GeneratorSettings.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <exception>

namespace {

QString DefaultReportChooser(QWidget* parent, const QString& workingFolder, const ImmunityReportDialog& d)
{
    QFileDialog dialog(parent, d.Title, QDir(workingFolder).filePath(d.Folder), d.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(d.DefaultSuffix);
    dialog.selectFile(d.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

// No exception leaves a handler: it ends as an error line and the view shows its model again.
// The controller's hooks may throw anything; what is no std::exception still gets a line.
template <class F> void ImmunityFrame::Guarded(F&& handler)
{
    try {
        RunLoggingErrors(app_.Messages, handler);
    } catch (...) {
        app_.Messages.Append(QStringLiteral("Error: generator view"));
    }
    ShowView();
}

void ImmunityFrame::ConnectHandlers()
{
    // The speed buttons are connected as they are made (MakeSpeedButton).
    connect(frequencyUpButton, &QToolButton::clicked, this, &ImmunityFrame::stepFrequencyUp);
    connect(frequencyDownButton, &QToolButton::clicked, this, &ImmunityFrame::stepFrequencyDown);
    connect(amplitudeUpButton, &QToolButton::clicked, this, &ImmunityFrame::stepAmplitudeUp);
    connect(amplitudeDownButton, &QToolButton::clicked, this, &ImmunityFrame::stepAmplitudeDown);
    connect(manualFrequencyEdit, &QLineEdit::returnPressed, this, [this] { Guarded([&] { controller_->EnterFrequency(); }); });
    connect(manualAmplitudeEdit, &QLineEdit::returnPressed, this, [this] { Guarded([&] { controller_->EnterAmplitude(); }); });
    connect(manualFrequencyIncrementEdit, &QLineEdit::returnPressed, this,
            [this] { Guarded([&] { controller_->EnterFrequencyIncrement(); }); });
    connect(periodicRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (!syncing_)
            view_.Ramp.Periodic = on;
    });
    connect(calculatorInputEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!syncing_)
            view_.Calculator.Input = text;
    });
    connect(markStarButton, &QPushButton::clicked, this, [this] { AddMark(QLatin1Char('*')); });
    connect(markHashButton, &QPushButton::clicked, this, [this] { AddMark(QLatin1Char('#')); });
    connect(showCalculatorButton, &QPushButton::clicked, this, [this] { ToggleBox(boxes_[2]); });
    connect(showMarkerButton, &QPushButton::clicked, this, [this] { ToggleBox(boxes_[3]); });
    connect(showSettingsButton, &QPushButton::clicked, this, [this] { ToggleBox(boxes_[0]); });
    connect(showMessagesButton, &QPushButton::clicked, this, [this] { ToggleBox(boxes_[1]); });
    connect(calculatorTimer, &QTimer::timeout, this, &ImmunityFrame::refreshFieldStrengths);
    connect(rampDiagram, &RampDiagram::resized, this, &ImmunityFrame::layoutRampFields);

    // The pop-up menus of the two memos.
    const auto action = [](QWidget* owner, const char* name, const QString& caption) {
        auto* a = new QAction(caption, owner);
        a->setObjectName(QString::fromLatin1(name));
        owner->addAction(a);
        owner->setContextMenuPolicy(Qt::ActionsContextMenu);
        return a;
    };
    connect(action(marksMemo, "SavetoFile1", QStringLiteral("Save to File")), &QAction::triggered, this,
            [this] { Guarded([&] { SaveReport(); }); });
    connect(action(marksMemo, "Clear1", QStringLiteral("Clear")), &QAction::triggered, this,
            [this] { Guarded([&] { view_.Marks.clear(); }); });
    connect(action(messagesMemo, "Clear1", QStringLiteral("Clear")), &QAction::triggered, this,
            [this] { Guarded([&] { view_.Messages.clear(); }); });

    // The settings grid validates a pick at once, a typed septum height when the typing ends.
    for (int r = 0; r < settingsGrid->rowCount(); ++r) {
        auto* combo = static_cast<QComboBox*>(settingsGrid->cellWidget(r, 1));
        if (combo->isEditable()) {
            connect(combo, &QComboBox::activated, this, [this, r] { ValidateSetting(r); });
            connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, r] { ValidateSetting(r); });
        } else {
            connect(combo, &QComboBox::currentTextChanged, this, [this, r] {
                if (!syncing_)
                    ValidateSetting(r);
            });
        }
    }
}

void ImmunityFrame::ClickAction(GeneratorAction action)
{
    Guarded([&] { controller_->Click(action); });
}

void ImmunityFrame::ShowError(const QString& text)
{
    if (services_.showMessage)
        services_.showMessage(text);
}

void ImmunityFrame::setMainMode(MainMode mode)
{
    const bool wasGenerator = mainMode_ == MainMode::Generator;
    mainMode_ = mode;
    if (mode == MainMode::Generator) {
        calculatorTimer->start();
        if (!wasGenerator) {
            showFloatingBoxes();
            layoutRampFields();
        }
    } else {
        calculatorTimer->stop();
        if (wasGenerator)
            hideFloatingBoxes();
    }
}

void ImmunityFrame::refreshInstrumentOwnership()
{
    Guarded([&] { controller_->RefreshOwnership(); });
}

void ImmunityFrame::setCorrectionSeries(TChartSeries* amplifier, TChartSeries* temCell)
{
    amplifier_ = amplifier != nullptr ? amplifier : ownAmplifier_.get();
    temCell_ = temCell != nullptr ? temCell : ownTemCell_.get();
}

void ImmunityFrame::setTableGrid(TableBuffer* grid)
{
    grid_ = grid != nullptr ? grid : ownGrid_.get();
}

void ImmunityFrame::refreshFileLists()
{
    const QDir src(QDir(app_.WorkingFolder).filePath(QStringLiteral("src")));
    const auto fill = [&](int row, const QString& mask) {
        auto* combo = static_cast<QComboBox*>(settingsGrid->cellWidget(row, 1));
        const QString current = combo->currentText();
        syncing_ = true;
        combo->clear();
        combo->addItem(QStringLiteral("none"));
        combo->addItems(src.entryList({mask}, QDir::Files, QDir::Name));
        // A loaded file that has gone from the folder stays named: its correction is still in use.
        if (combo->findText(current) < 0)
            combo->addItem(current);
        combo->setCurrentText(current);
        syncing_ = false;
    };
    fill(0, QStringLiteral("*.amp"));
    fill(1, QStringLiteral("*.tc"));
}

void ImmunityFrame::ValidateSetting(int row)
{
    Guarded([&] {
        auto* combo = static_cast<QComboBox*>(settingsGrid->cellWidget(row, 1));
        FormDialogs dialogs(services_);
        DataFileContext files{app_.WorkingFolder, &dialogs, &app_.Debug, &app_.Messages};
        const GeneratorSettingsTargets targets{settings_, *grid_, *amplifier_, *temCell_, files, app_.Debug};
        const std::optional<QString> shown =
            ValidateGeneratorSetting(settingsGrid->item(row, 0)->text(), combo->currentText(), targets);
        if (shown) {
            syncing_ = true;
            combo->setEditText(*shown);
            syncing_ = false;
        }
    });
}

bool ImmunityFrame::handleMainWindowKey(int key)
{
    if (mainMode_ != MainMode::Generator)
        return false;
    QString text;
    if (!messagesMemo->hasFocus() && !marksMemo->hasFocus()) {
        switch (key) {
        case Qt::Key_Up: text = QStringLiteral("hinauf"); break;
        case Qt::Key_Down: text = QStringLiteral("hinunter"); break;
        case Qt::Key_Left: text = QStringLiteral("links"); break;
        case Qt::Key_Right: text = QStringLiteral("rechts"); break;
        default: break;
        }
    }
    if (!text.isEmpty()) {
        setFocus();
        switch (key) {
        case Qt::Key_Up: stepAmplitudeUp(); break;
        case Qt::Key_Down: stepAmplitudeDown(); break;
        case Qt::Key_Left: stepFrequencyDown(); break;
        default: stepFrequencyUp(); break;
        }
    }
    app_.Debug.LogMessage(QStringLiteral("key: ") + text);
    return !text.isEmpty();
}

void ImmunityFrame::stepFrequencyUp()
{
    Guarded([&] { controller_->FrequencyUp(); });
}

void ImmunityFrame::stepFrequencyDown()
{
    Guarded([&] { controller_->FrequencyDown(); });
}

void ImmunityFrame::stepAmplitudeUp()
{
    Guarded([&] { controller_->AmplitudeUp(); });
}

void ImmunityFrame::stepAmplitudeDown()
{
    Guarded([&] { controller_->AmplitudeDown(); });
}

QString ImmunityFrame::refusedCorrection() const
{
    return RefusedAmplifierTable(settingValue(kAmpCorRow), *amplifier_, *grid_, app_.WorkingFolder);
}

bool ImmunityFrame::generatorActionActive() const
{
    return controller_->ActionActive();
}

QString ImmunityFrame::generatorOnLine() const
{
    return controller_->OnLine();
}

QString ImmunityFrame::generatorOutputText() const
{
    switch (controller_->Output()) {
    case GeneratorOutput::Off: break;
    case GeneratorOutput::On: return QStringLiteral("Generator on");
    case GeneratorOutput::MayBeOn: return QStringLiteral("Generator may be on");
    }
    return {};
}

void ImmunityFrame::clearMessages()
{
    Guarded([&] { view_.Messages.clear(); });
}

void ImmunityFrame::showLogo()
{
    logo->show();
}

bool ImmunityFrame::shutDownGenerator()
{
    bool done = true;
    Guarded([&] { done = controller_->Shutdown(); });
    return done;
}

void ImmunityFrame::refreshFieldStrengths()
{
    if (mainMode_ != MainMode::Generator)
        return;
    Guarded([&] { RefreshFieldStrengths(view_, *amplifier_, settings_.SeptumCm, refusedCorrection()); });
}

void ImmunityFrame::AddMark(QChar sign)
{
    Guarded([&] { controller_->AddMark(LongTimeText(clock()), sign); });
}

void ImmunityFrame::SaveReport()
{
    const ImmunityReportDialog dialog;
    const QString path = chooseReportFile ? chooseReportFile(dialog)
                                          : DefaultReportChooser(this, app_.WorkingFolder, dialog);
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteImmunityReport(path, ImmunityReportBytes(ShortDateLongTimeText(clock()), view_.Marks), &error))
        app_.Messages.Append(QStringLiteral("Error: immunity report not saved: ") + path + QStringLiteral(" (") + error +
                             QStringLiteral("); the previous file is unchanged"));
}

void ImmunityFrame::HideBox(FloatingBox& box)
{
    box.remembered = box.box->pos();
    box.placed = true;
    box.box->hide();
}

void ImmunityFrame::ShowBox(FloatingBox& box)
{
    if (!box.placed) {
        if (firstPlaces_.empty())
            firstPlaces_ = FirstBoxPlaces();
        box.remembered = firstPlaces_[static_cast<size_t>(&box - boxes_.data())];
        box.placed = true;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (!screens.isEmpty()) {
        const int index = FloatingBoxScreen(box.remembered.x(), window()->width(), static_cast<int>(screens.size()));
        box.box->move(FloatingBoxPosition(box.remembered, box.box->size(), screens[index]->availableGeometry()));
    }
    box.box->show();
    box.box->raise();
}

// Every box gets its own place the first time any of them opens, so that they open side by side
// from the middle of the view in whatever order the operator asks for them. A window manager adds
// a title bar above each box: the places leave room for one.
std::vector<QPoint> ImmunityFrame::FirstBoxPlaces()
{
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    std::vector<QSize> sizes;
    for (FloatingBox& box : boxes_) {
        if (!box.box->testAttribute(Qt::WA_Resized))
            box.box->adjustSize();
        sizes.push_back(box.box->size() + QSize(0, titleBar));
    }
    const QPoint anchor = mapToGlobal(QPoint(width() / 2, 40));
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = this->screen();
    if (!screen)
        return std::vector<QPoint>(boxes_.size(), anchor);
    // Boxes stand a little apart so that each frame's edge stays in sight, and off the buttons
    // that show and hide them.
    QRect buttons;
    for (const QPushButton* b : {showCalculatorButton, showMarkerButton, showSettingsButton, showMessagesButton})
        buttons |= QRect(b->mapToGlobal(QPoint(0, 0)), b->size());
    return FirstFloatingBoxPlaces(anchor, sizes, screen->availableGeometry(), 8, buttons);
}

void ImmunityFrame::ToggleBox(FloatingBox& box)
{
    Guarded([&] {
        if (box.box->isVisible()) {
            HideBox(box);
            box.floating = false;
            return;
        }
        ShowBox(box);
        box.floating = true;
        if (box.box == messagesBox)
            app_.Debug.LogMessage(QStringLiteral("A3:box6 left/top ") + QString::number(box.box->x()) +
                                  QLatin1Char(':') + QString::number(box.box->y()));
    });
}

void ImmunityFrame::hideFloatingBoxes()
{
    for (FloatingBox& box : boxes_)
        if (box.floating && box.box->isVisible())
            HideBox(box);
}

void ImmunityFrame::showFloatingBoxes()
{
    static constexpr const char* kLines[] = {"A0: box5 settings left/top: ", "A1: box6 messages left/top: ",
                                             "A0: box8 calcuate left/top: ", "A1: box9 markers  left/top: "};
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const QPoint at = boxes_[i].placed ? boxes_[i].remembered : boxes_[i].box->pos();
        app_.Debug.LogMessage(QString::fromLatin1(kLines[i]) + QString::number(at.x()) + QLatin1Char('/') +
                              QString::number(at.y()));
    }
    for (FloatingBox& box : boxes_)
        if (box.floating)
            ShowBox(box);
}

void ImmunityFrame::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Closing the window that holds the view must switch the generator off before the window's
    // own close handling closes the instrument session.
    QWidget* w = window();
    if (w != watchedWindow_) {
        if (watchedWindow_)
            watchedWindow_->removeEventFilter(this);
        watchedWindow_ = w;
        w->installEventFilter(this);
    }
    layoutRampFields();
}

bool ImmunityFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedWindow_ && event->type() == QEvent::Close)
        shutDownGenerator();
    return QWidget::eventFilter(watched, event);
}
