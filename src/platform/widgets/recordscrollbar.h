#pragma once

#include <QScrollBar>

// The horizontal record scroll bar: one record per arrow or trough click; dragging the
// thumb reports scroll(position) and only the release changes the value. change(value)
// follows every actual change of the value, by the user or the program, also while the
// bar is disabled; setting the present value raises nothing. Keys move by one record
// (End and Home to the last and the first). A handler of change that puts the value
// back refuses the move: the press ends there, so an arrow or the trough held down does
// not repeat it; input that arrives while change runs (a message box's event loop, the
// auto-repeat) is dropped.
class RecordScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit RecordScrollBar(QWidget *parent = nullptr);

    // Throws db::Error 380 outside minimum..maximum and keeps the value.
    void setValueChecked(int value);
    // A range that no longer holds the value moves it to the nearest end, raising change.
    void setMinimumChecked(int minimum);
    void setMaximumChecked(int maximum);

signals:
    void change(int value);
    void scroll(int position);

protected:
    // Right, Down, PageDown and End move forward (QScrollBar inverts its keys).
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void timerEvent(QTimerEvent *e) override;

private:
    void emitChange(int value);
    void endPress();

    bool m_changing = false;
};
