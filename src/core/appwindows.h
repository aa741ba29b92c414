#pragma once

#include <QString>

class QDialog;
class QWidget;

// The secondary windows opened from the main window.
namespace appwindows {

// Registers the layouts and pictures of this static library; call before loading a window.
void initResources();
// Loads the window anew from its layout and shows it modally; returns when it closes.
void showModal(const QString &formName, QWidget *parent);
// Shows a window modally, counted among the loaded windows while it is open.
void runModal(QDialog *dialog);
// Unloads the controls' shared tip window when it is shown.
void closeValueTip();

} // namespace appwindows
