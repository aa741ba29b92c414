#pragma once

#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QVariant>
#include <vector>

// Pictures of one size (16 × 16 unless set), addressed by 1-based index and by key.
// Keys follow the tree's rules: compared with turkish::fold, an empty key is no key.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject *parent = nullptr);

    void setImageSize(const QSize &size) { m_size = size; }
    QSize imageSize() const { return m_size; }

    // Scaled to the list's size; returns the new index. Throws 35602 for a key taken.
    int add(const QPixmap &picture, const QString &key = {});
    void clear();
    int count() const { return int(m_images.size()); }

    // 0 when no picture carries the key.
    int indexOf(const QString &key) const;
    // Throw 35600 for an index out of range, 35601 for an unknown key.
    QPixmap pixmap(int index) const;
    QPixmap pixmap(const QString &key) const;
    // A key (text) or an index (number); the same errors. An empty variant is no picture.
    QPixmap pixmap(const QVariant &ref) const;
    // The index such a reference names, 0 for no picture; the same errors.
    int resolve(const QVariant &ref) const;
    // Changes with every add and clear, so that users can tell their copies are stale.
    int revision() const { return m_revision; }
    QString key(int index) const;

private:
    struct Image {
        QString key;
        QString foldedKey;
        QPixmap pixmap;
    };
    std::vector<Image> m_images;
    QSize m_size{16, 16};
    int m_revision = 0;
};
