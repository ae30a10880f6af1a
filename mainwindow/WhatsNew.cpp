#include "mainwindow/WhatsNew.h"

#include "app/ProgramVersion.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <utility>

// Q_INIT_RESOURCE must stand outside any namespace; the resource lives in this static library.
static void InitMainWindowResources()
{
    Q_INIT_RESOURCE(mainwindow);
}

namespace {

struct Release {
    int Line = 0;
    std::pair<int, int> Version;
    QDate Date;
    int Entries = 0;
};

const QRegularExpression& HeadingPattern()
{
    static const QRegularExpression re(QStringLiteral("^Whats New (V(\\d+)\\.(\\d+)) (\\d{2})(\\d{2})(\\d{2})$"));
    return re;
}

const QRegularExpression& EntryPattern()
{
    static const QRegularExpression re(QStringLiteral("^[ \\t]+-(add:|added |fix:|fixed |revision:|change:) *\\S"));
    return re;
}

const QRegularExpression& DashPattern()
{
    static const QRegularExpression re(QStringLiteral("^-{3,}$"));
    return re;
}

// The build date as the headings write it: "15/02/2019 ..." gives "150219".
QString BuildDateDigits()
{
    const QString d = BuildDateText();
    return d.mid(0, 2) + d.mid(3, 2) + d.mid(8, 2);
}

} // namespace

QString WhatsNewHistory()
{
    InitMainWindowResources();
    QFile file(QStringLiteral(":/mainwindow/WhatsNew.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList WhatsNewFormatErrors(const QString& text)
{
    QStringList errors;
    auto fault = [&errors](int line, const QString& what) {
        errors << QStringLiteral("line %1: ").arg(line) + what;
    };
    std::vector<Release> releases;
    int dashLine = 0;
    int dashAfterReleases = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int n = i + 1;
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (const QRegularExpressionMatch m = HeadingPattern().match(line); m.hasMatch()) {
            Release r;
            r.Line = n;
            r.Version = {m.captured(2).toInt(), m.captured(3).toInt()};
            r.Date = QDate(2000 + m.captured(6).toInt(), m.captured(5).toInt(), m.captured(4).toInt());
            if (!r.Date.isValid())
                fault(n, QStringLiteral("no date"));
            if (releases.empty()) {
                if (m.captured(1) != ProgramVersionText())
                    fault(n, QStringLiteral("the newest release is not ") + ProgramVersionText());
                if (m.captured(4) + m.captured(5) + m.captured(6) != BuildDateDigits())
                    fault(n, QStringLiteral("the newest release is not dated ") + BuildDateDigits());
            } else {
                const Release& newer = releases.back();
                if (r.Version >= newer.Version || (r.Date.isValid() && newer.Date.isValid() && r.Date > newer.Date))
                    fault(n, QStringLiteral("release not older than the one above"));
            }
            releases.push_back(r);
        } else if (EntryPattern().match(line).hasMatch()) {
            if (releases.empty())
                fault(n, QStringLiteral("entry before the first heading"));
            else
                ++releases.back().Entries;
        } else if (DashPattern().match(line).hasMatch()) {
            if (dashLine != 0)
                fault(n, QStringLiteral("a second line of dashes"));
            dashLine = n;
            dashAfterReleases = static_cast<int>(releases.size());
        } else {
            fault(n, QStringLiteral("neither heading, entry nor line of dashes"));
        }
    }
    if (releases.empty())
        fault(1, QStringLiteral("no release"));
    for (const Release& r : releases)
        if (r.Entries == 0)
            fault(r.Line, QStringLiteral("release without entries"));
    if (releases.size() > 1 && (dashLine == 0 || dashAfterReleases != 1))
        fault(dashLine != 0 ? dashLine : releases[1].Line,
              QStringLiteral("the line of dashes must separate the newest release from the older ones"));
    return errors;
}
