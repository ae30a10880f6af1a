#include "chart/editors/EditorRoutines.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotControls.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Where LoadPictureFile notes the format of a picture; the text travels with the image's copies.
const char* const kPictureFormatKey = "ZendrikFormat";

} // namespace

QWidget* EditorOwnerWindow(QWidget* owner)
{
    return owner ? owner->window() : nullptr;
}

void EmbedEditorForm(QWidget* form, QWidget* page)
{
    if (!form || !page)
        return;
    const bool pageHidden = page->isHidden();
    form->setParent(page, Qt::Widget);
    QLayout* layout = page->layout();
    if (!layout) {
        layout = new QVBoxLayout(page);
        layout->setContentsMargins(4, 4, 4, 4);
    }
    layout->addWidget(form);
    form->show();
    if (page->isHidden() != pageHidden)
        page->setHidden(pageHidden);
}

int RunEditorDialog(const EditorDialogs& dialogs, QDialog& dialog)
{
    if (dialogs.Library)
        CallControlHook(*dialogs.Library, &dialog);
    const auto& run = dialogs.RunModal ? dialogs.RunModal : DefaultEditorDialogs().RunModal;
    return run(dialog);
}

bool AskYesNo(const EditorDialogs& dialogs, const QString& message, QWidget* owner)
{
    // A busy cursor left by the work before would hide that the box waits for an answer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    const auto& ask = dialogs.YesNo ? dialogs.YesNo : DefaultEditorDialogs().YesNo;
    return ask(owner, message);
}

bool AskDeleteConfirmation(const EditorDialogs& dialogs, const QString& name, QWidget* owner)
{
    InitChartMessages();
    return AskYesNo(dialogs, seriestexts::FormatText(PlotMessage(PlotMsg::EditorDeleteQuestion), {name}), owner);
}

void ShowEditorError(const EditorDialogs& dialogs, const QString& message, QWidget* owner)
{
    const auto& report = dialogs.Error ? dialogs.Error : DefaultEditorDialogs().Error;
    report(owner, message);
}

void SetControlsVisible(bool visible, std::initializer_list<QWidget*> controls)
{
    for (QWidget* w : controls)
        if (w)
            w->setVisible(visible);
}

QLabel* BuddyLabel(const char* caption, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setBuddy(control);
    return label;
}

void LoadMoveArrowGlyphs(QAbstractButton* up, QAbstractButton* down)
{
    if (up)
        up->setIcon(up->style()->standardIcon(QStyle::SP_ArrowUp));
    if (down)
        down->setIcon(down->style()->standardIcon(QStyle::SP_ArrowDown));
}

TCursor CursorFromName(TCursor defaultCursor, const QString& name)
{
    TCursor cursor = defaultCursor;
    if (!IdentToCursor(QStringLiteral("cr") + name, cursor))
        return defaultCursor;
    return cursor;
}

void FillCursorCombo(QComboBox& combo, TCursor cursor)
{
    QStringList names;
    for (const TCursorEntry& e : CursorEntries())
        names << QString::fromLatin1(e.name).mid(2);
    names.sort(Qt::CaseInsensitive);
    combo.clear();
    combo.addItems(names);
    QString name;
    combo.setCurrentIndex(CursorToIdent(cursor, name) ? combo.findText(name.mid(2)) : -1);
}

void LinkColorButton(TButtonColor& button, const EditorDialogs& dialogs, std::function<TColor()> get,
                     std::function<void(TColor)> set)
{
    button.ColorDialog = dialogs.Color ? dialogs.Color : DefaultEditorDialogs().Color;
    button.OnGetColor = std::move(get);
    QObject::connect(&button, &TButtonColor::ColorEdited, &button, [set = std::move(set)](TColor colour) {
        if (set)
            set(colour);
    });
    button.update();
}

bool LoadPictureFile(const QString& fileName, QImage& picture, QString& error, QString* format)
{
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    // Asked before reading: afterwards the reader has nothing left to recognise.
    const QString found = QString::fromLatin1(reader.format()).toLower();
    QImage image = reader.read();
    if (image.isNull()) {
        error = fileName + QStringLiteral(": ") + reader.errorString();
        return false;
    }
    image.setText(QString::fromLatin1(kPictureFormatKey), found);
    picture = image;
    if (format)
        *format = found;
    return true;
}

QString PictureFormat(const QImage& picture)
{
    return picture.text(QString::fromLatin1(kPictureFormatKey));
}

QImage DrawCanvasPicture(const QSize& size, TColor background, const std::function<void(TPlotCanvas3D&)>& draw)
{
    const TRect all{0, 0, std::max(1, size.width()), std::max(1, size.height())};
    TPlotCanvas3D canvas;
    canvas.InitWindow(nullptr, nullptr, background, false, all);
    canvas.ResetState();
    canvas.Brush().SetColor(background);
    canvas.FillRect(all);
    if (draw)
        draw(canvas);
    return canvas.Bitmap()->Image().copy();
}

TColor SampleColorOn(TColor colour, TColor background)
{
    if (ColorToRGB(colour) != ColorToRGB(background))
        return colour;
    return ColorToRGB(colour) == ColorToRGB(clWhite) ? clBlack : clWhite;
}

QString FormatPercentLabel(double value)
{
    // Two decimals at most, written with "." and without trailing zeros.
    QString text = QString::number(std::nearbyint(value * 100.0) / 100.0, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text + QStringLiteral(" %");
}
