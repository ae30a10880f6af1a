#ifndef ZENDRIK_FORMS_FORMSERVICES_H
#define ZENDRIK_FORMS_FORMSERVICES_H

#include <QString>
#include <cstdint>
#include <functional>

// What the windows need of the program entry: a way to end the program that also works before
// the message loop runs, the modal message boxes (tests replace them), and the version check.
struct FormServices {
    std::function<void()> requestTerminate;
    std::function<void(const QString&)> showMessage;
    // The error box (error icon, one OK button); showMessage stands in while it is not set.
    std::function<void(const QString&)> showError;
    // The load question ("Load" / "Abort"); true for "Load". A real box while it is not set.
    std::function<bool(const QString&)> confirmLoad;
    std::function<int32_t()> versionIndex;
};

#endif
