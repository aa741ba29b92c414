#pragma once

#include "dberror.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {

class Database;

// Told before and after every move of a recordset; the data control listens so that
// moves through its recordset move the control. beforeMove may throw to refuse.
class MoveListener {
public:
    virtual ~MoveListener() = default;
    virtual void beforeMove() = 0;
    virtual void afterMove() = 0;
};

using Bookmark = qint64;

// A recordset on a table, a stored query or a SELECT text. A SELECT on one table is
// updatable and sees later changes to its rows (a keyset of row ids); any other is a
// read-only snapshot. A recordset that has rows stands on its first after opening.
// Null field values are null QVariants; every failure throws db::Error.
class Recordset {
public:
    enum class EditMode { None, Edit, AddNew };

    ~Recordset();

    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    int recordCount() const;
    // 0-based position of the current record, -1 when there is none.
    int absolutePosition() const;
    void setAbsolutePosition(int pos); // InvalidArgument outside 0..count-1

    QStringList fieldNames() const;
    bool hasField(const QString &name) const;
    // By name, without regard to case (Turkish letters included); ItemNotFound.
    QVariant field(const QString &name) const;
    QString text(const QString &name) const { return field(name).toString(); }
    // The field as first read after the move; this program's own writes since count as read.
    QVariant fieldAsRead(const QString &name) const;

    bool updatable() const;
    EditMode editMode() const;
    void edit();
    void addNew();
    void setField(const QString &name, const QVariant &value);
    // Stores the edit or the new row; DuplicateKey, ReadOnlyDatabase... The edit stays
    // pending after a failure until cancelUpdate.
    // The edit is written only while the row still holds what was first read of it after
    // the move (changes this process made since count as read): WriteConflict, else
    // RecordDeleted when the row is gone.
    void update();
    void cancelUpdate();
    // Drops the edit and reads the current record from the file again: what it holds now
    // counts as read. RecordDeleted when it is gone.
    void readAgain();
    // Deletes the current record, under the same check as update; the recordset then has
    // no current record until a move.
    void deleteRecord();

    std::unique_ptr<Recordset> clone() const;
    // Criterion in the program's dialect, e.g. "[Başlık] = 'x'"; ExpressionSyntaxError.
    void findFirst(const QString &criterion);
    bool noMatch() const;
    Bookmark bookmark() const;    // NoCurrentRecord
    void setBookmark(Bookmark b); // moves there; InvalidArgument when unknown

    // Reopens the source and stands on the first record.
    void requery();

    // Moves run through the listener (the data control); nullptr to detach.
    void setMoveListener(MoveListener *l);

    const std::shared_ptr<Database> &database() const;
    const QString &source() const;

    struct Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> d;
};

} // namespace db
