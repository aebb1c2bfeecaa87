#include "CDatabase.h"

#include "CDaoException.h"
#include "CRecordset.h"
#include "DatabaseCheck.h"
#include "GermanCollation.h"
#include "JetFilter.h"
#include "PgConnection.h"
#include "Schema.h"
#include "SelectCache.h"
#include "ServerDialect.h"
#include "ServerSchema.h"
#include "SqlText.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CDatabase::CDatabase() = default;

CDatabase::~CDatabase() {
    close();
}

namespace {

// How often open() starts again when the file at the path was replaced while it opened it.
constexpr int kOpenAttempts = 5;

// True when the descriptor refers to the file that is at the path now.
bool isFileAt(int descriptor, const QString& path) {
    struct stat held {};
    struct stat current {};
    return ::fstat(descriptor, &held) == 0 &&
           ::stat(QFile::encodeName(path).constData(), &current) == 0 &&
           held.st_dev == current.st_dev && held.st_ino == current.st_ino;
}

} // namespace

void disableDoubleQuotedStrings(sqlite3* db) {
    // Without this SQLite reads an unknown "Name" as the text 'Name', so a missing column
    // would match every row instead of being reported.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

void CDatabase::open(const QString& path) {
    close();
    if (!QFileInfo::exists(path))
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank %1 wurde nicht gefunden.").arg(path),
                            SQLITE_CANTOPEN);
    for (int attempt = 1; !connect(path); ++attempt) {
        close();
        if (attempt == kOpenAttempts)
            throw CDaoException(CDaoException::Locked,
                                QStringLiteral("Die Datenbank %1 wurde während des Öffnens "
                                               "mehrmals von einem anderen Programm ersetzt. "
                                               "Bitte versuchen Sie es gleich noch einmal.")
                                    .arg(path),
                                SQLITE_BUSY);
    }
    m_statements = std::make_unique<StatementCache>(m_db);
    m_selects = std::make_unique<SelectCache>(*m_statements);
    try {
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_extended_result_codes(m_db, 1);
        disableDoubleQuotedStrings(m_db);
        GermanCollation::install(m_db);
        // Ours and not newer: checked before anything is written, so that an upgrade never
        // touches a file of another program.
        const int version = DatabaseCheck::checkIdentity(m_db, path);
        if (!isReadOnly()) {
            execute("PRAGMA synchronous = FULL");
            if (version < Schema::kVersion)
                Schema::upgrade(*this, version);
        }
        checkSchema();
    } catch (...) {
        close();
        throw;
    }
}

// The shared lock is taken before the connection opens the file, and both must be on the file
// that is at the path afterwards: the exit maintenance of another program replaces the file by
// renaming a compacted copy over it, and may do so at any moment it holds no lock. False when
// that happened meanwhile; the caller closes and starts again.
bool CDatabase::connect(const QString& path) {
    m_useLock = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_useLock >= 0 && ::flock(m_useLock, LOCK_SH | LOCK_NB) != 0) {
        close();
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank %1 wird gerade gewartet. Bitte versuchen "
                                           "Sie es gleich noch einmal.")
                                .arg(path),
                            SQLITE_BUSY);
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        CDaoException error = CDaoException::fromSqlite(db, rc, path);
        sqlite3_close_v2(db);
        close();
        throw error;
    }
    m_db = db;
    m_path = path;
    return m_useLock < 0 || isFileAt(m_useLock, path);
}

// A file of ours has every table with every column this program reads and writes; one that
// lacks any is damaged, and is refused before a form meets the gap.
void CDatabase::checkSchema() {
    DatabaseCheck::checkTables(m_db, m_path);
}

void CDatabase::openServer(const std::string& uri, const QString& user, const QString& password) {
    close();
    auto server = std::make_unique<PgConnection>(uri, user, password);
    const QString shown = server->shownName();
    // Ours and not newer, as a file's header says it.
    const std::string versionTable = ServerSchema::kVersionTable;
    const bool marks = server
                           ->query("SELECT count(*) FROM pg_tables WHERE schemaname = 'public' "
                                   "AND tablename = $1",
                                   {versionTable})
                           .text(0, 0) == "1";
    const PgResult marked =
        marks ? server->query("SELECT \"Anwendung\", \"Version\" FROM \"" + versionTable + "\"")
              : PgResult();
    if (marked.rowCount() != 1 || marked.isNull(0, 0) ||
        std::stoll(std::string(marked.text(0, 0))) != Schema::kApplicationId)
        throw CDaoException(CDaoException::NotADatabase,
                            QStringLiteral("Die Datenbank %1 auf dem Server ist keine "
                                           "Vorlanto-Datenbank.")
                                .arg(shown));
    if (std::stoll(std::string(marked.text(0, 1))) > Schema::kVersion)
        throw CDaoException(CDaoException::NotADatabase,
                            QStringLiteral("Die Datenbank %1 stammt von einer neueren "
                                           "Vorlanto-Version und kann nicht geöffnet werden.")
                                .arg(shown));
    // Asked once here, so that isReadOnly() never needs the server.
    const bool readOnly =
        server->query("SELECT has_table_privilege('\"T_Event\"', 'INSERT')").text(0, 0) != "t";
    m_server = std::move(server);
    m_path = shown;
    m_serverReadOnly = readOnly;
}

