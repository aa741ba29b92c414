#include "pendingedit.h"

#include "boundlineedit.h"
#include "boundtextedit.h"
#include "datacontrol.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace pendingedit {

namespace {

class EscapeFilter : public QObject {
public:
    EscapeFilter(db::DataControl *data, std::function<void()> drop, QObject *parent)
        : QObject(parent)
        , m_data(data)
        , m_drop(std::move(drop))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress || !m_data)
            return QObject::eventFilter(watched, e);
        const auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier || !m_data->hasPendingEdit())
            return QObject::eventFilter(watched, e);
        if (m_drop)
            m_drop();
        return true;
    }

private:
    QPointer<db::DataControl> m_data;
    std::function<void()> m_drop;
};

} // namespace

void escapeDrops(QWidget *form, db::DataControl *data, std::function<void()> drop)
{
    auto *filter = new EscapeFilter(data, std::move(drop), form);
    for (const BoundLineEdit *b : form->findChildren<BoundLineEdit *>()) {
        if (b->dataControl() == data && b->edit())
            b->edit()->installEventFilter(filter);
    }
    for (const BoundTextEdit *b : form->findChildren<BoundTextEdit *>()) {
        if (b->dataControl() == data && b->edit())
            b->edit()->installEventFilter(filter);
    }
}

QString escapeHint()
{
    return u"Yazdıklarınızdan vazgeçmek için kutulardan birinde Esc tuşuna basın."_s;
}

} // namespace pendingedit
