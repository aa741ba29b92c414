#pragma once

#include <QString>

class QWidget;

// The secondary windows opened from the main window.
namespace appwindows {

// Loads the window anew from its layout and shows it modally; returns when it closes.
void showModal(const QString &formName, QWidget *parent);
// Unloads the controls' shared tip window when it is shown.
void closeValueTip();

} // namespace appwindows
