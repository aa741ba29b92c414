#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// The skinned button's drawing, as pure functions on an RGB32 image: rectangle
// arithmetic, fills, tiled and transparent copies, the caption, pictures plain and
// embossed, and DrawButton that paints one state from the skin strip. Coordinates are
// whole pixels; right and bottom are exclusive. An arithmetic fault (overflow, an empty
// tile source) throws ControlError to the caller; drawing outside an image is clipped.
namespace buttonpaint {

struct Rect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    bool operator==(const Rect &) const = default;
};

// A button's picture: kind 0 none, 1 bitmap (its key colour is left out), 3 icon (drawn
// through its own transparency). An image with an alpha channel is an icon.
struct Picture {
    int kind = 0;
    QImage image;
    static Picture from(const QImage &image);
};

// Caption flags: single line, centred vertically, cut with an ellipsis when too long.
enum : int { DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_SINGLELINE = 0x20, DT_END_ELLIPSIS = 0x8000 };

Rect MakeRect(qint32 left, qint32 top, qint32 right, qint32 bottom);
// Throws ControlError 6 when a side leaves the 32-bit range.
Rect MoveRect(const Rect &r, qint32 dLeft, qint32 dTop, qint32 dRight, qint32 dBottom);
void NormalizeRect(Rect &r);
qint32 RectWidth(const Rect &r);
qint32 RectHeight(const Rect &r);
// The least whole number not below x.
qint32 Ceil(float x);
// An OLE colour as RGB; black when it names no colour.
QRgb TranslateColor(quint32 ole);
void GetRgb(qint32 color, short &r, short &g, short &b);

void FillRectColor(QImage &surface, const Rect &r, QRgb colour);
// Draws text with "&" marking the access key, in the font and colour given.
void DrawCaption(QImage &surface, const QFont &font, QColor colour, const QString &text, const Rect &r, int flags);
// Repeats the whole source over the destination, row by row, without clipping the last
// row and column to it; normalises both rectangles in place. Throws ControlError 11 for
// a source of zero width or height, 6 when a count leaves the 16-bit range.
void TileBlt(QImage &surface, Rect &dest, Rect &source, const QImage &from);
// Copies width x height pixels, leaving out those exactly equal to the key colour.
void TransBlt(QImage &surface, int x, int y, int width, int height, const QImage &from, int sx, int sy, quint32 keyOle);
QSize GetPictureSize(const Picture &picture);
void DrawPicture(QImage &surface, const Picture &picture, int x, int y, int width, int height, quint32 keyOle);
// The embossed look: the picture's dark pixels in the button shadow colour over a copy
// in the highlight colour one pixel down and right. An icon is first laid on keyOle.
void DrawDisabledPicture(QImage &surface, const Picture &picture, int x, int y, int width, int height, quint32 keyOle);
// Inverts every other pixel of the rectangle's outline.
void DrawFocusRect(QImage &surface, const Rect &r);

// What the painter reads of a button on every call.
struct ButtonLook {
    const QImage *skin = nullptr; // the skin strip, five cells; none: the flat look
    qint32 sizeCW = 3;
    qint32 sizeCH = 3;
    bool fillWithColor = true;
    QString text;
    qint32 textAlign = 2;
    Picture picture;
    short picturePos = 0;
    quint32 pictureTColor = 0xFF00FF;
    short displaceText = 0;
    short drawFocus = 0;
    quint32 textColorEnabled = 0;
    quint32 textColorDisabled = 0;
    quint32 textColorDisabled2 = 0;
    bool disableHover = false;
    quint32 backColor = 0x8000000F;
    QColor foreColor = Qt::black; // the control's own text colour, for the flat look
    QFont font;
};

enum class Painted { Nothing, Done, Failed };

// Paints state n (1 normal, 2 focused, 3 hover, 4 pressed, 5 disabled) over the whole
// surface. Nothing for state 3 while hover is off; Failed when a step threw, leaving
// what was drawn so far (the caller then drops the skin).
Painted DrawButton(QImage &surface, const ButtonLook &look, short n);

} // namespace buttonpaint
