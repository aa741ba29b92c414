#include "buttonpaint.h"

#include "controlerror.h"
#include "olecolors.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace buttonpaint {

namespace {

qint32 checked(qint64 v)
{
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw ControlError(ControlError::Overflow, u"MyButton"_s, u"Taşma"_s);
    return qint32(v);
}

qint32 whole(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        throw ControlError(ControlError::Overflow, u"MyButton"_s, u"Taşma"_s);
    return qint32(r);
}

// An image the copies can read row by row: RGB32 or ARGB32 as it is, anything else converted.
QImage readable(const QImage &img)
{
    if (img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32)
        return img;
    return img.convertToFormat(QImage::Format_RGB32);
}

// Copies w x h pixels from (sx, sy); with a key, source pixels of that colour are left out.
// Rows and columns outside either image are skipped.
void copyPixels(QImage &surface, int x, int y, int w, int h, const QImage &from, int sx, int sy, const QRgb *key)
{
    if (w <= 0 || h <= 0 || surface.isNull() || from.isNull())
        return;
    const QImage src = readable(from);
    const int c0 = std::max({0, -x, -sx});
    const int c1 = std::min({w, surface.width() - x, src.width() - sx});
    if (c1 <= c0)
        return;
    for (int row = 0; row < h; ++row) {
        const int sr = sy + row;
        const int dr = y + row;
        if (sr < 0 || sr >= src.height() || dr < 0 || dr >= surface.height())
            continue;
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(sr)) + sx;
        QRgb *d = reinterpret_cast<QRgb *>(surface.scanLine(dr)) + x;
        for (int c = c0; c < c1; ++c) {
            const QRgb v = s[c] | 0xFF000000u;
            if (!key || (v & 0xFFFFFFu) != *key)
                d[c] = v;
        }
    }
}

// The caption as drawn: "&x" shows x, "&&" shows one "&".
QString withoutMarkers(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        out.append(text.at(i));
    }
    return out;
}

// Dark pixels of the picture (nearer black than white), as the monochrome copy has them.
std::vector<bool> darkPixels(const QImage &pic)
{
    std::vector<bool> dark(size_t(pic.width()) * size_t(pic.height()));
    for (int y = 0; y < pic.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(pic.constScanLine(y));
        for (int x = 0; x < pic.width(); ++x) {
            const int r = qRed(line[x]);
            const int g = qGreen(line[x]);
            const int b = qBlue(line[x]);
            const int toBlack = r * r + g * g + b * b;
            const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
            dark[size_t(y) * size_t(pic.width()) + size_t(x)] = toBlack <= toWhite;
        }
    }
    return dark;
}

void setPixelClipped(QImage &surface, int x, int y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < surface.width() && y < surface.height())
        reinterpret_cast<QRgb *>(surface.scanLine(y))[x] = colour | 0xFF000000u;
}

} // namespace

Picture Picture::from(const QImage &image)
{
    if (image.isNull())
        return {};
    if (image.hasAlphaChannel())
        return {3, image.convertToFormat(QImage::Format_ARGB32_Premultiplied)};
    return {1, image.convertToFormat(QImage::Format_RGB32)};
}

Rect MakeRect(qint32 left, qint32 top, qint32 right, qint32 bottom)
{
    return {left, top, right, bottom};
}

Rect MoveRect(const Rect &r, qint32 dLeft, qint32 dTop, qint32 dRight, qint32 dBottom)
{
    return {checked(qint64(r.left) + dLeft), checked(qint64(r.top) + dTop), checked(qint64(r.right) + dRight),
            checked(qint64(r.bottom) + dBottom)};
}

void NormalizeRect(Rect &r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
}

qint32 RectWidth(const Rect &r)
{
    return checked(qint64(r.right) - r.left);
}

qint32 RectHeight(const Rect &r)
{
    return checked(qint64(r.bottom) - r.top);
}

qint32 Ceil(float x)
{
    const double f = std::floor(double(x));
    return whole(f >= double(x) ? double(x) : f + 1);
}

QRgb TranslateColor(quint32 ole)
{
    return oleColorOrBlack(ole).rgb();
}

void GetRgb(qint32 color, short &r, short &g, short &b)
{
    r = short(color & 255);
    g = short((color / 256) & 255);
    b = short((color / 65536) & 255);
}

