#include "boundtextedit.h"

#include "fieldtextedit.h"

#include <algorithm>

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

namespace {

// What the box makes a line end of.
bool endsLine(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

} // namespace

void BoundTextEdit::showValue(const QVariant &value)
{
    m_stored = value.isNull() ? QString() : value.toString();
    m_pairs.clear();
    QString shown = m_stored;
    if (std::any_of(m_stored.cbegin(), m_stored.cend(), [](QChar c) { return c != u'\n' && endsLine(c); })) {
        shown.clear();
        shown.reserve(m_stored.size());
        for (qsizetype i = 0; i < m_stored.size(); ++i) {
            const QChar c = m_stored.at(i);
            if (!endsLine(c)) {
                shown += c;
                continue;
            }
            if (c == u'\r' && i + 1 < m_stored.size() && m_stored.at(i + 1) == u'\n') {
                m_pairs.push_back(shown.size());
                ++i;
            }
            shown += u'\n';
        }
    }
    m_showing = true;
    FieldTextEdit::setFoldedText(m_edit, shown);
    m_showing = false;
    m_changed = false;
    m_shown = FieldTextEdit::text(m_edit);
    if (m_shown != shown) { // the box took something else too: its text is all there is
        m_stored = m_shown;
        m_pairs.clear();
    }
}

QVariant BoundTextEdit::editedValue() const
{
    const QString now = FieldTextEdit::text(m_edit);
    // The stored value with the changed stretch of the box put in its place.
    const qsizetype n = now.size(), m = m_shown.size();
    qsizetype first = 0, last = 0;
    while (first < n && first < m && now.at(first) == m_shown.at(first))
        ++first;
    while (last < n - first && last < m - first && now.at(n - 1 - last) == m_shown.at(m - 1 - last))
        ++last;
    // Where the character at i of the box starts in the stored value.
    auto start = [this](qsizetype i) {
        return i + qsizetype(std::lower_bound(m_pairs.begin(), m_pairs.end(), i) - m_pairs.begin());
    };
    const qsizetype from = start(first), to = start(m - last);
    QString typed = now.mid(first, n - first - last);
    if (m_stored.contains(u"\r\n"_s))
        typed.replace(u"\n"_s, u"\r\n"_s);
    const QString text = m_stored.left(from) + typed + m_stored.mid(to);
    return text.isEmpty() ? QVariant(u""_s) : QVariant(text);
}
