#pragma once

#include "datacontrol.h"

#include <QObject>
#include <QPointer>

class QLineEdit;

// Binds a QLineEdit to a field of a data control. Meant as a child of the box; it leaves
// the data control when the box goes.
class BoundLineEdit : public QObject, public db::FieldBinding {
    Q_OBJECT
public:
    BoundLineEdit(QLineEdit *edit, const QString &dataField);
    ~BoundLineEdit() override;

    // Registers with the data control (addBinding).
    void bindTo(db::DataControl *control);
    db::DataControl *dataControl() const { return m_control; }
    QLineEdit *edit() const { return m_edit; }

    QString dataField() const override { return m_field; }
    // Null shows as empty; the text shown counts as unchanged.
    void showValue(const QVariant &value) override;
    bool isChanged() const override { return m_changed; }
    // The text as it stands; an empty box gives the empty text, not Null.
    QVariant editedValue() const override;
    void clearChanged() override { m_changed = false; }

private:
    QLineEdit *m_edit;
    QString m_field;
    QPointer<db::DataControl> m_control;
    bool m_changed = false;
    bool m_showing = false;
};
