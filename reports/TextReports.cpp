#include "reports/TextReports.h"

#include "app/CaughtErrors.h"
#include "app/Log.h"
#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/DataFilePaths.h"
#include "platform/inifile/SaveFileCommit.h"
#include "reports/HourglassCursor.h"
#include "reports/WhiteChartScope.h"

#include <QAbstractItemModel>
#include <QSaveFile>

#include <exception>

namespace {

const QString kNoPeaks = QStringLiteral("no peaks found");

void Message(MessageLog* log, const QString& line)
{
    if (log != nullptr)
        log->Append(line);
}

} // namespace

QStringList ModelLines(const QAbstractItemModel& model)
{
    QStringList lines;
    const int rows = model.rowCount();
    lines.reserve(rows);
    for (int r = 0; r < rows; ++r)
        lines << model.data(model.index(r, 0)).toString();
    return lines;
}

QStringList PeaksReportLines(const QStringList& set1Peaks, const QStringList& set2Peaks, const QString& dateTime)
{
    QStringList lines{QStringLiteral("Zendrik Pre-Compliance Peaks Report ") + dateTime, QString(),
                      QStringLiteral("peaks set1:")};
    lines << (set1Peaks.isEmpty() ? QStringList{kNoPeaks} : set1Peaks);
    lines << QStringLiteral("peaks set2:");
    lines << (set2Peaks.isEmpty() ? QStringList{kNoPeaks} : set2Peaks);
    return lines;
}

QStringList MessagesReportLines(const QStringList& messages, const QString& versionText, const QString& dateTime)
{
    QStringList lines{QStringLiteral("Zendrik Messages ") + dateTime, versionText, QString()};
    lines << messages;
    return lines;
}

bool WriteTextReport(const QString& fileName, const QStringList& lines, MessageLog* log)
{
    QByteArray text;
    for (const QString& line : lines) {
        text += line.toUtf8();
        text += "\r\n";
    }
    QSaveFile file(fileName);
    QString reason;
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    else if (FinishSaveFile(file, file.write(text) == text.size(), &reason))
        return true;
    Message(log, QStringLiteral("Error: ") + fileName + QStringLiteral(": ") + reason);
    return false;
}

bool SavePeaksReport(const QString& fileName, const QStringList& set1Peaks, const QStringList& set2Peaks,
                     MessageLog* log)
{
    return WriteTextReport(fileName, PeaksReportLines(set1Peaks, set2Peaks, datafiles::DataFileDateText()), log);
}

bool SaveMessagesReport(const QString& fileName, const MessageLog& messages, const QString& versionText,
                        MessageLog* log)
{
    return WriteTextReport(fileName, MessagesReportLines(messages.Lines(), versionText, datafiles::DataFileDateText()),
                           log);
}

bool SaveChartWmf(TCustomPlotPanel& chart, const QString& fileName, MessageLog* log)
{
    HourglassCursor busy;
    QString error;
    try {
        WhiteChartScope white(chart);
        if (chart.SaveChartAsWmf(fileName, &error))
            return true;
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    Message(log, QStringLiteral("Error: ") + fileName + QStringLiteral(": ") + error);
    return false;
}

const QStringList& ReloadedProjectKinds()
{
    static const QStringList kinds = {QStringLiteral("CABLE"), QStringLiteral("AMPL"), QStringLiteral("ANT"),
                                      QStringLiteral("LISN"),  QStringLiteral("SEG1"), QStringLiteral("SEG2"),
                                      QStringLiteral("LIM1"),  QStringLiteral("LIM2")};
    return kinds;
}

bool ReloadProjectFiles(bool gridLocked, TChartSeries* master, const ProjectReloadHooks& hooks, MessageLog* log)
{
    if (gridLocked) {
        Message(log, QStringLiteral("Warning: the project files cannot be reloaded while a measurement runs"));
        return false;
    }
    try {
        if (master != nullptr)
            master->Clear();
        if (hooks.ApplyProjectFiles)
            for (const QString& kind : ReloadedProjectKinds())
                hooks.ApplyProjectFiles(kind);
        if (hooks.UpdateMeasureTimeEstimate)
            hooks.UpdateMeasureTimeEstimate();
        return true;
    } catch (const std::exception& e) {
        Message(log, ErrorLine(e));
        return false;
    }
}
