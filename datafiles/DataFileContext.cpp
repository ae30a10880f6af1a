#include "datafiles/DataFileContext.h"

#include "app/Log.h"
#include "datafiles/DataFileDialogs.h"

bool DataFileContext::Confirm(const QString& question) const
{
    return Dialogs == nullptr || Dialogs->ConfirmLoad(question);
}

void DataFileContext::Error(const QString& text) const
{
    if (Dialogs != nullptr)
        Dialogs->ShowError(text);
}

void DataFileContext::Info(const QString& text) const
{
    if (Dialogs != nullptr)
        Dialogs->ShowInfo(text);
}

void DataFileContext::LogDebug(const QString& text) const
{
    if (Debug != nullptr)
        Debug->LogMessage(text);
}
