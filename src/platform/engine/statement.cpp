#include "statement.h"
#include "database.h"
#include "sqltext.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace db {

Statement::Statement(const Database &db, const QString &sql, int syntaxError)
    : m_db(db)
{
    const QByteArray utf8 = withoutLoneSurrogates(sql).toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc == SQLITE_OK && m_stmt)
        return;
    const QString message = QString::fromUtf8(sqlite3_errmsg(db.handle()));
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    if (rc != SQLITE_OK && (rc & 0xff) != SQLITE_ERROR)
        db.raise(rc);
    const QString missing = u"no such table: "_s;
    if (message.startsWith(missing)) {
        QString name = message.mid(missing.size());
        if (name.startsWith(u"main."_s))
            name = name.mid(5);
        throw Error::make(ObjectNotFound, name);
    }
    if (!m_stmt && rc == SQLITE_OK) // nothing but blanks or comments
        throw Error::make(syntaxError, u"boş deyim"_s);
    throw Error::make(syntaxError, message);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant &v)
{
    int rc;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = withoutLoneSurrogates(v.toString()).toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
        }
        }
    }
    if (rc != SQLITE_OK)
        m_db.raise(rc);
}

void Statement::bindText(int index, const QByteArray &bytes)
{
    const int rc = sqlite3_bind_text64(m_stmt, index, bytes.isNull() ? "" : bytes.constData(),
                                       sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK)
        m_db.raise(rc);
}

void Statement::bindAll(const QVariantList &values)
{
    const int expected = sqlite3_bind_parameter_count(m_stmt);
    if (expected > values.size())
        throw Error::make(TooFewParameters, QString::number(expected));
    if (expected < values.size())
        throw Error::make(InvalidArgument, QString::number(values.size()));
    for (int i = 0; i < expected; ++i)
        bind(i + 1, values.at(i));
}

qint64 Statement::int64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int code = sqlite3_extended_errcode(m_db.handle());
    sqlite3_reset(m_stmt);
    m_db.raise(code);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QString Statement::originName(int i) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_stmt, i));
}

QString Statement::tableName(int i) const
{
    return QString::fromUtf8(sqlite3_column_table_name(m_stmt, i));
}

QVariant Statement::value(int i) const
{
    return toVariant(m_stmt, i);
}

QVariant Statement::value(int i, QByteArray *bytes) const
{
    return toVariant(m_stmt, i, bytes);
}

bool Statement::readOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

QVariant Statement::toVariant(sqlite3_stmt *stmt, int i, QByteArray *bytes)
{
    if (bytes)
        bytes->clear();
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT: {
        const QByteArrayView stored(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                    sqlite3_column_bytes(stmt, i));
        QString text = QString::fromUtf8(stored);
        // A leading byte order mark is part of the value; fromUtf8 drops it.
        if (stored.startsWith("\xEF\xBB\xBF"))
            text.prepend(QChar(0xFEFF));
        // Invalid bytes read as U+FFFD; a true U+FFFD gives its own bytes back.
        if (bytes && text.contains(QChar::ReplacementCharacter) && text.toUtf8() != stored)
            *bytes = stored.toByteArray();
        return QVariant(std::move(text));
    }
    case SQLITE_BLOB:
        return QVariant(
            QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i)));
    default:
        return QVariant();
    }
}

} // namespace db
