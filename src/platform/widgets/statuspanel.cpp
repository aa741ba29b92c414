#include "statuspanel.h"

#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace {
constexpr int kMargin = 3;
}

StatusPanel::StatusPanel(int number, QWidget *parent)
    : QLabel(parent)
    , m_number(number)
{
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(false);
}

void StatusPanel::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

QRect StatusPanel::textRect() const
{
    QRect r = rect().adjusted(kMargin, 1, -kMargin, -1);
    if (!m_picture.isNull())
        r.setLeft(r.left() + int(m_picture.deviceIndependentSize().width()) + kMargin);
    return r;
}

QString StatusPanel::shownText() const
{
    const QString oneLine = QString(text()).replace(u'\n', u' ').replace(u'\r', u' ');
    return fontMetrics().elidedText(oneLine, Qt::ElideRight, std::max(0, textRect().width()));
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), true, 1);
    if (!m_picture.isNull()) {
        const QSizeF size = m_picture.deviceIndependentSize();
        const int y = (height() - int(size.height())) / 2;
        if (isEnabled()) {
            p.drawPixmap(kMargin, y, m_picture);
        } else {
            QStyleOption opt;
            opt.initFrom(this);
            p.drawPixmap(kMargin, y, style()->generatedIconPixmap(QIcon::Disabled, m_picture, &opt));
        }
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}
