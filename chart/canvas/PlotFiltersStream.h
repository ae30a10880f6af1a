#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSSTREAM_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSSTREAM_H

#include "chart/canvas/PlotFilters.h"

#include <QByteArray>

// The filters of a picture in the binary form-description stream: a collection value holding
// one property list per filter ("ItemClass" with the class name, then the filter's published
// properties that differ from a new filter's).

// Name under which owners stream their filters; written only when there is at least one.
inline constexpr char kFilterItemsProperty[] = "FilterItems";

QByteArray WriteFilterItems(const TFilterItems& items);

// Reads a collection value starting at pos and advances pos past it. On a malformed or
// truncated stream, or a class that is not registered, it answers false with a message and
// leaves the items as they were.
bool ReadFilterItems(const QByteArray& data, int& pos, TFilterItems& items, QString* error = nullptr);

// One named value of the same stream, for the extra properties other owners write beside their
// published ones: the name, then the value with its type. Values: bool, integers, doubles, texts,
// byte arrays (the binary type: a 4-byte length and the bytes) and string lists (a list of texts).
void WriteStreamProperty(QByteArray& out, const QString& name, const QVariant& value);
// Reads one name and value at pos and advances pos past them. False, with pos unchanged, when the
// stream is malformed or ends early; a list value reads as a QVariantList, binary as QByteArray.
bool ReadStreamProperty(const QByteArray& data, int& pos, QString& name, QVariant& value);

#endif
