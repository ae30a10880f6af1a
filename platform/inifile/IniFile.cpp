#include "platform/inifile/IniFile.h"
