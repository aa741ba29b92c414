#include "boundtextedit.h"

#include "fieldtextedit.h"

using namespace Qt::StringLiterals;

BoundTextEdit::BoundTextEdit(QPlainTextEdit *edit, const QString &dataField)
    : QObject(edit)
    , m_edit(edit)
    , m_field(dataField)
{
    connect(edit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_changed = true;
    });
}

BoundTextEdit::~BoundTextEdit()
{
    if (m_control)
        m_control->removeBinding(this);
}

void BoundTextEdit::bindTo(db::DataControl *control)
{
    if (m_control)
        m_control->removeBinding(this);
    m_control = control;
    if (control)
        control->addBinding(this);
}

void BoundTextEdit::showValue(const QVariant &value)
{
    QString text = value.isNull() ? QString() : value.toString();
    m_crlf = text.contains(u"\r\n"_s);
    if (m_crlf)
        text.replace(u"\r\n"_s, u"\n"_s);
    m_showing = true;
    FieldTextEdit::setFoldedText(m_edit, text);
    m_showing = false;
    m_changed = false;
}

QVariant BoundTextEdit::editedValue() const
{
    QString text = FieldTextEdit::plainText(m_edit);
    if (m_crlf)
        text.replace(u"\n"_s, u"\r\n"_s);
    return text.isEmpty() ? QVariant(u""_s) : QVariant(text);
}
