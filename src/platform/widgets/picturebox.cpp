#include "picturebox.h"

#include <QEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    setPixmap(picture);
    m_stale = true;
}

const QImage &PictureBox::surface() const
{
    if (m_stale || m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(palette().color(QPalette::Window));
        const QPixmap pm = pixmap();
        if (!pm.isNull()) {
            QPainter p(&m_surface);
            p.drawPixmap(0, 0, pm);
        }
        m_stale = false;
    }
    return m_surface;
}

void PictureBox::resizeEvent(QResizeEvent *e)
{
    m_stale = true;
    QLabel::resizeEvent(e);
}

void PictureBox::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::PaletteChange)
        m_stale = true;
    QLabel::changeEvent(e);
}
