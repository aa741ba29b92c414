#pragma once

#include <QComboBox>

// A combo box that says when its list is about to drop down, so that a handler can fill
// it first. Typed text never becomes an item. The wheel turns only the box that has the
// focus: one turned in passing would choose from a list left by an earlier record. A list
// marked stale is emptied and filled again before a key or the wheel chooses from it.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownCombo(QWidget *parent = nullptr);

    void showPopup() override;
    // The list was built for something no longer shown.
    void setStale() { m_stale = true; }

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

signals:
    void dropDown();

private:
    void refillIfStale();

    bool m_stale = false;
};
