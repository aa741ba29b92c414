#pragma once

#include "buttonpaint.h"

#include <QJsonObject>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class PictureBox;

// The push button behind every command: drawn from a five-cell skin strip held by a
// picture box of its host window (found by name each time it is shown), with a caption,
// a picture and a tooltip text shown in the shared tip window. A five-state machine
// follows the mouse, the keyboard and the focus and raises nine events; a host may close
// or delete the window from any of them. Keeps 22 keyed settings with the host window.
class MyButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString ipucu READ ipucu WRITE setIpucu)

public:
    enum State : short { NotPainted = 0, Normal = 1, Focused = 2, Hover = 3, Pressed = 4, Disabled = 5 };
    Q_ENUM(State)

    explicit MyButton(QWidget *parent = nullptr);
    ~MyButton() override;

    QString text() const { return m_text; }
    // Also takes the access key from the last "&" followed by a character other than a
    // blank or "&"; a caption without one keeps the old key.
    void setText(const QString &text);
    QString ipucu() const { return m_ipucu; }
    void setIpucu(const QString &text);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    // Loads the picture from a resource or file path and keeps the path for settings().
    void setPicturePath(const QString &path);
    QString picturePath() const { return m_picturePath; }
    // 0 left of the caption, 1 above, 2 below, 3 right, 4 alone. Throws ControlError 6
    // outside the 16-bit range.
    int picturePos() const { return m_picturePos; }
    void setPicturePos(int pos);
    quint32 pictureTColor() const { return m_pictureTColor; }
    void setPictureTColor(quint32 ole);

    // Colours are OLE colours (&H00BBGGRR or system colours &H800000nn).
    quint32 textColorEnabled() const { return m_textColorEnabled; }
    void setTextColorEnabled(quint32 ole);
    quint32 textColorDisabled() const { return m_textColorDisabled; }
    void setTextColorDisabled(quint32 ole);
    quint32 textColorDisabled2() const { return m_textColorDisabled2; }
    void setTextColorDisabled2(quint32 ole);
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 ole);

    int sizeCW() const { return m_sizeCW; }
    void setSizeCW(int w);
    int sizeCH() const { return m_sizeCH; }
    void setSizeCH(int h);
    bool fillWithColor() const { return m_fillWithColor; }
    void setFillWithColor(bool on);
    bool disableHover() const { return m_disableHover; }
    void setDisableHover(bool on) { m_disableHover = on; }
    short displaceText() const { return m_displaceText; }
    void setDisplaceText(short d) { m_displaceText = d; }
    short drawFocus() const { return m_drawFocus; }
    void setDrawFocus(short inset) { m_drawFocus = inset; }
    // 0 left, 1 right, 2 centred; any other value aligns left.
    int textAlign() const { return m_textAlign; }
    void setTextAlign(int align);
    // The pointer's shape over the button: 0 default, 1 to 15 the standard shapes, 99 the
    // mouse icon. Throws ControlError 6 outside the 16-bit range.
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    QPixmap mouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon, const QString &path = {});

    // The skin: a picture box of the host window, or none (the flat look). Any other
    // object throws ControlError 5 and changes nothing.
    QObject *skinPicture() const;
    void setSkinPicture(QObject *box);
    // Looks the name up among all controls of the host window; empty drops the skin. A
    // name that is missing or names another kind of control changes nothing.
    QString skinPictureName() const { return m_skinPictureName; }
    void setSkinPictureName(const QString &name);
    QString accessKey() const { return m_accessKey; }
    void setAccessKey(const QString &key);

    // The font's attributes, each set alone.
    bool fontBold() const { return font().bold(); }
    void setFontBold(bool on)
    {
        setFontPart([on](QFont &f) { f.setBold(on); });
    }
    bool fontItalic() const { return font().italic(); }
    void setFontItalic(bool on)
    {
        setFontPart([on](QFont &f) { f.setItalic(on); });
    }
    bool fontUnderline() const { return font().underline(); }
    void setFontUnderline(bool on)
    {
        setFontPart([on](QFont &f) { f.setUnderline(on); });
    }
    bool fontStrikethru() const { return font().strikeOut(); }
    void setFontStrikethru(bool on)
    {
        setFontPart([on](QFont &f) { f.setStrikeOut(on); });
    }
    float fontSize() const { return float(font().pointSizeF()); }
    void setFontSize(float points)
    {
        setFontPart([points](QFont &f) { f.setPointSizeF(points); });
    }
    QString fontName() const { return font().family(); }
    void setFontName(const QString &name)
    {
        setFontPart([name](QFont &f) { f.setFamily(name); });
    }

    // Splits a colour &H00BBGGRR into its red, green and blue.
    static void GetRgb(qint32 color, short &r, short &g, short &b) { buttonpaint::GetRgb(color, r, g, b); }

    // The look last shown: 1 normal, 2 focused, 3 hover, 4 pressed, 5 disabled.
    State state() const { return m_state; }
    // Paints the present state again (state 5 while disabled).
    void Refresh();
    // What the painter reads of the button now.
    buttonpaint::ButtonLook look() const;
    // The control surface as the last paint left it, painted now if it is due.
    QImage surface();

    // A button placed anew: corners 3, its name as caption, "qqqqqq" as tooltip, the
    // default skin's name.
    void initProperties();
    // Reads the 22 keys (any case), each missing one taking its default. Paints nothing.
    void applySettings(const QJsonObject &stored);
    // The keys whose values differ from their defaults, in lower case.
    QJsonObject settings() const;

    QSize sizeHint() const override;

