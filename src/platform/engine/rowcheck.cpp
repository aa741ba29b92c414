// A record is written or deleted only while the file's row still holds it as it was read.
#include "database.h"
#include "recordsetimpl.h"
#include "sqltokens.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace db {

void Recordset::Impl::takeRead(const QVariant *values, const StoredBytes &bytes) const
{
    if (read.valid)
        return;
    read.values = QVariantList(values, values + fields.size());
    read.bytes = bytes;
    read.ownWrites = internal::rowWrites(db->handle(), plan.table, key);
    read.valid = true;
}

// A row that only this program changed since it was read is read again: its own writes
// (the credits pass, a save) are taken as read, anyone else's are not.
const Recordset::Impl::Read &Recordset::Impl::asRead()
{
    const bool ownWrite = read.valid && read.ownWrites != internal::rowWrites(db->handle(), plan.table, key);
    if (ownWrite)
        read.valid = false;
    if (!read.valid)
        currentRow(ownWrite);
    return read;
}

// "column IS value AND ..." over the row as read, compared exactly (case, type and bytes):
// a file copied over the open one may have put another song under the same row id.
QString Recordset::Impl::rowCheck(QVariantList &values, QSet<qsizetype> &storedTexts) const
{
    QStringList checks;
    for (qsizetype i = 0; i < read.values.size(); ++i) {
        if (columns.at(i).isEmpty())
            continue;
        const auto stored = read.bytes.constFind(int(i));
        if (stored != read.bytes.cend()) {
            storedTexts.insert(values.size());
            values << *stored;
        } else {
            values << read.values.at(i);
        }
        checks << sql::quoteIdentifier(columns.at(i)) + u" IS ?"_s + QString::number(values.size())
                      + u" COLLATE BINARY"_s;
    }
    return checks.join(u" AND "_s);
}

namespace {

// Binds the values of a row write; the stored bytes of a text go as text.
void bindRowWrite(Statement &st, const QVariantList &values, const QSet<qsizetype> &storedTexts)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (storedTexts.contains(i))
            st.bindText(int(i + 1), values.at(i).toByteArray());
        else
            st.bind(int(i + 1), values.at(i));
    }
}

} // namespace

void Recordset::Impl::failedRowWrite() const
{
    Statement there(*db, u"SELECT 1 FROM "_s + sql::quoteIdentifier(plan.table) + u" WHERE rowid = ?1"_s);
    there.bind(1, key);
    if (!there.step())
        throw Error::make(RecordDeleted);
    throw Error::make(WriteConflict, db->name());
}

void Recordset::Impl::writeEdit()
{
    asRead();
    QStringList sets;
    QVariantList values;
    for (const auto &[index, value] : pending) {
        values << value;
        sets << sql::quoteIdentifier(columns.at(index)) + u" = ?"_s + QString::number(values.size());
    }
    values << key;
    const QString keyMark = u'?' + QString::number(values.size());
    QSet<qsizetype> storedTexts;
    const QString checks = rowCheck(values, storedTexts);
    Statement st(*db, u"UPDATE "_s + sql::quoteIdentifier(plan.table) + u" SET "_s + sets.join(u", "_s)
                          + u" WHERE rowid = "_s + keyMark + (checks.isEmpty() ? QString() : u" AND "_s + checks));
    bindRowWrite(st, values, storedTexts);
    st.step();
    if (sqlite3_changes(db->handle()) == 0)
        failedRowWrite();
    db->noteWrite();
}

void Recordset::Impl::deleteRow()
{
    asRead();
    QVariantList values{key};
    QSet<qsizetype> storedTexts;
    const QString checks = rowCheck(values, storedTexts);
    Statement st(*db, u"DELETE FROM "_s + sql::quoteIdentifier(plan.table) + u" WHERE rowid = ?1"_s
                          + (checks.isEmpty() ? QString() : u" AND "_s + checks));
    bindRowWrite(st, values, storedTexts);
    st.step();
    if (sqlite3_changes(db->handle()) == 0)
        failedRowWrite();
    db->noteWrite();
}

} // namespace db
