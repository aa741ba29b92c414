#include "formloader.h"

#include "boundlineedit.h"
#include "boundtextedit.h"
#include "datacontrol.h"
#include "dropdowncombo.h"
#include "fieldtextedit.h"
#include "imagelist.h"
#include "olecolors.h"
#include "picturebox.h"
#include "recordscrollbar.h"
#include "statusbar.h"
#include "treeview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QHash<QString, FormLoader::Factory> &registry()
{
    static QHash<QString, FormLoader::Factory> r;
    return r;
}

bool truthy(const QJsonValue &v, bool fallback)
{
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() != 0;
    if (v.isString()) {
        const QString t = v.toString().trimmed().toLower();
        if (t == u"true"_s || t == u"-1"_s || t == u"1"_s)
            return true;
        if (t == u"false"_s || t == u"0"_s)
            return false;
    }
    return fallback;
}

int number(const QJsonValue &v, int fallback)
{
    if (v.isDouble())
        return v.toInt(fallback);
    if (v.isString()) {
        bool ok = false;
        const int n = v.toString().trimmed().toInt(&ok);
        return ok ? n : fallback;
    }
    return fallback;
}

// A font with every attribute set, so that it does not follow its container.
QFont explicitFont(const QFont &base)
{
    QFont f;
    f.setFamilies(base.families().isEmpty() ? QStringList{base.family()} : base.families());
    if (base.pointSizeF() > 0)
        f.setPointSizeF(base.pointSizeF());
    else
        f.setPixelSize(base.pixelSize());
    f.setWeight(base.weight());
    f.setItalic(base.italic());
    f.setUnderline(base.underline());
    f.setStrikeOut(base.strikeOut());
    return f;
}

QFont fontFrom(const QJsonObject &o, const QFont &base)
{
    QFont f = explicitFont(base);
    const QString family = o.value(u"family"_s).toString();
    if (!family.isEmpty())
        f.setFamilies({family});
    const double size = o.value(u"size"_s).toDouble(0);
    if (size > 0)
        f.setPointSizeF(size);
    if (o.contains(u"weight"_s))
        f.setWeight(QFont::Weight(std::clamp(o.value(u"weight"_s).toInt(400), 1, 1000)));
    f.setBold(truthy(o.value(u"bold"_s), f.bold()));
    f.setItalic(truthy(o.value(u"italic"_s), false));
    f.setUnderline(truthy(o.value(u"underline"_s), false));
    f.setStrikeOut(truthy(o.value(u"strikeout"_s), false));
    return f;
}

class Builder {
public:
    Builder(FormSpec &spec, QWidget *form)
        : m_spec(spec)
        , m_form(form)
    {
    }

    void run();

private:
    void problem(const QString &text);
    void applyForm();
    QWidget *container(const ControlSpec &c);
    QObject *create(const ControlSpec &c, QWidget *parent);
    QWidget *createWidget(const ControlSpec &c, QWidget *parent);
    void applyCommon(const ControlSpec &c, QWidget *w, QWidget *parent);
    void applyColors(const ControlSpec &c, QWidget *w);
    void applyTextBox(const ControlSpec &c, QWidget *w);
    QButtonGroup *group(QWidget *parent, const QString &name);
    void bindAll();
    void chainTabs();

    FormSpec &m_spec;
    QWidget *m_form;
    QFont m_baseFont;
    QPalette m_basePalette;
    QHash<QString, QObject *> m_objects;
    QHash<QPair<QWidget *, QString>, QButtonGroup *> m_groups;
    struct Tab {
        int tab;
        QWidget *widget;
    };
    std::vector<Tab> m_tabs;
    std::vector<QWidget *> m_untabbed;
};

void Builder::problem(const QString &text)
{
    const QString where = m_spec.name.isEmpty() ? u"?"_s : m_spec.name;
    qWarning("Form %s: %s", qUtf8Printable(where), qUtf8Printable(text));
    m_spec.problems << text;
}

