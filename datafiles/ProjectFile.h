#ifndef ZENDRIK_DATAFILES_PROJECTFILE_H
#define ZENDRIK_DATAFILES_PROJECTFILE_H

#include "datafiles/TableFiles.h"

#include <QString>
#include <optional>

struct DataFileContext;
struct ProjectTargets;

// Projects (".prj" in ".\src"): the main parameter grid ([SetUp]), the coverage view's grid
// ([SetUp2]), the generator view's ramp, fixed frequencies and sweep bands ([SetUp3]) and manual
// stepping ([SetUp4]); with the advanced option "TG_FieldValue" also the generator's "Amp Cor",
// "TEM Cor" and "SEPTUM[cm]" ([SetUp3]). Values are the texts of the cells and boxes. The name of
// the last loaded project is kept in ".\emc_prj.ini" ([Files] "proj").

// File name of the last-project file inside the working folder.
inline constexpr const char* kLastProjectFile = "emc_prj.ini";

// The bare name of the last loaded project; empty when there is none, and when the file is
// refused as unreadable, whose reason (naming the file) then goes to *refused.
QString ReadLastProject(const QString& workingFolder, QString* refused = nullptr);
// Replaces the last-project file by one that names projectName. False (with an error box and
// line) when it cannot be written.
bool WriteLastProject(const QString& projectName, const DataFileContext& context);

// The dialogs of "Save Proj" and "Load Proj": folder ".\src", filter "prj|*.prj". Saving offers the
// last project's name ("test.prj" when there is none); loading offers it only while the file is
// still in ".\src". A refused last-project file offers nothing and gives its reason in *refused.
SaveDialogSettings SaveProjectDialog(const QString& workingFolder, QString* refused = nullptr);
SaveDialogSettings LoadProjectDialog(const QString& workingFolder, QString* refused = nullptr);

// Writes the project from the grids and the generator values of targets (a missing grid or
// generator writes its start-up values). The file is built from nothing and replaces the old one
// only when complete; on failure the old file stays, an error box says why, and the result is
// false. The last-project file is not touched.
bool SaveProjectFile(const ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue);

// Reads a project into the grids and generator values: a missing key takes its default, the keys
// that hold frequencies and sweep times lose their thousands dots. Every key has a bound (the
// grids' own, app/PlausibleRanges.h, the generator's); a value beyond it (a frequency outside
// 0..1 THz, "nan", a level of 1e308, an RBW of 0, a detector "junk") is not read: the message log
// says "Warning: project value [SetUp] Start_Hz=nan lies outside ..." and the cell or box keeps
// what it showed, so a save writes back nothing of it. File names meet the path rules and their
// readers when the items are applied.
void ReadProjectFile(ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue);

// "Load Proj" after the dialog: records the project as the last one, reads it, applies its items
// in order (ApplyProjectFiles) and refreshes the measurement-time estimate. Returns the project
// part of the main window's caption ("[" + file name + "]"). A file that is no project changes
// nothing (grids, series, the last-project file): one error box names it, and nothing is
// returned.
std::optional<QString> LoadProject(ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue);

// "Zendrik " + the project part + " " + the chart-file part.
QString MainWindowCaption(const QString& captionProjectText, const QString& captionFileText);

#endif
