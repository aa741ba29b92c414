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
    return count();
}

void ImageList::clear()
{
    m_images.clear();
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
    if (!ref.isValid() || ref.isNull())
        return {};
    if (ref.typeId() == QMetaType::QString)
        return ref.toString().isEmpty() ? QPixmap() : pixmap(ref.toString());
    bool ok = false;
    const int index = ref.toInt(&ok);
    if (!ok)
        throw widgeterrors::make(widgeterrors::InvalidPropertyValue);
    return pixmap(index);
}

QString ImageList::key(int index) const
{
    if (index < 1 || index > count())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return m_images[size_t(index - 1)].key;
}