void Builder::applyForm()
{
    if (!m_spec.caption.isEmpty() || m_spec.form.contains(u"caption"_s))
        m_form->setWindowTitle(m_spec.caption);
    if (m_spec.form.value(u"font"_s).isObject())
        m_form->setFont(fontFrom(m_spec.form.value(u"font"_s).toObject(), m_form->font()));
    if (!m_spec.backColor.isEmpty()) {
        const QColor c = oleColor(m_spec.backColor);
        if (c.isValid()) {
            QPalette pal = m_form->palette();
            pal.setColor(QPalette::Window, c);
            m_form->setPalette(pal);
            m_form->setAutoFillBackground(true);
        } else {
            problem(u"form: okunamayan renk %1"_s.arg(m_spec.backColor));
        }
    }
    if (!m_spec.icon.isEmpty())
        m_form->setWindowIcon(QIcon(m_spec.icon));
    const QSize client(twipsToPixels(m_spec.clientTwips.width()), twipsToPixels(m_spec.clientTwips.height()));
    if (!client.isEmpty())
        m_form->resize(client);

    if (!m_form->isWindow())
        return;
    if (m_spec.border.startsWith(u"fixed"_s) && !client.isEmpty())
        m_form->setFixedSize(client);
    const bool noMax = m_spec.form.contains(u"maxButton"_s) && !truthy(m_spec.form.value(u"maxButton"_s), true);
    const bool noMin = m_spec.form.contains(u"minButton"_s) && !truthy(m_spec.form.value(u"minButton"_s), true);
    if (noMax || noMin) {
        Qt::WindowFlags f = m_form->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        f.setFlag(Qt::WindowMaximizeButtonHint, !noMax);
        f.setFlag(Qt::WindowMinimizeButtonHint, !noMin);
        m_form->setWindowFlags(f);
    }
    if (m_spec.startup == u"centerScreen"_s) {
        if (QScreen *screen = m_form->screen()) {
            const QRect area = screen->availableGeometry();
            m_form->move(area.center() - QPoint(m_form->width() / 2, m_form->height() / 2));
        }
    }
}

QWidget *Builder::container(const ControlSpec &c)
{
    if (c.in.isEmpty() || c.in == m_spec.name || c.in == m_form->objectName())
        return m_form;
    if (auto *w = qobject_cast<QWidget *>(m_objects.value(c.in)))
        return w;
    problem(u"%1: kap %2 bulunamadı; pencereye kondu"_s.arg(c.name, c.in));
    return m_form;
}

QButtonGroup *Builder::group(QWidget *parent, const QString &name)
{
    const auto key = qMakePair(parent, name);
    QButtonGroup *g = m_groups.value(key);
    if (!g) {
        g = new QButtonGroup(parent);
        g->setObjectName(name);
        g->setExclusive(true);
        m_groups.insert(key, g);
    }
    return g;
}

QObject *Builder::create(const ControlSpec &c, QWidget *parent)
{
    const QJsonObject &p = c.props;
    if (c.kind == u"timer"_s) {
        auto *t = new QTimer(m_form);
        t->setInterval(std::max(0, number(p.value(u"interval"_s), 0)));
        if (truthy(p.value(u"enabled"_s), true) && t->interval() > 0)
            t->start();
        return t;
    }
    if (c.kind == u"data"_s) {
        auto *d = new db::DataControl(m_form);
        d->setRecordSource(p.value(u"recordSource"_s).toString());
        d->setDatabaseName(p.value(u"databaseName"_s).toString());
        d->setReadOnly(truthy(p.value(u"readOnly"_s), false));
        d->setCaption(c.caption);
        return d;
    }
    if (c.kind == u"imagelist"_s) {
        auto *list = new ImageList(m_form);
        const QJsonArray size = p.value(u"size"_s).toArray();
        if (size.size() == 2)
            list->setImageSize(QSize(size.at(0).toInt(16), size.at(1).toInt(16)));
        const QJsonArray items = p.value(u"items"_s).toArray();
        for (const QJsonValue &v : items) {
            const QJsonObject item = v.toObject();
            const QString path = v.isString() ? v.toString() : item.value(u"picture"_s).toString();
            const QPixmap pm(path);
            if (pm.isNull())
                problem(u"%1: resim %2 yüklenemedi"_s.arg(c.name, path));
            try {
                list->add(pm, item.value(u"key"_s).toString());
            } catch (const db::Error &e) {
                problem(u"%1: %2"_s.arg(c.name, e.description()));
            }
        }
        return list;
    }
    return createWidget(c, parent);
}

