#ifndef ZENDRIK_FORMS_FORMS_H
#define ZENDRIK_FORMS_FORMS_H

class MainWindow;
class LoggerWindow;
class TableEditorWindow;
class ConnectionWindow;
class AboutWindow;
class ReportHeaderWindow;
class ColorSettingsWindow;
class CsvExportWindow;
class TcpConnectionWindow;
class WhatsNewWindow;
class FunctionMatrixWindow;
class MailSetupWindow;

// One reference per window, null until that window has been created. Windows are created once,
// in a fixed order, and live until the program ends; code that may run while an earlier window is
// being created checks the reference of a later one first.
struct Forms {
    MainWindow* mainWindow = nullptr;
    LoggerWindow* loggerWindow = nullptr;
    TableEditorWindow* tableEditorWindow = nullptr;
    ConnectionWindow* connectionWindow = nullptr;
    AboutWindow* aboutWindow = nullptr;
    ReportHeaderWindow* reportHeaderWindow = nullptr;
    ColorSettingsWindow* colorSettingsWindow = nullptr;
    CsvExportWindow* csvExportWindow = nullptr;
    TcpConnectionWindow* tcpConnectionWindow = nullptr;
    WhatsNewWindow* whatsNewWindow = nullptr;
    FunctionMatrixWindow* functionMatrixWindow = nullptr;
    MailSetupWindow* mailSetupWindow = nullptr;
};

struct AppContext;

// Shows or hides the debug-only parts of every window that exists, following DebugMode.
void ApplyDebugMode(Forms& forms, AppContext& app);

#endif
