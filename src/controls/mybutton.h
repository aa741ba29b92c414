#pragma once

#include <QJsonObject>
#include <QPixmap>
#include <QWidget>

// The push button behind every command: caption, picture, tooltip text and a keyed set of
// 22 settings kept with the host window. Drawn plainly for now (a raised bevel with the
// picture and the caption); the skin named by skinPictureName() is looked up later.
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
    void setDisableHover(bool on);
    short displaceText() const { return m_displaceText; }
    void setDisplaceText(short d) { m_displaceText = d; }
    short drawFocus() const { return m_drawFocus; }
    void setDrawFocus(short inset);
    // 0 left, 1 right, 2 centred; any other value aligns left.
    int textAlign() const { return m_textAlign; }
    void setTextAlign(int align);
    // Throws ControlError 6 outside the 16-bit range.
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    QPixmap mouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon, const QString &path = {});

    QString skinPictureName() const { return m_skinPictureName; }
    void setSkinPictureName(const QString &name) { m_skinPictureName = name; }
    QString accessKey() const { return m_accessKey; }
    void setAccessKey(const QString &key);

    // The look last shown: 1 normal, 2 focused, 3 hover, 4 pressed, 5 disabled.
    State state() const { return m_state; }

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

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void showState(State s);
    bool hitTest(const QPointF &p) const;
    void trackMove(const QPointF &p);
    void updateShortcut();
    QFont ambientFont() const;

    QString m_text;
    QString m_ipucu;
    QPixmap m_picture;
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
    QString m_skinPictureName;
    QString m_accessKey;
    int m_fontCharset = 0;
    int m_shortcutId = 0;

    State m_state = NotPainted;
    bool m_leftDown = false;
    bool m_spaceDown = false;
};
