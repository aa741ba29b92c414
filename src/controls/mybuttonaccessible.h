#pragma once

#include <QAccessibleWidget>

class MyButton;

// What a screen reader reads of a MyButton: a push button named by its caption (by its
// tooltip text when it has no caption), described by the tooltip text, pressable.
class MyButtonAccessible : public QAccessibleWidget {
public:
    explicit MyButtonAccessible(MyButton *button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Registers the factory once; each MyButton calls it.
    static void install();

private:
    MyButton *button() const;
};
