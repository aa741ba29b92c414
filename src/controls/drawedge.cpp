#include "drawedge.h"

#include "olecolors.h"

#include <QPainter>

namespace sliderpaint {

namespace {

// One ring of an edge: top and left in one colour, bottom and right (with the two corner
// pixels they share with the others) in the other.
void ring(QPainter &p, const QRect &r, quint32 topLeft, quint32 bottomRight)
{
    const int l = r.left();
    const int t = r.top();
    const int w = r.width();
    const int h = r.height();
    if (w <= 0 || h <= 0)
        return;
    const QColor tl = oleColorOrBlack(topLeft);
    const QColor br = oleColorOrBlack(bottomRight);
    p.fillRect(l, t, w - 1, 1, tl);
    p.fillRect(l, t, 1, h - 1, tl);
    p.fillRect(l, t + h - 1, w, 1, br);
    p.fillRect(l + w - 1, t, 1, h, br);
}

} // namespace

void DrawEdge(QImage &surface, const QRect &r, int edge)
{
    constexpr quint32 highlight = 0x80000014;
    constexpr quint32 shadow = 0x80000010;
    constexpr quint32 darkShadow = 0x80000015;
    constexpr quint32 light = 0x80000016;
    QPainter p(&surface);
    if (edge & BDR_RAISEDOUTER)
        ring(p, r, light, darkShadow);
    else if (edge & BDR_SUNKENOUTER)
        ring(p, r, shadow, highlight);
    // A thin edge of an inner border alone lies on the rectangle itself.
    const QRect inner = (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) ? r.adjusted(1, 1, -1, -1) : r;
    if (edge & BDR_RAISEDINNER)
        ring(p, inner, highlight, shadow);
    else if (edge & BDR_SUNKENINNER)
        ring(p, inner, darkShadow, light);
}

} // namespace sliderpaint
