#include "chart/canvas/PlotHtml.h"

#include "chart/canvas/PlotCanvas.h"
#include "chart/canvas/PlotShape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Font sizes a tag may ask for, in points. The upper bound keeps the pixel height in range.
constexpr int64_t kMinFontSize = 1;
constexpr int64_t kMaxFontSize = 1000;
// Images: a size beyond this is taken as this; files beyond this are not read.
constexpr int64_t kMaxImageSide = 32767;
constexpr qint64 kMaxImageBytes = 64 * 1024 * 1024;
constexpr int32_t kPlaceholderSide = 40;
constexpr int32_t kRuleLength = 100;
constexpr TColor kRuleColor = 0x808080;

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A signed decimal, or hexadecimal after "$"; the whole text must be the number.
std::optional<int64_t> ParseNumber(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    int base = 10;
    if (p != end && *p == '$') {
        base = 16;
        ++p;
    }
    if (p == end)
        return std::nullopt;
    uint64_t value = 0;
    const auto [stop, ec] = std::from_chars(p, end, value, base);
    if (ec != std::errc() || stop != end
        || value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return std::nullopt;
    const auto v = static_cast<int64_t>(value);
    return negative ? -v : v;
}

struct Attribute {
    QString name;
    QString value;
};

// Attributes of a FONT or IMG tag: one per "="; a name runs back from its "=" to the blank
// before it, a value up to the last blank before the next "=" (the last one to the end). Values
// lose one pair of surrounding double quotes.
std::vector<Attribute> SplitAttributes(const QString& text)
{
    std::vector<qsizetype> equals;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('='))
            equals.push_back(i);
    std::vector<Attribute> out;
    out.reserve(equals.size());
    qsizetype nameStart = 0;
    for (size_t k = 0; k < equals.size(); ++k) {
        const qsizetype eq = equals[k];
        qsizetype valueEnd = text.size();
        qsizetype nextName = text.size();
        if (k + 1 < equals.size()) {
            qsizetype blank = equals[k + 1] - 1;
            while (blank > eq && !text[blank].isSpace())
                --blank;
            valueEnd = blank > eq ? blank : eq + 1;
            nextName = valueEnd;
        }
        Attribute a;
        a.name = text.mid(nameStart, eq - nameStart).trimmed();
        a.value = text.mid(eq + 1, valueEnd - eq - 1).trimmed();
        if (a.value.size() >= 2 && a.value.startsWith(QLatin1Char('"')) && a.value.endsWith(QLatin1Char('"')))
            a.value = a.value.mid(1, a.value.size() - 2);
        out.push_back(std::move(a));
        nameStart = nextName;
    }
    return out;
}

