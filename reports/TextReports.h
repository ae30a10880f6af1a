#ifndef ZENDRIK_REPORTS_TEXTREPORTS_H
#define ZENDRIK_REPORTS_TEXTREPORTS_H

#include <QString>
#include <QStringList>
#include <functional>

class MessageLog;
class QAbstractItemModel;
class TChartSeries;
class TCustomPlotPanel;

// The lines of a list model's first column (a peak list box's model).
QStringList ModelLines(const QAbstractItemModel& model);

// "Save to File" of the peak list: title with the date, then the peak lines of each set or
// "no peaks found".
QStringList PeaksReportLines(const QStringList& set1Peaks, const QStringList& set2Peaks, const QString& dateTime);
// "Save to File" of the message log: title with the date, the version text of the status bar,
// an empty line, then the log.
QStringList MessagesReportLines(const QStringList& messages, const QString& versionText, const QString& dateTime);

// Writes lines as UTF-8 text, each ended by CR LF, to a file that replaces the old one only when
// complete. On failure the old file stays, the log (when given) gets "Error: " and the reason,
// and the result is false.
bool WriteTextReport(const QString& fileName, const QStringList& lines, MessageLog* log);

// The two reports as the pop-up menus save them, dated now (short date and long time).
bool SavePeaksReport(const QString& fileName, const QStringList& set1Peaks, const QStringList& set2Peaks,
                     MessageLog* log);
bool SaveMessagesReport(const QString& fileName, const MessageLog& messages, const QString& versionText,
                        MessageLog* log);

// "Save as WMF File": the chart is drawn for the metafile on white without its outer bevel, and
// gets back its own colour and bevel whatever happens.
bool SaveChartWmf(TCustomPlotPanel& chart, const QString& fileName, MessageLog* log);

// The project loader and the measurement engine as "Reload Project Files" needs them.
struct ProjectReloadHooks {
    std::function<void(const QString& kind)> ApplyProjectFiles;
    std::function<void()> UpdateMeasureTimeEstimate;
};

// The kinds reloaded, in order.
const QStringList& ReloadedProjectKinds();

// "Reload Project Files": empties the master curve (the next run rebuilds it) and applies the
// project's correction, segment and limit files again. Refused while the parameter grid is locked
// (a run measuring; a paused run allows it), since the loop reads these curves at every point.
bool ReloadProjectFiles(bool gridLocked, TChartSeries* master, const ProjectReloadHooks& hooks, MessageLog* log);

#endif
