// Moving the band's database onto a PostgreSQL server and back: every row of the example data
// arrives with its keys and values, the server's keys go on after the highest, and a move that
// cannot be done leaves both sides as they were.
#include "data/ServerMove.h"
#include "data/CDaoException.h"
#include "data/PgConnection.h"
#include "data/Schema.h"
#include "support/PgTestServer.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Every row of every table of a file, as text, in the order the rows were added.
std::vector<std::string> contentOf(const QString& path) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    std::vector<std::string> rows;
    std::vector<std::string> tables;
    for (const SourceDef* table : Schema::tables())
        tables.push_back(table->name());
    tables.insert(tables.end(), {"X_Kalender", "X_Kalender_Event"});
    for (const std::string& table : tables) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + table + "\" ORDER BY rowid").c_str(), -1,
                           &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row = table;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                const int type = sqlite3_column_type(statement, column);
                row += "|" + std::to_string(type) + ":";
                if (type != SQLITE_NULL)
                    row += reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

class ServerMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.uri().isEmpty());
        fillDemoData(file.db());
        file.db().close();
        connection = std::make_unique<PgConnection>(server.uri().toStdString());
    }

    QString reason(const std::function<void()>& move) {
        try {
            move();
        } catch (const CDaoException& error) {
            return error.description();
        }
        ADD_FAILURE() << "the move was not refused";
        return QString();
    }

    TestDatabase file;
    PgTestDatabase server;
    std::unique_ptr<PgConnection> connection;
};

TEST_F(ServerMoveTest, TheExampleDataGoesToTheServerAndComesBackRowForRow) {
    ServerMove::copyIntoServer(file.databasePath(), *connection);
    const auto fileFigures = ServerMove::figuresOfFile(file.databasePath());
    const auto serverFigures = ServerMove::figuresOfServer(*connection);
    ASSERT_EQ(fileFigures.size(), serverFigures.size());
    long long rows = 0;
    for (size_t i = 0; i < fileFigures.size(); ++i) {
        EXPECT_EQ(fileFigures[i].rows, serverFigures[i].rows) << fileFigures[i].table;
        rows += serverFigures[i].rows;
    }
    EXPECT_GT(rows, 100);

    // Amounts arrive as the user typed them, texts with their umlauts.
    EXPECT_EQ(connection
                  ->query(R"(SELECT count(*) FROM "T_Event" WHERE "EGageVereinb" IS NOT NULL
                                   AND "EGageVereinb"::text LIKE '%.%000%')")
                  .text(0, 0),
              "0");
    EXPECT_NE(
        connection->query(R"(SELECT count(*) FROM "T_Event" WHERE "EOrt" ~ '[äöüß]')").text(0, 0),
        "0");
    // A new row gets the key after the highest one moved.
    const std::string highest(
        connection->query(R"(SELECT max("EventID") FROM "T_Event")").text(0, 0));
    const PgResult added =
        connection->query(R"(INSERT INTO "T_Event" ("EArt") VALUES ('Neu') RETURNING "EventID")");
    EXPECT_EQ(std::stoll(std::string(added.text(0, 0))), std::stoll(highest) + 1);
    connection->query(R"(DELETE FROM "T_Event" WHERE "EventID" = $1)",
                      {std::string(added.text(0, 0))});

    const QString back = QDir(file.dir()).filePath(QStringLiteral("Zurueck.mde"));
    ServerMove::copyIntoFile(*connection, back);
    EXPECT_EQ(contentOf(back), contentOf(file.databasePath()));
    EXPECT_FALSE(QFile::exists(back + QStringLiteral(".teil")));
}

TEST_F(ServerMoveTest, AMoveThatCannotBeDoneLeavesBothSidesAsTheyWere) {
    // Only into an empty database: one with a table of its own keeps it, and nothing else.
    connection->execute("CREATE TABLE fremd (x integer)");
    EXPECT_TRUE(reason([&] {
                    ServerMove::copyIntoServer(file.databasePath(), *connection);
                }).contains(QStringLiteral("nicht leer")));
    EXPECT_EQ(
        connection->query("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'").text(0, 0),
        "1");

    // A file that is not a band database is not moved.
    const QString other = QDir(file.dir()).filePath(QStringLiteral("fremd.mde"));
    QFile text(other);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("kein Datenbankinhalt");
    text.close();
    connection->execute("DROP TABLE fremd");
    EXPECT_FALSE(reason([&] { ServerMove::copyIntoServer(other, *connection); }).isEmpty());
    EXPECT_EQ(
        connection->query("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'").text(0, 0),
        "0");

    // The way back never overwrites a file.
    ServerMove::copyIntoServer(file.databasePath(), *connection);
    const std::vector<std::string> before = contentOf(file.databasePath());
    EXPECT_TRUE(reason([&] {
                    ServerMove::copyIntoFile(*connection, file.databasePath());
                }).contains(QStringLiteral("gibt es bereits")));
    EXPECT_EQ(contentOf(file.databasePath()), before);
}

} // namespace
