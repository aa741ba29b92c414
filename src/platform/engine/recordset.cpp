#include "recordset.h"
#include "database.h"
#include "engineinternal.h"
#include "recordsetimpl.h"
#include "sqltokens.h"
#include "statement.h"
#include "turkish.h"

#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace db {

namespace {

// Rows larger than this together are fetched one by one instead.
constexpr qsizetype kPrefetchBudget = 4 * 1024 * 1024;

} // namespace

void Recordset::Impl::readColumns(Statement &st, int first)
{
    fields.clear();
    columns.clear();
    for (int i = first; i < st.columnCount(); ++i) {
        fields << st.columnName(i);
        const bool own = keyset && turkish::equal(st.tableName(i), plan.table);
        columns << (own ? st.originName(i) : QString());
    }
}

void Recordset::Impl::loadKeys(bool readFields)
{
    auto fresh = std::make_shared<Keyset>();
    fresh->valuesGeneration = internal::writeGeneration();
    std::unique_ptr<Statement> lent = db->lend(plan.keysSql);
    Statement &st = *lent;
    st.bindAll(parameters);
    if (readFields)
        readColumns(st, 1);
    const int width = st.columnCount() - 1;
    fresh->width = size_t(std::max(width, 0));
    bool prefetch = width > 0;
    qsizetype bytes = 0;
    while (st.step()) {
        fresh->keys.push_back(st.int64(0));
        if (!prefetch)
            continue;
        for (int i = 1; i <= width; ++i) {
            QByteArray stored;
            QVariant v = st.value(i, &stored);
            if (!stored.isEmpty())
                fresh->bytes.insert(fresh->values.size(), std::move(stored));
            if (v.typeId() == QMetaType::QString)
                bytes += v.toString().size() * 2;
            fresh->values.push_back(std::move(v));
        }
        bytes += 16 * width;
        if (bytes > kPrefetchBudget) {
            prefetch = false;
            fresh->values.clear();
            fresh->values.shrink_to_fit();
            fresh->bytes.clear();
        }
    }
    db->giveBack(plan.keysSql, std::move(lent));
    if (width <= 0) // a whole table, read in no order
        std::sort(fresh->keys.begin(), fresh->keys.end());
    if (!prefetch) {
        fresh->values.clear();
        fresh->bytes.clear();
    }
    keys = std::move(fresh);
    keysVersion = keys->version;
}

