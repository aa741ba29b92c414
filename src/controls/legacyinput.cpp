#include "legacyinput.h"

#include <QKeyEvent>

namespace legacyinput {

short mouseButton(Qt::MouseButtons b)
{
    short v = 0;
    if (b & Qt::LeftButton)
        v |= 1;
    if (b & Qt::RightButton)
        v |= 2;
    if (b & Qt::MiddleButton)
        v |= 4;
    return v;
}

short shiftState(Qt::KeyboardModifiers m)
{
    short v = 0;
    if (m & Qt::ShiftModifier)
        v |= 1;
    if (m & Qt::ControlModifier)
        v |= 2;
    if (m & Qt::AltModifier)
        v |= 4;
    return v;
}

short keyCode(const QKeyEvent *e)
{
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9) || k == Qt::Key_Space)
        return short(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return short(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    default:
        return 0;
    }
}

short keyAscii(const QKeyEvent *e)
{
    if (!e->text().isEmpty())
        return short(e->text().at(0).unicode());
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    default:
        return 0;
    }
}

} // namespace legacyinput
