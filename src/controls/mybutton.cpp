#include "mybutton.h"

#include "controlerror.h"
#include "keyedsettings.h"
#include "mybuttonaccessible.h"
#include "olecolor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

short narrow16(int value, const char *property)
{
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw ControlError(ControlError::Overflow, u"MyButton::"_s + QLatin1StringView(property), u"Taşma"_s);
    return short(value);
}

int whole(double v)
{
    return int(std::nearbyint(v));
}

// The caption as drawn: "&x" shows x, "&&" shows one "&".
QString withoutMarkers(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        out.append(text.at(i));
    }
    return out;
}

} // namespace

MyButton::MyButton(QWidget *parent)
    : QWidget(parent)
{
    MyButtonAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

MyButton::~MyButton() = default;

void MyButton::setText(const QString &text)
{
    m_text = text;
    update();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QChar next = text.at(i + 1);
        if (text.at(i) == u'&' && next != u' ' && next != u'&')
            m_accessKey = QString(next);
    }
    updateShortcut();
    updateGeometry();
}

void MyButton::setIpucu(const QString &text)
{
    m_ipucu = text;
    setToolTip(text);
    update();
}

void MyButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    m_picturePath.clear();
    update();
    updateGeometry();
}

void MyButton::setPicturePath(const QString &path)
{
    setPicture(KeyedSettings::loadPicture(path));
    if (!m_picture.isNull())
        m_picturePath = path;
}

void MyButton::setPicturePos(int pos)
{
    m_picturePos = narrow16(pos, "PicturePos");
    update();
}

void MyButton::setPictureTColor(quint32 ole)
{
    m_pictureTColor = ole;
    update();
}

void MyButton::setTextColorEnabled(quint32 ole)
{
    m_textColorEnabled = ole;
    update();
}

void MyButton::setTextColorDisabled(quint32 ole)
{
    m_textColorDisabled = ole;
    update();
}

void MyButton::setTextColorDisabled2(quint32 ole)
{
    m_textColorDisabled2 = ole;
    update();
}

void MyButton::setBackColor(quint32 ole)
{
    m_backColor = ole;
    update();
}

void MyButton::setSizeCW(int w)
{
    m_sizeCW = w;
    update();
}

void MyButton::setSizeCH(int h)
{
    m_sizeCH = h;
    update();
}

void MyButton::setFillWithColor(bool on)
{
    m_fillWithColor = on;
    update();
}

void MyButton::setDisableHover(bool on)
{
    m_disableHover = on;
}

void MyButton::setDrawFocus(short inset)
{
    m_drawFocus = inset;
}

void MyButton::setTextAlign(int align)
{
    m_textAlign = align;
    update();
}

void MyButton::setMousePointer(int pointer)
{
    m_mousePointer = narrow16(pointer, "MousePointer");
}

void MyButton::setMouseIcon(const QPixmap &icon, const QString &path)
{
    m_mouseIcon = icon;
    m_mouseIconPath = icon.isNull() ? QString() : path;
}

void MyButton::setAccessKey(const QString &key)
{
    m_accessKey = key;
    updateShortcut();
}

void MyButton::updateShortcut()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (m_accessKey.isEmpty())
        return;
    const QKeySequence seq = QKeySequence::mnemonic(u"&"_s + m_accessKey);
    if (!seq.isEmpty())
        m_shortcutId = grabShortcut(seq);
}

QFont MyButton::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void MyButton::applySettings(const QJsonObject &stored)
{
    const KeyedSettings s(stored);
    m_sizeCW = s.int32(u"SizeCW"_s, 3);
    m_sizeCH = s.int32(u"SizeCH"_s, 3);
    m_skinPictureName = s.text(u"SPN"_s);
    m_text = s.text(u"Text"_s);
    m_ipucu = s.text(u"ipucu"_s);
    setToolTip(m_ipucu);
    m_fillWithColor = s.boolean(u"FillWithColor"_s, true);
    setEnabled(s.boolean(u"Enabled"_s, true));
    setAccessKey(s.text(u"AccessKey"_s));
    m_textColorEnabled = s.color(u"TextColorEnabled"_s, 0);
    m_textColorDisabled = s.color(u"TextColorDisabled"_s, 0);
    QFont f = ambientFont();
    int charset = 0;
    if (s.font(u"Font"_s, &f, &charset)) {
        setFont(f);
        m_fontCharset = charset;
    } else {
        setFont(QFont());
        m_fontCharset = 0;
    }
    m_mousePointer = s.int16(u"MousePointer"_s, 0);
    const QString iconRef = s.text(u"MouseIcon"_s);
    setMouseIcon(KeyedSettings::loadPicture(iconRef), iconRef);
    m_disableHover = s.boolean(u"DisableHover"_s, false);
    m_displaceText = s.int16(u"DisplaceText"_s, 0);
    m_drawFocus = s.int16(u"DrawFocus"_s, 0);
    m_textColorDisabled2 = s.color(u"TextColorDisabled2"_s, 0);
    const QString pictureRef = s.text(u"Picture"_s);
    m_picture = KeyedSettings::loadPicture(pictureRef);
    m_picturePath = m_picture.isNull() || pictureRef.startsWith(u"data:"_s) ? QString() : pictureRef;
    m_picturePos = s.int16(u"PicturePos"_s, 0);
    m_pictureTColor = s.color(u"PictureTColor"_s, 0xFF00FF);
    m_textAlign = s.int32(u"TextAlign"_s, 2);
    m_backColor = s.color(u"BackColor"_s, 0x8000000F);
    updateGeometry();
    update();
}

