#include "olecolor.h"

#include <array>

using namespace Qt::StringLiterals;

namespace controls {

namespace {

// The classic system colours, indexed by the low byte of a system OLE colour.
constexpr std::array<QRgb, 31> kSystemColors = {
    0xC8C8C8, // 0x00 scroll bar
    0x3A6EA5, // 0x01 desktop
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
    0xFFFFFF, // 0x0E highlight text
    0xF0F0F0, // 0x0F button face
    0xA0A0A0, // 0x10 button shadow
    0x6D6D6D, // 0x11 gray text
    0x000000, // 0x12 button text
    0x434E54, // 0x13 inactive caption text
    0xFFFFFF, // 0x14 3-D highlight
    0x696969, // 0x15 3-D dark shadow
    0xE3E3E3, // 0x16 3-D light
    0x000000, // 0x17 tooltip text
    0xFFFFE1, // 0x18 tooltip background
    0xB5B5B5, // 0x19 (unused)
    0x0066CC, // 0x1A hot light
    0xB9D1EA, // 0x1B gradient active caption
    0xD7E4F2, // 0x1C gradient inactive caption
    0x3399FF, // 0x1D menu highlight
    0xF0F0F0, // 0x1E menu bar
};

} // namespace

QColor oleToColor(quint32 ole)
{
    if (ole & 0x80000000u) {
        const quint32 index = ole & 0xFFu;
        return index < kSystemColors.size() ? QColor::fromRgb(kSystemColors[index]) : QColor(Qt::black);
    }
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

std::optional<quint32> parseOleColor(const QString &text)
{
    QString t = text.trimmed();
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
    const qlonglong v = t.toLongLong(&ok);
    if (!ok || v < -0x80000000LL || v > 0xFFFFFFFFLL)
        return std::nullopt;
    return quint32(v);
}

QString oleColorText(quint32 ole)
{
    return u"&H"_s + QStringLiteral("%1").arg(ole, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace controls
