#include "instrument/visa/VisaResource.h"

#include <QStringList>

namespace {

bool ParseUInt16(const QString& text, uint16_t* value)
{
    bool ok = false;
    uint v;
    if (text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        v = text.mid(2).toUInt(&ok, 16);
    else
        v = text.toUInt(&ok, 10);
    if (!ok || v > 0xFFFF)
        return false;
    *value = static_cast<uint16_t>(v);
    return true;
}

// "TCPIP", "TCPIP0", "TCPIP12": the board number after the keyword, 0 when absent.
bool Keyword(const QString& field, const QString& keyword, int* board)
{
    if (!field.startsWith(keyword, Qt::CaseInsensitive))
        return false;
    const QString rest = field.mid(keyword.size());
    if (rest.isEmpty()) {
        *board = 0;
        return true;
    }
    bool ok = false;
    *board = rest.toInt(&ok);
    return ok && *board >= 0;
}

} // namespace

ViStatus ParseVisaResource(const QString& text, VisaResource* out)
{
    const QString t = text.trimmed();
    QStringList f = t.split(QStringLiteral("::"));
    if (f.isEmpty() || f.front().isEmpty())
        return visa::VI_ERROR_INV_RSRC_NAME;
    VisaResource r;
    const QString first = f.front();

    if (first.startsWith(QStringLiteral("ASRL"), Qt::CaseInsensitive)) {
        r.kind = VisaResource::Kind::AsrlInstr;
        const QString rest = first.mid(4);
        if (rest.startsWith('/')) {
            r.asrlPath = rest;
        } else {
            bool ok = false;
            r.asrlPort = rest.toInt(&ok);
            if (!ok || r.asrlPort < 1)
                return visa::VI_ERROR_INV_RSRC_NAME;
        }
        if (f.size() > 2 || (f.size() == 2 && f[1].compare(QStringLiteral("INSTR"), Qt::CaseInsensitive) != 0))
            return visa::VI_ERROR_INV_RSRC_NAME;
        *out = r;
        return visa::VI_SUCCESS;
    }

    if (Keyword(first, QStringLiteral("TCPIP"), &r.board)) {
        // An IPv6 address holds "::" itself and comes in brackets: "TCPIP0::[::1]::INSTR".
        const qsizetype afterBoard = first.size() + 2;
        if (t.mid(afterBoard, 1) == QLatin1String("[")) {
            const qsizetype close = t.indexOf(QLatin1Char(']'), afterBoard);
            if (close < 0 || close == afterBoard + 1)
                return visa::VI_ERROR_INV_RSRC_NAME;
            const QString rest = t.mid(close + 1);
            if (!rest.isEmpty() && !rest.startsWith(QStringLiteral("::")))
                return visa::VI_ERROR_INV_RSRC_NAME;
            f = QStringList{first, t.mid(afterBoard + 1, close - afterBoard - 1)};
            if (!rest.isEmpty())
                f += rest.mid(2).split(QStringLiteral("::"));
        }
        if (f.size() < 2 || f[1].isEmpty())
            return visa::VI_ERROR_INV_RSRC_NAME;
        r.host = f[1];
        const QString last = f.back();
        const bool socket = last.compare(QStringLiteral("SOCKET"), Qt::CaseInsensitive) == 0;
        if (socket) {
            // A socket needs its port; "TCPIP0::host::SOCKET" names none.
            bool ok = false;
            const uint p = f.size() == 4 ? f[2].toUInt(&ok) : 0;
            if (!ok || p == 0 || p > 65535)
                return visa::VI_ERROR_INV_RSRC_NAME;
            r.kind = VisaResource::Kind::TcpipSocket;
            r.port = static_cast<uint16_t>(p);
            *out = r;
            return visa::VI_SUCCESS;
        }
        r.kind = VisaResource::Kind::TcpipInstr;
        if (f.size() == 3 && last.compare(QStringLiteral("INSTR"), Qt::CaseInsensitive) != 0)
            r.lanDevice = last;
        else if (f.size() == 4 && last.compare(QStringLiteral("INSTR"), Qt::CaseInsensitive) == 0 && !f[2].isEmpty())
            r.lanDevice = f[2];
        else if (f.size() > 3)
            return visa::VI_ERROR_INV_RSRC_NAME;
        // HiSLIP is another protocol than VXI-11 under the same resource class; this back end
        // does not speak it, and a VXI-11 link named "hislip0" would only confuse the instrument.
        if (r.lanDevice.startsWith(QStringLiteral("hislip"), Qt::CaseInsensitive))
            return visa::VI_ERROR_NSUP_OPER;
        *out = r;
        return visa::VI_SUCCESS;
    }

    if (Keyword(first, QStringLiteral("USB"), &r.board)) {
        r.kind = VisaResource::Kind::UsbInstr;
        if (f.back().compare(QStringLiteral("INSTR"), Qt::CaseInsensitive) == 0)
            f.removeLast();
        if (f.size() < 4 || f.size() > 5)
            return visa::VI_ERROR_INV_RSRC_NAME;
        if (!ParseUInt16(f[1], &r.usbVendor) || !ParseUInt16(f[2], &r.usbProduct) || f[3].isEmpty())
            return visa::VI_ERROR_INV_RSRC_NAME;
        r.usbSerial = f[3];
        if (f.size() == 5) {
            bool ok = false;
            r.usbInterface = f[4].toInt(&ok);
            if (!ok || r.usbInterface < 0)
                return visa::VI_ERROR_INV_RSRC_NAME;
        }
        *out = r;
        return visa::VI_SUCCESS;
    }

    int board = 0;
    for (const char* other : {"GPIB", "VXI", "GPIB-VXI", "PXI"})
        if (Keyword(first, QString::fromLatin1(other), &board))
            return visa::VI_ERROR_RSRC_NFOUND;
    return visa::VI_ERROR_INV_RSRC_NAME;
}

std::optional<QRegularExpression> VisaExpressionToRegex(const QString& expression)
{
    QString re;
    int depth = 0;
    bool inList = false;
    bool canRepeat = false; // whether "*" or "+" has something to repeat
    for (int i = 0; i < expression.size(); ++i) {
        const QChar c = expression[i];
        if (inList) {
            if (c == ']') {
                inList = false;
                re += c;
                canRepeat = true;
            } else if (c == '\\' || c == '[') {
                re += '\\';
                re += c;
            } else {
                re += c;
            }
            continue;
        }
        switch (c.unicode()) {
        case '?': re += '.'; canRepeat = true; break;
        case '*':
        case '+':
            if (!canRepeat)
                return std::nullopt;
            re += c;
            canRepeat = false;
            break;
        case '[':
            inList = true;
            re += '[';
            if (i + 1 < expression.size() && expression[i + 1] == '^') {
                re += '^';
                ++i;
            }
            break;
        case '(': ++depth; re += c; canRepeat = false; break;
        case ')':
            if (--depth < 0)
                return std::nullopt;
            re += c;
            canRepeat = true;
            break;
        case '|': re += c; canRepeat = false; break;
        case '\\':
            if (++i >= expression.size())
                return std::nullopt;
            re += QRegularExpression::escape(QString(expression[i]));
            canRepeat = true;
            break;
        case '{': return std::nullopt; // attribute expressions are not supported
        default:
            re += QRegularExpression::escape(QString(c));
            canRepeat = true;
            break;
        }
    }
    if (inList || depth != 0 || expression.isEmpty())
        return std::nullopt;
    QRegularExpression rx(QRegularExpression::anchoredPattern(re), QRegularExpression::CaseInsensitiveOption);
    if (!rx.isValid())
        return std::nullopt;
    return rx;
}
