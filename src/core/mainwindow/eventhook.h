#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

// Hands the events of one object to a function; it returns true to swallow the event.
// Lives as the object's child, so it goes with it.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QObject *watched, QEvent *event)>;

    static EventHook *install(QObject *target, Handler handler)
    {
        auto *hook = new EventHook(target, std::move(handler));
        target->installEventFilter(hook);
        return hook;
    }

    // Runs f on every press of a mouse button, the second press of a double click included.
    static EventHook *onMouseDown(QObject *target, std::function<void()> f)
    {
        return install(target, [f = std::move(f)](QObject *, QEvent *e) {
            if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
                f();
            return false;
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return m_handler(watched, event); }

private:
    EventHook(QObject *parent, Handler handler)
        : QObject(parent)
        , m_handler(std::move(handler))
    {
    }

    Handler m_handler;
};
