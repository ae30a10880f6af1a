#include "chart/engine/SeriesTexts.h"

#include "chart/engine/PlotMessages.h"

namespace seriestexts {

namespace {
const QString& Text(PlotMsg id)
{
    InitChartMessages();
    return PlotMessage(id);
}
} // namespace

QString OutOfBounds() { return Text(PlotMsg::ErrSeriesDeleteIndex); }
QString NoParentChart() { return Text(PlotMsg::ErrNoParentChartDataSource); }
QString NoValidDataSource() { return Text(PlotMsg::ErrInvalidDataSource); }
QString SampleValuesCount() { return Text(PlotMsg::ErrFillSampleValues); }
QString CircularSeries() { return Text(PlotMsg::ErrCircularSeries); }
QString DefaultSeriesName() { return Text(PlotMsg::EditorSeries); }
QString FunctionPeriod() { return Text(PlotMsg::ErrFunctionPeriod); }

// The table has no text for this one; it only has to tell the user why a stored value is lost.
QString MultiplierObsolete()
{
    return QStringLiteral("The Multiplier property is obsolete; its value is ignored.");
}

QString FormatText(const QString& pattern, const QStringList& args)
{
    QString out;
    out.reserve(pattern.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size()) {
            const QChar k = pattern.at(i + 1);
            if (k == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if ((k == u'd' || k == u's') && next < args.size()) {
                out += args.at(next++);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString OutOfBoundsText(int index, int lastIndex)
{
    return FormatText(OutOfBounds(), {QString::number(index), QString::number(lastIndex)});
}

} // namespace seriestexts
