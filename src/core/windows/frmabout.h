#pragma once

#include "appwindows.h"

// The about window: the program's title, version and contact lines; no title bar, closed
// only by its "Kapat" button.
class FrmAbout : public appwindows::Window {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget *parent = nullptr);

    void kapat_Click();
};
