#include "statusbar.h"

#include "olecolors.h"
#include "statuspanel.h"
#include "widgeterrors.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSizeGrip>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kGap = 2;
constexpr int kDesignWidths[] = {100, 100, 100, 75, 75};

// The settings store numbers and flags as text; JSON numbers and booleans are read too.
QString textValue(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isBool())
        return v.toBool() ? u"true"_s : u"false"_s;
    if (v.isDouble())
        return QString::number(v.toDouble());
    return {};
}

bool flagValue(const QJsonValue &v, bool fallback)
{
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() != 0;
    const QString t = textValue(v).trimmed().toLower();
    if (t == u"true"_s || t == u"-1"_s || t == u"1"_s)
        return true;
    if (t == u"false"_s || t == u"0"_s)
        return false;
    return fallback;
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QWidget(parent)
    , m_maskColor(oleColor(0x00FF00FFu))
    , m_backColor(oleColor(0x00CE661Au))
    , m_foreColor(oleColor(0x80000012u))
    , m_disabledForeColor(oleColor(0x80000011u))
{
    setAccessibleName(u"Durum çubuğu"_s);
    m_gripper = new QSizeGrip(this);
    setPanelCount(5);
    for (int n = 1; n <= 5; ++n)
        m_widths[n - 1] = kDesignWidths[n - 1];
    setBackColor(m_backColor);
    layoutPanels();
}

void StatusBar::applySettings(const QJsonObject &settings)
{
    QJsonObject s;
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it)
        s.insert(it.key().toLower(), it.value());

    auto color = [&s](const QString &key, const QColor &fallback) {
        const QColor c = s.contains(key) ? oleColor(textValue(s.value(key))) : QColor();
        return c.isValid() ? c : fallback;
    };
    m_maskColor = color(u"maskcolor"_s, m_maskColor);
    setBackColor(color(u"backcolor"_s, m_backColor));
    setForeColor(color(u"forecolor"_s, m_foreColor));
    setDisabledForeColor(color(u"forecolordissabled"_s, m_disabledForeColor));
    if (s.contains(u"showgripper"_s))
        setGripperShown(flagValue(s.value(u"showgripper"_s), m_gripperShown));

    if (s.contains(u"numberofpanels"_s)) {
        bool ok = false;
        const int count = textValue(s.value(u"numberofpanels"_s)).toInt(&ok);
        if (ok && count >= 0)
            setPanelCount(count);
    }
    for (int n = 1; n <= panelCount(); ++n) {
        const QString i = QString::number(n);
        if (s.contains(u"pwidth"_s + i)) {
            bool ok = false;
            const int w = textValue(s.value(u"pwidth"_s + i)).toInt(&ok);
            if (ok)
                setPanelWidth(n, w);
        }
        if (s.contains(u"ptext"_s + i))
            setPanelText(n, textValue(s.value(u"ptext"_s + i)));
        if (s.contains(u"ptttext"_s + i))
            setPanelToolTip(n, textValue(s.value(u"ptttext"_s + i)));
        if (s.contains(u"penabled"_s + i))
            setPanelEnabled(n, flagValue(s.value(u"penabled"_s + i), true));
        const QString picture = textValue(s.value(u"panelpicture"_s + i));
        if (!picture.isEmpty())
            setPanelPicture(n, QPixmap(picture));
    }
}

void StatusBar::setPanelCount(int count)
{
    count = std::max(0, count);
    while (panelCount() > count) {
        delete m_panels.back();
        m_panels.pop_back();
        m_widths.pop_back();
    }
    while (panelCount() < count) {
        const int n = panelCount() + 1;
        auto *panel = new StatusPanel(n, this);
        panel->setObjectName(u"panel"_s + QString::number(n));
        panel->installEventFilter(this);
        applyColors(panel);
        panel->show();
        m_panels.push_back(panel);
        m_widths.push_back(n <= 5 ? kDesignWidths[n - 1] : 100);
    }
    layoutPanels();
}

StatusPanel *StatusBar::checked(int n) const
{
    if (n < 1 || n > panelCount())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return m_panels[size_t(n - 1)];
}

