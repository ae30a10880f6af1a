#ifndef ZENDRIK_CHART_EDITORS_EDITORROUTINES_H
#define ZENDRIK_CHART_EDITORS_EDITORROUTINES_H

#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotCursors.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

class QAbstractButton;
class QComboBox;
class QDialog;
class QImage;
class QLabel;
class QSize;
class TButtonColor;
class TPlotCanvas3D;
struct EditorDialogs;

// Routines every chart editor form shares.

// The window an editor form belongs to: the window of the owner control, none without owner.
QWidget* EditorOwnerWindow(QWidget* owner);

// An editor form as a dialog of the owner's window (Qt centres it on that window, or on the
// screen without owner). The arguments go to the form's constructor, its parent last.
template <class Form, class... Args>
std::unique_ptr<Form> CreateEditorForm(QWidget* owner, Args&&... args)
{
    auto form = std::make_unique<Form>(std::forward<Args>(args)..., EditorOwnerWindow(owner));
    form->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    return form;
}

// Makes a form a borderless child of a page: added to the page's layout (made with margins 4
// when the page has none) and shown. The page keeps the visibility it had.
void EmbedEditorForm(QWidget* form, QWidget* page);

// Runs an editor dialog through the modal hook after passing it to the library's control hook.
int RunEditorDialog(const EditorDialogs& dialogs, QDialog& dialog);

// A question with Yes and No (the busy cursor is taken down first); true for Yes.
bool AskYesNo(const EditorDialogs& dialogs, const QString& message, QWidget* owner = nullptr);
// "Delete <name> ?"
bool AskDeleteConfirmation(const EditorDialogs& dialogs, const QString& name, QWidget* owner = nullptr);
// An error box through the editors' error hook.
void ShowEditorError(const EditorDialogs& dialogs, const QString& message, QWidget* owner = nullptr);

void SetControlsVisible(bool visible, std::initializer_list<QWidget*> controls);
// A control with its object name, for building forms in one expression.
template <class W>
W* NamedControl(W* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
// A label whose mnemonic moves the focus to the control.
QLabel* BuddyLabel(const char* caption, QWidget* control, QWidget* parent);
// The style's up and down arrows on the move buttons of list editors.
void LoadMoveArrowGlyphs(QAbstractButton* up, QAbstractButton* down);

// Cursor choosers: names without their "cr" prefix. The cursor of a name, or defaultCursor when
// the name is unknown.
TCursor CursorFromName(TCursor defaultCursor, const QString& name);
// Every name, sorted, with the cursor's name selected (nothing when it has none).
void FillCursorCombo(QComboBox& combo, TCursor cursor);

// Links a colour button to a colour of the edited object: the swatch shows get(), a chosen colour
// goes to set(), the dialog is the editors' colour hook.
void LinkColorButton(TButtonColor& button, const EditorDialogs& dialogs, std::function<TColor()> get,
                     std::function<void(TColor)> set);

// Reads a picture file; false with the reader's reason (and the picture untouched) when it fails.
// format receives the format the reader recognised ("png").
bool LoadPictureFile(const QString& fileName, QImage& picture, QString& error, QString* format = nullptr);
// The format a loaded picture came from, as LoadPictureFile noted it; empty when unknown.
QString PictureFormat(const QImage& picture);

// A picture of that size drawn by the chart canvas on a background colour (item samples of lists).
QImage DrawCanvasPicture(const QSize& size, TColor background, const std::function<void(TPlotCanvas3D&)>& draw);
// The colour of an item sample: white instead of the background colour, black when that is white.
TColor SampleColorOn(TColor colour, TColor background);

// A number with up to two decimals and no trailing zeros, then " %" ("50 %", "12.5 %").
QString FormatPercentLabel(double value);

// True while a form copies an object into its controls; the controls' handlers write nothing then.
class FillGuard {
public:
    explicit FillGuard(bool& filling) : filling_(filling), was_(filling) { filling_ = true; }
    ~FillGuard() { filling_ = was_; }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    bool& filling_;
    bool was_;
};

// Silences an object's change event for its lifetime.
template <class T>
class SilentChanges {
public:
    explicit SilentChanges(T& object) : object_(object), saved_(std::move(object.OnChange)) { object.OnChange = {}; }
    ~SilentChanges() { object_.OnChange = std::move(saved_); }
    SilentChanges(const SilentChanges&) = delete;
    SilentChanges& operator=(const SilentChanges&) = delete;

private:
    T& object_;
    std::function<void()> saved_;
};

// Runs change with the object's change event silenced, then reports one change.
template <class T, class Fn>
void ChangeWithOneEvent(T& object, Fn&& change)
{
    {
        SilentChanges<T> quiet(object);
        change();
    }
    if (object.OnChange)
        object.OnChange();
}

#endif
