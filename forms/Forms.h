#ifndef ZENDRIK_FORMS_FORMS_H
#define ZENDRIK_FORMS_FORMS_H

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm6;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm15;
class MailSetupWindow;

// One reference per window, null until that window has been created. Windows are created once,
// in a fixed order, and live until the program ends; code that may run while an earlier window is
// being created checks the reference of a later one first.
struct Forms {
    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm6* Form6 = nullptr;
    TForm8* Form8 = nullptr;
    TForm9* Form9 = nullptr;
    TForm10* Form10 = nullptr;
    TForm11* Form11 = nullptr;
    TForm12* Form12 = nullptr;
    TForm15* Form15 = nullptr;
    MailSetupWindow* Form17 = nullptr;
};

struct AppContext;

// Shows or hides the debug-only parts of every window that exists, following DebugMode.
void ApplyDebugMode(Forms& forms, AppContext& app);

#endif