TColor ParseColor(const QString& value)
{
    static const std::pair<const char*, TColor> kNames[] = {
        {"BLACK", clBlack},
        {"RED", clRed},
        {"BLUE", clBlue},
        {"YELLOW", clYellow},
        {"WHITE", clWhite},
        {"GREEN", clGreen},
        {"LIME", clLime},
    };
    const QString upper = value.trimmed().toUpper();
    for (const auto& [name, color] : kNames)
        if (upper == QLatin1String(name))
            return color;
    if (upper.startsWith(QLatin1Char('#'))) {
        const QString hex = upper.mid(1);
        const bool ok = hex.size() == 6 && std::all_of(hex.begin(), hex.end(), [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        });
        if (ok) {
            const uint rgb = hex.toUInt(nullptr, 16);
            return RGBColor(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
        }
    } else {
        TColor color = 0;
        if (IdentToPlotColor(value.trimmed(), color))
            return color;
        if (const auto n = ParseNumber(upper);
            n && *n >= std::numeric_limits<int32_t>::min() && *n <= std::numeric_limits<uint32_t>::max())
            return static_cast<TColor>(static_cast<uint32_t>(*n));
    }
    throw HtmlParserException(QStringLiteral("Unknown value in FONT COLOR=") + value);
}

// The style a tag such as "<B>" (prefix "<") or "</I>" (prefix "</") stands for; 0 for others.
TFontStyles StyleOfTag(const QString& tag, QLatin1String prefix)
{
    static const std::pair<QLatin1String, TFontStyles> kTags[] = {
        {QLatin1String("B"), fsBold},
        {QLatin1String("BOLD"), fsBold},
        {QLatin1String("STRONG"), fsBold},
        {QLatin1String("I"), fsItalic},
        {QLatin1String("U"), fsUnderline},
        {QLatin1String("STRIKE"), fsStrikeOut},
    };
    if (!tag.startsWith(prefix) || !tag.endsWith(QLatin1Char('>')))
        return 0;
    const QStringView name = QStringView(tag).mid(prefix.size()).chopped(1);
    for (const auto& [n, style] : kTags)
        if (name == n)
            return style;
    return 0;
}

// 1 .. 6 for "<H1>" .. "<H6>" (or "</H1>" .. with that prefix), else 0.
int HeadingLevel(const QString& tag, QLatin1String prefix)
{
    if (tag.size() != prefix.size() + 2 || !tag.startsWith(prefix) || !tag.endsWith(QLatin1Char('>')))
        return 0;
    const char16_t digit = tag[prefix.size()].unicode();
    return digit >= u'1' && digit <= u'6' ? digit - u'0' : 0;
}

// One call's layout: positions, line, extent and the two stacks. Nothing here outlives the call,
// so an unclosed tag never leaks into the next text.
class HtmlLayout {
public:
    // lineShifts moves the start of line k (0-based) by lineShifts[k] pixels; lines beyond the
    // list start at x.
    HtmlLayout(TPlotCanvas& canvas, int32_t x, int32_t y, bool draw, const HtmlImageHooks& hooks,
        std::vector<int64_t> lineShifts = {})
        : canvas_(canvas)
        , font_(canvas.Font())
        , hooks_(hooks)
        , draw_(draw)
        , startX_(x)
        , startY_(y)
        , lineShifts_(std::move(lineShifts))
        , x_(x)
        , lineTop_(y)
        , top_(y)
        , right_(x)
        , bottom_(y)
    {
        lineHeight_ = canvas_.FontHeight();
        StartLine();
    }

    void Process(const QString& text);
    // The block from its start, or from the top of a part raised above the start.
    gdi::Size Extent() const
    {
        return gdi::Size {Clamp32(right_ - startX_), Clamp32(bottom_ - std::min(top_, startY_))};
    }
    // How far a superscript or image rises above the start.
    int64_t Raise() const { return std::max<int64_t>(0, startY_ - top_); }
    // The width of each line as laid out, for aligning the lines of a second pass.
    const std::vector<int64_t>& LineWidths() const { return lineWidths_; }

private:
    struct SavedFont {
        QString name;
        int32_t height;
        TColor color;
        TFontStyles style;
        bool script; // pushed by a sub- or superscript, which also moved the baseline
        int64_t shift;
    };

    void Tag(const QString& tag);
    void TextRun(QString run);
    void Image(const QString& attributes);
    void Rule();
    void ApplyFont(const QString& attributes);
    void SaveFont(bool script = false);
    void RestoreFont();
    void SetSize(int64_t size)
    {
        font_.SetSize(static_cast<int32_t>(std::clamp(size, kMinFontSize, kMaxFontSize)));
    }
    void Extend(int64_t top, int64_t right, int64_t bottom)
    {
        top_ = std::min(top_, top);
        right_ = std::max(right_, right);
        bottom_ = std::max(bottom_, bottom);
        if (lineWidths_.size() <= line_)
            lineWidths_.resize(line_ + 1, 0);
        lineWidths_[line_] = std::max(lineWidths_[line_], right - lineStart_);
    }
    void StartLine()
    {
        x_ = startX_ + (line_ < lineShifts_.size() ? lineShifts_[line_] : 0);
        lineStart_ = x_;
    }

    TPlotCanvas& canvas_;
    TFont& font_;
    const HtmlImageHooks& hooks_;
    const bool draw_;
    const int64_t startX_;
    const int64_t startY_;
    const std::vector<int64_t> lineShifts_;
    std::vector<int64_t> lineWidths_;
    size_t line_ = 0;
    int64_t lineStart_ = 0;
    int64_t x_;
    int64_t lineTop_; // top of the current line
    int64_t shift_ = 0; // sub- and superscript offset from the line top
    int32_t lineHeight_;
    int64_t top_;
    int64_t right_;
    int64_t bottom_;
    bool centring_ = false;
    bool lastTagSavedFont_ = false;
    std::vector<SavedFont> fonts_;
    std::vector<QString> tags_; // opened style tags, for "</>"
};

void HtmlLayout::Process(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        if (text[pos] == QLatin1Char('<')) {
            const qsizetype close = text.indexOf(QLatin1Char('>'), pos);
            if (close < 0)
                throw HtmlParserException(QStringLiteral("Missing > at ") + text.mid(pos + 1));
            Tag(text.mid(pos, close - pos + 1));
            pos = close + 1;
            continue;
        }
        // A run ends before the next tag or after a line break.
        qsizetype end = text.indexOf(QLatin1Char('<'), pos);
        if (end < 0)
            end = n;
        const qsizetype br = text.indexOf(QLatin1String("\r\n"), pos);
        if (br >= 0 && br < end)
            end = br + 2;
        TextRun(text.mid(pos, end - pos));
        pos = end;
    }
}

