#include "loadedwindows.h"

namespace loadedwindows {

namespace {
QList<QPointer<QWidget>> &windows()
{
    static QList<QPointer<QWidget>> w;
    return w;
}
} // namespace

void add(QWidget *w)
{
    remove(w);
    windows().append(w);
}

void remove(QWidget *w)
{
    windows().removeIf([w](const QPointer<QWidget> &p) { return p.isNull() || p == w; });
}

QList<QPointer<QWidget>> list()
{
    return windows();
}

} // namespace loadedwindows
