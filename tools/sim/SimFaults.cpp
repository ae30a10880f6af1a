#include "tools/sim/SimFaults.h"

QStringList SimFaults::Names()
{
    return {"no-answer", "block-short", "block-length", "nan", "nan-freq", "no-number", "huge",
        "no-sweep-end", "esr-3digit", "sweep-time=S", "long-answer", "drop[=N]", "short-write", "read-hang",
        "freeze[=N]", "clamp"};
}

bool SimFaults::Parse(const QString& list, QString* error)
{
    for (QString name : list.split(',', Qt::SkipEmptyParts)) {
        name = name.trimmed().toLower();
        if (name == "no-answer")
            noAnswer = true;
        else if (name == "block-short")
            blockShort = true;
        else if (name == "block-length")
            blockLengthWrong = true;
        else if (name == "nan")
            nanValue = true;
        else if (name == "nan-freq")
            nanFrequency = true;
        else if (name == "no-number")
            noNumber = true;
        else if (name == "huge")
            hugeValue = true;
        else if (name == "no-sweep-end")
            sweepNeverCompletes = true;
        else if (name == "esr-3digit")
            threeDigitEsr = true;
        else if (name == "long-answer")
            longAnswer = true;
        else if (name == "drop")
            dropAfter = 0;
        else if (name == "short-write")
            shortWrite = true;
        else if (name == "read-hang")
            readHang = true;
        else if (name == "freeze")
            freezeAfter = 0;
        else if (name == "clamp")
            clampRange = true;
        else if (name.startsWith("sweep-time=")) {
            bool ok = false;
            sweepTimeAnswerS = name.mid(name.indexOf('=') + 1).toDouble(&ok);
            if (!ok || sweepTimeAnswerS < 0) {
                if (error)
                    *error = QStringLiteral("bad fault: ") + name;
                return false;
            }
        } else if (name.startsWith("drop=") || name.startsWith("freeze=")) {
            int& count = name.startsWith("drop=") ? dropAfter : freezeAfter;
            bool ok = false;
            count = name.mid(name.indexOf('=') + 1).toInt(&ok);
            if (!ok || count < 0) {
                if (error)
                    *error = QStringLiteral("bad fault: ") + name;
                return false;
            }
        } else {
            if (error)
                *error = QStringLiteral("unknown fault: ") + name + QStringLiteral(" (known: ")
                    + Names().join(", ") + ")";
            return false;
        }
    }
    return true;
}