namespace {
// Losses of a server connection so far, over every connection of the program.
int losses = 0;
} // namespace

int CDatabase::lossesSoFar() {
    return losses;
}

void CDatabase::noteLoss() {
    if (!m_lost)
        ++losses;
    m_lost = true;
}

PgConnection& CDatabase::liveServer() {
    if (!m_server->isBroken())
        return *m_server;
    noteLoss();
    // Inside a transaction its earlier statements are gone with the connection: it fails as a
    // whole, and the next one connects again.
    if (m_transactionDepth > 0 || !m_server->reconnect())
        throw CDaoException::connectionLost();
    if (m_readOnlySession)
        m_server->execute(SqlText::readOnlySession(dialect()));
    if (m_listening)
        m_server->execute(std::string("LISTEN ") + ServerSchema::kChannel);
    m_lost = false;
    ++m_reconnections;
    return *m_server;
}

template <class Call> auto CDatabase::onServer(Call call) {
    try {
        return call(liveServer());
    } catch (const CDaoException& error) {
        if (error.code() == CDaoException::ConnectionLost)
            noteLoss();
        throw;
    }
}

void CDatabase::setReadOnlySession() {
    execute(SqlText::readOnlySession(dialect()));
    m_readOnlySession = true;
}

PgResult CDatabase::serverQuery(const std::string& sql,
                                const std::vector<std::optional<std::string>>& values, bool writes,
                                const std::vector<unsigned>& types) {
    if (writes)
        beforeWrite();
    const std::string translated = ServerDialect::placeholders(sql);
    // Inside a transaction a refused statement leaves the transaction as it was before it, as
    // the file engine does; the server would otherwise refuse everything after it.
    const bool guarded = writes && m_transactionDepth > 0;
    return onServer([&](PgConnection& server) {
        if (guarded)
            server.execute("SAVEPOINT vorlanto_statement");
        try {
            PgResult result = server.query(translated, values, types);
            if (guarded)
                server.execute("RELEASE SAVEPOINT vorlanto_statement");
            return result;
        } catch (const CDaoException& error) {
            if (guarded && error.code() != CDaoException::ConnectionLost) {
                try {
                    server.execute("ROLLBACK TO SAVEPOINT vorlanto_statement; RELEASE SAVEPOINT "
                                   "vorlanto_statement");
                } catch (const CDaoException&) {
                    // The transaction is gone with the connection; the error says so.
                }
            }
            throw;
        }
    });
}

int CDatabase::watchOthersChanges() {
    if (!m_server)
        return -1;
    return onServer([this](PgConnection& server) {
        server.execute(std::string("LISTEN ") + ServerSchema::kChannel);
        m_listening = true;
        return server.socket();
    });
}

std::vector<CDatabase::SavedChange> CDatabase::takeOthersChanges() {
    std::vector<SavedChange> changes;
    if (!m_server)
        return changes;
    // A broken connection is not connected again here: that is left to the user's next action.
    if (m_server->isBroken()) {
        noteLoss();
        throw CDaoException::connectionLost();
    }
    const std::vector<std::string> payloads =
        onServer([](PgConnection& server) { return server.takeNotifications(false); });
    for (const std::string& payload : payloads) {
        const size_t space = payload.find(' ');
        SavedChange change;
        change.table = payload.substr(0, space);
        if (space != std::string::npos)
            change.key = std::strtoll(payload.c_str() + space + 1, nullptr, 10);
        changes.push_back(std::move(change));
    }
    return changes;
}

void CDatabase::close() {
    while (!m_recordsets.empty())
        m_recordsets.back()->close();
    m_selects.reset();
    m_statements.reset();
    m_server.reset();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    if (m_useLock >= 0) {
        ::close(m_useLock);
        m_useLock = -1;
    }
    m_transactionDepth = 0;
    m_serverReadOnly = false;
    m_readOnlySession = false;
    m_listening = false;
    m_lost = false;
    m_reconnections = 0;
}

