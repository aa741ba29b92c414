#pragma once

#include <QFont>
#include <QHash>
#include <QJsonObject>
#include <QPixmap>
#include <QString>

// A control's persisted keyed values. Reading matches keys without regard to case and
// falls back to the default for a missing or unreadable value; writing keeps a value only
// when it differs from its default, under the lower-case key as host windows store it.
class KeyedSettings {
public:
    KeyedSettings() = default;
    explicit KeyedSettings(const QJsonObject &stored);

    bool has(const QString &key) const;
    QString text(const QString &key, const QString &def = {}) const;
    qint32 int32(const QString &key, qint32 def) const;
    qint16 int16(const QString &key, qint16 def) const;
    bool boolean(const QString &key, bool def) const;
    quint32 color(const QString &key, quint32 def) const;
    // "family,size,weight,charset,italic,underline,strikeout"; false when absent or unreadable.
    bool font(const QString &key, QFont *font, int *charset) const;

    void putText(const QString &key, const QString &value, const QString &def = {});
    void putInt(const QString &key, qint64 value, qint64 def);
    void putBool(const QString &key, bool value, bool def);
    void putColor(const QString &key, quint32 value, quint32 def);
    void putFont(const QString &key, const QFont &font, int charset);

    QJsonObject toJson() const { return m_out; }

    // A picture reference: a resource or file path, or "data:image/png;base64,...".
    static QPixmap loadPicture(const QString &ref);
    static QString pictureRef(const QPixmap &pixmap, const QString &path);

private:
    QJsonValue find(const QString &key) const;

    QHash<QString, QJsonValue> m_in;
    QJsonObject m_out;
};
