#include "recordscrollbar.h"

#include "widgeterrors.h"

RecordScrollBar::RecordScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &RecordScrollBar::change);
    connect(this, &QAbstractSlider::sliderMoved, this, &RecordScrollBar::scroll);
}

void RecordScrollBar::setValueChecked(int value)
{
    if (value < minimum() || value > maximum())
        throw widgeterrors::make(widgeterrors::InvalidPropertyValue);
    setValue(value);
}

void RecordScrollBar::setMinimumChecked(int minimum)
{
    // QAbstractSlider clamps the value through setValue, which emits valueChanged.
    setMinimum(minimum);
}

void RecordScrollBar::setMaximumChecked(int maximum)
{
    setMaximum(maximum);
}
