#include "app/AppContext.h"
#include "forms/Forms.h"
#include "forms/TForm1.h"
#include "forms/TForm10.h"
#include "forms/TForm2.h"
#include "forms/TForm3.h"
#include "forms/TForm4.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

void ApplyDebugMode(Forms& forms, AppContext& app)
{
    const bool v = app.Debug.DebugMode != 0;
    if (TForm1* f = forms.Form1) {
        for (QWidget* w : {static_cast<QWidget*>(f->Label2), static_cast<QWidget*>(f->Button19),
                           static_cast<QWidget*>(f->Button1)})
            if (w)
                w->setVisible(v);
    }
    // The later windows may not exist yet while the main window is being created.
    if (forms.Form4 && forms.Form4->Button6)
        forms.Form4->Button6->setVisible(v);
    if (forms.Form2)
        forms.Form2->setVisible(v);
    if (forms.Form3 && forms.Form3->CheckBox4)
        forms.Form3->CheckBox4->setVisible(v);
    if (forms.Form10)
        for (QCheckBox* box : forms.Form10->DebugCheckBoxes)
            box->setVisible(v);
}
