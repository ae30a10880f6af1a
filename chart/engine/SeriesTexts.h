#ifndef ZENDRIK_CHART_ENGINE_SERIESTEXTS_H
#define ZENDRIK_CHART_ENGINE_SERIESTEXTS_H

#include <QString>
#include <QStringList>

// The message texts the series code raises or shows. They are kept together here so that they
// can be read from the library's message table in one place.
namespace seriestexts {

QString OutOfBounds();          // "%d", "%d"
QString NoParentChart();
QString NoValidDataSource();    // "%s"
QString SampleValuesCount();
QString CircularSeries();
QString DefaultSeriesName();    // prefix of the generated series name
QString MultiplierObsolete();
QString FunctionPeriod();

// Fills "%d" and "%s" placeholders in order, as the library's formatting routine does for the
// texts above; "%%" gives one "%". Missing arguments leave the placeholder as it is.
QString FormatText(const QString& pattern, const QStringList& args);

// The out-of-bounds text for an index and the highest valid index.
QString OutOfBoundsText(int index, int lastIndex);

} // namespace seriestexts

#endif
