#include "reports/ReportRender.h"

#include "platform/gdi/MetafilePlayer.h"
#include "platform/gdi/RecordingDC.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr gdi::COLORREF kBlack = 0x000000;
constexpr gdi::COLORREF kWhite = 0xFFFFFF;

class PageRecorder {
public:
    PageRecorder(const ReportPlan& plan, const std::shared_ptr<const gdi::Metafile>& chart)
        : plan_(plan)
        , chart_(chart)
    {
    }

    ReportPageRecording Record(const ReportPagePlan& page)
    {
        ReportPageRecording out;
        Start();
        for (const ReportItem& item : page.Items) {
            const gdi::Rect& a = item.Area;
            switch (item.kind) {
            case ReportItem::Text:
                Text(item);
                break;
            case ReportItem::Rule:
                dc_->MoveToEx(a.left, a.top);
                dc_->LineTo(a.right, a.top);
                break;
            case ReportItem::Box:
                dc_->Rectangle(a.left, a.top, a.right, a.bottom);
                break;
            case ReportItem::Chart:
                if (!chart_)
                    break;
                Finish(out);
                out.Layers.push_back({chart_, QRect(a.left, a.top, a.right - a.left, a.bottom - a.top)});
                Start();
                break;
            }
        }
        Finish(out);
        return out;
    }

private:
    // A fresh page context with the printer canvas' state.
    void Start()
    {
        dc_ = std::make_unique<gdi::RecordingDC>(plan_.Width, plan_.Height, true);
        dc_->SelectPen(gdi::Pen {gdi::PS_SOLID, kReportPenWidth, kBlack, {}});
        gdi::Brush white;
        white.color = kWhite;
        dc_->SelectBrush(white);
        dc_->SetBkMode(gdi::OPAQUE);
        dc_->SetBkColor(kWhite);
        dc_->SetTextColor(kBlack);
        dc_->SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
        points_ = 0;
    }

    void Finish(ReportPageRecording& out)
    {
        gdi::Metafile picture = dc_->TakePicture();
        const bool draws
            = std::any_of(picture.Records.begin(), picture.Records.end(), [](const gdi::MetaRecord& r) {
                  return r.op == gdi::MetaOp::TextOut || r.op == gdi::MetaOp::LineTo
                      || r.op == gdi::MetaOp::Rectangle;
              });
        if (draws)
            out.Layers.push_back({std::make_shared<const gdi::Metafile>(std::move(picture)),
                QRect(0, 0, plan_.Width, plan_.Height)});
    }

    void Text(const ReportItem& item)
    {
        if (item.Points != points_) {
            gdi::Font font;
            font.height = -ReportFontPixels(item.Points, plan_.Dpi);
            font.faceName = QStringLiteral("Arial");
            dc_->SelectFont(font);
            points_ = item.Points;
        }
        if (item.Centred)
            dc_->SetTextAlign(gdi::TA_CENTER | gdi::TA_TOP);
        dc_->TextOut(item.Area.left, item.Area.top, item.Label);
        if (item.Centred)
            dc_->SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    }

    const ReportPlan& plan_;
    const std::shared_ptr<const gdi::Metafile>& chart_;
    std::unique_ptr<gdi::RecordingDC> dc_;
    int32_t points_ = 0;
};

} // namespace

std::vector<ReportPageRecording> RecordReport(
    const ReportPlan& plan, std::shared_ptr<const gdi::Metafile> chart)
{
    PageRecorder recorder(plan, chart);
    std::vector<ReportPageRecording> pages;
    pages.reserve(plan.Pages.size());
    for (const ReportPagePlan& page : plan.Pages)
        pages.push_back(recorder.Record(page));
    return pages;
}

void PlayReportPage(const ReportPageRecording& page, QPainter& painter)
{
    for (const ReportLayer& layer : page.Layers)
        if (layer.Picture)
            gdi::PlayMetafile(*layer.Picture, painter, QRectF(layer.Target));
}
