#pragma once

#include <QString>
#include <exception>

namespace db {

// Engine error numbers. The program traps failures by these numbers.
enum ErrorNumber : int {
    InvalidArgument = 3001, // a position or value outside what the object takes
    NoCurrentRecord = 3021,
    DuplicateKey = 3022, // an update would duplicate a unique index
    FileNotFound = 3024,
    DiskFull = 3026,
    ReadOnlyDatabase = 3027,
    DiskIoError = 3040, // the system refused a read or a write
    InvalidPath = 3044,
    DatabaseDamaged = 3049, // a file cut short or broken while open
    FileAccessDenied = 3051,
    TooFewParameters = 3061,      // a ? placeholder without its value
    CannotExecuteSelect = 3065,   // Execute given a SELECT
    QuerySyntaxError = 3075,      // a statement the engine cannot read
    ExpressionSyntaxError = 3077, // a criterion the engine cannot read
    ObjectNotFound = 3078,        // table or query missing
    TextAfterStatement = 3142,    // a second statement in one call
    RecordDeleted = 3167,
    WriteConflict = 3197,    // the row changed since it was read; nothing written
    ValidationRule = 3317,   // a value the program's rule for its field refuses
    InvalidOperation = 3219, // an action statement where a recordset is asked for
    NotSupported = 3251,
    ItemNotFound = 3265,       // field name not in the recordset
    UnrecognizedFormat = 3343, // not a database at all
    MoveCancelled = 3426,      // a bound control could not save its record
    Locked = 3218,             // another program holds the file's lock
    NoJournal = 3050,          // the folder takes no journal, so nothing can be written
    JournalToRecover = 3045,   // a journal left beside a file that cannot be written
    ValueTooBig = 3163,        // a text, value or result beyond the engine's limit
    NotAuthorized = 3033,      // a function or statement the connection does not allow
    Interrupted = 3059,        // the statement was stopped while it ran
    OutOfMemory = 3035,
    EngineFailure = 3000, // anything else the engine reports
};

// A failed engine operation: its number and a Turkish description.
class Error : public std::exception {
public:
    Error(int number, QString description, int causeNumber = 0, QString causeDescription = {});

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    // For MoveCancelled: the failure that refused the save.
    int causeNumber() const { return m_causeNumber; }
    const QString &causeDescription() const { return m_causeDescription; }

    const char *what() const noexcept override { return m_utf8.constData(); }

    // The standard description of a number, %1 filled with arg when given.
    static QString describe(int number, const QString &arg = {});
    static Error make(int number, const QString &arg = {}) { return Error(number, describe(number, arg)); }

private:
    int m_number;
    QString m_description;
    int m_causeNumber;
    QString m_causeDescription;
    QByteArray m_utf8;
};

} // namespace db
