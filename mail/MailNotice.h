#ifndef ZENDRIK_MAIL_MAILNOTICE_H
#define ZENDRIK_MAIL_MAILNOTICE_H

#include "app/RunEnding.h"
#include "mail/SmtpSender.h"

#include <functional>

struct MailAlertSwitches;

// Writes the main chart as ".\out\ChartImage.jpg" below the working folder; false when no
// picture was written.
using ChartImageWriter = std::function<bool()>;

// The name the notices attach the chart picture by; it finds ".\out\ChartImage.jpg".
inline constexpr char kChartImageAttachment[] = ".\\out\\chartimage.jpg";
// Tells SendMail to send the message log as the text.
inline constexpr char kMessageLogBody[] = "memo";

// "ZENDRIK all segments done", "ZENDRIK stopped by the operator after segment 2 of 7",
// "ZENDRIK the analyser was lost after segment 0 of 7", "ZENDRIK the analyser failed after
// segment 3 of 7", "ZENDRIK run ended, 9 of 10 segments not measured" (", 1 in part" when some
// were measured in part; "1 of 10 segments measured in part" when only that): mail filters look
// for the "ZENDRIK ".
QString EndNoticeSubject(const RunEnd& end);

// The mail notice of a run, while "Mail on/off" is checked: count > 0 after segment `segment` of
// `count` ("Info every segment", "add Chart", "add messages"), count 0 at the end of the run
// ("Info at end of measurement", "add Chart ", "add messages"). The chart is written before the
// mail goes; a picture that could not be written is not attached, so no older one goes out.
void NotifySegmentDone(const MailAlertSwitches& alerts, int segment, int count,
    const ChartImageWriter& saveChartJpeg, const MailSendFunction& sendMail);
// The end notice of a run that ended as `end` says.
void NotifyRunEnd(const MailAlertSwitches& alerts, const RunEnd& end, const ChartImageWriter& saveChartJpeg,
    const MailSendFunction& sendMail);

// A MailSendFunction for a notice of a run over SendMail. The run waits for its notices, so a
// server that lets the transport's bounds pass unanswered must not hold it once per segment: it
// sets serverSilent (which must outlive the function), one line says so, and the caller sends
// no more segment notices in that run; the end notice is still tried.
MailSendFunction RunNoticeSender(const MailContext& context, bool& serverSilent, bool endNotice);

#endif
