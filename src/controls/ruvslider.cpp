#include "ruvslider.h"

#include "controlerror.h"
#include "keyedsettings.h"
#include "olecolor.h"
#include "ruvslideraccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

int whole(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

RuvSlider::RuvSlider(QWidget *parent)
    : QWidget(parent)
{
    RuvSliderAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    placeThumb();
}

RuvSlider::~RuvSlider() = default;

void RuvSlider::checkFits(qint64 diff) const
{
    if (diff < kInt32Min || diff > kInt32Max)
        throw ControlError(ControlError::Overflow, u"ruvSlider"_s, u"Taşma"_s);
}

void RuvSlider::setValue(qint32 value)
{
    checkFits(qint64(value) - m_min);
    m_value = value;
    if (value == m_oldValue)
        return;
    if (!m_dragging)
        placeThumb();
    update();
    m_oldValue = m_value;
    QAccessibleValueChangeEvent changed(this, m_value);
    QAccessible::updateAccessibility(&changed);
    QPointer<RuvSlider> self(this);
    emit ValueChanged();
    // The handlers may have changed the fields or closed the host.
    if (self && m_value == m_max)
        emit ArrivedLast();
    if (self && m_value == m_min)
        emit ArrivedFirst();
}

void RuvSlider::setMin(qint32 min)
{
    if (min >= m_max)
        throw ControlError(ControlError::InvalidPropertyValue, u"ruvSlider"_s, u"Geçersiz özellik değeri."_s);
    checkFits(qint64(m_max) - min);
    m_min = min;
    m_range = qint64(m_max) - min;
    setValue(min);
}

void RuvSlider::setMax(qint32 max)
{
    if (max <= m_min)
        throw ControlError(ControlError::InvalidPropertyValue, u"ruvSlider"_s, u"Geçersiz özellik değeri."_s);
    checkFits(qint64(max) - m_min);
    m_max = max;
    m_range = qint64(max) - m_min;
}

void RuvSlider::setOrientation(int orientation)
{
    m_orientation = orientation;
    placeThumb();
    update();
}

void RuvSlider::setRailStyle(int style)
{
    m_railStyle = style;
    update();
}

void RuvSlider::setBackColor(quint32 ole)
{
    m_backColor = ole;
    update();
}

void RuvSlider::setSliderIcon(const QPixmap &icon, const QString &path)
{
    m_sliderIcon = icon;
    m_sliderIconPath = icon.isNull() ? QString() : path;
    placeThumb();
    update();
}

void RuvSlider::setRailPicture(const QPixmap &picture, const QString &path)
{
    m_railPicture = picture;
    m_railPicturePath = picture.isNull() ? QString() : path;
    update();
}

QSizeF RuvSlider::thumbSize() const
{
    return m_sliderIcon.isNull() ? QSizeF(16, 16) : m_sliderIcon.deviceIndependentSize();
}

double RuvSlider::track() const
{
    const QSizeF t = thumbSize();
    return m_orientation == Vertical ? height() - t.height() : width() - t.width();
}

double RuvSlider::positionOf(qint64 value) const
{
    if (m_range <= 0)
        return m_orientation == Vertical ? track() : 0.0;
    const double along = track() * double(value - m_min) / double(m_range);
    return m_orientation == Vertical ? track() - along : along;
}

void RuvSlider::placeThumb()
{
    if (m_orientation == Horizontal || m_orientation == Vertical)
        m_thumbPos = float(positionOf(m_value));
}

QRectF RuvSlider::thumbRect() const
{
    const QSizeF t = thumbSize();
    if (m_orientation == Vertical)
        return {(width() - t.width()) / 2.0, double(m_thumbPos), t.width(), t.height()};
    return {double(m_thumbPos), (height() - t.height()) / 2.0, t.width(), t.height()};
}

qint32 RuvSlider::calcValue()
{
    if (m_orientation != Horizontal && m_orientation != Vertical)
        return m_value;
    const double t = track();
    if (t <= 0 || m_range <= 0) {
        m_thumbPos = 0;
        return m_min;
    }
    const double along = m_orientation == Vertical ? t - m_thumbPos : m_thumbPos;
    const double v = std::nearbyint(along / t * double(m_range) + m_min);
    const qint32 result = qint32(std::clamp(v, double(kInt32Min), double(kInt32Max)));
    // The thumb rests at the exact place of a whole value.
    m_thumbPos = float(positionOf(result));
    return result;
}

void RuvSlider::dragTo(const QPointF &p)
{
    const double t = track();
    if (m_orientation == Horizontal || m_orientation == Vertical) {
        const double raw = m_orientation == Vertical ? p.y() - m_grab.y() : p.x() - m_grab.x();
        m_thumbPos = float(raw < 0 ? 0.0 : raw > t ? std::max(t, 0.0) : raw);
    }
    setValue(calcValue());
}

void RuvSlider::stepBy(qint64 delta)
{
    const qint64 target = std::clamp(qint64(m_value) + delta, qint64(m_min), qint64(m_max));
    setValue(qint32(target));
}

void RuvSlider::applySettings(const QJsonObject &stored)
{
    const KeyedSettings s(stored);
    m_backColor = s.color(u"BackColor"_s, 0x8000000F);
    setEnabled(s.boolean(u"Enabled"_s, true));
    m_orientation = s.int32(u"Orientation"_s, Vertical);
    m_railStyle = s.int32(u"RailStyle"_s, 0);
    m_showValueTip = s.boolean(u"ShowValueTip"_s, true);
    m_min = s.int32(u"Min"_s, 0);
    m_max = s.int32(u"Max"_s, 10);
    m_value = s.int32(u"Value"_s, 0);
    const QString icon = s.text(u"SliderIcon"_s);
    m_sliderIcon = KeyedSettings::loadPicture(icon);
    m_sliderIconPath = m_sliderIcon.isNull() || icon.startsWith(u"data:"_s) ? QString() : icon;
    const QString rail = s.text(u"RailPicture"_s);
    m_railPicture = KeyedSettings::loadPicture(rail);
    m_railPicturePath = m_railPicture.isNull() || rail.startsWith(u"data:"_s) ? QString() : rail;
    m_range = qint64(m_max) - m_min;
    m_oldValue = m_value;
    placeThumb();
    update();
}

QJsonObject RuvSlider::settings() const
{
    KeyedSettings s;
    s.putColor(u"BackColor"_s, m_backColor, 0x8000000F);
    s.putBool(u"Enabled"_s, !testAttribute(Qt::WA_ForceDisabled), true);
    s.putText(u"SliderIcon"_s, KeyedSettings::pictureRef(m_sliderIcon, m_sliderIconPath));
    s.putInt(u"Orientation"_s, m_orientation, Vertical);
    s.putText(u"RailPicture"_s, KeyedSettings::pictureRef(m_railPicture, m_railPicturePath));
    s.putInt(u"RailStyle"_s, m_railStyle, 0);
    s.putBool(u"ShowValueTip"_s, m_showValueTip, true);
    s.putInt(u"Min"_s, m_min, 0);
    s.putInt(u"Max"_s, m_max, 10);
    s.putInt(u"Value"_s, m_value, 0);
    return s.toJson();
}

QSize RuvSlider::sizeHint() const
{
    const QSize t = thumbSize().toSize();
    return m_orientation == Vertical ? QSize(t.width(), 100) : QSize(100, t.height());
}

void RuvSlider::resizeEvent(QResizeEvent *e)
{
    placeThumb();
    QWidget::resizeEvent(e);
}

void RuvSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), controls::oleToColor(m_backColor));
    const QSizeF t = thumbSize();
    const int W = width();
    const int H = height();

    if (m_railStyle == 99 && !m_railPicture.isNull()) {
        const QSizeF r = m_railPicture.deviceIndependentSize();
        if (m_orientation == Vertical)
            p.drawPixmap(QPointF((W - r.width()) / 2.0, 2), m_railPicture);
        else
            p.drawPixmap(QPointF(2, (H - r.height()) / 2.0), m_railPicture);
    } else if (m_railStyle >= 0 && m_railStyle <= 3) {
        // A 4-pixel groove from 2 pixels before the thumb's centre at one end to 2 past it
        // at the other.
        QRect groove;
        if (m_orientation == Vertical) {
            const int top = whole(t.height() * 0.5 - 2);
            const int left = whole((W - 4) * 0.5);
            groove = QRect(QPoint(left, top), QPoint(left + 3, whole(H + top - t.height() + 4) - 1));
        } else {
            const int top = whole((H - 4) * 0.5);
            const int left = whole(t.width() * 0.5 - 2);
            groove = QRect(QPoint(left, top), QPoint(whole(W + left - t.width() + 4) - 1, top + 3));
        }
        const bool sunken = m_railStyle == 0 || m_railStyle == 2;
        qDrawShadePanel(&p, groove, palette(), sunken, m_railStyle <= 1 ? 2 : 1);
    }

    const QRectF thumb = thumbRect();
    if (!m_sliderIcon.isNull()) {
        p.drawPixmap(thumb.topLeft(), m_sliderIcon);
    } else {
        QStyleOptionButton opt;
        opt.initFrom(this);
        opt.rect = thumb.toRect();
        opt.palette.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
        opt.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect fr;
        fr.initFrom(this);
        fr.rect = thumb.toRect().adjusted(-1, -1, 1, 1) & rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fr, &p, this);
    }
}

