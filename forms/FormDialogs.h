#ifndef ZENDRIK_FORMS_FORMDIALOGS_H
#define ZENDRIK_FORMS_FORMDIALOGS_H

#include "datafiles/DataFileDialogs.h"

#include <functional>

struct FormServices;

// Message boxes for the data-file logic, through the program's hooks so that a headless run
// (tests) can answer them: plain boxes through showMessage, error boxes through showError, the
// load question through confirmLoad (a real box when the hook is not set).
class FormDialogs final : public DataFileDialogs {
public:
    explicit FormDialogs(FormServices& services) : services_(services) {}
    bool ConfirmLoad(const QString& question) override;
    void ShowError(const QString& text) override;
    void ShowInfo(const QString& text) override;

private:
    FormServices& services_;
};

#endif
