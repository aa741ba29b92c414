#pragma once

#include "datacontrol.h"

#include <QObject>
#include <QPointer>

class QPlainTextEdit;

// Binds a QPlainTextEdit to a field of a data control. Line ends: a value stored with
// CR LF shows with plain line feeds and is given back with CR LF again.
class BoundTextEdit : public QObject, public db::FieldBinding {
    Q_OBJECT
public:
    BoundTextEdit(QPlainTextEdit *edit, const QString &dataField);
    ~BoundTextEdit() override;

    void bindTo(db::DataControl *control);
    db::DataControl *dataControl() const { return m_control; }
    QPlainTextEdit *edit() const { return m_edit; }

    QString dataField() const override { return m_field; }
    void showValue(const QVariant &value) override;
    bool isChanged() const override { return m_changed; }
    QVariant editedValue() const override;
    void clearChanged() override { m_changed = false; }

private:
    QPlainTextEdit *m_edit;
    QString m_field;
    QPointer<db::DataControl> m_control;
    bool m_changed = false;
    bool m_showing = false;
    bool m_crlf = false;
};
