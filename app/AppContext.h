#ifndef ZENDRIK_APP_APPCONTEXT_H
#define ZENDRIK_APP_APPCONTEXT_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/LoggerServices.h"

#include <QString>
#include <memory>

class EventPump;

// The application's shared state, owned by the program entry and passed by reference to the
// windows and the logic that needs it; tests build their own.
struct AppContext {
    QString HostId;
    bool SmallScreen = false;
    QString WorkingFolder;
    AdvancedSettings Settings;
    MessageLog Messages;
    DebugLog Debug;
    EventPump* Pump = nullptr;
    std::unique_ptr<LoggerServices> LoggerHooks = std::make_unique<LoggerServices>();
};

// The program folder when it is writable, else the per-user data folder (created when missing).
QString ChooseWorkingFolder(const QString& programFolder);

#endif