bool CDatabase::isReadOnly() const {
    if (m_readOnlySession)
        return true;
    if (m_server)
        return m_serverReadOnly;
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

void CDatabase::throwIfFailed(int resultCode) {
    if (resultCode != SQLITE_OK && resultCode != SQLITE_DONE && resultCode != SQLITE_ROW)
        throw CDaoException::fromSqlite(m_db, resultCode);
}

void CDatabase::execute(const std::string& sql) {
    if (m_server) {
        beforeWrite();
        onServer([&sql](PgConnection& server) { server.execute(sql); });
        return;
    }
    if (!m_db)
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank ist nicht geöffnet."));
    beforeWrite();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    throwIfFailed(rc);
}

void CDatabase::execute(const std::string& sql, const std::vector<QString>& texts) {
    if (m_server) {
        std::vector<std::optional<std::string>> values;
        for (const QString& text : texts)
            values.emplace_back(text.toStdString());
        serverQuery(sql, values, true);
        return;
    }
    CachedStatement statement = prepare(sql);
    beforeWrite();
    for (size_t i = 0; i < texts.size(); ++i) {
        const QByteArray utf8 = texts[i].toUtf8();
        throwIfFailed(sqlite3_bind_text(statement.get(), static_cast<int>(i) + 1, utf8.constData(),
                                        static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
    }
    throwIfFailed(sqlite3_step(statement.get()));
}

QString CDatabase::queryText(const std::string& sql) {
    if (m_server) {
        const PgResult result = serverQuery(sql, {}, false);
        if (result.rowCount() == 0 || result.isNull(0, 0))
            return QString();
        const std::string_view text = result.text(0, 0);
        return QString::fromUtf8(text.data(), int(text.size()));
    }
    CachedStatement statement = prepare(sql);
    const int rc = sqlite3_step(statement.get());
    throwIfFailed(rc);
    if (rc != SQLITE_ROW)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)),
                             sqlite3_column_bytes(statement.get(), 0));
}

CachedStatement CDatabase::prepare(const std::string& sql) {
    if (!m_db)
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank ist nicht geöffnet."));
    return CachedStatement(m_statements.get(), sql);
}

CachedStatement CDatabase::prepareSelect(const SourceDef& source, const QString& filter,
                                         const QString& sort) {
    if (!m_db) {
        // A filter or sort that is wrong is reported first, as for an open connection.
        Jet::translateFilter(filter, source);
        Jet::translateSort(sort, source);
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank ist nicht geöffnet."));
    }
    return m_selects->prepare(source, filter, sort);
}

void CDatabase::attach(CRecordset* recordset) {
    m_recordsets.push_back(recordset);
}

void CDatabase::detach(CRecordset* recordset) {
    auto it = std::find(m_recordsets.rbegin(), m_recordsets.rend(), recordset);
    if (it != m_recordsets.rend())
        m_recordsets.erase(std::next(it).base());
}

void CDatabase::beforeWrite() {
    for (CRecordset* recordset : m_recordsets)
        recordset->stopReadingLive();
}

std::string CDatabase::sameValueCondition(const std::string& quotedColumn) const {
    if (m_server)
        return quotedColumn + " IS NOT DISTINCT FROM ?";
    // SQLite's IS is true for two nulls, and for equal values of the column's type.
    return quotedColumn + " IS ?";
}

CDbReadSnapshot::CDbReadSnapshot(CDatabase& db) : m_db(db), m_own(db.transactionDepth() == 0) {
    if (!m_own)
        return;
    m_db.execute(m_db.server() ? "BEGIN ISOLATION LEVEL REPEATABLE READ" : "BEGIN DEFERRED");
    ++m_db.transactionDepth();
}

CDbReadSnapshot::~CDbReadSnapshot() {
    if (!m_own || !m_db.isOpen())
        return;
    --m_db.transactionDepth();
    try {
        m_db.execute("COMMIT");
    } catch (const CDaoException&) {
        // Nothing was written; ending the read cannot lose anything.
    }
}

CDbTransaction::CDbTransaction(CDatabase& db) : m_db(db), m_level(db.transactionDepth()) {
    m_db.execute(m_level == 0 ? std::string(m_db.server() ? "BEGIN" : "BEGIN IMMEDIATE")
                              : "SAVEPOINT vorlanto_" + std::to_string(m_level));
    ++m_db.transactionDepth();
}

CDbTransaction::~CDbTransaction() {
    if (!m_open || !m_db.isOpen())
        return;
    try {
        if (m_level == 0) {
            m_db.execute("ROLLBACK");
        } else {
            const std::string name = "vorlanto_" + std::to_string(m_level);
            m_db.execute("ROLLBACK TO " + name + "; RELEASE " + name);
        }
    } catch (const CDaoException&) {
        // The engine already rolled back (for example after a full disk); nothing is left.
    }
    --m_db.transactionDepth();
}

void CDbTransaction::commit() {
    if (!m_open)
        return;
    m_db.execute(m_level == 0 ? std::string("COMMIT")
                              : "RELEASE vorlanto_" + std::to_string(m_level));
    m_open = false;
    --m_db.transactionDepth();
}
