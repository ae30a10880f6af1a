#ifndef ZENDRIK_FORMS_FORMSERVICES_H
#define ZENDRIK_FORMS_FORMSERVICES_H

#include <QString>
#include <cstdint>
#include <functional>

// What the windows need of the program entry: a way to end the program that also works before
// the message loop runs, the modal message box (tests replace it), and the version check.
struct FormServices {
    std::function<void()> RequestTerminate;
    std::function<void(const QString&)> ShowMessage;
    std::function<int32_t()> VersionIndex;
};

#endif
