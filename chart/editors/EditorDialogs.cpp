#include "chart/editors/EditorDialogs.h"

#include "chart/canvas/PlotControls.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QImageReader>
#include <QMessageBox>

EditorDialogs StandardEditorDialogs()
{
    EditorDialogs d;
    d.RunModal = [](QDialog& dialog) { return dialog.exec(); };
    d.Color = EditColorDialog;
    d.Font = [](QWidget* owner, const QFont& font) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, owner);
        if (!ok)
            return std::nullopt;
        return chosen;
    };
    d.PictureFile = [](QWidget* owner, const QString& filter) {
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
    };
    d.TextFile = [](QWidget* owner, bool save, const QString& title, const QString& filter,
                    const QString& defaultSuffix) {
        QFileDialog dialog(owner, title, QString(), filter);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    d.YesNo = [](QWidget* owner, const QString& message) {
        QMessageBox box(QMessageBox::Question, QString(), message, QMessageBox::Yes | QMessageBox::No, owner);
        // Near the control that asked, as the question is about what it shows.
        if (owner)
            box.move(owner->mapToGlobal(QPoint(20, 30)));
        return box.exec() == QMessageBox::Yes;
    };
    d.Error = [](QWidget* owner, const QString& message) { QMessageBox::critical(owner, QString(), message); };
    return d;
}

const EditorDialogs& DefaultEditorDialogs()
{
    static const EditorDialogs standard = StandardEditorDialogs();
    return standard;
}

QString PictureFileFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Pictures (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(")");
}
