#include "forms/FormDialogs.h"

#include "forms/FormServices.h"

#include <QMessageBox>
#include <QPushButton>

bool FormDialogs::ConfirmLoad(const QString& question)
{
    if (services_.confirmLoad)
        return services_.confirmLoad(question);
    QMessageBox box(QMessageBox::Information, QString(), question);
    QPushButton* load = box.addButton(QStringLiteral("Load"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Abort"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == load;
}

void FormDialogs::ShowError(const QString& text)
{
    if (services_.showError)
        services_.showError(text);
    else if (services_.showMessage)
        services_.showMessage(text);
}

void FormDialogs::ShowInfo(const QString& text)
{
    if (services_.showMessage)
        services_.showMessage(text);
}