void HtmlLayout::Tag(const QString& tag)
{
    const QString t = tag.toUpper();
    bool savedFont = false;
    auto is = [&t](const char* s) { return t == QLatin1String(s); };
    if (is("<BR>") || is("<P>") || is("</P>")) {
        // Lines break at the line breaks of the text itself.
    } else if (is("<BIG>") || is("<SMALL>")) {
        SaveFont();
        SetSize(font_.Size() + (is("<BIG>") ? 2 : -2));
        savedFont = true;
    } else if (is("<SUB>")) {
        SaveFont(true);
        SetSize(font_.Size() / 2);
        shift_ += canvas_.FontHeight();
        savedFont = true;
    } else if (is("<SUPER>")) {
        SaveFont(true);
        SetSize(font_.Size() / 2);
        shift_ -= canvas_.FontHeight() / 2;
        savedFont = true;
    } else if (const int level = HeadingLevel(t, QLatin1String("<H")); level > 0) {
        static constexpr int32_t kHeadings[] = {48, 36, 24, 18, 12, 8};
        SaveFont();
        SetSize(kHeadings[level - 1]);
        savedFont = true;
    } else if (is("<PRE>")) {
        SaveFont();
        ApplyFont(QStringLiteral("NAME=\"COURIER NEW\""));
        savedFont = true;
    } else if (is("<CENTER>") || is("</CENTER>")) {
        centring_ = is("<CENTER>");
    } else if (const TFontStyles style = StyleOfTag(t, QLatin1String("<"))) {
        font_.SetStyle(font_.Style() | style);
        tags_.push_back(t);
    } else if (const TFontStyles closed = StyleOfTag(t, QLatin1String("</"))) {
        font_.SetStyle(font_.Style() & ~closed);
    } else if (t.startsWith(QLatin1String("<IMG "))) {
        Image(tag.mid(5, tag.size() - 6));
    } else if (t.startsWith(QLatin1String("</FONT")) || is("</PRE>") || is("</SUB>") || is("</SUPER>")
        || is("</BIG>") || is("</SMALL>") || HeadingLevel(t, QLatin1String("</H")) > 0) {
        RestoreFont();
    } else if (t.startsWith(QLatin1String("<FONT "))) {
        SaveFont();
        ApplyFont(tag.mid(6, tag.size() - 7));
        savedFont = true;
    } else if (is("</>")) {
        if (lastTagSavedFont_) {
            RestoreFont();
        } else if (!tags_.empty()) {
            const QString open = tags_.back();
            tags_.pop_back();
            Tag(QStringLiteral("</") + open.mid(1));
        }
    } else if (is("<HR>")) {
        Rule();
    } else {
        TextRun(tag);
        return;
    }
    lastTagSavedFont_ = savedFont;
}

