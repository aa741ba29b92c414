#include "dropdowncombo.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

// What a screen reader hears of the list: its name and tip only. The list stands behind the
// box that shows the chosen file, so its own text (a leftover such as "Combo1") and its edit
// line are never read.
class DropDownComboAccessible : public QAccessibleWidget {
public:
    explicit DropDownComboAccessible(QWidget *w)
        : QAccessibleWidget(w, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName();
        case QAccessible::Description:
            return widget()->accessibleDescription().isEmpty() ? widget()->toolTip()
                                                               : widget()->accessibleDescription();
        default:
            return QString();
        }
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == u"DropDownCombo"_s && object && object->isWidgetType())
        return new DropDownComboAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

DropDownCombo::DropDownCombo(QWidget *parent)
    : QComboBox(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(accessible);
    setInsertPolicy(QComboBox::NoInsert);
}

void DropDownCombo::showPopup()
{
    m_stale = false;
    emit dropDown();
    QComboBox::showPopup();
}

// Emptied first: a fill that fails leaves nothing to choose from the earlier list.
void DropDownCombo::refillIfStale()
{
    if (!m_stale)
        return;
    m_stale = false;
    const QString typed = isEditable() ? currentText() : QString();
    clear();
    if (isEditable())
        setEditText(typed);
    emit dropDown();
}

void DropDownCombo::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        break;
    default:
        refillIfStale();
        break;
    }
    QComboBox::keyPressEvent(e);
}

void DropDownCombo::wheelEvent(QWheelEvent *e)
{
    if (!hasFocus()) {
        e->ignore();
        return;
    }
    refillIfStale();
    QComboBox::wheelEvent(e);
}
