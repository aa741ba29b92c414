#include "olecolors.h"

using namespace Qt::StringLiterals;

namespace {

// Classic system colours, indexed by the system colour number.
constexpr QRgb kSystemColors[] = {
    0xC8C8C8, // 0x00 scroll bar
    0x000000, // 0x01 desktop
    0x0054E3, // 0x02 active caption
    0x7A96DF, // 0x03 inactive caption
    0xF0F0F0, // 0x04 menu
    0xFFFFFF, // 0x05 window
    0x646464, // 0x06 window frame
    0x000000, // 0x07 menu text
    0x000000, // 0x08 window text
    0xFFFFFF, // 0x09 caption text
    0xB4B4B4, // 0x0A active border
    0xF4F7FC, // 0x0B inactive border
    0xABABAB, // 0x0C application workspace
    0x3399FF, // 0x0D highlight
    0xFFFFFF, // 0x0E highlighted text
    0xF0F0F0, // 0x0F button face
    0xA0A0A0, // 0x10 button shadow
    0x6D6D6D, // 0x11 gray text
    0x000000, // 0x12 button text
    0xD8E4F8, // 0x13 inactive caption text
    0xFFFFFF, // 0x14 button highlight
    0x696969, // 0x15 3D dark shadow
    0xE3E3E3, // 0x16 3D light
    0x000000, // 0x17 tooltip text
    0xFFFFE1, // 0x18 tooltip background
    0x000000, // 0x19 (unused)
    0x0066CC, // 0x1A hot-tracked item
    0x3D95FF, // 0x1B active caption gradient
    0x9DB9EB, // 0x1C inactive caption gradient
    0x3399FF, // 0x1D menu highlight
    0xF0F0F0, // 0x1E menu bar
};
constexpr int kSystemColorCount = int(sizeof(kSystemColors) / sizeof(kSystemColors[0]));

} // namespace

std::optional<quint32> parseOleColor(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    if (t.startsWith(u"&H"_s, Qt::CaseInsensitive)) {
        t = t.mid(2);
        if (t.endsWith(u'&'))
            t.chop(1);
        if (t.isEmpty() || t.size() > 8)
            return std::nullopt;
        const quint32 v = t.toUInt(&ok, 16);
        return ok ? std::optional<quint32>(v) : std::nullopt;
    }
    // Decimal: a Long, so system colours come as negative numbers.
    const qlonglong v = t.toLongLong(&ok, 10);
    if (!ok || v < -2147483648LL || v > 0xFFFFFFFFLL)
        return std::nullopt;
    return quint32(v & 0xFFFFFFFFLL);
}

QColor systemColor(int index)
{
    if (index < 0 || index >= kSystemColorCount || index == 0x19)
        return {};
    return QColor::fromRgb(kSystemColors[index]);
}

QColor oleColor(quint32 ole)
{
    const quint32 high = ole >> 24;
    if (high == 0x80)
        return (ole & 0x00FFFF00u) ? QColor() : systemColor(int(ole & 0xFF));
    // 0x00 plain RGB, 0x02 palette-relative RGB: both are the low three bytes.
    if (high != 0x00 && high != 0x02)
        return {};
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

QColor oleColor(const QString &text)
{
    const auto v = parseOleColor(text);
    return v ? oleColor(*v) : QColor();
}

QColor oleColorOrBlack(quint32 ole)
{
    const QColor c = oleColor(ole);
    return c.isValid() ? c : QColor(Qt::black);
}

QString oleColorText(quint32 ole)
{
    return u"&H"_s + QStringLiteral("%1").arg(ole, 8, 16, QLatin1Char('0')).toUpper();
}
