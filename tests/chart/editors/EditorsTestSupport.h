#ifndef ZENDRIK_TESTS_CHART_EDITORS_EDITORSTESTSUPPORT_H
#define ZENDRIK_TESTS_CHART_EDITORS_EDITORSTESTSUPPORT_H

#include "chart/editors/EditorDialogs.h"

#include <QDialog>
#include <QStringList>
#include <functional>

// Editor dialogs for tests: the modal hook runs a driver on the dialog instead of an event loop
// and answers the dialog's result; every other hook records what it was asked and answers what
// the test set.
struct TestDialogs {
    TestDialogs();

    std::function<void(QDialog&)> Drive;   // clicks "OK" or "Cancel", or nothing (rejected)
    TColor NextColor = clNone;
    QString NextPictureFile;
    bool Answer = true;
    QStringList Questions;
    QStringList Errors;
    int ModalRuns = 0;

    EditorDialogs Hooks;
};

// Clicks the dialog's "OK" or "Cancel" button (found by object name).
void ClickOk(QDialog& dialog);
void ClickCancel(QDialog& dialog);

#endif