StatusPanel *StatusBar::panel(int n) const
{
    return checked(n);
}

void StatusBar::setPanelText(int n, const QString &text)
{
    StatusPanel *p = checked(n);
    p->setText(text);
    p->update();
}

QString StatusBar::panelText(int n) const
{
    return checked(n)->text();
}

void StatusBar::setPanelWidth(int n, int width)
{
    checked(n);
    m_widths[size_t(n - 1)] = std::max(0, width);
    layoutPanels();
}

int StatusBar::panelWidth(int n) const
{
    checked(n);
    return m_widths[size_t(n - 1)];
}

void StatusBar::setPanelToolTip(int n, const QString &text)
{
    checked(n)->setToolTip(text);
}

QString StatusBar::panelToolTip(int n) const
{
    return checked(n)->toolTip();
}

void StatusBar::setPanelEnabled(int n, bool enabled)
{
    checked(n)->setEnabled(enabled);
}

bool StatusBar::isPanelEnabled(int n) const
{
    return checked(n)->isEnabled();
}

void StatusBar::setPanelPicture(int n, const QPixmap &picture)
{
    StatusPanel *p = checked(n);
    QPixmap pm = picture;
    if (!pm.isNull() && !pm.hasAlphaChannel() && m_maskColor.isValid())
        pm.setMask(pm.createMaskFromColor(m_maskColor, Qt::MaskInColor));
    p->setPicture(pm);
}

QPixmap StatusBar::panelPicture(int n) const
{
    return checked(n)->picture();
}

void StatusBar::setBackColor(const QColor &c)
{
    m_backColor = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    setPalette(pal);
    update();
}

void StatusBar::setForeColor(const QColor &c)
{
    m_foreColor = c;
    for (StatusPanel *p : m_panels)
        applyColors(p);
}

void StatusBar::setDisabledForeColor(const QColor &c)
{
    m_disabledForeColor = c;
    for (StatusPanel *p : m_panels)
        applyColors(p);
}

void StatusBar::applyColors(StatusPanel *panel) const
{
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, m_foreColor);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, m_foreColor);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, m_disabledForeColor);
    panel->setPalette(pal);
}

void StatusBar::setGripperShown(bool shown)
{
    m_gripperShown = shown;
    m_gripper->setVisible(shown);
    layoutPanels();
}

void StatusBar::setAlignBottom(bool on)
{
    if (m_alignBottom == on)
        return;
    m_alignBottom = on;
    if (QWidget *p = parentWidget()) {
        if (on) {
            p->installEventFilter(this);
            followParent();
        } else {
            p->removeEventFilter(this);
        }
    }
}

void StatusBar::followParent()
{
    if (QWidget *p = parentWidget())
        setGeometry(0, p->height() - height(), p->width(), height());
}

QRect StatusBar::panelRect(int n) const
{
    return checked(n)->geometry();
}

QSize StatusBar::sizeHint() const
{
    int w = 0;
    for (int width : m_widths)
        w += width + kGap;
    return {w + m_gripper->sizeHint().width(), std::max(25, fontMetrics().height() + 8)};
}

void StatusBar::layoutPanels()
{
    int x = 0;
    for (size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->setGeometry(x, kGap, m_widths[i], std::max(0, height() - kGap));
        x += m_widths[i] + kGap;
    }
    const QSize g = m_gripper->sizeHint();
    m_gripper->setGeometry(width() - g.width(), height() - g.height(), g.width(), g.height());
    m_gripper->raise();
}

bool StatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (m_alignBottom && watched == parentWidget() && event->type() == QEvent::Resize) {
        followParent();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto *panel = qobject_cast<StatusPanel *>(watched);
        auto *me = static_cast<QMouseEvent *>(event);
        if (panel && panel->parentWidget() == this && panel->isEnabled() && me->button() == Qt::LeftButton
            && panel->rect().contains(me->position().toPoint()))
            emit panelClick(panel->number());
    }
    return QWidget::eventFilter(watched, event);
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
}
