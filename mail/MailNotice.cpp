#include "mail/MailNotice.h"

#include "app/Log.h"
#include "mail/MailSettings.h"

namespace {

void SendNotice(const MailAlertSwitches& alerts, bool end, const QString& subject,
    const ChartImageWriter& saveChartJpeg, const MailSendFunction& sendMail)
{
    if (!alerts.MailOn)
        return;
    const bool addChart = end ? alerts.EndAddChart : alerts.SegmentAddChart;
    const bool addMessages = end ? alerts.EndAddMessages : alerts.SegmentAddMessages;
    const bool inform = end ? alerts.InfoAtEnd : alerts.InfoEverySegment;
    const bool chartWritten = addChart && saveChartJpeg && saveChartJpeg();
    if (!inform || !sendMail)
        return;
    sendMail(subject, subject, chartWritten ? QString::fromLatin1(kChartImageAttachment) : QString(),
        addMessages ? QString::fromLatin1(kMessageLogBody) : QString());
}

} // namespace

QString EndNoticeSubject(const RunEnd& end)
{
    const QString after = QStringLiteral(" after segment %1 of %2").arg(end.LastSegment).arg(end.Count);
    switch (end.Ending) {
    case RunEnding::StoppedByOperator:
        return QStringLiteral("ZENDRIK stopped by the operator") + after;
    case RunEnding::AnalyserLost:
        return QStringLiteral("ZENDRIK the analyser was lost") + after;
    case RunEnding::AnalyserFailed:
        return QStringLiteral("ZENDRIK the analyser failed") + after;
    case RunEnding::PartOfPlan:
        // Those not measured first: a run that left most of its plan out must not read as nearly done.
        if (end.NotMeasured == 0)
            return QStringLiteral("ZENDRIK run ended, %1 of %2 segments measured in part")
                .arg(end.InPart)
                .arg(end.Planned);
        return QStringLiteral("ZENDRIK run ended, %1 of %2 segments not measured")
                   .arg(end.NotMeasured)
                   .arg(end.Planned) +
               (end.InPart > 0 ? QStringLiteral(", %1 in part").arg(end.InPart) : QString());
    case RunEnding::AllSegmentsDone:
        break;
    }
    return QStringLiteral("ZENDRIK all segments done");
}

void NotifySegmentDone(const MailAlertSwitches& alerts, int segment, int count,
    const ChartImageWriter& saveChartJpeg, const MailSendFunction& sendMail)
{
    if (count == 0)
        NotifyRunEnd(alerts, RunEnd{}, saveChartJpeg, sendMail);
    else
        SendNotice(alerts, false, QStringLiteral("ZENDRIK segment %1 of %2 done").arg(segment).arg(count),
            saveChartJpeg, sendMail);
}

void NotifyRunEnd(const MailAlertSwitches& alerts, const RunEnd& end, const ChartImageWriter& saveChartJpeg,
    const MailSendFunction& sendMail)
{
    SendNotice(alerts, true, EndNoticeSubject(end), saveChartJpeg, sendMail);
}

MailSendFunction RunNoticeSender(const MailContext& context, bool& serverSilent, bool endNotice)
{
    return [context, &serverSilent, endNotice](const QString& subject, const QString& body,
               const QString& attachmentPath, const QString& bodySource) {
        const MailOutcome outcome = SendMailOutcome(context, subject, body, attachmentPath, bodySource);
        if (outcome == MailOutcome::noAnswer && !serverSilent) {
            serverSilent = true;
            context.Messages.Append(QStringLiteral("Warning: the mail server %1 port %2 did not answer in time%3")
                    .arg(context.Account.SmtpServer.trimmed(), context.Account.SmtpPort.trimmed(),
                        endNotice ? QString() : QStringLiteral(": this run sends it no more segment notices")));
        }
        return outcome == MailOutcome::sent;
    };
}