void HtmlLayout::TextRun(QString run)
{
    if (run.contains(QLatin1Char('&'))) {
        run.replace(QLatin1String("&lt;"), QLatin1String("<"));
        run.replace(QLatin1String("&gt;"), QLatin1String(">"));
        run.replace(QLatin1String("&amp;"), QLatin1String("&"));
        run.replace(QLatin1String("&quot;"), QLatin1String("\""));
    }
    const bool lineBreak = run.endsWith(QLatin1String("\r\n"));
    if (lineBreak)
        run.chop(2);

    const gdi::Size size = canvas_.TextExtent(run);
    const int32_t w = size.cx;
    const int32_t h = size.cy;
    if (centring_)
        x_ = (static_cast<int64_t>(canvas_.Bounds.Left) + canvas_.Bounds.Right) / 2 - w / 2;
    if (lineHeight_ == 0)
        lineHeight_ = canvas_.FontHeight();
    // A run lower than the line sits near its bottom; only this run moves, not the rest of the line.
    const int64_t y = lineTop_ + shift_ + (h < lineHeight_ ? lineHeight_ - h - 1 : 0);
    if (draw_ && !run.isEmpty())
        canvas_.TextOut(Clamp32(x_), Clamp32(y), run);
    x_ += w;
    lineHeight_ = std::max(lineHeight_, h);
    Extend(y, x_, std::max(lineTop_ + lineHeight_, y + h));
    if (lineBreak) {
        lineTop_ += lineHeight_;
        lineHeight_ = 0;
        ++line_;
        StartLine();
    }
}

void HtmlLayout::Rule()
{
    x_ = lineStart_;
    const int64_t y = lineTop_ + shift_;
    if (draw_) {
        TPen saved;
        saved.Assign(canvas_.Pen());
        canvas_.Pen().SetStyle(psSolid);
        canvas_.Pen().SetWidth(1);
        canvas_.Pen().SetColor(kRuleColor);
        canvas_.Line(Clamp32(x_), Clamp32(y), Clamp32(x_ + kRuleLength), Clamp32(y));
        canvas_.Pen().Assign(saved);
    }
    Extend(y, x_ + kRuleLength, y + 1);
    lineTop_ += canvas_.FontHeight();
}

void HtmlLayout::Image(const QString& attributes)
{
    int64_t width = 0;
    int64_t height = 0;
    QString source;
    for (const Attribute& a : SplitAttributes(attributes)) {
        const QString name = a.name.toUpper();
        if (name == QLatin1String("SRC")) {
            source = a.value.trimmed();
        } else if (name == QLatin1String("WIDTH") || name == QLatin1String("HEIGHT")) {
            const auto n = ParseNumber(a.value);
            (name == QLatin1String("WIDTH") ? width : height) = n && *n > 0 ? std::min(*n, kMaxImageSide) : 0;
        }
    }
    QImage graphic;
    const QString extension = QFileInfo(source).suffix().toUpper();
    const QByteArray format = hooks_.GraphicFormat ? hooks_.GraphicFormat(extension) : QByteArray();
    if (!format.isEmpty() && hooks_.LoadStream) {
        QByteArray stream;
        if (hooks_.LoadStream(source, stream) == 0 && !stream.isEmpty())
            graphic.loadFromData(stream, format.constData());
    }
    const int32_t x = Clamp32(x_);
    const int32_t y = Clamp32(lineTop_ + shift_);
    if (!graphic.isNull()) {
        if (width == 0)
            width = graphic.width();
        if (height == 0)
            height = graphic.height();
        if (draw_) {
            if (width == graphic.width() && height == graphic.height())
                canvas_.Draw(x, y, graphic);
            else
                canvas_.StretchDraw(TRect {x, y, Clamp32(x + width), Clamp32(y + height)}, graphic);
        }
    } else {
        // No reader for the kind, or the picture did not load: a crossed-out box of the size.
        if (width == 0)
            width = kPlaceholderSide;
        if (height == 0)
            height = kPlaceholderSide;
        if (draw_) {
            TPen pen;
            TBrush brush;
            pen.Assign(canvas_.Pen());
            brush.Assign(canvas_.Brush());
            canvas_.Pen().SetStyle(psSolid);
            canvas_.Pen().SetWidth(1);
            canvas_.Pen().SetColor(clRed);
            canvas_.Brush().SetBitmap(QImage());
            canvas_.Brush().SetStyle(bsSolid);
            canvas_.Brush().SetColor(clWhite);
            const int32_t r = Clamp32(x + width - 1);
            const int32_t b = Clamp32(y + height - 1);
            canvas_.Rectangle(x, y, r + 1, b + 1);
            canvas_.Line(x, y, r, b);
            canvas_.Line(x, b, r, y);
            canvas_.Pen().Assign(pen);
            canvas_.Brush().Assign(brush);
        }
    }
    Extend(y, x_ + width, lineTop_ + shift_ + height);
    x_ += width;
    lineTop_ += height;
}

