#ifndef ZENDRIK_DATAFILES_PROJECTITEMS_H
#define ZENDRIK_DATAFILES_PROJECTITEMS_H

#include "app/MeasureSet.h"

#include <QString>
#include <QStringList>

struct ProjectTargets;

// Makes one item of the current grids take effect: a chart axis, a limit line with its margin
// line, a correction table, a segment table, a report header or a margin. kind is one of
// "START_HZ", "STOP_HZ", "LIM1", "LIM2", "CABLE", "AMPL", "ANT", "LISN", "AMPL_TRACK", "TC", "REP",
// "SEG1", "SEG2", "GAP1", "GAP2", "High_dBm", "Low_dBm", "CABLE_FF", "AMP_FF", "ANT_FF" (exact
// case); any other text does nothing. A file row "none" names no file; a named file that is
// missing gives a plain box ("Limit File not found: .\src\name" and its sisters) and the next item
// goes on. Names from the grids pass the data-path rules ("\" read as "/", absolute paths and ".."
// refused, a name missing in its exact case found without regard to case). Never throws: a
// failure becomes an "Error: " line.
void ApplyProjectFiles(ProjectTargets& targets, const QString& kind);

// The order in which a loaded project applies its items; withGenerator adds "AMPL_TRACK" and
// "TC" (the advanced option "TG_FieldValue").
QStringList ProjectApplyOrder(bool withGenerator);

namespace datafiles {

// ".\src\" + name, and ".\rep\" + name for report headers: how every file row names its file.
QString SourcePath(const QString& name);
QString ReportPath(const QString& name);

// The pieces the project items and the grid's file rows share.
enum class CorrectionKind { Cable, Lisn, Amplifier, Antenna };
// Clears the limit and margin lines of the set, then reads the limit file (without asking) and
// draws it with the set's margin. False when the file could not be read.
bool LoadLimitLine(ProjectTargets& targets, MeasureSet set, const QString& path);
// Clears the correction series, then reads the table and interpolates it into the series.
bool LoadCorrection(ProjectTargets& targets, CorrectionKind kind, const QString& path);
// Replaces the segment table of the set (a missing or empty path leaves it empty) and refreshes
// its marks and check list. A file that gives no segment (empty, damaged, of another kind) is said
// in one line, "Error: SEG1 File holds no segment: " and the file with the reason in brackets, and
// no box. True when the set has segments.
bool LoadSegments(ProjectTargets& targets, MeasureSet set, const QString& path);
// Whether a file row's path names an existing file under the data-path rules.
bool DataFileExists(const ProjectTargets& targets, const QString& path);
// Why the set cannot be measured against its limit: the grid's "Limit1" / "Limit2" names a file
// but the set's limit line holds no point. "Limit File not found: " and the file when it is not
// there, "Limit File not usable: " and the file when it gave no line (with, in brackets, the row
// and value that refuse it as the file now reads); empty while the line is there or the row says
// "none".
QString MissingLimitLine(const ProjectTargets& targets, MeasureSet set);
// The same for the corrections of the main grid ("Cable Cor", "Amp Cor", "Ant Cor", "Lisn/Att
// Cor"), which every set's corrected trace adds: the first row that names a file while its series
// holds no point ("Cable File not found: " and the file, or "Cable File not usable: " and the file
// with the kind's word and the fault as for the limit); empty while each named table is there.
QString MissingCorrection(const ProjectTargets& targets);
// Why the set has no segment although the grid's "Seg-Set1" / "Seg-Set2" names a file: "SEG1 File
// not found: " (or "SEG2 ...") and the file when it is not there, "SEG1 File holds no segment: "
// and the file with the reason in brackets, as the load said it, when it gave none; empty while
// the set has segments or the row says "none".
QString MissingSegmentFile(const ProjectTargets& targets, MeasureSet set);

} // namespace datafiles

#endif