void FillRectColor(QImage &surface, const Rect &r, QRgb colour)
{
    const int l = std::max(r.left, 0);
    const int t = std::max(r.top, 0);
    const int rt = std::min(r.right, surface.width());
    const int b = std::min(r.bottom, surface.height());
    const QRgb v = colour | 0xFF000000u;
    for (int y = t; y < b; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(surface.scanLine(y));
        std::fill(line + l, line + std::max(l, rt), v);
    }
}

void DrawCaption(QImage &surface, const QFont &font, QColor colour, const QString &text, const Rect &r, int flags)
{
    const QRect box(r.left, r.top, qint64(r.right) - r.left, qint64(r.bottom) - r.top);
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    QPainter p(&surface);
    p.setFont(font);
    p.setPen(colour);
    int qf = Qt::TextSingleLine;
    qf |= (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    qf |= (flags & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    const QString plain = withoutMarkers(text);
    const QFontMetrics fm(font);
    if ((flags & DT_END_ELLIPSIS) && fm.horizontalAdvance(plain) > box.width())
        p.drawText(box, qf, fm.elidedText(plain, Qt::ElideRight, box.width()));
    else
        p.drawText(box, qf | Qt::TextShowMnemonic, text);
}

void TileBlt(QImage &surface, Rect &dest, Rect &source, const QImage &from)
{
    NormalizeRect(dest);
    NormalizeRect(source);
    const qint32 hd = RectHeight(dest);
    const qint32 hs = RectHeight(source);
    const qint32 wd = RectWidth(dest);
    const qint32 ws = RectWidth(source);
    auto count = [](qint32 d, qint32 s) {
        if (s == 0)
            throw ControlError(d == 0 ? ControlError::Overflow : ControlError::DivisionByZero, u"MyButton"_s,
                               d == 0 ? u"Taşma"_s : u"Sıfıra bölme"_s);
        const qint32 n = Ceil(float(double(d) / double(s)));
        if (n > std::numeric_limits<short>::max())
            throw ControlError(ControlError::Overflow, u"MyButton"_s, u"Taşma"_s);
        return n;
    };
    const qint32 rows = count(hd, hs);
    const qint32 columns = count(wd, ws);
    for (qint32 r = 0; r < rows; ++r) {
        for (qint32 c = 0; c < columns; ++c)
            copyPixels(surface, checked(dest.left + qint64(c) * ws), checked(dest.top + qint64(r) * hs), ws, hs, from,
                       source.left, source.top, nullptr);
    }
}

void TransBlt(QImage &surface, int x, int y, int width, int height, const QImage &from, int sx, int sy, quint32 keyOle)
{
    const QRgb key = TranslateColor(keyOle) & 0xFFFFFFu;
    copyPixels(surface, x, y, width, height, from, sx, sy, &key);
}

QSize GetPictureSize(const Picture &picture)
{
    return picture.kind == 0 ? QSize(0, 0) : picture.image.size();
}

void DrawPicture(QImage &surface, const Picture &picture, int x, int y, int width, int height, quint32 keyOle)
{
    if (picture.kind == 3) {
        QPainter p(&surface);
        p.drawImage(QRect(x, y, width, height), picture.image);
    } else if (picture.kind == 1) {
        TransBlt(surface, x, y, width, height, picture.image, 0, 0, keyOle);
    }
}

void DrawDisabledPicture(QImage &surface, const Picture &picture, int x, int y, int width, int height, quint32 keyOle)
{
    if (picture.kind == 0 || width <= 0 || height <= 0)
        return;
    const QRgb highlight = TranslateColor(0x80000014) & 0xFFFFFFu;
    const QRgb shadow = TranslateColor(0x80000010) & 0xFFFFFFu;
    QImage pic(width, height, QImage::Format_RGB32);
    if (picture.kind == 3) {
        pic.fill(TranslateColor(keyOle));
        QPainter p(&pic);
        p.drawImage(QRect(0, 0, width, height), picture.image);
    } else {
        pic.fill(Qt::white);
        copyPixels(pic, 0, 0, width, height, picture.image, 0, 0, nullptr);
    }
    const std::vector<bool> dark = darkPixels(pic);
    // Each pass leaves out its key colour: black for the highlight, white for the shadow.
    for (int pass = 0; pass < 2; ++pass) {
        const QRgb colour = pass == 0 ? highlight : shadow;
        if (colour == (pass == 0 ? 0x000000u : 0xFFFFFFu))
            continue;
        const int off = pass == 0 ? 1 : 0;
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i)
                if (dark[size_t(j) * size_t(width) + size_t(i)])
                    setPixelClipped(surface, x + off + i, y + off + j, colour);
    }
}

void DrawFocusRect(QImage &surface, const Rect &r)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) == 0 && x >= 0 && y >= 0 && x < surface.width() && y < surface.height()) {
            QRgb &p = reinterpret_cast<QRgb *>(surface.scanLine(y))[x];
            p = (p ^ 0x00FFFFFFu) | 0xFF000000u;
        }
    };
    for (int x = r.left; x < r.right; ++x) {
        flip(x, r.top);
        if (r.bottom - 1 > r.top)
            flip(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        flip(r.left, y);
        if (r.right - 1 > r.left)
            flip(r.right - 1, y);
    }
}

