#include "forms/PanelControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QRadioButton* NamedRadio(QWidget* parent, const char* name, const QString& caption)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QListView* NamedList(QWidget* parent, const char* name)
{
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}
