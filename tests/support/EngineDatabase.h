#pragma once

#include "PgTestServer.h"
#include "data/CDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

// The two engines a band database is kept on.
enum class Engine { File, Server };

// A new band database as the program makes it, opened, on either engine: a new Kavio.mde in a
// temporary program directory, or a database on the test server that holds what a fresh file
// moved there holds (one per test process, emptied for each test).
// The helpers go through the connection, so a test body reads the same on both engines; its SQL
// quotes every name ("T_Event"), as the server keeps names in their case only so.
class EngineDatabase {
public:
    explicit EngineDatabase(Engine engine);
    EngineDatabase(const EngineDatabase&) = delete;
    EngineDatabase& operator=(const EngineDatabase&) = delete;

    CDatabase& db() { return m_db; }
    Engine engine() const { return m_engine; }
    // Opens `other` on the same database, as a second program does.
    void openAgain(CDatabase& other) const;
    // Runs one or more statements on the connection; throws CDaoException.
    void exec(const std::string& sql);
    // Count of rows of a table or saved query, optionally with a WHERE clause.
    int count(const std::string& source, const std::string& where = std::string());

private:
    Engine m_engine;
    QTemporaryDir m_dir;
    QString m_serverUri;
    CDatabase m_db;
};

// A test run once on each engine; `t` is its new database.
class OnBothEngines : public ::testing::TestWithParam<Engine> {
protected:
    EngineDatabase t{GetParam()};
};

// "File" or "Server": the end of a test's name, and the engine in a failure's message.
void PrintTo(Engine engine, std::ostream* out);
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

// Runs every test of `suite` (derived from OnBothEngines) as "<suite>.<test>/File" and
// "<suite>.<test>/Server".
#define INSTANTIATE_ON_BOTH_ENGINES(suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(, suite, ::testing::Values(Engine::File, Engine::Server), engineName)
