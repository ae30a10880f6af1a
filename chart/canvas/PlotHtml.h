#ifndef ZENDRIK_CHART_CANVAS_PLOTHTML_H
#define ZENDRIK_CHART_CANVAS_PLOTHTML_H

#include "platform/gdi/GdiTypes.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>

class TPlotCanvas;

// Chart texts (titles, marks, legend items) in a small subset of HTML: style tags, FONT, sub- and
// superscripts, headings, centring, rules and images, drawn run by run with the canvas font.

// Raised for a malformed text: a "<" without ">", an unknown FONT attribute or weight, a SIZE or
// COLOR that does not parse.
class HtmlParserException : public std::runtime_error {
public:
    explicit HtmlParserException(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// How an <IMG> tag finds its picture.
struct HtmlImageHooks {
    // The image reader format for an upper-case file extension; empty when none reads it.
    std::function<QByteArray(const QString& extension)> GraphicFormat;
    // Fills stream with the bytes of the source; 0 on success.
    std::function<int(const QString& source, QByteArray& stream)> LoadStream;
};

// The formats the image readers of this installation support.
QByteArray HtmlImageFormat(const QString& extension);
// A local file relative to the working folder; URLs, absolute paths and ".." are refused.
int LoadHtmlImageFile(const QString& source, QByteArray& stream);
const HtmlImageHooks& DefaultHtmlImageHooks();

// Draws the text with its top-left at (x, y); with the canvas text alignment centred or right,
// every line is centred on x or ends at x, and bottom alignment puts the block's bottom at y.
// The block's top is that of its highest part: a superscript or image raised above the first
// line moves the lines down by as much. Raises HtmlParserException before anything is drawn.
void HtmlTextOut(TPlotCanvas& canvas, int32_t x, int32_t y, const QString& text);
// The size of the formatted block, lowered and raised parts included; nothing is drawn. Raises
// HtmlParserException.
gdi::Size HtmlTextExtent(TPlotCanvas& canvas, const QString& text);
// Both of the above: lays the text out from (x, y), drawing when draw is set. The canvas font,
// pen, brush and text alignment are handed back as the caller set them, also when it raises.
void HtmlTextProcess(TPlotCanvas& canvas, int32_t x, int32_t y, gdi::Size& extent, bool draw,
    const QString& text, const HtmlImageHooks& hooks = DefaultHtmlImageHooks());
// Chart texts separate their lines with a lone CR, the HTML text breaks at CR LF: every lone CR
// gets its LF.
QString HtmlLineBreaks(const QString& text);

#endif
