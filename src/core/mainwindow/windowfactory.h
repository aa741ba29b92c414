#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace appwindows {

// The window of the layout formName over parent: the program's own class where the window
// has one, else the bare layout in a tool window.
QDialog *create(const QString &formName, QWidget *parent);

// The same, shown modal and deleted on close.
void showModal(const QString &formName, QWidget *parent);

} // namespace appwindows