QJsonObject MyButton::settings() const
{
    KeyedSettings s;
    s.putInt(u"SizeCW"_s, m_sizeCW, 3);
    s.putInt(u"SizeCH"_s, m_sizeCH, 3);
    s.putText(u"SPN"_s, m_skinPictureName);
    s.putText(u"Text"_s, m_text);
    s.putBool(u"FillWithColor"_s, m_fillWithColor, true);
    s.putBool(u"Enabled"_s, !testAttribute(Qt::WA_ForceDisabled), true);
    s.putText(u"AccessKey"_s, m_accessKey);
    s.putColor(u"TextColorEnabled"_s, m_textColorEnabled, 0);
    s.putColor(u"TextColorDisabled"_s, m_textColorDisabled, 0);
    if (testAttribute(Qt::WA_SetFont) && (font() != ambientFont() || m_fontCharset != 0))
        s.putFont(u"Font"_s, font(), m_fontCharset);
    s.putInt(u"MousePointer"_s, m_mousePointer, 0);
    s.putText(u"MouseIcon"_s, KeyedSettings::pictureRef(m_mouseIcon, m_mouseIconPath));
    s.putBool(u"DisableHover"_s, m_disableHover, false);
    s.putInt(u"DisplaceText"_s, m_displaceText, 0);
    s.putInt(u"DrawFocus"_s, m_drawFocus, 0);
    s.putColor(u"TextColorDisabled2"_s, m_textColorDisabled2, 0);
    s.putText(u"Picture"_s, KeyedSettings::pictureRef(m_picture, m_picturePath));
    s.putInt(u"PicturePos"_s, m_picturePos, 0);
    s.putColor(u"PictureTColor"_s, m_pictureTColor, 0xFF00FF);
    s.putInt(u"TextAlign"_s, m_textAlign, 2);
    s.putColor(u"BackColor"_s, m_backColor, 0x8000000F);
    s.putText(u"ipucu"_s, m_ipucu);
    return s.toJson();
}

QSize MyButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(withoutMarkers(m_text)) + 2 * m_sizeCW + 9;
    int h = fm.height() + 2 * m_sizeCH + 6;
    if (!m_picture.isNull()) {
        const QSize ps = m_picture.deviceIndependentSize().toSize();
        w = m_picturePos == 4 ? ps.width() + 8 : w + ps.width() + 3 + m_sizeCW;
        h = std::max(h, ps.height() + 6);
    }
    return {std::max(w, 23), std::max(h, 23)};
}

void MyButton::click()
{
    if (isEnabled())
        emit Click();
}

void MyButton::showState(State s)
{
    if (s == Hover && m_disableHover)
        return;
    m_state = s;
    update();
}

bool MyButton::hitTest(const QPointF &p) const
{
    // Both ends count: a release one pixel past the last column is still inside.
    return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
}

void MyButton::trackMove(const QPointF &p)
{
    const bool inside = hitTest(p);
    if (inside && m_leftDown) {
        if (m_state != Pressed)
            showState(Pressed);
    } else if (inside) {
        if (m_state != Hover)
            showState(Hover);
    } else if (m_leftDown) {
        showState(Hover);
    } else {
        showState(hasFocus() ? Focused : Normal);
    }
}

bool MyButton::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(e);
}

void MyButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_leftDown = true;
    trackMove(e->position());
}

void MyButton::mouseMoveEvent(QMouseEvent *e)
{
    if (m_spaceDown)
        return;
    trackMove(e->position());
}

void MyButton::mouseReleaseEvent(QMouseEvent *e)
{
    m_leftDown = false;
    showState(Normal);
    if (e->button() != Qt::LeftButton)
        return;
    // A Click handler may close the host window and take the button with it.
    QPointer<MyButton> self(this);
    if (hitTest(e->position()))
        emit Click();
    if (self)
        showState(Focused);
}

