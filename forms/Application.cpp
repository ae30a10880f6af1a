#include "forms/Application.h"

#include <QApplication>
#include <QMainWindow>

int RunZendrik(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Zendrik"));
    w.show();
    return app.exec();
}
