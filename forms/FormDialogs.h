#ifndef ZENDRIK_FORMS_FORMDIALOGS_H
#define ZENDRIK_FORMS_FORMDIALOGS_H

#include "datafiles/DataFileDialogs.h"

#include <functional>

struct FormServices;

// Message boxes for the data-file logic. Plain boxes go through the program's ShowMessage hook,
// so a headless run (tests) can answer them; the question is asked with a real box.
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
