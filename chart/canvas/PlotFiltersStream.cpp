#include "chart/canvas/PlotFiltersStream.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Value types of the form-description stream.
enum : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaCollection = 14,
    vaSingle = 15,
    vaUTF8String = 20,
    vaDouble = 21,
};

void WriteShortString(QByteArray& out, const QByteArray& text)
{
    const QByteArray t = text.left(255);
    out.append(static_cast<char>(t.size()));
    out.append(t);
}

void WriteInteger(QByteArray& out, int32_t v)
{
    if (v >= -128 && v <= 127) {
        out.append(static_cast<char>(vaInt8));
        out.append(static_cast<char>(static_cast<int8_t>(v)));
    } else if (v >= -32768 && v <= 32767) {
        out.append(static_cast<char>(vaInt16));
        char b[2];
        qToLittleEndian<int16_t>(static_cast<int16_t>(v), b);
        out.append(b, 2);
    } else {
        out.append(static_cast<char>(vaInt32));
        char b[4];
        qToLittleEndian<int32_t>(v, b);
        out.append(b, 4);
    }
}

// 80-bit extended precision: sign and 15-bit exponent (bias 16383) over a 64-bit mantissa with
// an explicit integer bit; a double fits without loss.
void WriteExtended(QByteArray& out, double v)
{
    out.append(static_cast<char>(vaExtended));
    uint64_t mantissa = 0;
    uint16_t signExp = 0;
    if (v != 0.0 && std::isfinite(v)) {
        int e = 0;
        const double m = std::frexp(std::abs(v), &e); // m in [0.5, 1)
        mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        signExp = static_cast<uint16_t>((e - 1 + 16383) & 0x7FFF);
    }
    if (std::signbit(v))
        signExp |= 0x8000;
    char b[10];
    qToLittleEndian<uint64_t>(mantissa, b);
    qToLittleEndian<uint16_t>(signExp, b + 8);
    out.append(b, 10);
}

class Reader {
public:
    Reader(const QByteArray& data, int pos) : data_(data), pos_(pos) {}

    int Pos() const { return pos_; }
    bool Failed() const { return failed_; }

    uint8_t Byte()
    {
        if (pos_ >= data_.size()) {
            failed_ = true;
            return vaNull;
        }
        return static_cast<uint8_t>(data_[pos_++]);
    }
    uint8_t Peek() const { return pos_ < data_.size() ? static_cast<uint8_t>(data_[pos_]) : static_cast<uint8_t>(vaNull); }

    QByteArray Bytes(int n)
    {
        if (n < 0 || n > data_.size() - pos_) {
            failed_ = true;
            pos_ = static_cast<int>(data_.size());
            return {};
        }
        QByteArray b = data_.mid(pos_, n);
        pos_ += n;
        return b;
    }

    QByteArray ShortString() { return Bytes(Byte()); }
    // A 4-byte length and that many bytes.
    QByteArray LongBytes()
    {
        const QByteArray b = Bytes(4);
        return failed_ ? QByteArray() : Bytes(qFromLittleEndian<int32_t>(b.constData()));
    }

    // One value after its type byte has been read.
    QVariant Value(uint8_t type, bool& isIdent)
    {
        isIdent = false;
        switch (type) {
        case vaInt8: return static_cast<int8_t>(Byte());
        case vaInt16: {
            const QByteArray b = Bytes(2);
            return failed_ ? QVariant() : QVariant(qFromLittleEndian<int16_t>(b.constData()));
        }
        case vaInt32: {
            const QByteArray b = Bytes(4);
            return failed_ ? QVariant() : QVariant(qFromLittleEndian<int32_t>(b.constData()));
        }
        case vaExtended: {
            const QByteArray b = Bytes(10);
            if (failed_)
                return {};
            const auto mantissa = qFromLittleEndian<uint64_t>(b.constData());
            const auto signExp = qFromLittleEndian<uint16_t>(b.constData() + 8);
            const int exponent = signExp & 0x7FFF;
            double v = mantissa == 0 ? 0.0 : std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
            return (signExp & 0x8000) ? -v : v;
        }
        case vaDouble: {
            const QByteArray b = Bytes(8);
            if (failed_)
                return {};
            const auto bits = qFromLittleEndian<uint64_t>(b.constData());
            double v = 0.0;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        case vaSingle: {
            const QByteArray b = Bytes(4);
            if (failed_)
                return {};
            const auto bits = qFromLittleEndian<uint32_t>(b.constData());
            float v = 0.0f;
            std::memcpy(&v, &bits, sizeof v);
            return static_cast<double>(v);
        }
        case vaString: return QString::fromLatin1(ShortString());
        case vaIdent: isIdent = true; return QString::fromLatin1(ShortString());
        case vaFalse: return false;
        case vaTrue: return true;
        case vaBinary: return LongBytes();
        case vaUTF8String: return QString::fromUtf8(LongBytes());
        default: failed_ = true; return {};
        }
    }

private:
    const QByteArray& data_;
    int pos_;
    bool failed_ = false;
};

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

void WriteLongBytes(QByteArray& out, uint8_t type, const QByteArray& bytes)
{
    out.append(static_cast<char>(type));
    char b[4];
    qToLittleEndian<int32_t>(static_cast<int32_t>(bytes.size()), b);
    out.append(b, 4);
    out.append(bytes);
}

void WriteText(QByteArray& out, const QString& text)
{
    const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    if (latin1 && text.size() <= 255) {
        out.append(static_cast<char>(vaString));
        WriteShortString(out, text.toLatin1());
    } else {
        WriteLongBytes(out, vaUTF8String, text.toUtf8());
    }
}

} // namespace

