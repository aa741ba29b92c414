#pragma once

#include <QComboBox>

// A combo box that says when its list is about to drop down, so that a handler can fill
// it first. Typed text never becomes an item.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownCombo(QWidget *parent = nullptr);

    void showPopup() override;

signals:
    void dropDown();
};