QWidget *Builder::createWidget(const ControlSpec &c, QWidget *parent)
{
    const QJsonObject &p = c.props;
    const QString &kind = c.kind;
    if (kind == u"frame"_s)
        return new QGroupBox(c.caption, parent);
    if (kind == u"label"_s) {
        auto *l = new QLabel(c.caption, parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        const bool centred = p.value(u"alignment"_s).toString() == u"center"_s;
        l->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        if (number(p.value(u"borderStyle"_s), 0) == 1)
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
        return l;
    }
    if (kind == u"textbox"_s) {
        if (truthy(p.value(u"multiLine"_s), false)) {
            auto *e = new FieldTextEdit(parent);
            e->setPlainText(p.value(u"text"_s).toString());
            return e;
        }
        auto *e = new QLineEdit(parent);
        e->setText(p.value(u"text"_s).toString());
        return e;
    }
    if (kind == u"checkbox"_s) {
        auto *b = new QCheckBox(c.caption, parent);
        const int v = number(p.value(u"value"_s), 0);
        b->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        return b;
    }
    if (kind == u"option"_s) {
        auto *b = new QRadioButton(c.caption, parent);
        if (p.contains(u"group"_s))
            group(parent, p.value(u"group"_s).toString())->addButton(b);
        b->setChecked(truthy(p.value(u"value"_s), false));
        return b;
    }
    if (kind == u"combo"_s) {
        auto *b = new DropDownCombo(parent);
        const QString style = p.value(u"style"_s).toString();
        b->setEditable(style != u"dropdownList"_s);
        for (const QJsonValue &v : p.value(u"items"_s).toArray())
            b->addItem(v.toString());
        if (b->isEditable())
            b->setEditText(p.value(u"text"_s).toString());
        return b;
    }
    if (kind == u"picture"_s) {
        auto *l = new PictureBox(parent);
        const QString path = p.value(u"picture"_s).toString();
        if (!path.isEmpty()) {
            const QPixmap pm(path);
            if (pm.isNull())
                problem(u"%1: resim %2 yüklenemedi"_s.arg(c.name, path));
            l->setPicture(pm);
        }
        return l;
    }
    if (kind == u"hscroll"_s) {
        auto *s = new RecordScrollBar(parent);
        s->setRange(number(p.value(u"min"_s), s->minimum()), number(p.value(u"max"_s), s->maximum()));
        s->setValue(number(p.value(u"value"_s), s->value()));
        return s;
    }
    if (kind == u"tree"_s)
        return new TreeView(parent);
    if (kind == u"statusbar"_s) {
        auto *s = new StatusBar(parent);
        s->applySettings(c.settings);
        return s;
    }
    if (const auto it = registry().constFind(kind); it != registry().constEnd()) {
        QWidget *w = (*it)(c, parent);
        if (!w) {
            problem(u"%1: %2 türü denetim yapamadı"_s.arg(c.name, kind));
            return nullptr;
        }
        if (w->parentWidget() != parent)
            w->setParent(parent);
        return w;
    }
    problem(u"%1: bilinmeyen tür %2"_s.arg(c.name, kind));
    return nullptr;
}

void Builder::applyColors(const ControlSpec &c, QWidget *w)
{
    const bool textBox = qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
    QPalette pal = w->palette();
    bool changed = false;
    if (!c.foreColor.isEmpty()) {
        const QColor fore = oleColor(c.foreColor);
        if (fore.isValid()) {
            // Disabled controls keep the platform's grey text.
            for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
                for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                    pal.setColor(g, r, fore);
            }
            changed = true;
        } else {
            problem(u"%1: okunamayan renk %2"_s.arg(c.name, c.foreColor));
        }
    } else if (w->parentWidget() != m_form) {
        // A container's text colour is for its own caption, not for what lies in it.
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                pal.setColor(g, r, m_basePalette.color(g, r));
        }
        changed = true;
    }
    if (!c.backColor.isEmpty()) {
        const QColor back = oleColor(c.backColor);
        if (back.isValid()) {
            pal.setColor(textBox ? QPalette::Base : QPalette::Window, back);
            if (!textBox)
                pal.setColor(QPalette::Button, back);
            changed = true;
            if (!textBox && !truthy(c.props.value(u"transparent"_s), false))
                w->setAutoFillBackground(true);
        } else {
            problem(u"%1: okunamayan renk %2"_s.arg(c.name, c.backColor));
        }
    }
    if (changed)
        w->setPalette(pal);
}

