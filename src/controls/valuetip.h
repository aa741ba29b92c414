#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

// The one small borderless window in which the buttons show their tooltip text and the
// slider its value. It never takes the focus or the mouse. Loaded on first use; unloading
// destroys it. It also goes when the control that showed it is hidden or destroyed, or
// when a modal window opened over the control's window takes the mouse from it, and it
// is kept inside the screen.
class ValueTip : public QWidget {
    Q_OBJECT

public:
    // The loaded window, or none.
    static ValueTip *instance();
    static bool isLoaded() { return instance() != nullptr; }
    // Unloading a window that is not loaded does nothing.
    static void unload();

    // The text below the control's top left corner, lh + 15 pixels down.
    static void showHint(QWidget *control, const QString &text);
    // The text beside the slider's thumb (in the slider's pixels): centred above it when
    // horizontal (0), left of it when vertical (1), at the screen's top left otherwise.
    static void showTip(QWidget *slider, const QRectF &thumb, int orientation, const QString &text);

    QLabel *label() const { return m_label; }
    QWidget *owner() const { return m_owner; }

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    ValueTip();
    static ValueTip *load();
    // Sets the caption; the label sizes itself to it. Returns its size.
    QSize fill(const QString &text);
    void place(QWidget *control, QPoint topLeft, QSize labelSize);

    QLabel *m_label = nullptr;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_ownerWindow;
    QMetaObject::Connection m_ownerGone;
};