void HtmlLayout::ApplyFont(const QString& attributes)
{
    for (const Attribute& a : SplitAttributes(attributes)) {
        const QString name = a.name.toUpper();
        if (name == QLatin1String("NAME") || name == QLatin1String("FAMILY")) {
            font_.SetName(a.value);
        } else if (name == QLatin1String("SIZE")) {
            const auto n = ParseNumber(a.value);
            if (!n || a.value.startsWith(QLatin1Char('$')))
                throw HtmlParserException(QStringLiteral("Unknown value in FONT SIZE=") + a.value);
            const bool relative
                = a.value.startsWith(QLatin1Char('+')) || a.value.startsWith(QLatin1Char('-'));
            SetSize(relative ? font_.Size() + std::clamp(*n, -kMaxFontSize, kMaxFontSize) : *n);
        } else if (name == QLatin1String("COLOR")) {
            const TColor color = ParseColor(a.value);
            if (!canvas_.GetMonochrome())
                font_.SetColor(color);
        } else if (name == QLatin1String("WEIGHT")) {
            TFontStyles style = 0;
            for (const QString& word : a.value.toUpper().split(QLatin1Char(','))) {
                const QString w = word.trimmed();
                if (w == QLatin1String("BOLD"))
                    style |= fsBold;
                else if (w == QLatin1String("ITALIC"))
                    style |= fsItalic;
                else if (w == QLatin1String("UNDERLINE"))
                    style |= fsUnderline;
                else if (w == QLatin1String("STRIKE"))
                    style |= fsStrikeOut;
                else if (w != QLatin1String("NORMAL"))
                    throw HtmlParserException(QStringLiteral("Unknown field in FONT WEIGHT=") + a.value);
            }
            font_.SetStyle(style);
        } else {
            throw HtmlParserException(QStringLiteral("Unknown field in FONT: ") + a.name);
        }
    }
}

void HtmlLayout::SaveFont(bool script)
{
    fonts_.push_back(SavedFont {font_.Name(), font_.Height(), font_.Color(), font_.Style(), script, shift_});
}

void HtmlLayout::RestoreFont()
{
    if (fonts_.empty())
        return;
    const SavedFont f = std::move(fonts_.back());
    fonts_.pop_back();
    font_.SetName(f.name);
    font_.SetHeight(f.height);
    font_.SetColor(f.color);
    font_.SetStyle(f.style);
    // A closed sub- or superscript returns to the baseline of its opening tag.
    if (f.script)
        shift_ = f.shift;
}

