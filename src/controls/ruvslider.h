#pragma once

#include <QImage>
#include <QJsonObject>
#include <QPixmap>
#include <QWidget>

// The program's slider: a thumb picture dragged along a rail (a 3-D edge, or a rail
// picture) over a whole-number Value between Min and Max. It sizes itself to its thumb
// or rail picture, shows its value in the shared tip window while pressed, and is moved
// with the arrow keys too. A host may close or delete the window from any event. Keeps
// 10 keyed settings for the host window.
class RuvSlider : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 value READ value WRITE setValue NOTIFY ValueChanged)

public:
    enum Orientation : int { Horizontal = 0, Vertical = 1 };

    explicit RuvSlider(QWidget *parent = nullptr);
    ~RuvSlider() override;

    // Not clamped to Min..Max; ValueChanged only when the value differs from the last one.
    // Throws ControlError 6 when Value - Min does not fit 32 bits.
    qint32 value() const { return m_value; }
    void setValue(qint32 value);
    // Throw ControlError 380 when Min would not stay below Max, changing nothing.
    // Setting Min also sets Value to it.
    qint32 min() const { return m_min; }
    void setMin(qint32 min);
    qint32 max() const { return m_max; }
    void setMax(qint32 max);

    // The slider's own flag: while false a press starts no drag and keys do nothing, but
    // the widget stays enabled, so a left release inside still raises Click.
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }

    // 0 horizontal (Min at the left), 1 vertical (Min at the bottom); other values are kept
    // and lay nothing out.
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation);
    // 0 sunken, 1 raised, 2 thin sunken, 3 thin raised edge, 4 no edge, 99 the rail picture.
    int railStyle() const { return m_railStyle; }
    void setRailStyle(int style);
    bool showValueTip() const { return m_showValueTip; }
    void setShowValueTip(bool on) { m_showValueTip = on; }
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 ole);

    // The thumb picture; a new slider has the 16 x 16 knob.
    QPixmap sliderIcon() const { return m_sliderIcon; }
    void setSliderIcon(const QPixmap &icon, const QString &path = {});
    QPixmap railPicture() const { return m_railPicture; }
    void setRailPicture(const QPixmap &picture, const QString &path = {});

    // The thumb's place in pixels of the control (not rounded).
    QRectF thumbRect() const;
    // The rail rectangle of the edge, right and bottom exclusive.
    QRect railRect() const { return m_railRect; }
    bool isDragging() const { return m_dragging; }
    // What the last redraw left on the control.
    QImage surface() const { return m_surface; }

    // Reads the 10 keys (any case) straight into place: no checks, no events.
    void applySettings(const QJsonObject &stored);
    QJsonObject settings() const;

    QSize sizeHint() const override;

signals:
    void Click();
    void ArrivedFirst();
    void ArrivedLast();
    void ValueChanged();
    // Shift: 1 shift, 2 control, 4 alt.
    void MouseDown(short &Shift);
    void MouseUp(short &Shift);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    QSizeF thumbSize() const;
    bool pictureRail() const;
    // Sizes the control, places the thumb across and along the rail, works out the
    // rail rectangle and redraws.
    void layoutPass();
    void DrawSlider();
    void ResetSlider();
    void ShowTip();
    // The thumb's place along the rail for a value (orientation 0 or 1).
    void placeThumbFor(qint64 value);
    // Moves the thumb with the pointer; false when a handler took the slider away.
    bool dragStep(const QPointF &p);
    qint32 CalcValue();
    void stepBy(qint64 delta);
    void checkFits(qint64 diff) const;

    bool m_dragging = false;
    float m_grabX = 0;
    float m_grabY = 0;
    QRect m_railRect;
    qint64 m_range = 10;
    qint32 m_oldValue = 0;
    bool m_enabled = true;
    int m_orientation = Vertical;
    int m_railStyle = 0;
    bool m_showValueTip = true;
    qint32 m_min = 0;
    qint32 m_max = 10;
    qint32 m_value = 0;
    quint32 m_backColor = 0x8000000F;
    QPointF m_thumb; // the thumb's left and top
    QPixmap m_sliderIcon;
    QString m_sliderIconPath;
    QPixmap m_railPicture;
    QString m_railPicturePath;
    QImage m_surface;
    bool m_laying = false;
};
