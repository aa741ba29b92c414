#include "ruvslider.h"

#include "buttonpaint.h"
#include "controlerror.h"
#include "drawedge.h"
#include "keyedsettings.h"
#include "legacyinput.h"
#include "olecolors.h"
#include "ruvslideraccessible.h"
#include "valuetip.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using legacyinput::shiftState;

// Resources are registered outside any namespace.
static void initControlResources()
{
    Q_INIT_RESOURCE(controls);
}

namespace {

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

int whole(double v)
{
    return int(std::nearbyint(v));
}

// The thumb of a slider without a picture of its own.
const QPixmap &knob()
{
    static const QPixmap pm = [] {
        initControlResources();
        return QPixmap(u":/controls/knob16.png"_s);
    }();
    return pm;
}

} // namespace

RuvSlider::RuvSlider(QWidget *parent)
    : QWidget(parent)
{
    RuvSliderAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ResetSlider();
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
        placeThumbFor(value);
    DrawSlider();
    m_oldValue = m_value;
    QAccessibleValueChangeEvent changed(this, m_value);
    QAccessible::updateAccessibility(&changed);
    // The handlers may change the fields, or close and delete the host.
    const QPointer<RuvSlider> self(this);
    emit ValueChanged();
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
    // The range stands before ValueChanged reaches the host.
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
    ResetSlider();
    layoutPass();
}

void RuvSlider::setRailStyle(int style)
{
    m_railStyle = style;
    layoutPass();
}

void RuvSlider::setBackColor(quint32 ole)
{
    m_backColor = ole;
    DrawSlider();
}

void RuvSlider::setSliderIcon(const QPixmap &icon, const QString &path)
{
    m_sliderIcon = icon;
    m_sliderIconPath = icon.isNull() ? QString() : path;
    layoutPass();
}

void RuvSlider::setRailPicture(const QPixmap &picture, const QString &path)
{
    m_railPicture = picture;
    m_railPicturePath = picture.isNull() ? QString() : path;
    layoutPass();
}

QSizeF RuvSlider::thumbSize() const
{
    return (m_sliderIcon.isNull() ? knob() : m_sliderIcon).deviceIndependentSize();
}

bool RuvSlider::pictureRail() const
{
    return m_railStyle == 99 && !m_railPicture.isNull();
}

QRectF RuvSlider::thumbRect() const
{
    return {m_thumb, thumbSize()};
}

void RuvSlider::placeThumbFor(qint64 value)
{
    const QSizeF t = thumbSize();
    if (m_range == 0)
        return;
    if (m_orientation == Horizontal) {
        m_thumb.setX(float((width() - t.width()) * double(value - m_min) / double(m_range)));
    } else if (m_orientation == Vertical) {
        const double track = height() - t.height();
        m_thumb.setY(float(track - track * double(value - m_min) / double(m_range)));
    }
}

void RuvSlider::ResetSlider()
{
    if (m_orientation == Horizontal)
        m_thumb = QPointF(0, 0);
    else if (m_orientation == Vertical)
        m_thumb = QPointF(0, height() - thumbSize().height());
}

void RuvSlider::layoutPass()
{
    if (m_laying)
        return;
    m_laying = true;
    const QSizeF t = thumbSize();
    const double w = t.width();
    const double h = t.height();
    const bool picture = pictureRail();
    const QSizeF rail = m_railPicture.deviceIndependentSize();
    if (m_orientation == Horizontal || m_orientation == Vertical) {
        const bool horizontal = m_orientation == Horizontal;
        QSize size = this->size();
        if (picture) {
            size = horizontal ? QSize(whole(rail.width() + 4), whole(h < rail.height() ? rail.height() : h))
                              : QSize(whole(w < rail.width() ? rail.width() : w), whole(rail.height() + 4));
        } else if (horizontal) {
            size = QSize(size.width() == 0 ? whole(w) : size.width(), whole(h));
        } else {
            size = QSize(whole(w), size.height() == 0 ? whole(h) : size.height());
        }
        if (size != this->size())
            resize(size);
        const double W = width();
        const double H = height();
        if (horizontal) {
            m_thumb.setY(picture && h < rail.height() ? float((rail.height() - h) * 0.5) : 0.0f);
            const int top = whole((h - 4) * 0.5);
            const int left = whole(w * 0.5 - 2);
            m_railRect = QRect(QPoint(left, top), QPoint(whole(W + left - w + 4) - 1, top + 3));
        } else {
            m_thumb.setX(picture && w < rail.width() ? float((rail.width() - w) * 0.5) : 0.0f);
            const int top = whole(h * 0.5 - 2);
            const int left = whole((w - 4) * 0.5);
            m_railRect = QRect(QPoint(left, top), QPoint(left + 3, whole(H + top - h + 4) - 1));
        }
        placeThumbFor(m_value);
    }
    m_laying = false;
    DrawSlider();
}

