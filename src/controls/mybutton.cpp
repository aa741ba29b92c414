#include "mybutton.h"

#include "controlerror.h"
#include "keyedsettings.h"
#include "legacyinput.h"
#include "mybuttonaccessible.h"
#include "olecolors.h"
#include "picturebox.h"
#include "valuetip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace legacyinput;

namespace {

short narrow16(int value, const char *property)
{
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw ControlError(ControlError::Overflow, u"MyButton::"_s + QLatin1StringView(property), u"Taşma"_s);
    return short(value);
}

// The caption as measured: "&x" shows x, "&&" shows one "&".
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

Qt::CursorShape pointerShape(short pointer)
{
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

MyButton::MyButton(QWidget *parent)
    : QWidget(parent)
{
    MyButtonAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MyButton::~MyButton() = default;

template <typename F>
bool MyButton::raise(F &&emitIt)
{
    const QPointer<MyButton> self(this);
    emitIt();
    return !self.isNull();
}

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
    update();
}

void MyButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    m_paintPicture = buttonpaint::Picture::from(picture.toImage());
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

void MyButton::setTextAlign(int align)
{
    m_textAlign = align;
    update();
}

void MyButton::setMousePointer(int pointer)
{
    m_mousePointer = narrow16(pointer, "MousePointer");
    updateCursor();
}

void MyButton::setMouseIcon(const QPixmap &icon, const QString &path)
{
    m_mouseIcon = icon;
    m_mouseIconPath = icon.isNull() ? QString() : path;
    updateCursor();
}

void MyButton::updateCursor()
{
    if (m_mousePointer == 0 || (m_mousePointer == 99 && m_mouseIcon.isNull()))
        unsetCursor();
    else if (m_mousePointer == 99)
        setCursor(QCursor(m_mouseIcon));
    else
        setCursor(pointerShape(m_mousePointer));
}

QObject *MyButton::skinPicture() const
{
    return m_skinPicture.data();
}

void MyButton::setSkinPicture(QObject *box)
{
    auto *picture = qobject_cast<PictureBox *>(box);
    if (box && !picture)
        throw ControlError(ControlError::InvalidCall, u"MyButton::SkinPicture"_s,
                           u"Geçersiz yordam çağrısı: kaplama bir resim kutusu olmalı."_s);
    m_skinPicture = picture;
    m_skinPictureName = picture ? picture->objectName() : QString();
    update();
}

void MyButton::setSkinPictureName(const QString &name)
{
    if (name.isEmpty()) {
        m_skinPicture = nullptr;
        m_skinPictureName.clear();
        update();
        return;
    }
    QWidget *host = window();
    if (host == this)
        return;
    const auto found = host->findChildren<QWidget *>(name);
    for (QWidget *w : found) {
        if (w->window() != host)
            continue;
        try {
            setSkinPicture(w);
        } catch (const ControlError &) {
            // A control of that name that is no picture box: the button keeps its skin.
        }
        return;
    }
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

void MyButton::initProperties()
{
    m_sizeCW = 3;
    m_sizeCH = 3;
    m_text = objectName();
    m_fillWithColor = true;
    m_textColorEnabled = 0;
    m_textColorDisabled = 0;
    setFont(ambientFont());
    m_textColorDisabled2 = 0;
    m_drawFocus = 0;
    m_displaceText = 0;
    m_disableHover = false;
    m_picture = QPixmap();
    m_paintPicture = {};
    m_picturePath.clear();
    m_picturePos = 0;
    m_pictureTColor = 0xFF00FF;
    m_skinPictureName = u"MyButtonDefSkin"_s;
    m_textAlign = 2;
    m_ipucu = u"qqqqqq"_s;
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
    updateCursor();
    const QString iconRef = s.text(u"MouseIcon"_s);
    setMouseIcon(KeyedSettings::loadPicture(iconRef), iconRef);
    m_disableHover = s.boolean(u"DisableHover"_s, false);
    m_displaceText = s.int16(u"DisplaceText"_s, 0);
    m_drawFocus = s.int16(u"DrawFocus"_s, 0);
    m_textColorDisabled2 = s.color(u"TextColorDisabled2"_s, 0);
    const QString pictureRef = s.text(u"Picture"_s);
    m_picture = KeyedSettings::loadPicture(pictureRef);
    m_paintPicture = buttonpaint::Picture::from(m_picture.toImage());
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

buttonpaint::ButtonLook MyButton::look() const
{
    buttonpaint::ButtonLook l;
    l.skin = m_skinPicture ? &m_skinPicture->surface() : nullptr;
    l.sizeCW = m_sizeCW;
    l.sizeCH = m_sizeCH;
    l.fillWithColor = m_fillWithColor;
    l.text = m_text;
    l.textAlign = m_textAlign;
    l.picture = m_paintPicture;
    l.picturePos = m_picturePos;
    l.pictureTColor = m_pictureTColor;
    l.displaceText = m_displaceText;
    l.drawFocus = m_drawFocus;
    l.textColorEnabled = m_textColorEnabled;
    l.textColorDisabled = m_textColorDisabled;
    l.textColorDisabled2 = m_textColorDisabled2;
    l.disableHover = m_disableHover;
    l.backColor = m_backColor;
    l.foreColor = palette().color(QPalette::Active, QPalette::WindowText);
    l.font = font();
    return l;
}

void MyButton::DrawButton(short n)
{
    if (m_disableHover && n == Hover)
        return;
    m_state = State(n);
    update();
}

void MyButton::Refresh()
{
    if (m_state < Normal || m_state > Disabled)
        m_state = Normal;
    DrawButton(isEnabled() ? m_state : Disabled);
}

void MyButton::paintSurface()
{
    // A paint request is a Refresh.
    if (m_state < Normal || m_state > Disabled)
        m_state = Normal;
    if (!isEnabled())
        m_state = Disabled;
    if (m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(buttonpaint::TranslateColor(m_backColor));
    }
    if (m_surface.isNull())
        return;
    // A failed paint drops the skin until the button is next shown.
    if (buttonpaint::DrawButton(m_surface, look(), m_state) == buttonpaint::Painted::Failed)
        m_skinPicture = nullptr;
}

QImage MyButton::surface()
{
    paintSurface();
    return m_surface;
}

void MyButton::paintEvent(QPaintEvent *)
{
    paintSurface();
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void MyButton::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    setSkinPictureName(m_skinPictureName);
}

bool MyButton::hitTest(float x, float y) const
{
    // Both ends count: a release one pixel past the last column is still inside.
    return x >= 0 && x <= float(width()) && y >= 0 && y <= float(height());
}

bool MyButton::trackMove(short button, short shift, float x, float y)
{
    if (m_spaceDown)
        return true;
    if (!raise([&] { emit MouseMove(button, shift, x, y); }))
        return false;
    const bool inside = hitTest(x, y);
    bool left = false;
    if (inside || m_leftDown)
        m_outRaised = false;
    if (inside && m_leftDown) {
        if (m_state != Pressed)
            DrawButton(Pressed);
    } else if (inside) {
        if (m_state != Hover) {
            if (!raise([this] { emit MouseHover(); }))
                return false;
            DrawButton(Hover);
        }
    } else if (m_leftDown) {
        if (!raise([this] { emit MouseHover(); }))
            return false;
        DrawButton(Hover);
    } else {
        left = true;
        if (!m_outRaised) {
            m_outRaised = true;
            if (!raise([this] { emit MouseOut(); }))
                return false;
        }
        if (m_hasFocus) {
            DrawButton(Focused);
        } else {
            ValueTip::unload();
            DrawButton(Normal);
        }
    }
    if (!left || m_hasFocus)
        ValueTip::showHint(this, m_ipucu);
    return true;
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
    short button = mouseButton(e->button());
    short shift = shiftState(e->modifiers());
    float x = float(e->position().x());
    float y = float(e->position().y());
    if (!raise([&] { emit MouseDown(button, shift, x, y); }))
        return;
    if (button == 1)
        m_leftDown = true;
    trackMove(button, shift, x, y);
}

void MyButton::mouseMoveEvent(QMouseEvent *e)
{
    trackMove(mouseButton(e->buttons()), shiftState(e->modifiers()), float(e->position().x()),
              float(e->position().y()));
}

void MyButton::mouseReleaseEvent(QMouseEvent *e)
{
    short button = mouseButton(e->button());
    short shift = shiftState(e->modifiers());
    float x = float(e->position().x());
    float y = float(e->position().y());
    m_leftDown = false;
    DrawButton(Normal);
    if (!raise([&] { emit MouseUp(button, shift, x, y); }))
        return;
    if (button != 1)
        return;
    if (hitTest(x, y) && !raise([this] { emit Click(); }))
        return;
    DrawButton(Focused);
}

void MyButton::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click: the look only; its release clicks.
    DrawButton(Pressed);
}

void MyButton::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    // The pointer left without a button held: a move outside, as a captured button would
    // see it. Run from the event loop, since a MouseOut handler may delete the window
    // that the toolkit is still delivering the move to.
    if (m_leftDown || !isEnabled())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (underMouse() || m_leftDown)
                return;
            QPointF p = mapFromGlobal(QCursor::pos().toPointF());
            if (hitTest(float(p.x()), float(p.y())))
                p = QPointF(-1, -1);
            trackMove(0, shiftState(QApplication::keyboardModifiers()), float(p.x()), float(p.y()));
        },
        Qt::QueuedConnection);
}

