#pragma once

#include <QWidget>

// The borderless splash frmmain: dark blue with orange-to-yellow diagonal bands.
class Splash : public QWidget {
public:
    explicit Splash(QWidget *parent = nullptr);
    // The 567 × 567 picture drawn from the window's top-left corner.
    static QImage picture();

protected:
    void paintEvent(QPaintEvent *) override;
};