void Recordset::Impl::load()
{
    const QString trimmed = source.trimmed();
    // A SELECT text is no name; only other texts are looked at closer.
    const bool select = trimmed.startsWith(u"SELECT"_s, Qt::CaseInsensitive) && trimmed.size() > 6
                        && trimmed.at(6).isSpace();
    const sql::Tokens t = select ? sql::Tokens() : sql::tokenize(trimmed);
    const size_t first = sql::nextSignificant(t, 0);
    const bool single = first < t.size() && sql::nextSignificant(t, first + 1) >= t.size()
                        && (t[first].kind == sql::Token::Word || t[first].kind == sql::Token::Bracketed);
    if (single && !t[first].is("SELECT"_L1)) {
        if (!parameters.isEmpty())
            throw Error::make(InvalidArgument, QString::number(parameters.size()));
        const QString name = db->canonicalName(t[first].name());
        switch (db->objectType(name)) {
        case internal::ObjectType::None:
            throw Error::make(ObjectNotFound, t[first].name());
        case internal::ObjectType::Table: {
            keyset = true;
            plan.table = name;
            // Without an order the engine may read the row ids from the smallest index
            // instead of every page of the table; they are put in order here.
            plan.keysSql = u"SELECT rowid FROM "_s + sql::quoteIdentifier(name);
            plan.rowSql = u"SELECT * FROM "_s + sql::quoteIdentifier(name) + u" WHERE rowid = ?1"_s;
            Statement st(*db, plan.rowSql);
            readColumns(st);
            loadKeys();
            return;
        }
        case internal::ObjectType::View: {
            Statement st(*db, u"SELECT * FROM "_s + sql::quoteIdentifier(name));
            readColumns(st);
            auto all = std::make_shared<Rows>();
            while (st.step()) {
                QVariantList r;
                for (int i = 0; i < st.columnCount(); ++i)
                    r << st.value(i);
                all->push_back(std::move(r));
            }
            rows = std::move(all);
            return;
        }
        }
    }

    const QString translated = db->translate(source);
    if (!select) {
        const QString keyword = sql::firstKeyword(sql::tokenize(translated));
        if (keyword != u"SELECT"_s && keyword != u"WITH"_s && keyword != u"VALUES"_s)
            throw Error::make(InvalidOperation, source);
    }
    internal::Plan p;
    if (!db->knownPlan(translated, !parameters.isEmpty(), &p)) {
        // A text that writes (WITH ... DELETE) is refused before any of it runs; a
        // remembered plan was checked when it was made.
        if (!Statement(*db, translated).readOnly())
            throw Error::make(InvalidOperation, source);
        p = internal::planKeyset(*db, translated, !parameters.isEmpty());
        db->keepPlan(translated, !parameters.isEmpty(), p);
    }
    if (p) {
        try {
            keyset = true;
            plan = *p;
            loadKeys(true);
            return;
        } catch (const Error &) {
            // An unusual statement the keyset form does not take (or a faulty one, whose
            // own error comes next): read it whole.
            keyset = false;
        }
    }
    Statement st(*db, translated);
    st.bindAll(parameters);
    readColumns(st);
    auto all = std::make_shared<Rows>();
    while (st.step()) {
        QVariantList r;
        for (int i = 0; i < st.columnCount(); ++i)
            r << st.value(i);
        all->push_back(std::move(r));
    }
    rows = std::move(all);
}

void Recordset::Impl::standOnFirst()
{
    mode = EditMode::None;
    pending.clear();
    read.valid = false;
    rowGeneration = ~quint64(0);
    if (count() == 0) {
        state = State::Eof;
        pos = 0;
    } else {
        state = State::OnRecord;
        pos = 0;
        key = keyset ? keys->keys[0] : 0;
    }
}

// Another recordset sharing the keyset may have added or deleted rows.
void Recordset::Impl::sync()
{
    if (!keyset || keysVersion == keys->version)
        return;
    keysVersion = keys->version;
    const auto &k = keys->keys;
    if (state == State::Eof) {
        pos = int(k.size());
    } else if (state == State::OnRecord) {
        const auto it = std::find(k.begin(), k.end(), key);
        if (it != k.end()) {
            pos = int(it - k.begin());
        } else {
            state = State::Deleted;
            read.valid = false;
            pos = std::min(pos, int(k.size()));
        }
    } else if (state == State::Deleted) {
        pos = std::min(pos, int(k.size()));
    }
}

void Recordset::Impl::requireCurrent()
{
    sync();
    if (state != State::OnRecord)
        throw Error::make(NoCurrentRecord);
}

int Recordset::Impl::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) { // most callers spell it as the schema does
        if (fields[i] == name)
            return i;
    }
    for (int i = 0; i < fields.size(); ++i) {
        if (turkish::equal(fields[i], name))
            return i;
    }
    throw Error::make(ItemNotFound, name);
}

