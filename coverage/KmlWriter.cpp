#include "coverage/KmlWriter.h"

#include "app/DateTimeText.h"

#include <QDateTime>

QString KmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&apos;"); break;
        default: out += c; break;
        }
    }
    return out;
}

void KmlWriteHeader(QStringList& list)
{
    list << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
         << QStringLiteral("<kml xmlns=\"http://www.opengis.net/kml/2.2\">");
}

void KmlBeginDocument(QStringList& list, const QString& name)
{
    list << QStringLiteral("<Document>") << QStringLiteral("  <name>") + KmlEscape(name) + QStringLiteral("</name>");
}

void KmlWriteStyle(QStringList& list, const QString& color, const QString& styleId)
{
    list << QStringLiteral("  <Style id=\"") + KmlEscape(styleId) + QStringLiteral("\">")
         << QStringLiteral("  <LineStyle>")
         << QStringLiteral("  <color>") + KmlEscape(color) + QStringLiteral("</color>")
         << QStringLiteral("     <width>4</width>")
         << QStringLiteral("     </LineStyle>")
         << QStringLiteral("     <PolyStyle>")
         << QStringLiteral("       <color>7f00ff00</color>")
         << QStringLiteral("     </PolyStyle>")
         << QStringLiteral("  </Style>");
}

void KmlBeginPlacemark(QStringList& list, const QString& name, const QString& styleId)
{
    list << QStringLiteral("  <Placemark>")
         << QStringLiteral("     <name>") + KmlEscape(name) + QStringLiteral("</name>")
         << QStringLiteral("     <visibility>1</visibility> ")
         << QStringLiteral("     <description></description>")
         << QStringLiteral("     <styleUrl>#") + KmlEscape(styleId) + QStringLiteral("</styleUrl>")
         << QStringLiteral("     <LineString>")
         << QStringLiteral("        <tessellate>1</tessellate>")
         << QStringLiteral("        <altitudeMode>absolute</altitudeMode>")
         << QStringLiteral("        <coordinates> ");
}

void KmlAddCoordinate(QStringList& list, const QString& longitude, const QString& latitude, const QString& level)
{
    QString height = level;
    height.remove(QLatin1Char('-'));
    list << KmlEscape(longitude) + QLatin1Char(',') + KmlEscape(latitude) + QLatin1Char(',') + KmlEscape(height);
}

void KmlEndPlacemark(QStringList& list)
{
    list << QStringLiteral("         </coordinates>") << QStringLiteral("     </LineString> ")
         << QStringLiteral("  </Placemark>");
}

void KmlEndDocument(QStringList& list) { list << QStringLiteral("</Document>") << QStringLiteral("</kml>"); }

QString KmlTimeStamp(const QString& dateTimeText)
{
    QString stamp;
    for (const QChar c : dateTimeText) {
        if (c == QLatin1Char(' '))
            stamp += QLatin1Char('_');
        else if (c.isLetter() || c.isDigit() || c == QLatin1Char('_') || c == QLatin1Char('-'))
            stamp += c;
    }
    return stamp;
}

QString KmlTimeStampNow(const DateTimeTexts& texts)
{
    // "ddddd" is the short date format and "tt" the long time format, whatever they hold.
    return KmlTimeStamp(FormatDateTimeText(QStringLiteral("ddddd tt"), DateTimeValue(QDateTime::currentDateTime()), texts));
}