void MyButton::keyPressEvent(QKeyEvent *e)
{
    short code = keyCode(e);
    short shift = shiftState(e->modifiers());
    if (!raise([&] { emit KeyDown(code, shift); }))
        return;
    if (code == 32) {
        m_spaceDown = true;
        DrawButton(Pressed);
    } else {
        m_spaceDown = false;
        DrawButton(Focused);
    }
    short ascii = keyAscii(e);
    if (ascii != 0) {
        if (!raise([&] { emit KeyPress(ascii); }))
            return;
        if (ascii == 13) {
            emit Click();
            return;
        }
    }
    // Keys the button does not use go on to the window (Escape closes a dialog).
    if (code != 32 && ascii != 32)
        QWidget::keyPressEvent(e);
}

void MyButton::keyReleaseEvent(QKeyEvent *e)
{
    // A held key repeats its key-down only.
    if (e->isAutoRepeat())
        return;
    short code = keyCode(e);
    short shift = shiftState(e->modifiers());
    if (!raise([&] { emit KeyUp(code, shift); }))
        return;
    if (code != 32) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    // Every space release ends the held space; only one that still shows pressed clicks.
    const bool clicks = m_spaceDown && m_state == Pressed;
    m_spaceDown = false;
    if (!clicks)
        return;
    DrawButton(Normal);
    if (!raise([this] { emit Click(); }))
        return;
    DrawButton(Focused);
}

void MyButton::focusInEvent(QFocusEvent *e)
{
    m_hasFocus = true;
    if (!m_leftDown)
        DrawButton(Focused);
    QWidget::focusInEvent(e);
}

void MyButton::focusOutEvent(QFocusEvent *e)
{
    m_hasFocus = false;
    // A space press that the focus loss cut short must not leave mouse tracking off.
    m_spaceDown = false;
    DrawButton(Normal);
    QWidget::focusOutEvent(e);
}

void MyButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_leftDown = false;
            m_spaceDown = false;
        }
        DrawButton(isEnabled() ? Normal : Disabled);
    }
    QWidget::changeEvent(e);
}