const QVariant *Recordset::Impl::currentRow(bool fresh) const
{
    if (!keyset)
        return (*rows)[size_t(pos)].constData();
    const quint64 generation = internal::writeGeneration();
    if (!fresh && keys->valuesGeneration == generation && size_t(pos) * keys->width < keys->values.size()
        && keys->keys[size_t(pos)] == key) {
        const size_t first = size_t(pos) * keys->width;
        const QVariant *values = keys->values.data() + first;
        if (!read.valid) {
            StoredBytes bytes;
            for (size_t i = 0; i < keys->width && !keys->bytes.isEmpty(); ++i) {
                const auto stored = keys->bytes.constFind(first + i);
                if (stored != keys->bytes.cend())
                    bytes.insert(int(i), *stored);
            }
            takeRead(values, bytes);
        }
        return values;
    }
    if (!fresh && rowKey == key && rowGeneration == generation) {
        if (rowMissing)
            throw Error::make(RecordDeleted);
        takeRead(row.constData(), rowBytes);
        return row.constData();
    }
    if (!rowStatement)
        rowStatement = std::make_unique<Statement>(*db, plan.rowSql);
    Statement &st = *rowStatement;
    st.bind(1, key);
    row.clear();
    rowBytes.clear();
    bool found = false;
    try {
        found = st.step();
        if (found) {
            QByteArray stored;
            for (int i = 0; i < st.columnCount(); ++i) {
                row << st.value(i, &stored);
                if (!stored.isEmpty())
                    rowBytes.insert(i, stored);
            }
        }
    } catch (...) {
        st.reset();
        rowGeneration = ~quint64(0);
        throw;
    }
    st.reset();
    rowKey = key;
    rowGeneration = generation;
    rowMissing = !found;
    if (rowMissing)
        throw Error::make(RecordDeleted);
    takeRead(row.constData(), rowBytes);
    return row.constData();
}

void Recordset::Impl::setPosition(int target)
{
    mode = EditMode::None;
    pending.clear();
    read.valid = false;
    rowGeneration = ~quint64(0);
    const int n = count();
    if (target < 0) {
        state = State::Bof;
        pos = -1;
    } else if (target >= n) {
        state = State::Eof;
        pos = n;
    } else {
        state = State::OnRecord;
        pos = target;
        key = keyset ? keys->keys[size_t(target)] : 0;
    }
}

void Recordset::Impl::moveTo(int target)
{
    if (listener)
        listener->beforeMove();
    sync();
    const State fromState = state;
    const int fromPos = pos;
    const qint64 fromKey = key;
    const EditMode fromMode = mode;
    auto fromPending = pending;
    const Read fromRead = read;
    setPosition(target);
    // The row is read before the move is told: one the file will not give now (a lock, a
    // read error) leaves the record where it was. A row gone elsewhere shows empty.
    if (keyset && state == State::OnRecord) {
        try {
            asRead();
        } catch (const Error &e) {
            if (e.number() != RecordDeleted) {
                state = fromState;
                pos = fromPos;
                key = fromKey;
                mode = fromMode;
                pending = std::move(fromPending);
                read = fromRead;
                throw;
            }
        }
    }
    if (listener)
        listener->afterMove();
}

void Recordset::Impl::checkUpdatable() const
{
    if (!keyset || db->isReadOnly())
        throw Error::make(ReadOnlyDatabase, keyset ? db->name() : source);
}

namespace internal {

std::unique_ptr<Recordset> makeRecordset(std::shared_ptr<Database> db, const QString &source,
                                         const QVariantList &parameters)
{
    auto d = std::make_unique<Recordset::Impl>();
    d->db = std::move(db);
    d->source = source;
    d->parameters = parameters;
    d->load();
    d->standOnFirst();
    return std::make_unique<Recordset>(std::move(d));
}

} // namespace internal

Recordset::Recordset(std::unique_ptr<Impl> impl)
    : d(std::move(impl))
{
}

Recordset::~Recordset() = default;

bool Recordset::eof() const
{
    d->sync();
    return d->count() == 0 || d->state == Impl::State::Eof;
}

bool Recordset::bof() const
{
    d->sync();
    return d->count() == 0 || d->state == Impl::State::Bof;
}

void Recordset::moveFirst()
{
    if (d->count() == 0)
        throw Error::make(NoCurrentRecord);
    d->moveTo(0);
}

void Recordset::moveLast()
{
    if (d->count() == 0)
        throw Error::make(NoCurrentRecord);
    d->moveTo(d->count() - 1);
}

void Recordset::moveNext()
{
    if (eof())
        throw Error::make(NoCurrentRecord);
    // After a delete the record that followed already stands at the position.
    d->moveTo(d->state == Impl::State::Deleted ? d->pos : d->pos + 1);
}

