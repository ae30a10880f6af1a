#ifndef ZENDRIK_PLATFORM_INIFILE_SAVEFILECOMMIT_H
#define ZENDRIK_PLATFORM_INIFILE_SAVEFILECOMMIT_H

#include <QString>

class QSaveFile;

// Finishes an open save file: what is still buffered goes to disk, then the new file replaces
// the old one. When anything failed (written false says the caller's writes did), the new file is
// dropped, the old one stays, and *reason gets the system's word for the failure ("No space left
// on device"). It is read where the failure happens: after a commit or a cancel the file only
// knows "Unknown error" or "Writing canceled by application".
bool FinishSaveFile(QSaveFile& file, bool written, QString* reason);

#endif
