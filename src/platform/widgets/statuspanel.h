#pragma once

#include <QLabel>
#include <QPixmap>

// One panel of the status bar. The label keeps the whole text (screen readers read it as
// the label's name, the tooltip as its description); the panel draws its picture and the
// text elided to the room left, on one line.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(int number, QWidget *parent);

    int number() const { return m_number; }
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    // The text as drawn.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textRect() const;

    int m_number;
    QPixmap m_picture;
};
