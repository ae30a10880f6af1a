#ifndef ZENDRIK_FORMS_REPORTPANEL_H
#define ZENDRIK_FORMS_REPORTPANEL_H

#include <QWidget>

class QCheckBox;
class QPushButton;

// The main window's report panel: the compensation switch, "Clear traces" of the reference
// traces and the reload of the project's files.
class ReportPanel : public QWidget {
    Q_OBJECT
public:
    explicit ReportPanel(QWidget* parent);

    // No compensation loaded yet.
    void startUp();
    // "use compensation" is offered once a compensation is loaded.
    void showCompensation(bool loaded, bool used);
    bool useCompensation() const;
    // "Clear traces" only while nothing owns the traces.
    void enableClearTraces(bool idle);
    // The reload only while the grid is not locked.
    void enableReload(bool enabled);

signals:
    void useCompensationClicked();
    void clearTracesClicked();
    void reloadProjectFilesClicked();

private:
    QCheckBox* useCompensationCheckBox = nullptr;    // CheckBox37 "use compensation"
    QPushButton* clearTracesButton = nullptr;        // Button13 "Clear traces"
    QPushButton* reloadProjectFilesButton = nullptr; // Button18 "Reload Project Files"
};

#endif
