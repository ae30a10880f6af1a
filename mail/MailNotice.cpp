#include "mail/MailNotice.h"

#include "mail/MailSettings.h"

void NotifySegmentDone(const MailAlertSwitches& alerts, int segment, int count,
    const ChartImageWriter& saveChartJpeg, const MailSendFunction& sendMail)
{
    if (!alerts.MailOn)
        return;
    const bool end = count == 0;
    const QString subject = end ? QStringLiteral("ZENDRIK all segments done")
                                : QStringLiteral("ZENDRIK segment %1 of %2 done").arg(segment).arg(count);
    const bool addChart = end ? alerts.EndAddChart : alerts.SegmentAddChart;
    const bool addMessages = end ? alerts.EndAddMessages : alerts.SegmentAddMessages;
    const bool inform = end ? alerts.InfoAtEnd : alerts.InfoEverySegment;
    const bool chartWritten = addChart && saveChartJpeg && saveChartJpeg();
    if (!inform || !sendMail)
        return;
    sendMail(subject, subject, chartWritten ? QString::fromLatin1(kChartImageAttachment) : QString(),
        addMessages ? QString::fromLatin1(kMessageLogBody) : QString());
}