void RuvSlider::DrawSlider()
{
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    if (m_surface.isNull())
        return;
    m_surface.fill(oleColorOrBlack(m_backColor));
    const int W = width();
    const int H = height();
    {
        QPainter p(&m_surface);
        if (m_railStyle == 99) {
            if (!m_railPicture.isNull()) {
                const QSizeF r = m_railPicture.deviceIndependentSize();
                if (m_orientation == Horizontal)
                    p.drawPixmap(QPoint(2, whole((H - r.height()) * 0.5)), m_railPicture);
                else if (m_orientation == Vertical)
                    p.drawPixmap(QPoint(whole((W - r.width()) * 0.5), 2), m_railPicture);
            }
        } else if (m_railStyle >= 0 && m_railStyle <= 4) {
            constexpr int kinds[] = {sliderpaint::EDGE_SUNKEN, sliderpaint::EDGE_RAISED, sliderpaint::BDR_SUNKENOUTER,
                                     sliderpaint::BDR_RAISEDINNER, 0};
            p.end();
            sliderpaint::DrawEdge(m_surface, m_railRect, kinds[m_railStyle]);
            p.begin(&m_surface);
        }
        // Whole pixels: Qt would place a thumb at 24.5 on 25.
        p.drawPixmap(QPoint(whole(m_thumb.x()), whole(m_thumb.y())), m_sliderIcon.isNull() ? knob() : m_sliderIcon);
    }
    update();
    if (m_showValueTip && m_dragging)
        ShowTip();
}

void RuvSlider::ShowTip()
{
    ValueTip::showTip(this, thumbRect(), m_orientation, QString::number(m_value));
}

qint32 RuvSlider::CalcValue()
{
    const QSizeF t = thumbSize();
    qint32 v = 0;
    if (m_orientation != Horizontal && m_orientation != Vertical)
        return v;
    const double track = m_orientation == Horizontal ? width() - t.width() : height() - t.height();
    if (track == 0 || m_range == 0) {
        // A track of no length: the Min end.
        v = m_min;
        if (m_orientation == Horizontal)
            m_thumb.setX(0);
        else
            m_thumb.setY(0);
        return v;
    }
    const double along = m_orientation == Horizontal ? m_thumb.x() : track - m_thumb.y();
    const double r = std::nearbyint(along / track * double(m_range) + m_min);
    v = qint32(std::clamp(r, double(kInt32Min), double(kInt32Max)));
    // The thumb rests at the exact place of a whole value.
    placeThumbFor(v);
    return v;
}

bool RuvSlider::dragStep(const QPointF &pos)
{
    const QSizeF t = thumbSize();
    if (m_orientation == Horizontal || m_orientation == Vertical) {
        const bool horizontal = m_orientation == Horizontal;
        const float p = horizontal ? float(pos.x()) - m_grabX : float(pos.y()) - m_grabY;
        const double end = horizontal ? width() - t.width() : height() - t.height();
        const double at = p < 0 ? 0.0 : p > end ? end : double(p);
        if (horizontal)
            m_thumb.setX(float(at));
        else
            m_thumb.setY(float(at));
    }
    const QPointer<RuvSlider> self(this);
    setValue(CalcValue());
    return !self.isNull();
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
    m_enabled = s.boolean(u"Enabled"_s, true);
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
    layoutPass();
}

QJsonObject RuvSlider::settings() const
{
    KeyedSettings s;
    s.putColor(u"BackColor"_s, m_backColor, 0x8000000F);
    s.putBool(u"Enabled"_s, m_enabled, true);
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
    QWidget::resizeEvent(e);
    layoutPass();
}

void RuvSlider::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    DrawSlider();
}

void RuvSlider::paintEvent(QPaintEvent *)
{
    if (m_surface.size() != size())
        DrawSlider();
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
    if (hasFocus()) {
        // The keyboard's focus: a dotted frame around the control.
        QImage frame = m_surface;
        buttonpaint::DrawFocusRect(frame, buttonpaint::MakeRect(0, 0, width(), height()));
        p.drawImage(0, 0, frame);
    }
}

void RuvSlider::mousePressEvent(QMouseEvent *e)
{
    if (!m_enabled || e->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    const QPointF pos = e->position();
    const float x = float(pos.x());
    const float y = float(pos.y());
    const QSizeF t = thumbSize();
    const float left = float(m_thumb.x());
    const float top = float(m_thumb.y());
    const bool onThumb = left <= x && x < left + float(t.width()) && top <= y && y < top + float(t.height());
    if (onThumb) {
        m_grabX = x - left;
        m_grabY = y - top;
    } else {
        // The thumb's centre jumps to the pointer.
        m_grabX = float(t.width() / 2);
        m_grabY = float(t.height() / 2);
        if (!dragStep(pos))
            return;
    }
    if (m_showValueTip)
        ShowTip();
    short shift = shiftState(e->modifiers());
    emit MouseDown(shift);
}

void RuvSlider::mouseMoveEvent(QMouseEvent *e)
{
    if (m_dragging)
        dragStep(e->position());
}

void RuvSlider::mouseReleaseEvent(QMouseEvent *e)
{
    const QPointF pos = e->position();
    const bool inside = pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
    const QPointer<RuvSlider> self(this);
    if (e->button() == Qt::LeftButton && inside) {
        emit Click();
        if (!self)
            return;
    }
    if (m_dragging) {
        short shift = shiftState(e->modifiers());
        emit MouseUp(shift);
        if (!self)
            return;
    }
    m_dragging = false;
    ValueTip::unload();
}

void RuvSlider::keyPressEvent(QKeyEvent *e)
{
    if (!m_enabled) {
        QWidget::keyPressEvent(e);
        return;
    }
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

void RuvSlider::focusInEvent(QFocusEvent *e)
{
    update();
    QWidget::focusInEvent(e);
}

void RuvSlider::focusOutEvent(QFocusEvent *e)
{
    update();
    QWidget::focusOutEvent(e);
}
