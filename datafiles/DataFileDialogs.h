#ifndef ZENDRIK_DATAFILES_DATAFILEDIALOGS_H
#define ZENDRIK_DATAFILES_DATAFILEDIALOGS_H

#include <QString>

// What the data-file logic needs from the operator. The windows implement it with message boxes;
// tests record the calls. The logic never opens a box itself.
class DataFileDialogs {
public:
    virtual ~DataFileDialogs() = default;

    // An information question with the buttons "Load" and "Abort"; true for "Load".
    virtual bool ConfirmLoad(const QString& question) = 0;
    // An error box: error icon, one OK button.
    virtual void ShowError(const QString& text) = 0;
    // A plain box with one OK button.
    virtual void ShowInfo(const QString& text) = 0;
};

#endif
