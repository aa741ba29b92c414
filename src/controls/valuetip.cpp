#include "valuetip.h"

#include "olecolors.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QPointer<ValueTip> &shared()
{
    static QPointer<ValueTip> tip;
    return tip;
}

int whole(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

ValueTip::ValueTip()
    : QWidget(nullptr,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
{
    setObjectName(u"frmValueTip"_s);
    setWindowTitle(u"lblTip"_s);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, oleColorOrBlack(0x80000018));
    pal.setColor(QPalette::WindowText, oleColorOrBlack(0x80000008));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f(u"Tahoma"_s);
    f.setPointSizeF(8.47);
    setFont(f);

    m_label = new QLabel(this);
    m_label->setObjectName(u"lblTip"_s);
    m_label->setTextFormat(Qt::PlainText);
    m_label->move(2, 1);
    m_label->resize(24, 13);
}

ValueTip *ValueTip::instance()
{
    return shared().data();
}

ValueTip *ValueTip::load()
{
    if (!shared())
        shared() = new ValueTip;
    return shared();
}

void ValueTip::unload()
{
    ValueTip *tip = shared();
    if (!tip)
        return;
    shared() = nullptr;
    tip->hide();
    // It may be unloaded from inside its own event filter.
    tip->deleteLater();
}

QSize ValueTip::fill(const QString &text)
{
    m_label->setText(text);
    m_label->adjustSize();
    m_label->update();
    return m_label->size();
}

void ValueTip::place(QWidget *control, QPoint topLeft, QSize labelSize)
{
    QWidget *window = control ? control->window() : nullptr;
    if (m_owner != control || m_ownerWindow != window) {
        if (m_owner)
            m_owner->removeEventFilter(this);
        if (m_ownerWindow)
            m_ownerWindow->removeEventFilter(this);
        disconnect(m_ownerGone);
        m_owner = control;
        m_ownerWindow = window;
        if (control) {
            control->installEventFilter(this);
            window->installEventFilter(this);
            m_ownerGone = connect(control, &QObject::destroyed, this, [] { unload(); });
        }
    }
    const QSize size(labelSize.width() + 4, labelSize.height() + 3);
    // Held inside the screen the control stands on.
    QScreen *screen = control ? control->screen() : this->screen();
    if (screen) {
        const QRect area = screen->geometry();
        topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width())));
        topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height())));
    }
    setGeometry(QRect(topLeft, size));
    // A tooltip window shows above the others.
    show();
}

void ValueTip::showHint(QWidget *control, const QString &text)
{
    if (!control)
        return;
    ValueTip *tip = load();
    const QSize l = tip->fill(text);
    const QPoint rc = control->mapToGlobal(QPoint(0, 0));
    tip->place(control, QPoint(rc.x(), whole(rc.y() + l.height() + 15)), l);
}

void ValueTip::showTip(QWidget *slider, const QRectF &thumb, int orientation, const QString &text)
{
    if (!slider)
        return;
    ValueTip *tip = load();
    const QSize l = tip->fill(text);
    const QPoint rc = slider->mapToGlobal(QPoint(0, 0));
    QPoint at(0, 0);
    if (orientation == 0)
        at = QPoint(whole(rc.x() + thumb.left() + (thumb.width() - l.width() - 4) * 0.5),
                    whole(rc.y() + thumb.top() - l.height() - 5));
    else if (orientation == 1)
        at = QPoint(whole(rc.x() + thumb.left() - l.width() - 6),
                    whole(rc.y() + thumb.top() + (thumb.height() - l.height() - 4) * 0.5));
    tip->place(slider, at, l);
}

bool ValueTip::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_owner && e->type() == QEvent::Hide)
        unload();
    else if (watched == m_ownerWindow && e->type() == QEvent::WindowBlocked)
        unload(); // a modal window opened over it has the mouse now
    return QWidget::eventFilter(watched, e);
}

void ValueTip::paintEvent(QPaintEvent *)
{
    // A raised frame: light on top and left, dark on the right and at the bottom.
    QPainter p(this);
    const int W = width();
    const int H = height();
    const QColor light = oleColorOrBlack(0x80000016);
    const QColor dark = oleColorOrBlack(0x80000015);
    p.fillRect(0, 0, W, 1, light);
    p.fillRect(0, 0, 1, H, light);
    p.fillRect(W - 1, 0, 1, H, dark);
    p.fillRect(0, H - 1, W, 1, dark);
}
