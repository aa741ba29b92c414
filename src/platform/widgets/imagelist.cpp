#include "imagelist.h"

#include "turkish.h"
#include "widgeterrors.h"

ImageList::ImageList(QObject *parent)
    : QObject(parent)
{
}

int ImageList::add(const QPixmap &picture, const QString &key)
{
    if (!key.isEmpty() && indexOf(key) != 0)
        throw widgeterrors::make(widgeterrors::KeyNotUnique);
    QPixmap pm = picture;
    if (!pm.isNull() && pm.size() != m_size)
        pm = pm.scaled(m_size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_images.push_back({key, key.isEmpty() ? QString() : turkish::fold(key), pm});
    ++m_revision;
    return count();
}

void ImageList::clear()
{
    m_images.clear();
    ++m_revision;
}

int ImageList::indexOf(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    const QString folded = turkish::fold(key);
    for (size_t i = 0; i < m_images.size(); ++i) {
        if (!m_images[i].foldedKey.isEmpty() && m_images[i].foldedKey == folded)
            return int(i) + 1;
    }
    return 0;
}

QPixmap ImageList::pixmap(int index) const
{
    if (index < 1 || index > count())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return m_images[size_t(index - 1)].pixmap;
}

QPixmap ImageList::pixmap(const QString &key) const
{
    const int index = indexOf(key);
    if (index == 0)
        throw widgeterrors::make(widgeterrors::ElementNotFound);
    return m_images[size_t(index - 1)].pixmap;
}

QPixmap ImageList::pixmap(const QVariant &ref) const
{
    const int index = resolve(ref);
    return index == 0 ? QPixmap() : m_images[size_t(index - 1)].pixmap;
}

int ImageList::resolve(const QVariant &ref) const
{
    if (!ref.isValid() || ref.isNull())
        return 0;
    if (ref.typeId() == QMetaType::QString) {
        const QString key = ref.toString();
        if (key.isEmpty())
            return 0;
        const int index = indexOf(key);
        if (index == 0)
            throw widgeterrors::make(widgeterrors::ElementNotFound);
        return index;
    }
    bool ok = false;
    const int index = ref.toInt(&ok);
    if (!ok)
        throw widgeterrors::make(widgeterrors::InvalidPropertyValue);
    if (index < 1 || index > count())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return index;
}

QString ImageList::key(int index) const
{
    if (index < 1 || index > count())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return m_images[size_t(index - 1)].key;
}