void Recordset::movePrevious()
{
    if (bof())
        throw Error::make(NoCurrentRecord);
    d->moveTo(d->pos - 1);
}

int Recordset::recordCount() const
{
    return d->count();
}

int Recordset::absolutePosition() const
{
    d->sync();
    return d->state == Impl::State::OnRecord ? d->pos : -1;
}

void Recordset::setAbsolutePosition(int pos)
{
    if (pos < 0 || pos >= d->count())
        throw Error::make(InvalidArgument, QString::number(pos));
    d->moveTo(pos);
}

QStringList Recordset::fieldNames() const
{
    return d->fields;
}

bool Recordset::hasField(const QString &name) const
{
    return std::any_of(d->fields.cbegin(), d->fields.cend(), [&](const QString &f) { return turkish::equal(f, name); });
}

QVariant Recordset::field(const QString &name) const
{
    const int i = d->fieldIndex(name);
    if (d->mode != EditMode::None) {
        for (const auto &[index, value] : d->pending) {
            if (index == i)
                return value;
        }
        if (d->mode == EditMode::AddNew)
            return {};
    }
    d->requireCurrent();
    return d->currentRow()[i];
}

bool Recordset::updatable() const
{
    return d->keyset && !d->db->isReadOnly();
}

Recordset::EditMode Recordset::editMode() const
{
    return d->mode;
}

void Recordset::edit()
{
    d->checkUpdatable();
    d->requireCurrent();
    d->asRead(); // a row deleted before it was read cannot be edited
    d->mode = EditMode::Edit;
    d->pending.clear();
}

void Recordset::addNew()
{
    d->checkUpdatable();
    d->mode = EditMode::AddNew;
    d->pending.clear();
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    const int i = d->fieldIndex(name);
    if (d->mode == EditMode::None)
        throw Error::make(InvalidOperation, u"Edit ya da AddNew olmadan alan değeri"_s);
    if (d->columns.value(i).isEmpty())
        throw Error::make(InvalidOperation, name);
    for (auto &[index, v] : d->pending) {
        if (index == i) {
            v = value;
            return;
        }
    }
    d->pending.emplace_back(i, value);
}

void Recordset::update()
{
    if (d->mode == EditMode::None)
        throw Error::make(InvalidOperation, u"Edit ya da AddNew olmadan Update"_s);
    d->checkUpdatable();
    Database &db = *d->db;
    const QString table = sql::quoteIdentifier(d->plan.table);
    if (d->mode == EditMode::Edit) {
        d->requireCurrent();
        if (!d->pending.empty())
            d->writeEdit();
    } else {
        QStringList names, marks;
        for (size_t k = 0; k < d->pending.size(); ++k) {
            names << sql::quoteIdentifier(d->columns.at(d->pending[k].first));
            marks << u'?' + QString::number(k + 1);
        }
        QString text = u"INSERT INTO "_s + table + u" DEFAULT VALUES"_s;
        if (!names.isEmpty())
            text = u"INSERT INTO "_s + table + u" ("_s + names.join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s)
                   + u')';
        Statement st(db, text);
        for (size_t k = 0; k < d->pending.size(); ++k)
            st.bind(int(k + 1), d->pending[k].second);
        st.step();
        db.noteWrite();
        d->sync();
        d->keys->keys.push_back(sqlite3_last_insert_rowid(db.handle()));
        ++d->keys->version;
        d->keysVersion = d->keys->version;
        if (d->state == Impl::State::Eof)
            d->pos = d->count();
    }
    d->mode = EditMode::None;
    d->pending.clear();
}

void Recordset::cancelUpdate()
{
    d->mode = EditMode::None;
    d->pending.clear();
}

QVariant Recordset::fieldAsRead(const QString &name) const
{
    const int i = d->fieldIndex(name);
    d->requireCurrent();
    return d->asRead().values.value(i);
}

