#include "recordscrollbar.h"

#include "widgeterrors.h"

#include <QKeyEvent>

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

void RecordScrollBar::keyPressEvent(QKeyEvent *e)
{
    SliderAction action = SliderNoAction;
    switch (e->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    default:
        QScrollBar::keyPressEvent(e);
        return;
    }
    triggerAction(action);
    e->accept();
}
