#include "EngineDatabase.h"

#include "data/DatabaseFactory.h"

EngineDatabase::EngineDatabase(Engine engine) : m_engine(engine) {
    if (m_engine == Engine::File) {
        const QString path = m_dir.filePath(QStringLiteral("Kavio.mde"));
        createDatabase(path);
        m_db.open(path);
        return;
    }
    m_server = std::make_unique<PgTestDatabase>(PgTestDatabase::Content::BandDatabase);
    // Without a server the failure is recorded; the test then fails on the closed connection.
    if (!m_server->uri().isEmpty())
        m_db.openServer(m_server->uri().toStdString());
}

void EngineDatabase::openAgain(CDatabase& other) const {
    if (m_engine == Engine::File)
        other.open(m_dir.filePath(QStringLiteral("Kavio.mde")));
    else
        other.openServer(m_server->uri().toStdString());
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