void WriteStreamProperty(QByteArray& out, const QString& name, const QVariant& value)
{
    WriteShortString(out, name.toLatin1());
    switch (value.typeId()) {
    case QMetaType::Bool: out.append(static_cast<char>(value.toBool() ? vaTrue : vaFalse)); break;
    case QMetaType::Double: WriteExtended(out, value.toDouble()); break;
    case QMetaType::QString: WriteText(out, value.toString()); break;
    case QMetaType::QByteArray: WriteLongBytes(out, vaBinary, value.toByteArray()); break;
    case QMetaType::QStringList:
        out.append(static_cast<char>(vaList));
        for (const QString& text : value.toStringList())
            WriteText(out, text);
        out.append(static_cast<char>(vaNull));
        break;
    default: WriteInteger(out, value.toInt()); break;
    }
}

bool ReadStreamProperty(const QByteArray& data, int& pos, QString& name, QVariant& value)
{
    if (pos < 0)
        return false;
    Reader in(data, pos);
    const QString readName = QString::fromLatin1(in.ShortString());
    const uint8_t type = in.Byte();
    QVariant readValue;
    bool ident = false;
    if (type == vaList) {
        QVariantList items;
        while (!in.Failed() && in.Peek() != vaNull) {
            const uint8_t itemType = in.Byte();
            if (itemType == vaList)
                return false;
            items.append(in.Value(itemType, ident));
        }
        in.Byte();
        readValue = items;
    } else {
        readValue = in.Value(type, ident);
    }
    if (in.Failed() || readName.isEmpty())
        return false;
    name = readName;
    value = readValue;
    pos = in.Pos();
    return true;
}

QByteArray WriteFilterItems(const TFilterItems& items)
{
    QByteArray out;
    out.append(static_cast<char>(vaCollection));
    for (int i = 0; i < items.Count(); ++i) {
        const TPlotFilter& f = *items.GetItem(i);
        out.append(static_cast<char>(vaList));
        WriteShortString(out, "ItemClass");
        out.append(static_cast<char>(vaString));
        WriteShortString(out, f.FilterClass().name);
        const auto defaults = f.FilterClass().create()->Properties();
        const auto props = f.Properties();
        for (size_t k = 0; k < props.size(); ++k) {
            const FilterProperty& p = props[k];
            if (k < defaults.size() && defaults[k].value == p.value)
                continue;
            WriteShortString(out, p.name.toLatin1());
            const QStringList idents = f.EnumNames(p.name);
            if (!idents.isEmpty() && p.value.toInt() >= 0 && p.value.toInt() < idents.size()) {
                out.append(static_cast<char>(vaIdent));
                WriteShortString(out, idents[p.value.toInt()].toLatin1());
            } else if (p.value.typeId() == QMetaType::Bool) {
                out.append(static_cast<char>(p.value.toBool() ? vaTrue : vaFalse));
            } else if (p.value.typeId() == QMetaType::Double) {
                WriteExtended(out, p.value.toDouble());
            } else {
                WriteInteger(out, p.value.toInt());
            }
        }
        out.append(static_cast<char>(vaNull));
    }
    out.append(static_cast<char>(vaNull));
    return out;
}

bool ReadFilterItems(const QByteArray& data, int& pos, TFilterItems& items, QString* error)
{
    Reader in(data, pos);
    if (in.Byte() != vaCollection)
        return Fail(error, QStringLiteral("FilterItems: collection value expected"));
    TFilterItems read;
    while (!in.Failed() && in.Peek() != vaNull) {
        // An item may carry its ordinal before its property list.
        const uint8_t first = in.Peek();
        if (first == vaInt8 || first == vaInt16 || first == vaInt32) {
            bool ident = false;
            in.Value(in.Byte(), ident);
        }
        if (in.Byte() != vaList)
            return Fail(error, QStringLiteral("FilterItems: property list expected"));
        TPlotFilter* filter = nullptr;
        while (!in.Failed() && in.Peek() != vaNull) {
            const QString name = QString::fromLatin1(in.ShortString());
            bool ident = false;
            const QVariant value = in.Value(in.Byte(), ident);
            if (in.Failed())
                break;
            if (name == QLatin1String("ItemClass")) {
                const TPlotFilterClass* c = FindFilterClass(value.toString());
                if (!c)
                    return Fail(error, QStringLiteral("FilterItems: unknown filter class %1").arg(value.toString()));
                filter = &read.Add(*c);
                continue;
            }
            if (!filter)
                return Fail(error, QStringLiteral("FilterItems: property %1 before ItemClass").arg(name));
            QVariant v = value;
            if (ident) {
                const int index = filter->EnumNames(name).indexOf(value.toString());
                if (index < 0)
                    return Fail(error, QStringLiteral("FilterItems: invalid value %1 of %2").arg(value.toString(), name));
                v = index;
            }
            if (!filter->SetProperty(name, v))
                return Fail(error, QStringLiteral("FilterItems: invalid property %1").arg(name));
        }
        in.Byte(); // end of the item's list
        if (!filter && !in.Failed())
            return Fail(error, QStringLiteral("FilterItems: item without ItemClass"));
    }
    in.Byte(); // end of the collection
    if (in.Failed())
        return Fail(error, QStringLiteral("FilterItems: stream ends early"));
    // An empty list in the stream leaves the filters alone; a filled one replaces them.
    if (read.Count() > 0)
        items.Assign(read);
    pos = in.Pos();
    return true;
}
