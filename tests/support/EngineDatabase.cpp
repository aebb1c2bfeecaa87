#include "EngineDatabase.h"

#include "data/CDaoException.h"
#include "data/DatabaseFactory.h"
#include "data/PgConnection.h"
#include "data/ServerSchema.h"

#include <optional>

namespace {

// The rows a new band database holds: the placeholder event (see createDatabase).
constexpr const char* kNewDatabaseRows =
    R"(INSERT INTO "T_Event" ("EventID", "ELocation") VALUES (0, 'Standard'))";

// One server database per test process, made from the template by the first server test and
// emptied for every later one: making a database takes most of a second, emptying one a few
// milliseconds. Emptying deletes every row, and the row put back (without the triggers, so that
// no change is noted or told) and the counters set back leave it as a new one is: the same rows
// under the same keys and row numbers, the same keys and row numbers next.
class PooledServerDatabase {
public:
    PooledServerDatabase() : m_database(PgTestDatabase::Content::BandDatabase) {
        if (m_database.uri().isEmpty())
            return;
        m_admin = std::make_unique<PgConnection>(m_database.uri().toStdString());
        const PgResult tables = m_admin->query(
            "SELECT quote_ident(tablename) FROM pg_tables WHERE schemaname = 'public' AND "
            "tablename <> $1 ORDER BY tablename",
            {std::string(ServerSchema::kVersionTable)});
        std::string rows = "SELECT 0";
        m_reset = "SET session_replication_role = replica;\n";
        for (int i = 0; i < tables.rowCount(); ++i) {
            const std::string table(tables.text(i, 0));
            m_reset += "DELETE FROM " + table + ";\n";
            rows += " + (SELECT count(*) FROM " + table + ")";
        }
        m_reset += "SELECT setval(c.oid, 1, false) FROM pg_class c JOIN pg_namespace n ON n.oid = "
                   "c.relnamespace WHERE c.relkind = 'S' AND n.nspname = 'public';\n";
        m_reset += std::string(kNewDatabaseRows) + ";\nRESET session_replication_role";
        // Emptying must make what a new database is; it holds the placeholder event only.
        if (m_admin->query(rows).text(0, 0) != "1" ||
            m_admin->query(R"(SELECT "ELocation" FROM "T_Event" WHERE "EventID" = 0)").text(0, 0) !=
                "Standard") {
            ADD_FAILURE() << "A new band database holds other rows than the test database is "
                             "emptied to; change kNewDatabaseRows.";
            m_admin.reset();
        }
    }

    // The URI of the database, emptied unless it is new; empty after a recorded failure.
    QString take() {
        if (!m_admin)
            return {};
        if (m_used) {
            try {
                // A connection a test left open must not keep a lock or a transaction.
                m_admin->execute("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                 "datname = current_database() AND pid <> pg_backend_pid()");
                m_admin->execute(m_reset);
            } catch (const CDaoException& error) {
                ADD_FAILURE() << "Cannot empty the test database: "
                              << error.description().toStdString();
                return {};
            }
        }
        m_used = true;
        return m_database.uri();
    }

private:
    PgTestDatabase m_database;
    std::unique_ptr<PgConnection> m_admin; // closed before the database is dropped
    std::string m_reset;
    bool m_used = false;
};

} // namespace

EngineDatabase::EngineDatabase(Engine engine) : m_engine(engine) {
    if (m_engine == Engine::File) {
        const QString path = m_dir.filePath(QStringLiteral("Kavio.mde"));
        createDatabase(path);
        m_db.open(path);
        return;
    }
    static PooledServerDatabase pool;
    m_serverUri = pool.take();
    // Without a server the failure is recorded; the test then fails on the closed connection.
    if (!m_serverUri.isEmpty())
        m_db.openServer(m_serverUri.toStdString());
}

void EngineDatabase::openAgain(CDatabase& other) const {
    if (m_engine == Engine::File)
        other.open(m_dir.filePath(QStringLiteral("Kavio.mde")));
    else
        other.openServer(m_serverUri.toStdString());
}

void EngineDatabase::exec(const std::string& sql) {
    m_db.execute(sql);
}

int EngineDatabase::count(const std::string& source, const std::string& where) {
    std::string sql = "SELECT count(*) FROM \"" + source + "\"";
    if (!where.empty())
        sql += " WHERE " + where;
    return m_db.queryText(sql).toInt();
}

void PrintTo(Engine engine, std::ostream* out) {
    *out << (engine == Engine::File ? "File" : "Server");
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::File ? "File" : "Server";
}