// Hands the caller's font and text alignment back however the call ends.
class CanvasTextState {
public:
    CanvasTextState(TPlotCanvas& canvas, bool draw)
        : canvas_(canvas)
        , name_(canvas.Font().Name())
        , height_(canvas.Font().Height())
        , color_(canvas.Font().Color())
        , style_(canvas.Font().Style())
        , draw_(draw)
        , align_(draw ? canvas.GetTextAlign() : 0)
    {
        // Runs are placed by their top-left corner.
        if (draw_ && align_ != (gdi::TA_LEFT | gdi::TA_TOP))
            canvas_.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    }
    ~CanvasTextState()
    {
        RestoreFont();
        if (draw_ && align_ != (gdi::TA_LEFT | gdi::TA_TOP))
            canvas_.SetTextAlign(align_);
    }
    CanvasTextState(const CanvasTextState&) = delete;
    CanvasTextState& operator=(const CanvasTextState&) = delete;

    // The alignment the caller asked for.
    uint32_t Alignment() const { return align_; }
    void RestoreFont()
    {
        TFont& f = canvas_.Font();
        f.SetName(name_);
        f.SetHeight(height_);
        f.SetColor(color_);
        f.SetStyle(style_);
    }

private:
    TPlotCanvas& canvas_;
    QString name_;
    int32_t height_;
    TColor color_;
    TFontStyles style_;
    bool draw_;
    uint32_t align_;
};

} // namespace

QByteArray HtmlImageFormat(const QString& extension)
{
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    const QByteArray ext = extension.toLower().toLatin1();
    return !ext.isEmpty() && formats.contains(ext) ? ext : QByteArray();
}

int LoadHtmlImageFile(const QString& source, QByteArray& stream)
{
    QString path = source.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A scheme ("http:", "file:") or a drive would reach outside the working folder.
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char(':'))
        || path.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return 1;
    const QFileInfo info(QDir::current(), path);
    if (!info.isFile() || info.size() > kMaxImageBytes)
        return 1;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    stream = file.read(kMaxImageBytes);
    return stream.isEmpty() ? 1 : 0;
}

const HtmlImageHooks& DefaultHtmlImageHooks()
{
    static const HtmlImageHooks hooks {&HtmlImageFormat, &LoadHtmlImageFile};
    return hooks;
}

void HtmlTextProcess(TPlotCanvas& canvas, int32_t x, int32_t y, gdi::Size& extent, bool draw,
    const QString& text, const HtmlImageHooks& hooks)
{
    extent = gdi::Size {};
    CanvasTextState state(canvas, draw);
    // A measuring pass first: it finds a malformed text before anything is drawn, and gives the
    // line widths and how far a raised part reaches above the start.
    HtmlLayout measure(canvas, x, y, false, hooks);
    measure.Process(text);
    extent = measure.Extent();
    if (!draw)
        return;
    state.RestoreFont();
    // The caller anchors the text as it would a plain one: (x, y) is the left end, the centre or
    // the right end of every line, and the top or the bottom of the block, raised parts included.
    const uint32_t horizontal = state.Alignment() & gdi::TA_HORIZONTAL_MASK;
    const uint32_t vertical = state.Alignment() & gdi::TA_VERTICAL_MASK;
    std::vector<int64_t> shifts;
    if (horizontal != gdi::TA_LEFT) {
        shifts.reserve(measure.LineWidths().size());
        for (const int64_t width : measure.LineWidths())
            shifts.push_back(horizontal == gdi::TA_CENTER ? -(width / 2) : -width);
    }
    const int64_t top = (vertical == gdi::TA_BOTTOM ? int64_t {y} - extent.cy : int64_t {y}) + measure.Raise();
    HtmlLayout layout(canvas, x, Clamp32(top), true, hooks, std::move(shifts));
    layout.Process(text);
}

QString HtmlLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == QLatin1Char('\r') && (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n')))
            out += QLatin1Char('\n');
    }
    return out;
}

void HtmlTextOut(TPlotCanvas& canvas, int32_t x, int32_t y, const QString& text)
{
    gdi::Size extent;
    HtmlTextProcess(canvas, x, y, extent, true, text);
}

gdi::Size HtmlTextExtent(TPlotCanvas& canvas, const QString& text)
{
    gdi::Size extent;
    HtmlTextProcess(canvas, 0, 0, extent, false, text);
    return extent;
}
