#include "mybuttonaccessible.h"

#include "mybutton.h"

using namespace Qt::StringLiterals;

namespace {

QString stripMarkers(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        out.append(text.at(i));
    }
    return out;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == u"MyButton"_s && object && object->isWidgetType())
        return new MyButtonAccessible(static_cast<MyButton *>(object));
    return nullptr;
}

} // namespace

MyButtonAccessible::MyButtonAccessible(MyButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

MyButton *MyButtonAccessible::button() const
{
    return static_cast<MyButton *>(widget());
}

QString MyButtonAccessible::text(QAccessible::Text t) const
{
    const MyButton *b = button();
    switch (t) {
    case QAccessible::Name: {
        if (!b->accessibleName().isEmpty())
            return b->accessibleName();
        // A picture-only button (its caption hidden) is named by its tooltip text.
        const QString caption = b->picturePos() == 4 && !b->picture().isNull() ? QString() : stripMarkers(b->text());
        return caption.isEmpty() ? b->ipucu() : caption;
    }
    case QAccessible::Description:
        if (!b->accessibleDescription().isEmpty())
            return b->accessibleDescription();
        return b->ipucu();
    case QAccessible::Accelerator:
        return b->accessKey().isEmpty() ? QString() : u"Alt+"_s + b->accessKey().toUpper();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList MyButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void MyButtonAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

void MyButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
