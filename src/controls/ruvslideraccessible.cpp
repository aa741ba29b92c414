#include "ruvslideraccessible.h"

#include "ruvslider.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == u"RuvSlider"_s && object && object->isWidgetType())
        return new RuvSliderAccessible(static_cast<RuvSlider *>(object));
    return nullptr;
}

} // namespace

RuvSliderAccessible::RuvSliderAccessible(RuvSlider *slider)
    : QAccessibleWidget(slider, QAccessible::Slider)
{
}

RuvSlider *RuvSliderAccessible::slider() const
{
    return static_cast<RuvSlider *>(widget());
}

void *RuvSliderAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString RuvSliderAccessible::text(QAccessible::Text t) const
{
    const RuvSlider *s = slider();
    switch (t) {
    case QAccessible::Name:
        return s->accessibleName().isEmpty() ? s->toolTip() : s->accessibleName();
    case QAccessible::Value:
        return QString::number(s->value());
    case QAccessible::Description:
        if (!s->accessibleDescription().isEmpty())
            return s->accessibleDescription();
        return QString::number(s->value()) + u" ("_s + QString::number(s->min()) + u" - "_s + QString::number(s->max())
               + u')';
    default:
        return QAccessibleWidget::text(t);
    }
}

QVariant RuvSliderAccessible::currentValue() const
{
    return slider()->value();
}

void RuvSliderAccessible::setCurrentValue(const QVariant &value)
{
    RuvSlider *s = slider();
    if (!s->enabled())
        return;
    const qint64 v = std::clamp(value.toLongLong(), qint64(s->min()), qint64(s->max()));
    s->setValue(qint32(v));
}

QVariant RuvSliderAccessible::maximumValue() const
{
    return slider()->max();
}

QVariant RuvSliderAccessible::minimumValue() const
{
    return slider()->min();
}

QVariant RuvSliderAccessible::minimumStepSize() const
{
    return 1;
}

void RuvSliderAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
