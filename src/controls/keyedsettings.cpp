#include "keyedsettings.h"

#include "olecolors.h"

#include <QBuffer>
#include <QStringList>
#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kDataPrefix = "data:image/png;base64,"_L1;

std::optional<qint64> toInteger(const QJsonValue &v)
{
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return qint64(std::nearbyint(d));
    }
    if (v.isBool())
        return v.toBool() ? -1 : 0;
    if (!v.isString())
        return std::nullopt;
    const QString t = v.toString().trimmed();
    if (t.startsWith(u"&H"_s, Qt::CaseInsensitive)) {
        if (const auto c = parseOleColor(t))
            return qint64(qint32(*c)); // a hex literal is a 32-bit pattern
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (ok)
        return n;
    const double d = t.toDouble(&ok);
    if (ok && std::isfinite(d))
        return qint64(std::nearbyint(d));
    return std::nullopt;
}

} // namespace

KeyedSettings::KeyedSettings(const QJsonObject &stored)
{
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it)
        m_in.insert(it.key().toLower(), it.value());
}

QJsonValue KeyedSettings::find(const QString &key) const
{
    return m_in.value(key.toLower(), QJsonValue(QJsonValue::Undefined));
}

bool KeyedSettings::has(const QString &key) const
{
    return m_in.contains(key.toLower());
}

QString KeyedSettings::text(const QString &key, const QString &def) const
{
    const QJsonValue v = find(key);
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isBool())
        return v.toBool() ? u"True"_s : u"False"_s;
    return def;
}

qint32 KeyedSettings::int32(const QString &key, qint32 def) const
{
    const auto n = toInteger(find(key));
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
        return def;
    return qint32(*n);
}

qint16 KeyedSettings::int16(const QString &key, qint16 def) const
{
    const auto n = toInteger(find(key));
    if (!n || *n < std::numeric_limits<qint16>::min() || *n > std::numeric_limits<qint16>::max())
        return def;
    return qint16(*n);
}

bool KeyedSettings::boolean(const QString &key, bool def) const
{
    const QJsonValue v = find(key);
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() != 0;
    if (v.isString()) {
        const QString t = v.toString().trimmed();
        if (t.compare(u"true"_s, Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(u"false"_s, Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const int n = t.toInt(&ok);
        if (ok)
            return n != 0;
    }
    return def;
}

quint32 KeyedSettings::color(const QString &key, quint32 def) const
{
    const QJsonValue v = find(key);
    if (v.isString()) {
        if (const auto c = parseOleColor(v.toString()))
            return *c;
        return def;
    }
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (d >= -2147483648.0 && d <= 4294967295.0)
            return quint32(qint64(d));
    }
    return def;
}

bool KeyedSettings::font(const QString &key, QFont *font, int *charset) const
{
    const QJsonValue v = find(key);
    if (!v.isString())
        return false;
    const QStringList parts = v.toString().split(u',');
    if (parts.isEmpty() || parts.first().trimmed().isEmpty())
        return false;
    QFont f = *font;
    f.setFamily(parts.at(0).trimmed());
    bool ok = true;
    auto number = [&](qsizetype i, double def) {
        if (i >= parts.size())
            return def;
        bool good = false;
        const double d = parts.at(i).trimmed().toDouble(&good);
        ok = ok && good;
        return good ? d : def;
    };
    const double size = number(1, f.pointSizeF());
    const int weight = int(number(2, 400));
    const int cs = int(number(3, 0));
    const bool italic = number(4, 0) != 0;
    const bool underline = number(5, 0) != 0;
    const bool strikeout = number(6, 0) != 0;
    if (!ok || size <= 0 || weight < 1 || weight > 1000)
        return false;
    f.setPointSizeF(size);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeout);
    *font = f;
    *charset = cs;
    return true;
}

void KeyedSettings::putText(const QString &key, const QString &value, const QString &def)
{
    if (value != def)
        m_out.insert(key.toLower(), value);
}

void KeyedSettings::putInt(const QString &key, qint64 value, qint64 def)
{
    if (value != def)
        m_out.insert(key.toLower(), QString::number(value));
}

void KeyedSettings::putBool(const QString &key, bool value, bool def)
{
    if (value != def)
        m_out.insert(key.toLower(), value ? u"true"_s : u"false"_s);
}

void KeyedSettings::putColor(const QString &key, quint32 value, quint32 def)
{
    if (value != def)
        m_out.insert(key.toLower(), oleColorText(value));
}

void KeyedSettings::putFont(const QString &key, const QFont &font, int charset)
{
    const QString text = QStringList{font.family(),
                                     QString::number(font.pointSizeF()),
                                     QString::number(int(font.weight())),
                                     QString::number(charset),
                                     QString::number(int(font.italic())),
                                     QString::number(int(font.underline())),
                                     QString::number(int(font.strikeOut()))}
                             .join(u',');
    m_out.insert(key.toLower(), text);
}

QPixmap KeyedSettings::loadPicture(const QString &ref)
{
    QPixmap pm;
    if (ref.startsWith(kDataPrefix))
        pm.loadFromData(QByteArray::fromBase64(ref.mid(kDataPrefix.size()).toLatin1()), "PNG");
    else if (!ref.isEmpty())
        pm.load(ref);
    return pm;
}

QString KeyedSettings::pictureRef(const QPixmap &pixmap, const QString &path)
{
    if (pixmap.isNull())
        return {};
    if (!path.isEmpty())
        return path;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return kDataPrefix + QString::fromLatin1(png.toBase64());
}