public slots:
    // Raises Click as a user's click would, when enabled.
    void click();

signals:
    void Click();
    void MouseHover();
    void MouseOut();
    // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 control, 4 alt. A handler may
    // change the arguments; the button goes on with what it left.
    void MouseDown(short &Button, short &Shift, float &x, float &y);
    void MouseMove(short &Button, short &Shift, float &x, float &y);
    void MouseUp(short &Button, short &Shift, float &x, float &y);
    void KeyPress(short &KeyAscii);
    void KeyDown(short &KeyCode, short &Shift);
    void KeyUp(short &KeyCode, short &Shift);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    // Shows state n from the next paint on; state 3 is ignored while hover is off.
    void DrawButton(short n);
    void paintSurface();
    bool hitTest(float x, float y) const;
    // A tracked move; false when a handler took the button away.
    bool trackMove(short button, short shift, float x, float y);
    // Raises an event; false when a handler deleted the button.
    template <typename F>
    bool raise(F &&emitIt);
    void updateShortcut();
    void updateCursor();
    template <typename F>
    void setFontPart(F &&change)
    {
        QFont f = font();
        change(f);
        setFont(f);
        update();
    }
    QFont ambientFont() const;

    QString m_text;
    QString m_ipucu;
    QPixmap m_picture;
    buttonpaint::Picture m_paintPicture;
    QString m_picturePath;
    short m_picturePos = 0;
    quint32 m_pictureTColor = 0xFF00FF;
    quint32 m_textColorEnabled = 0;
    quint32 m_textColorDisabled = 0;
    quint32 m_textColorDisabled2 = 0;
    quint32 m_backColor = 0x8000000F;
    int m_sizeCW = 3;
    int m_sizeCH = 3;
    bool m_fillWithColor = true;
    bool m_disableHover = false;
    short m_displaceText = 0;
    short m_drawFocus = 0;
    int m_textAlign = 2;
    short m_mousePointer = 0;
    QPixmap m_mouseIcon;
    QString m_mouseIconPath;
    QPointer<PictureBox> m_skinPicture;
    QString m_skinPictureName;
    QString m_accessKey;
    int m_fontCharset = 0;
    int m_shortcutId = 0;

    State m_state = NotPainted;
    bool m_hasFocus = false;
    bool m_leftDown = false;
    bool m_spaceDown = false;
    // MouseOut was raised and the pointer has not come back since: a button held outside
    // keeps sending moves, and each leave raises MouseOut once.
    bool m_outRaised = false;
    QImage m_surface;
};
