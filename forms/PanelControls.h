#ifndef ZENDRIK_FORMS_PANELCONTROLS_H
#define ZENDRIK_FORMS_PANELCONTROLS_H

#include <QString>

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;
class QWidget;

// Controls as the main window's panels make them: the designer name becomes the objectName, by
// which a maintainer (and a test) finds the control.
QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked = false);
QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption);
QRadioButton* NamedRadio(QWidget* parent, const char* name, const QString& caption);
QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption = QString());
// A list the operator reads and selects in but does not edit.
QListView* NamedList(QWidget* parent, const char* name);

#endif
