#include "forms/FormDialogs.h"

#include "forms/FormServices.h"

#include <QMessageBox>
#include <QPushButton>

bool FormDialogs::ConfirmLoad(const QString& question)
{
    if (services_.ConfirmLoad)
        return services_.ConfirmLoad(question);
    QMessageBox box(QMessageBox::Information, QString(), question);
    QPushButton* load = box.addButton(QStringLiteral("Load"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Abort"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == load;
}

void FormDialogs::ShowError(const QString& text)
{
    if (services_.ShowError)
        services_.ShowError(text);
    else if (services_.ShowMessage)
        services_.ShowMessage(text);
}

void FormDialogs::ShowInfo(const QString& text)
{
    if (services_.ShowMessage)
        services_.ShowMessage(text);
}
