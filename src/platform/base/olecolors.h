#pragma once

#include <QColor>
#include <QString>
#include <optional>

// OLE colours as the layout files store them: &H00BBGGRR (red in the low byte) or
// &H800000nn, system colour nn, taken from a fixed table of classic system colours so
// that a window looks the same on every desktop.

// "&H00F0F0F0", "&HF0F0F0&", "&H8000000F", "8388608" or "-2147483633"; nullopt when unreadable.
std::optional<quint32> parseOleColor(const QString &text);

// Invalid QColor for an unknown system colour or an unreadable text.
QColor oleColor(quint32 ole);
QColor oleColor(const QString &text);
// As the controls draw it: black where oleColor() names no colour.
QColor oleColorOrBlack(quint32 ole);

// "&H00BBGGRR" with eight hex digits.
QString oleColorText(quint32 ole);

// System colour nn (0x00 scroll bar ... 0x1E menu bar); invalid QColor when unknown.
QColor systemColor(int index);
