#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace controls {

// OLE colours through the platform's table; an unknown system colour is black.
QColor oleToColor(quint32 ole);

// Reads "&H00800000", "&H800000&", "8388608" or a negative decimal; nullopt when unreadable.
std::optional<quint32> parseOleColor(const QString &text);

// "&H00BBGGRR" with eight hex digits.
QString oleColorText(quint32 ole);

} // namespace controls
