#pragma once

#include "datacontrol.h"

#include <QString>
#include <QVariant>

// A bound box as the windows have one: shows a value, remembers what was typed.
class Box : public db::FieldBinding {
public:
    explicit Box(QString field)
        : m_field(std::move(field))
    {
    }
    QString dataField() const override { return m_field; }
    void showValue(const QVariant &value) override
    {
        m_text = value.isNull() ? QString() : value.toString();
        m_null = value.isNull();
        m_changed = false;
    }
    bool isChanged() const override { return m_changed; }
    QVariant editedValue() const override { return m_text; }
    void clearChanged() override { m_changed = false; }

    void type(const QString &text)
    {
        m_text = text;
        m_null = false;
        m_changed = true;
    }
    QString text() const { return m_text; }
    bool isNull() const { return m_null; }

private:
    QString m_field;
    QString m_text;
    bool m_null = true;
    bool m_changed = false;
};
