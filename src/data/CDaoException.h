#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <exception>
#include <string>

struct sqlite3;
struct pg_conn;
struct pg_result;

// A database error: a description for the user (German where we can say it better than the
// engine) and the error number by which callers tell errors apart.
class CDaoException : public std::exception {
public:
    // Error numbers callers test for.
    enum Code {
        NoCurrentRecord = 3021,
        DuplicateKey = 3022,
        CannotOpen = 3024,
        LoginFailed = 3029,
        DiskFull = 3026,
        ReadOnly = 3027,
        IoError = 3043,
        Corrupt = 3049,
        UnknownField = 3070,
        FilterSyntax = 3075,
        FieldTooSmall = 3163,
        RecordDeleted = 3167,
        RowChanged = 3197,
        Locked = 3218,
        Required = 3314,
        NotADatabase = 3343,
        NumericOverflow = 3349,
        UpdateWithoutEdit = 3020,
        ConversionError = 3421,
        TypeMismatch = 3464,
        ConnectionLost = 3151,
        EngineError = 3000,
    };

    CDaoException(int code, QString description, int engineCode = 0);

    int code() const { return m_code; }
    // The error number as the platform's exceptions carried it, 0x800A0000 | code.
    long scode() const { return 0x800A0000L | m_code; }
    const QString& description() const { return m_description; }
    // SQLite's extended result code, or on a server the SQLSTATE packed as PostgreSQL packs it
    // (6 bits a character); 0 for errors found by this program itself.
    int engineCode() const { return m_engineCode; }
    bool isDuplicateKey() const { return m_code == DuplicateKey; }

    // An edit refused because the row no longer holds what was read (code RowChanged): the
    // table, the columns stored differently now than read, and the columns the edit changes.
    static CDaoException rowChanged(const QString& table, const QStringList& changedColumns,
                                    const QStringList& ownColumns);
    const QString& table() const { return m_table; }
    const QStringList& changedColumns() const { return m_changedColumns; }
    const QStringList& ownColumns() const { return m_ownColumns; }
    // On a server: who saved the row last and when (local time); empty and invalid on a file.
    const QString& changedBy() const { return m_changedBy; }
    const QDateTime& changedAt() const { return m_changedAt; }
    void setChangedBy(const QString& who, const QDateTime& when);
    // " von <who> (dd.MM.yyyy HH:mm)" for the sentence "wurde inzwischen … geändert"; empty
    // when nobody is known.
    QString changedByText() const;

    const char* what() const noexcept override { return m_what.c_str(); }

    // Builds the exception for a failed SQLite call on this connection. The file name names the
    // database in messages where the connection does not know it (a failed open).
    static CDaoException fromSqlite(sqlite3* db, int resultCode,
                                    const QString& fileName = QString());
    // The same for a failed statement on a PostgreSQL server (result may be null when the
    // connection broke before any result came).
    static CDaoException fromServer(const pg_conn* connection, const pg_result* result);
    // A connection to the server that could not be made; `shownName` names the server without
    // any password.
    static CDaoException fromServerConnect(const pg_conn* connection, const QString& shownName);
    // The lost connection to the server (code ConnectionLost); its description is
    // connectionLostText().
    static CDaoException connectionLost(int engineCode = 0);
    static QString connectionLostText();

    // The refusal of a value by the check named "<type>_<column>", in the user's words.
    static CDaoException checkFailure(const QString& checkName, const QString& engineText,
                                      int engineCode);
    // A unique key that refused a second row with the same values in these columns.
    static CDaoException duplicateKey(const QStringList& columns, int engineCode);

private:
    int m_code;
    QString m_description;
    int m_engineCode;
    std::string m_what;
    QString m_table;
    QStringList m_changedColumns;
    QStringList m_ownColumns;
    QString m_changedBy;
    QDateTime m_changedAt;
};
