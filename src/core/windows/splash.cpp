#include "splash.h"

#include <QImage>
#include <QPainter>
#include <cmath>

Splash::Splash(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmmain"));
    setFixedSize(int(std::nearbyint(4676 / 15.0)), int(std::nearbyint(3024 / 15.0)));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 0, 64));
    setPalette(p);
    setWindowIcon(QIcon(QStringLiteral(":/images/program.png")));
}

QImage Splash::picture()
{
    constexpr int size = 567;
    QImage img(size, size, QImage::Format_RGB888);
    // Constant along lines from top-left to bottom-right: the shade follows x - y.
    for (int y = 0; y < size; ++y) {
        auto *line = img.scanLine(y);
        for (int x = 0; x < size; ++x) {
            const double t = (double(x - y) + (size - 1)) / (2.0 * (size - 1));
            const int band = int(t * 12.0); // twelve bands
            const int green = 110 + int(std::nearbyint((255 - 110) * band / 11.0));
            line[3 * x] = 255;
            line[3 * x + 1] = uchar(std::min(green, 255));
            line[3 * x + 2] = 0;
        }
    }
    return img;
}

void Splash::paintEvent(QPaintEvent *)
{
    static const QImage img = picture();
    QPainter p(this);
    p.drawImage(0, 0, img);
}
