#pragma once

#include <QJsonObject>
#include <QPixmap>
#include <QWidget>

// The program's slider: a thumb dragged along a rail over a whole-number Value between
// Min and Max. Drawn plainly for now (a groove and a square thumb); dragged with the left
// mouse button or moved with the arrow keys. Keeps 10 keyed settings for the host window.
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

    // 0 horizontal (Min at the left), 1 vertical (Min at the bottom); other values are kept
    // and lay nothing out.
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation);
    // 0 to 3 edge styles, 4 no edge, 99 the rail picture.
    int railStyle() const { return m_railStyle; }
    void setRailStyle(int style);
    bool showValueTip() const { return m_showValueTip; }
    void setShowValueTip(bool on) { m_showValueTip = on; }
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 ole);

    // The thumb picture; none draws the built-in 16 x 16 knob.
    QPixmap sliderIcon() const { return m_sliderIcon; }
    void setSliderIcon(const QPixmap &icon, const QString &path = {});
    QPixmap railPicture() const { return m_railPicture; }
    void setRailPicture(const QPixmap &picture, const QString &path = {});

    // The thumb's place in pixels of the control.
    QRectF thumbRect() const;
    bool isDragging() const { return m_dragging; }

    // Reads the 10 keys (any case) straight into place: no checks, no events.
    void applySettings(const QJsonObject &stored);
    QJsonObject settings() const;

    QSize sizeHint() const override;

signals:
    void ValueChanged();
    void ArrivedFirst();
    void ArrivedLast();
    void Click();

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    QSizeF thumbSize() const;
    double track() const;
    double positionOf(qint64 value) const;
    void placeThumb();
    void dragTo(const QPointF &p);
    qint32 calcValue();
    void stepBy(qint64 delta);
    void checkFits(qint64 diff) const;

    bool m_dragging = false;
    QPointF m_grab;
    float m_thumbPos = 0;  // left when horizontal, top when vertical
    qint64 m_range = 10;
    qint32 m_oldValue = 0;
    int m_orientation = Vertical;
    int m_railStyle = 0;
    bool m_showValueTip = true;
    qint32 m_min = 0;
    qint32 m_max = 10;
    qint32 m_value = 0;
    quint32 m_backColor = 0x8000000F;
    QPixmap m_sliderIcon;
    QString m_sliderIconPath;
    QPixmap m_railPicture;
    QString m_railPicturePath;
};
