#ifndef ZENDRIK_FORMS_LOGGERWINDOW_H
#define ZENDRIK_FORMS_LOGGERWINDOW_H

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
struct AppContext;

// "Logger": the debug log window with its test buttons.
class LoggerWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoggerWindow(AppContext& app);

    void dumpRawTrace1();                // "Show Series1"
    void dumpCorrectedTrace1AndTables(); // "Show Seriesx"
    void refreshBottomAxisLabels();      // "Refresh Labels"
    void dumpBottomAxisLabels();         // "Rd Labels"
    void drawBottomAxisLabels();         // "New Labels"
    void selectSpectrumMode();           // "R&S SPEC Mode"
    void selectReceiverMode();           // "R&S REC Mode"
    void clearLog();                     // "clr Log"

signals:
    // "New Labels": the main window draws the frequency axis' end labels over its chart.
    void bottomAxisLabelsRequested();

private:
    // Controls; each objectName is the designer's name.
    QPlainTextEdit* debugLog = nullptr;         // Memo1
    QPushButton* showSeries1Button = nullptr;   // Button9 "Show Series1"
    QPushButton* showSeriesXButton = nullptr;   // Button7 "Show Seriesx"
    QPushButton* refreshLabelsButton = nullptr; // Button15 "Refresh Labels"
    QPushButton* readLabelsButton = nullptr;    // Button14 "Rd Labels"
    QPushButton* newLabelsButton = nullptr;     // Button17 "New Labels"
    QPushButton* spectrumModeButton = nullptr;  // Button11 "R&S SPEC Mode"
    QPushButton* receiverModeButton = nullptr;  // Button10 "R&S REC Mode"
    QPushButton* clearLogButton = nullptr;      // Button5 "clr Log"

    AppContext& app_;
};

#endif
