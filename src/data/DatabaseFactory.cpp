#include "DatabaseFactory.h"

#include "CDaoException.h"
#include "CDatabase.h"
#include "Schema.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <string>

namespace {

// Closes the connection and removes the half-written file unless the creation succeeded.
class NewFileGuard {
public:
    explicit NewFileGuard(QString path) : m_path(std::move(path)) {}
    ~NewFileGuard() {
        if (m_db)
            sqlite3_close_v2(m_db);
        if (!m_kept)
            QFile::remove(m_path);
    }
    sqlite3** handle() { return &m_db; }
    sqlite3* db() const { return m_db; }
    void closeAndKeep() {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_kept = true;
    }

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    bool m_kept = false;
};

void run(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw CDaoException::fromSqlite(db, rc);
}

} // namespace

void requireNoFile(const QString& path) {
    if (QFileInfo::exists(path))
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datei %1 gibt es bereits; sie wird nicht "
                                           "überschrieben.")
                                .arg(path));
}

void createDatabase(const QString& path) {
    requireNoFile(path);
    // Built under a temporary name beside the target, then renamed: the target appears whole.
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    NewFileGuard guard(building);
    const int rc = sqlite3_open_v2(building.toUtf8().constData(), guard.handle(),
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK)
        throw CDaoException::fromSqlite(guard.db(), rc);
    sqlite3_extended_result_codes(guard.db(), 1);
    disableDoubleQuotedStrings(guard.db());
    run(guard.db(), "PRAGMA application_id = " + std::to_string(Schema::kApplicationId));
    run(guard.db(), "PRAGMA user_version = " + std::to_string(Schema::kVersion));
    run(guard.db(), "BEGIN");
    for (const std::string& statement : Schema::createStatements())
        run(guard.db(), statement);
    // The placeholder event that owns the standard line-up.
    run(guard.db(), R"(INSERT INTO "T_Event" ("EventID", "ELocation") VALUES (0, 'Standard'))");
    run(guard.db(), "COMMIT");
    guard.closeAndKeep();
    if (!QFile::rename(building, path)) {
        QFile::remove(building);
        throw CDaoException(
            CDaoException::IoError,
            QStringLiteral("Die Datenbank %1 konnte nicht angelegt werden.").arg(path));
    }
}
