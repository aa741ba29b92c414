#pragma once

// What a recordset holds, for the files that make up its implementation.
#include "engineinternal.h"
#include "recordset.h"
#include "statement.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace db {

struct Recordset::Impl {
    // Row ids of an updatable recordset, shared with its clones.
    struct Keyset {
        std::vector<qint64> keys;
        quint64 version = 0;
        // The rows as read with the keys, while no write has happened since; saves one
        // statement (and one file lock) per row when a recordset is read through once.
        // Row r is values[r * width] onwards.
        std::vector<QVariant> values;
        QHash<size_t, QByteArray> bytes; // by index in values: texts that are not UTF-8, as stored
        size_t width = 0;
        quint64 valuesGeneration = ~quint64(0);
    };

    using Rows = std::vector<QVariantList>;

    // Texts of a row whose bytes are not UTF-8, by field index, as stored.
    using StoredBytes = QHash<int, QByteArray>;

    using KeysetPlan = internal::KeysetPlan;

    enum class State { Bof, Eof, OnRecord, Deleted };

    std::shared_ptr<Database> db;
    QString source;
    QVariantList parameters; // values of the source's ? placeholders

    bool keyset = false;
    KeysetPlan plan;
    std::shared_ptr<Keyset> keys;
    std::shared_ptr<const Rows> rows;
    QStringList fields;
    QStringList columns; // table column behind each field, empty for an expression

    State state = State::Eof;
    int pos = 0;
    qint64 key = 0;
    quint64 keysVersion = 0;

    mutable std::unique_ptr<Statement> rowStatement;
    mutable QVariantList row;
    mutable StoredBytes rowBytes;
    mutable qint64 rowKey = 0;
    mutable quint64 rowGeneration = ~quint64(0);
    mutable bool rowMissing = false;

    EditMode mode = EditMode::None;
    std::vector<std::pair<int, QVariant>> pending;
    // The current record as first read after the move: it is written or deleted only
    // while the file's row still holds exactly this.
    struct Read {
        bool valid = false;
        QVariantList values;
        StoredBytes bytes;
        quint64 ownWrites = 0; // this process's writes to the row, as counted then
    };
    mutable Read read;
    bool noMatch = false;
    MoveListener *listener = nullptr;

    int count() const { return keyset ? int(keys->keys.size()) : int(rows->size()); }

    void load();
    void loadKeys(bool readFields = false);
    void readColumns(Statement &st, int first = 0);
    void standOnFirst();
    void sync();
    void requireCurrent();
    int fieldIndex(const QString &name) const;
    // As many values as fields; fresh: from the file, not from what was read before.
    const QVariant *currentRow(bool fresh = false) const;
    void takeRead(const QVariant *values, const StoredBytes &bytes) const;
    const Read &asRead();
    QString rowCheck(QVariantList &values, QSet<qsizetype> &storedTexts) const;
    void failedRowWrite() const;
    void moveTo(int target);
    void setPosition(int target);
    void checkUpdatable() const;
    void writeEdit();
    void deleteRow();
};

} // namespace db
