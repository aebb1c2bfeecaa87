// The PostgreSQL server of the tests and what the database engine relies on it for.
#include "support/PgTestServer.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

namespace {

TEST(PgServer, AnswersAsSuperuserInUtf8) {
    const QString uri = PgTestServer::uri();
    ASSERT_FALSE(uri.isEmpty());
    EXPECT_EQ(PgTestServer::query(uri, QStringLiteral("SELECT 6 * 7")), QStringList{"42"});
    EXPECT_EQ(PgTestServer::query(uri, QStringLiteral("SELECT rolsuper::text FROM pg_roles "
                                                      "WHERE rolname = current_user")),
              QStringList{"true"});

    PgTestDatabase database;
    ASSERT_FALSE(database.uri().isEmpty());
    EXPECT_EQ(PgTestServer::query(database.uri(), QStringLiteral("SELECT current_database()")),
              QStringList{database.name()});
    EXPECT_EQ(PgTestServer::query(database.uri(), QStringLiteral("SHOW server_encoding")),
              QStringList{"UTF8"});
    // Text outside Latin-1 comes back unchanged.
    const QString text = QStringLiteral("Größe € – Ørsted");
    EXPECT_EQ(PgTestServer::query(database.uri(), QStringLiteral("SELECT '%1'").arg(text)),
              QStringList{text});
}

TEST(PgServer, FreshDatabasesAreEmptyAndSeparate) {
    PgTestDatabase first;
    PgTestDatabase second;
    ASSERT_FALSE(first.uri().isEmpty());
    ASSERT_FALSE(second.uri().isEmpty());
    EXPECT_NE(first.name(), second.name());

    const QString tables = QStringLiteral(
        "SELECT table_name FROM information_schema.tables WHERE table_schema = 'public'");
    EXPECT_TRUE(PgTestServer::query(first.uri(), tables).isEmpty());
    PgTestServer::query(first.uri(), QStringLiteral("CREATE TABLE gig (title text)"));
    PgTestServer::query(first.uri(), QStringLiteral("INSERT INTO gig VALUES ('Stadtfest')"));

    EXPECT_EQ(PgTestServer::query(first.uri(), QStringLiteral("SELECT title FROM gig")),
              QStringList{"Stadtfest"});
    EXPECT_TRUE(PgTestServer::query(second.uri(), tables).isEmpty());
}

TEST(PgServer, DroppedDatabaseIsGoneEvenWithAnOpenConnection) {
    const QString server = PgTestServer::uri();
    ASSERT_FALSE(server.isEmpty());
    QString name;
    QString uri;
    PGconn* stillOpen = nullptr;
    {
        PgTestDatabase database;
        ASSERT_FALSE(database.uri().isEmpty());
        name = database.name();
        uri = database.uri();
        stillOpen = PQconnectdb(uri.toUtf8().constData());
        ASSERT_EQ(PQstatus(stillOpen), CONNECTION_OK) << PQerrorMessage(stillOpen);
        EXPECT_EQ(PgTestServer::query(server, QStringLiteral("SELECT datname FROM pg_database "
                                                             "WHERE datname = '%1'")
                                                  .arg(name)),
                  QStringList{name});
    }
    EXPECT_TRUE(PgTestServer::query(server, QStringLiteral("SELECT datname FROM pg_database "
                                                           "WHERE datname = '%1'")
                                                .arg(name))
                    .isEmpty());
    // The connection open during the drop was ended by the server.
    PGresult* result = PQexec(stillOpen, "SELECT 1");
    EXPECT_NE(PQresultStatus(result), PGRES_TUPLES_OK);
    PQclear(result);
    PQfinish(stillOpen);

    QString error;
    PgTestServer::query(uri, QStringLiteral("SELECT 1"), &error);
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();
}

} // namespace