void MyButton::leaveEvent(QEvent *e)
{
    if (!m_leftDown && !m_spaceDown)
        showState(hasFocus() ? Focused : Normal);
    QWidget::leaveEvent(e);
}

void MyButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space) {
        m_spaceDown = true;
        showState(Pressed);
        return;
    }
    m_spaceDown = false;
    showState(Focused);
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit Click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void MyButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    if (e->isAutoRepeat() || !m_spaceDown || m_state != Pressed)
        return;
    m_spaceDown = false;
    showState(Normal);
    QPointer<MyButton> self(this);
    emit Click();
    if (self)
        showState(Focused);
}

void MyButton::focusInEvent(QFocusEvent *e)
{
    if (!m_leftDown)
        showState(Focused);
    QWidget::focusInEvent(e);
}

void MyButton::focusOutEvent(QFocusEvent *e)
{
    // A space press that the focus loss cut short must not leave mouse tracking off.
    m_spaceDown = false;
    showState(Normal);
    QWidget::focusOutEvent(e);
}

void MyButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        m_leftDown = false;
        m_spaceDown = false;
        showState(isEnabled() ? Normal : Disabled);
    }
    QWidget::changeEvent(e);
}

void MyButton::paintEvent(QPaintEvent *)
{
    if (!isEnabled())
        m_state = Disabled;
    else if (m_state < Normal || m_state > Disabled)
        m_state = Normal;
    const bool enabled = m_state != Disabled;

    QPainter p(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.palette.setColor(QPalette::Button, controls::oleToColor(m_backColor));
    opt.state |= m_state == Pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (m_state == Hover)
        opt.state |= QStyle::State_MouseOver;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, this);

    const int W = width();
    const int H = height();
    const int d = m_state == Pressed ? m_displaceText : 0;
    // Inside the corners; the right side stays 3 pixels further in than the left.
    QRect caption(QPoint(m_sizeCW + d, m_sizeCH + d), QPoint(W - m_sizeCW + d - 4, H - m_sizeCH + d - 1));
    bool showCaption = true;

    QPixmap pm;
    QPoint at;
    if (!m_picture.isNull()) {
        pm = m_picture;
        if (!pm.hasAlphaChannel())
            pm.setMask(pm.createMaskFromColor(controls::oleToColor(m_pictureTColor), Qt::MaskInColor));
        if (!enabled)
            pm = style()->generatedIconPixmap(QIcon::Disabled, pm, &opt);
        const QSize ps = pm.deviceIndependentSize().toSize();
        const int py = whole((H - ps.height()) / 2.0) + d;
        if (m_picturePos == 4) {
            at = QPoint(whole((W - ps.width()) / 2.0) + m_displaceText, py);
            showCaption = false;
        } else {
            const int px = caption.left() + 3;
            at = QPoint(px, py);
            caption.setLeft(px + ps.width() + caption.left());
        }
    }

    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    flags |= m_textAlign == 1 ? Qt::AlignRight : m_textAlign == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    QString shown = m_text;
    const QString plain = withoutMarkers(m_text);
    if (p.fontMetrics().horizontalAdvance(plain) > caption.width()) {
        shown = p.fontMetrics().elidedText(plain, Qt::ElideRight, std::max(caption.width(), 0));
        flags |= Qt::TextHideMnemonic;
    } else {
        flags |= Qt::TextShowMnemonic;
    }
    auto drawCaption = [&](const QColor &colour, const QRect &r) {
        if (!showCaption || shown.isEmpty())
            return;
        p.setPen(colour);
        p.drawText(r, flags, shown);
    };

    if (enabled) {
        drawCaption(controls::oleToColor(m_textColorEnabled), caption);
        if (!pm.isNull())
            p.drawPixmap(at, pm);
    } else {
        if (!pm.isNull())
            p.drawPixmap(at, pm);
        if (m_textColorDisabled != m_textColorDisabled2) {
            drawCaption(controls::oleToColor(m_textColorDisabled2), caption.translated(1, 1));
            drawCaption(controls::oleToColor(m_textColorDisabled), caption);
        } else {
            drawCaption(opt.palette.color(QPalette::Disabled, QPalette::ButtonText), caption);
        }
    }

    if (hasFocus()) {
        const int inset = m_drawFocus > 0 ? m_drawFocus : 3;
        QStyleOptionFocusRect fr;
        fr.initFrom(this);
        fr.rect = rect().adjusted(inset, inset, -inset, -inset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fr, &p, this);
    }
}
