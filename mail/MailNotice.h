#ifndef ZENDRIK_MAIL_MAILNOTICE_H
#define ZENDRIK_MAIL_MAILNOTICE_H

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

// The mail notice of a run, while "Mail on/off" is checked: count > 0 after segment `segment` of
// `count` ("Info every segment", "add Chart", "add messages"), count 0 at the end of the run
// ("Info at end of measurement", "add Chart ", "add messages"). The chart is written before the
// mail goes; a picture that could not be written is not attached, so no older one goes out.
void NotifySegmentDone(const MailAlertSwitches& alerts, int segment, int count,
    const ChartImageWriter& saveChartJpeg, const MailSendFunction& sendMail);

#endif
