#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The loaded windows in load order: the splash first, the main window second.
namespace loadedwindows {

void add(QWidget *w);
void remove(QWidget *w);
QList<QPointer<QWidget>> list();

} // namespace loadedwindows
