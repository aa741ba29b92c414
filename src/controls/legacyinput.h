#pragma once

#include <Qt>
#include <QtGlobal>

class QKeyEvent;

// The mouse and keyboard as the controls' events report them to their hosts: the
// classic button and shift bit masks, key codes and typed characters.
namespace legacyinput {

// Left 1, right 2, middle 4.
short mouseButton(Qt::MouseButtons b);
// Shift 1, Ctrl 2, Alt 4.
short shiftState(Qt::KeyboardModifiers m);
// The key codes the events carry: letters and digits as their capitals, the rest as the
// classic virtual-key numbers; 0 for a key without one.
short keyCode(const QKeyEvent *e);
// The typed character, 0 when the key types none.
short keyAscii(const QKeyEvent *e);

} // namespace legacyinput
