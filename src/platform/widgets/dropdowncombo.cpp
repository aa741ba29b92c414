#include "dropdowncombo.h"

#include <QWheelEvent>

DropDownCombo::DropDownCombo(QWidget *parent)
    : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
}

void DropDownCombo::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

void DropDownCombo::wheelEvent(QWheelEvent *e)
{
    if (!hasFocus()) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}