void Builder::applyTextBox(const ControlSpec &c, QWidget *w)
{
    const QJsonObject &p = c.props;
    const bool locked = truthy(p.value(u"locked"_s), false);
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setReadOnly(locked);
        const int max = number(p.value(u"maxLength"_s), 0);
        if (max > 0)
            e->setMaxLength(max);
        return;
    }
    auto *e = qobject_cast<QPlainTextEdit *>(w);
    if (!e)
        return;
    const QString bars = p.value(u"scrollBars"_s).toString();
    const bool vertical = bars == u"vertical"_s || bars == u"both"_s;
    const bool horizontal = bars == u"horizontal"_s || bars == u"both"_s;
    e->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // With a horizontal bar the lines run on; otherwise they wrap at the box's width.
    e->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    e->setTabChangesFocus(true);
    if (locked) {
        e->setReadOnly(true);
        e->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

void Builder::applyCommon(const ControlSpec &c, QWidget *w, QWidget *parent)
{
    const QJsonObject &p = c.props;
    w->setObjectName(c.name);
    w->setGeometry(c.pixels());
    if (!c.font.isEmpty())
        w->setFont(fontFrom(c.font, m_baseFont));
    else if (parent != m_form)
        w->setFont(explicitFont(m_baseFont));
    applyColors(c, w);
    if (c.kind == u"textbox"_s)
        applyTextBox(c, w);
    if (p.contains(u"toolTip"_s))
        w->setToolTip(p.value(u"toolTip"_s).toString());
    if (p.contains(u"accessibleName"_s)) {
        w->setAccessibleName(p.value(u"accessibleName"_s).toString());
        // The tree a screen reader meets is the one inside the wrapper.
        if (auto *tree = qobject_cast<TreeView *>(w))
            tree->treeWidget()->setAccessibleName(w->accessibleName());
    }
    if (p.contains(u"enabled"_s))
        w->setEnabled(truthy(p.value(u"enabled"_s), true));
    if (truthy(p.value(u"transparent"_s), false))
        w->setAutoFillBackground(false);
    if (auto *bar = qobject_cast<StatusBar *>(w))
        bar->setAlignBottom(truthy(p.value(u"alignBottom"_s), false));

    if (!truthy(p.value(u"visible"_s), true))
        w->hide();
    else if (parent->isVisible())
        w->show();

    if (c.tab >= 0)
        m_tabs.push_back({c.tab, w});
    else
        m_untabbed.push_back(w);
}

void Builder::bindAll()
{
    for (const ControlSpec &c : m_spec.controls) {
        auto *w = qobject_cast<QWidget *>(m_objects.value(c.name));
        if (!w)
            continue;
        if (c.kind == u"tree"_s && c.props.contains(u"imageList"_s)) {
            auto *list = qobject_cast<ImageList *>(m_objects.value(c.props.value(u"imageList"_s).toString()));
            if (list)
                static_cast<TreeView *>(w)->setImageList(list);
            else
                problem(u"%1: resim listesi %2 yok"_s.arg(c.name, c.props.value(u"imageList"_s).toString()));
        }
        const QString source = c.props.value(u"dataSource"_s).toString();
        const QString field = c.props.value(u"dataField"_s).toString();
        if (source.isEmpty() || field.isEmpty())
            continue;
        auto *data = qobject_cast<db::DataControl *>(m_objects.value(source));
        if (!data) {
            problem(u"%1: veri denetimi %2 yok"_s.arg(c.name, source));
            continue;
        }
        if (auto *e = qobject_cast<QLineEdit *>(w))
            (new BoundLineEdit(e, field))->bindTo(data);
        else if (auto *e = qobject_cast<QPlainTextEdit *>(w))
            (new BoundTextEdit(e, field))->bindTo(data);
        else
            problem(u"%1: bağlanamayan denetim"_s.arg(c.name));
    }
}

void Builder::chainTabs()
{
    std::stable_sort(m_tabs.begin(), m_tabs.end(), [](const Tab &a, const Tab &b) { return a.tab < b.tab; });
    QWidget *previous = nullptr;
    for (const Tab &t : m_tabs) {
        if (!(t.widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, t.widget);
        previous = t.widget;
    }
    for (QWidget *w : m_untabbed)
        w->setFocusPolicy(Qt::FocusPolicy(w->focusPolicy() & ~Qt::TabFocus));
}

void Builder::run()
{
    applyForm();
    m_baseFont = m_form->font();
    m_basePalette = m_form->palette();
    for (const ControlSpec &c : m_spec.controls) {
        if (m_objects.contains(c.name)) {
            problem(u"%1: bu ad iki kez var"_s.arg(c.name));
            continue;
        }
        QWidget *parent = container(c);
        QObject *o = create(c, parent);
        if (!o)
            continue;
        o->setObjectName(c.name);
        m_objects.insert(c.name, o);
        if (auto *w = qobject_cast<QWidget *>(o))
            applyCommon(c, w, parent);
    }
    bindAll();
    chainTabs();
}

} // namespace

void FormLoader::registerKind(const QString &kind, Factory factory)
{
    registry().insert(kind, std::move(factory));
}

void FormLoader::unregisterKind(const QString &kind)
{
    registry().remove(kind);
}

bool FormLoader::hasKind(const QString &kind)
{
    return registry().contains(kind);
}

FormSpec FormLoader::load(const QString &path, QWidget *form)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        FormSpec spec;
        spec.problems << u"%1 açılamadı: %2"_s.arg(path, file.errorString());
        qWarning("Form %s: %s", qUtf8Printable(path), qUtf8Printable(spec.problems.constLast()));
        return spec;
    }
    return loadData(file.readAll(), form);
}

FormSpec FormLoader::loadData(const QByteArray &json, QWidget *form)
{
    FormSpec spec = FormSpec::parse(json);
    if (!spec.valid) {
        qWarning("Form: %s", qUtf8Printable(spec.problems.join(u"; "_s)));
        return spec;
    }
    for (const QString &p : std::as_const(spec.problems))
        qWarning("Form %s: %s", qUtf8Printable(spec.name), qUtf8Printable(p));
    if (form)
        build(spec, form);
    return spec;
}

void FormLoader::build(FormSpec &spec, QWidget *form)
{
    Builder(spec, form).run();
}

QFont FormLoader::font(const QJsonObject &o, const QFont &base)
{
    return fontFrom(o, base);
}
