#pragma once

#include <QString>
#include <QStringList>

// The PostgreSQL server the tests use. When VORLANTO_TEST_PG holds a libpq URI (scripts/test
// starts a shared server and sets it), that server is used; else the server a ctest run started
// for all its tests (see tests/CMakeLists.txt). Otherwise the first call starts a throwaway
// cluster for this test process: a temporary folder, a superuser role "vorlanto" that
// every local connection may use without a password, a Unix socket only. The cluster is stopped
// and its folder removed when the process ends. Under root the server runs as the postgres user.
//
// When no server can be had, the calls record a GoogleTest failure with the reason (never a
// skip) and return an empty URI, so a test goes on with
//     const QString uri = PgTestServer::uri();
//     ASSERT_FALSE(uri.isEmpty());
class PgTestServer {
public:
    // The URI of the server's maintenance database "postgres", or empty after a failure.
    static QString uri();

    // The URI of database `name` on the same server (same host, role and options).
    static QString databaseUri(const QString& name);

    // Runs one SQL command on the database of `uri` and returns the first column of its rows
    // (nothing for a command without rows). An error is stored in `error` (emptied on success);
    // without `error` it is recorded as a GoogleTest failure.
    static QStringList query(const QString& uri, const QString& sql, QString* error = nullptr);
};

// A new UTF-8 database with a name no other test uses, dropped (even while connections to it are
// still open) when this object goes, together with the groups of people a band database made on
// it has. On failure it records a GoogleTest failure and uri() is empty.
class PgTestDatabase {
public:
    enum class Content {
        Empty,
        // A new band database as the program makes one: a fresh file moved onto the server
        // (schema, change tracking, the placeholder event, the two groups of people). Copied
        // from a template database that the first test on the server makes for all later ones.
        BandDatabase,
    };
    explicit PgTestDatabase(Content content = Content::Empty);
    ~PgTestDatabase();
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    // The libpq URI of the database, empty when it could not be created.
    QString uri() const { return m_uri; }
    QString name() const { return m_name; }
    // Waits up to ten seconds until `count` programs are connected to the database (a closed
    // connection leaves the server's list a moment later); false when they never were.
    bool waitForConnections(int count) const;

private:
    QString m_name;
    QString m_uri;
    bool m_created = false;
};