void Recordset::readAgain()
{
    d->requireCurrent();
    d->mode = EditMode::None;
    d->pending.clear();
    d->read.valid = false;
    d->rowGeneration = ~quint64(0);
    if (d->keyset) {
        // The rows read ahead may be older than the file: from now on each is read anew.
        d->keys->valuesGeneration = ~quint64(0);
        d->currentRow(true);
    }
}

void Recordset::deleteRecord()
{
    d->checkUpdatable();
    d->requireCurrent();
    d->mode = EditMode::None;
    d->pending.clear();
    d->deleteRow();
    auto &k = d->keys->keys;
    k.erase(k.begin() + d->pos);
    ++d->keys->version;
    d->keysVersion = d->keys->version;
    d->state = Impl::State::Deleted;
}

std::unique_ptr<Recordset> Recordset::clone() const
{
    auto c = std::make_unique<Impl>();
    c->db = d->db;
    c->source = d->source;
    c->parameters = d->parameters;
    c->keyset = d->keyset;
    c->plan = d->plan;
    c->keys = d->keys;
    c->rows = d->rows;
    c->fields = d->fields;
    c->columns = d->columns;
    if (c->keyset)
        c->keysVersion = c->keys->version;
    c->standOnFirst();
    return std::make_unique<Recordset>(std::move(c));
}

void Recordset::findFirst(const QString &criterion)
{
    if (!d->keyset)
        throw Error::make(NotSupported, u"FindFirst"_s);
    QString condition;
    try {
        condition = d->db->translate(criterion);
    } catch (const Error &e) {
        // Reading the file's names may fail too (a lock, a read error): not the criterion's fault.
        if (e.number() != TextAfterStatement)
            throw;
        throw Error::make(ExpressionSyntaxError, e.description());
    }
    QSet<qint64> hits;
    {
        Statement st(*d->db,
                     u"SELECT rowid FROM "_s + sql::quoteIdentifier(d->plan.table) + u" WHERE ("_s + condition + u')',
                     ExpressionSyntaxError);
        while (st.step())
            hits.insert(st.value(0).toLongLong());
    }
    d->sync();
    const auto &k = d->keys->keys;
    for (size_t i = 0; i < k.size(); ++i) {
        if (hits.contains(k[i])) {
            d->noMatch = false;
            d->moveTo(int(i));
            return;
        }
    }
    d->noMatch = true;
}

bool Recordset::noMatch() const
{
    return d->noMatch;
}

Bookmark Recordset::bookmark() const
{
    d->requireCurrent();
    return d->keyset ? d->key : Bookmark(d->pos);
}

void Recordset::setBookmark(Bookmark b)
{
    d->sync();
    int target = -1;
    if (d->keyset) {
        const auto &k = d->keys->keys;
        const auto it = std::find(k.begin(), k.end(), b);
        if (it != k.end())
            target = int(it - k.begin());
    } else if (b >= 0 && b < d->count()) {
        target = int(b);
    }
    if (target < 0)
        throw Error::make(InvalidArgument, QString::number(b));
    d->moveTo(target);
}

void Recordset::requery()
{
    if (d->listener)
        d->listener->beforeMove();
    d->rowStatement.reset();
    if (d->keyset) {
        d->loadKeys();
    } else {
        // A snapshot is read again from its source.
        Impl fresh;
        fresh.db = d->db;
        fresh.source = d->source;
        fresh.parameters = d->parameters;
        fresh.load();
        d->keyset = fresh.keyset;
        d->plan = fresh.plan;
        d->keys = fresh.keys;
        d->rows = fresh.rows;
        d->fields = fresh.fields;
        d->columns = fresh.columns;
        if (d->keyset)
            d->keysVersion = d->keys->version;
    }
    d->standOnFirst();
    d->noMatch = false;
    if (d->listener)
        d->listener->afterMove();
}

void Recordset::setMoveListener(MoveListener *l)
{
    d->listener = l;
}

const std::shared_ptr<Database> &Recordset::database() const
{
    return d->db;
}

const QString &Recordset::source() const
{
    return d->source;
}

} // namespace db
