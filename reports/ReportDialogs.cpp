#include "reports/ReportDialogs.h"

namespace {

SaveDialogSettings Make(const char* title, const char* extension, const char* name, bool save,
                        const char* folder = ".\\out")
{
    SaveDialogSettings s;
    s.Title = QString::fromLatin1(title);
    s.Folder = QString::fromLatin1(folder);
    s.DefaultExt = QString::fromLatin1(extension);
    s.Filter = s.DefaultExt + QStringLiteral("|*.") + s.DefaultExt;
    s.FileName = QString::fromLatin1(name);
    s.AskOverwrite = save;
    return s;
}

} // namespace

SaveDialogSettings ReportDialogSettings(ReportDialog dialog)
{
    switch (dialog) {
    case ReportDialog::SaveChart: return Make("Save Chart File", "drw", "test", true);
    case ReportDialog::LoadChart: return Make("Load Chart File", "drw", "test", false);
    case ReportDialog::SaveCompensation: return Make("Save Compensation File", "cmp", "test", true);
    case ReportDialog::LoadCompensation: return Make("Load Compensation File", "cmp", "test", false);
    case ReportDialog::LoadReference1: return Make("Load Reference File 1", "drw", "test", false);
    case ReportDialog::LoadReference2: return Make("Load Reference File 2", "drw", "test", false);
    case ReportDialog::LoadReference3: return Make("Load Reference File 3", "drw", "test", false);
    case ReportDialog::SaveCsv: return Make("Save CSV File", "csv", "test", true);
    case ReportDialog::SavePeaks: return Make("Save peaks to file", "txt", "peaks", true);
    case ReportDialog::SaveMessages: return Make("Save messages to file", "txt", "messages", true);
    case ReportDialog::SaveWmf: return Make("Save file", "wmf", "test", true);
    case ReportDialog::SaveReportHeader: return Make("Save file", "rep", "demo", true, ".\\rep");
    }
    return {};
}
