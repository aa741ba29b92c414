#include "dropdowncombo.h"

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