void RuvSlider::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    const QRectF thumb = thumbRect();
    const QPointF pos = e->position();
    const bool onThumb = pos.x() >= thumb.left() && pos.x() < thumb.right() && pos.y() >= thumb.top()
                         && pos.y() < thumb.bottom();
    if (onThumb) {
        m_grab = pos - thumb.topLeft();
    } else {
        // The thumb's centre jumps to the pointer.
        const QSizeF t = thumbSize();
        m_grab = QPointF(t.width() / 2.0, t.height() / 2.0);
        dragTo(pos);
    }
}

void RuvSlider::mouseMoveEvent(QMouseEvent *e)
{
    if (m_dragging)
        dragTo(e->position());
}

void RuvSlider::mouseReleaseEvent(QMouseEvent *e)
{
    const QPointF pos = e->position();
    const bool inside = pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
    m_dragging = false;
    if (e->button() == Qt::LeftButton && inside)
        emit Click();
}

void RuvSlider::keyPressEvent(QKeyEvent *e)
{
    const qint64 page = std::max<qint64>(1, m_range / 10);
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        stepBy(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        stepBy(1);
        break;
    case Qt::Key_PageDown:
        stepBy(-page);
        break;
    case Qt::Key_PageUp:
        stepBy(page);
        break;
    case Qt::Key_Home:
        setValue(m_min);
        break;
    case Qt::Key_End:
        setValue(m_max);
        break;
    default:
        QWidget::keyPressEvent(e);
    }
}
