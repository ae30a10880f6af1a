#include "platform/inifile/SaveFileCommit.h"

#include <QSaveFile>

bool FinishSaveFile(QSaveFile& file, bool written, QString* reason)
{
    if (written && file.flush() && file.commit())
        return true;
    // A failed commit has already dropped the new file and holds its own reason; a failed write
    // or flush holds it until the cancel below.
    if (reason != nullptr)
        *reason = file.errorString();
    if (file.isOpen())
        file.cancelWriting();
    return false;
}
