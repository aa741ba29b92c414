#include "recordscrollbar.h"

#include "widgeterrors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>

RecordScrollBar::RecordScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &RecordScrollBar::emitChange);
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

void RecordScrollBar::emitChange(int value)
{
    if (m_changing) {
        // The handler's own setting of the value (putting it back) is still reported.
        emit change(value);
        return;
    }
    m_changing = true;
    emit change(value);
    m_changing = false;
    if (this->value() != value)
        endPress();
}

// Stops the auto-repeat and forgets the pressed part; the real release may have gone
// to a message box.
void RecordScrollBar::endPress()
{
    setRepeatAction(SliderNoAction);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(mapToGlobal(QPoint(-1, -1))),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QScrollBar::mouseReleaseEvent(&release);
}

void RecordScrollBar::mousePressEvent(QMouseEvent *e)
{
    if (m_changing) {
        e->accept();
        return;
    }
    QScrollBar::mousePressEvent(e);
}

void RecordScrollBar::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_changing) {
        // Ends an arrow's or the trough's press; a thumb's release would be a second move.
        if (isSliderDown())
            setRepeatAction(SliderNoAction);
        else
            QScrollBar::mouseReleaseEvent(e);
        e->accept();
        return;
    }
    QScrollBar::mouseReleaseEvent(e);
}

void RecordScrollBar::wheelEvent(QWheelEvent *e)
{
    if (m_changing) {
        e->accept();
        return;
    }
    QScrollBar::wheelEvent(e);
}

void RecordScrollBar::timerEvent(QTimerEvent *e)
{
    if (m_changing) {
        setRepeatAction(SliderNoAction);
        return;
    }
    QScrollBar::timerEvent(e);
}

void RecordScrollBar::keyPressEvent(QKeyEvent *e)
{
    if (m_changing) {
        e->accept();
        return;
    }
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
