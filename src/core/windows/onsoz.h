#pragma once

#include "appwindows.h"

namespace db {
class DataControl;
}

// The forewords window: the two forewords of the settings database, side by side, locked.
class Onsoz : public appwindows::Window {
    Q_OBJECT
public:
    explicit Onsoz(QWidget *parent = nullptr);

    // Binds the data control to the open settings database and shows its first row.
    void Form_Load();

    // The boxes' width and height for an outer size in twips; a negative one is not set.
    struct Layout {
        double boxWidth, boxHeight, text2Left;
    };
    static Layout layoutFor(double outerWidth, double outerHeight, double text1Left);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void Form_Resize();
    db::DataControl *m_data1 = nullptr;
};
