#include "forms/ReportFileDialog.h"

#include "datafiles/DataFilePaths.h"

#include <QDir>
#include <QFileDialog>

QString RunReportFileDialog(QWidget* parent, const SaveDialogSettings& settings, const QString& workingFolder,
                            bool save)
{
    if (!workingFolder.isEmpty())
        QDir::setCurrent(workingFolder);
    QString folder = datafiles::ResolveDataPath(workingFolder, settings.Folder);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = workingFolder;
    // "drw|*.drw" names the files "drw (*.drw)" here.
    QString filter = settings.Filter;
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar >= 0)
        filter = filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + QLatin1Char(')');
    QFileDialog dialog(parent, settings.Title, folder, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!settings.AskOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(settings.DefaultExt);
    dialog.selectFile(settings.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
