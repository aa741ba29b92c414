#include "boundlineedit.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

BoundLineEdit::BoundLineEdit(QLineEdit *edit, const QString &dataField)
    : QObject(edit)
    , m_edit(edit)
    , m_field(dataField)
{
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!m_showing)
            m_changed = true;
    });
}

BoundLineEdit::~BoundLineEdit()
{
    if (m_control)
        m_control->removeBinding(this);
}

void BoundLineEdit::bindTo(db::DataControl *control)
{
    if (m_control)
        m_control->removeBinding(this);
    m_control = control;
    if (control)
        control->addBinding(this);
}

void BoundLineEdit::showValue(const QVariant &value)
{
    m_showing = true;
    m_edit->setText(value.isNull() ? QString() : value.toString());
    m_showing = false;
    m_changed = false;
}

QVariant BoundLineEdit::editedValue() const
{
    const QString text = m_edit->text();
    return text.isEmpty() ? QVariant(u""_s) : QVariant(text);
}
