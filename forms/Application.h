#ifndef ZENDRIK_FORMS_APPLICATION_H
#define ZENDRIK_FORMS_APPLICATION_H

// The program entry: creates the application, the windows in their fixed order, and runs the
// message loop until the main window closes.
int RunZendrik(int argc, char** argv);

#endif