namespace {

int captionFlags(qint32 textAlign)
{
    const int base = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    return base | (textAlign == 1 ? DT_RIGHT : textAlign == 2 ? DT_CENTER : DT_LEFT);
}

// Without a skin: the background, and the caption over the whole control in its own
// text colour, or a picture standing alone centred.
void drawFlat(QImage &surface, const ButtonLook &look, short n, int flags)
{
    const qint32 W = surface.width();
    const qint32 H = surface.height();
    FillRectColor(surface, MakeRect(0, 0, W, H), TranslateColor(look.backColor));
    if (look.picture.kind != 0 && look.picturePos == 4) {
        const QSize ps = GetPictureSize(look.picture);
        const qint32 d = n == 4 ? look.displaceText : 0;
        const qint32 px = checked(qint64(whole((W - ps.width()) / 2.0)) + look.displaceText);
        const qint32 py = checked(qint64(whole((H - ps.height()) / 2.0)) + d);
        if (n == 5)
            DrawDisabledPicture(surface, look.picture, px, py, ps.width(), ps.height(), look.pictureTColor);
        else
            DrawPicture(surface, look.picture, px, py, ps.width(), ps.height(), look.pictureTColor);
        return;
    }
    DrawCaption(surface, look.font, look.foreColor, look.text, MakeRect(0, 0, W, H), flags);
}

void drawSkin(QImage &surface, const ButtonLook &look, short n)
{
    const QImage &skin = *look.skin;
    const qint32 W = surface.width();
    const qint32 H = surface.height();
    const qint32 cwc = look.sizeCW;
    const qint32 chc = look.sizeCH;
    const qint32 SH = skin.height();
    const qint32 cw = whole(skin.width() / 5.0);
    const qint32 sx = checked(qint64(n - 1) * cw);
    const qint32 sr = checked(qint64(n) * cw);
    auto sub = [](qint32 a, qint32 b) { return checked(qint64(a) - b); };
    auto add = [](qint32 a, qint32 b) { return checked(qint64(a) + b); };

    std::optional<QRgb> sample;
    if (look.fillWithColor) {
        const qint32 x = add(add(sx, cwc), 1);
        const qint32 y = add(chc, 1);
        if (x >= 0 && y >= 0 && x < skin.width() && y < skin.height())
            sample = skin.pixel(x, y);
    }
    FillRectColor(surface, MakeRect(0, 0, W, H), TranslateColor(look.backColor));
    Rect middle = MakeRect(cwc, chc, sub(W, cwc), sub(H, chc));
    if (look.fillWithColor) {
        if (sample)
            FillRectColor(surface, middle, *sample);
    } else {
        Rect from = MakeRect(add(sx, cwc), chc, sub(sr, cwc), sub(SH, chc));
        TileBlt(surface, middle, from, skin);
    }
    if (chc > 0 && cwc > 0) {
        const Rect edges[4][2] = {
            {MakeRect(cwc, 0, W, chc), MakeRect(add(sx, cwc), 0, sub(sr, cwc), chc)},
            {MakeRect(cwc, sub(H, chc), W, H), MakeRect(add(sx, cwc), sub(SH, chc), sub(sr, cwc), SH)},
            {MakeRect(0, 0, cwc, H), MakeRect(sx, chc, add(sx, cwc), sub(SH, chc))},
            {MakeRect(sub(W, cwc), chc, W, sub(H, chc)), MakeRect(sub(sr, cwc), chc, sr, sub(SH, chc))},
        };
        for (const auto &edge : edges) {
            Rect to = edge[0];
            Rect from = edge[1];
            TileBlt(surface, to, from, skin);
        }
        constexpr quint32 magenta = 0xFF00FF;
        TransBlt(surface, 0, 0, cwc, chc, skin, sx, 0, magenta);
        TransBlt(surface, 0, sub(H, chc), cwc, chc, skin, sx, sub(SH, chc), magenta);
        TransBlt(surface, sub(W, cwc), 0, cwc, chc, skin, sub(sr, cwc), 0, magenta);
        TransBlt(surface, sub(W, cwc), sub(H, chc), cwc, chc, skin, sub(sr, cwc), sub(SH, chc), magenta);
    }

    const int flags = captionFlags(look.textAlign);
    const qint32 d = n == 4 ? look.displaceText : 0;
    Rect caption = MakeRect(add(cwc, d), add(chc, d), add(sub(sub(W, cwc), 3), d), add(sub(H, chc), d));
    const bool twoTone = look.textColorDisabled != look.textColorDisabled2;
    auto disabledCaption = [&](const Rect &r) {
        if (twoTone) {
            const Rect shade = MoveRect(r, 1, 1, 1, 1);
            DrawCaption(surface, look.font, QColor(TranslateColor(look.textColorDisabled2)), look.text, shade, flags);
        }
        DrawCaption(surface, look.font, QColor(TranslateColor(look.textColorDisabled)), look.text, r, flags);
    };

    if (look.picture.kind == 0) {
        if (n == 5)
            disabledCaption(caption);
        else
            DrawCaption(surface, look.font, QColor(TranslateColor(look.textColorEnabled)), look.text, caption, flags);
    } else {
        const QSize ps = GetPictureSize(look.picture);
        const qint32 pw = ps.width();
        const qint32 ph = ps.height();
        const double th = QFontMetricsF(look.font).height();
        qint32 py = add(whole((H - ph) / 2.0), d);
        qint32 px = 0;
        bool shown = true;
        const qint32 L = caption.left;
        const qint32 T = caption.top;
        switch (look.picturePos) {
        case 0:
            px = add(L, 3);
            caption.left = add(add(px, pw), L);
            break;
        case 1:
            px = whole((W - pw) / 2.0 + L - cwc);
            py = whole((H - ph - 3 - th) / 2.0 + T - chc);
            caption.top = add(add(py, ph), 3);
            caption.bottom = whole(th * 1.2 + caption.top);
            break;
        case 2:
            caption.top = whole((H - ph - 3 - th) / 2.0 + T - chc);
            caption.bottom = whole(th * 1.2 + caption.top);
            px = whole((W - pw) / 2.0 + L - cwc);
            py = add(caption.bottom, 3);
            break;
        case 3:
            px = checked(qint64(caption.right) - pw - 3 + L - cwc);
            caption.right = sub(px, 3);
            break;
        case 4:
            px = add(whole((W - pw) / 2.0), look.displaceText);
            shown = false;
            break;
        default:
            break;
        }
        if (n != 5) {
            if (shown)
                DrawCaption(surface, look.font, QColor(TranslateColor(look.textColorEnabled)), look.text, caption,
                            flags);
            DrawPicture(surface, look.picture, px, py, pw, ph, look.pictureTColor);
        } else {
            DrawDisabledPicture(surface, look.picture, px, py, pw, ph, look.pictureTColor);
            if (shown)
                disabledCaption(caption);
        }
    }
    if (look.drawFocus > 0 && (n == 2 || n == 4)) {
        const qint32 f = look.drawFocus;
        DrawFocusRect(surface, MakeRect(f, f, sub(W, f), sub(H, f)));
    }
}

} // namespace

Painted DrawButton(QImage &surface, const ButtonLook &look, short n)
{
    if (look.disableHover && n == 3)
        return Painted::Nothing;
    if (surface.format() != QImage::Format_RGB32)
        surface = surface.convertToFormat(QImage::Format_RGB32);
    try {
        if (!look.skin || look.skin->isNull())
            drawFlat(surface, look, n, captionFlags(look.textAlign));
        else
            drawSkin(surface, look, n);
    } catch (const ControlError &) {
        return Painted::Failed;
    }
    return Painted::Done;
}

} // namespace buttonpaint
