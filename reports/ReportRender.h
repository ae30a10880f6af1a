#ifndef ZENDRIK_REPORTS_REPORTRENDER_H
#define ZENDRIK_REPORTS_REPORTRENDER_H

#include "platform/gdi/Metafile.h"
#include "reports/ReportLayout.h"

#include <QRect>
#include <memory>
#include <vector>

class QPainter;

// A recorded picture and the device rectangle it is played into.
struct ReportLayer {
    std::shared_ptr<const gdi::Metafile> Picture;
    QRect Target;
};

// One printed page: its layers in drawing order. The page's own drawing is recorded in page
// pixels (frame = page, played at 1:1); the chart's metafile is a layer of its own, stretched into
// the chart's area, between the drawing before and after it.
struct ReportPageRecording {
    std::vector<ReportLayer> Layers;
};

// Draws the plan as a printer canvas would: a black solid pen of width 4, a white brush, opaque
// text on white, "Arial" at the plan's sizes (character height round(points x dpi / 72)), texts
// placed by their top and centred ones on their x. chart may be empty (no chart printed).
std::vector<ReportPageRecording> RecordReport(
    const ReportPlan& plan, std::shared_ptr<const gdi::Metafile> chart);

// Plays one page onto a painter whose device pixels are the plan's.
void PlayReportPage(const ReportPageRecording& page, QPainter& painter);

#endif
