#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class RuvSlider;

// What a screen reader reads of a RuvSlider: a slider with its value and range; the
// value can be set through the interface, kept within Min..Max.
class RuvSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit RuvSliderAccessible(RuvSlider *slider);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // Registers the factory once; each RuvSlider calls it.
    static void install();

private:
    RuvSlider *slider() const;
};
