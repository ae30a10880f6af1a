#ifndef ZENDRIK_FORMS_APPLICATION_H
#define ZENDRIK_FORMS_APPLICATION_H

#include <QStringList>

// The program entry: creates the application, the windows in their fixed order, and runs the
// message loop until the main window closes.
int RunZendrik(int argc, char** argv);


// "--project NAME" asks for ".\src\NAME" to be loaded once the windows exist (the demo starts
// with a project); the pair is taken out of the arguments and the name returned, empty when none.
QString TakeProjectArgument(QStringList& arguments);

// Names the application (window class, settings) without setting a display name: on X11 Qt
// appends a display name to every window title ("Logger — Zendrik"), and each window's title must
// be its caption alone.
void SetApplicationNames();

#endif
