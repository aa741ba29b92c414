#include "dropdowncombo.h"

#include <QKeyEvent>
#include <QWheelEvent>

DropDownCombo::DropDownCombo(QWidget *parent)
    : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
}

void DropDownCombo::showPopup()
{
    m_stale = false;
    emit dropDown();
    QComboBox::showPopup();
}

// Emptied first: a fill that fails leaves nothing to choose from the earlier list.
void DropDownCombo::refillIfStale()
{
    if (!m_stale)
        return;
    m_stale = false;
    const QString typed = isEditable() ? currentText() : QString();
    clear();
    if (isEditable())
        setEditText(typed);
    emit dropDown();
}

void DropDownCombo::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        break;
    default:
        refillIfStale();
        break;
    }
    QComboBox::keyPressEvent(e);
}

void DropDownCombo::wheelEvent(QWheelEvent *e)
{
    if (!hasFocus()) {
        e->ignore();
        return;
    }
    refillIfStale();
    QComboBox::wheelEvent(e);
}
