#include "olecolor.h"
#include "olecolors.h"


using namespace Qt::StringLiterals;

namespace controls {

QColor oleToColor(quint32 ole)
{
    const QColor c = ::oleColor(ole);
    return c.isValid() ? c : QColor(Qt::black);
}

std::optional<quint32> parseOleColor(const QString &text)
{
    return ::parseOleColor(text);
}

QString oleColorText(quint32 ole)
{
    return u"&H"_s + QStringLiteral("%1").arg(ole, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace controls
