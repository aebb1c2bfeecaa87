#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

struct pg_conn;
struct pg_result;

// The rows a statement on the server returned, as text. Owns the result.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : m_result(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept : m_result(other.m_result) { other.m_result = nullptr; }
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    int rowCount() const;
    int columnCount() const;
    bool isNull(int row, int column) const;
    // The value as the server writes it; empty when null.
    std::string_view text(int row, int column) const;
    // The number of rows an INSERT, UPDATE or DELETE changed.
    long long changedRows() const;
    pg_result* get() const { return m_result; }

private:
    pg_result* m_result = nullptr;
};

// One connection to a band database on a PostgreSQL server, made from a libpq connection URI
// ("postgresql://host/database?sslmode=require" and the like). libpq's own means are honoured:
// the password file, the service file, TLS settings in the URI. Errors are thrown as
// CDaoException with a German description; a password never appears in one.
class PgConnection {
public:
    // Connects; `user` and `password`, when not empty, take the place of the URI's.
    explicit PgConnection(const std::string& uri, const QString& user = QString(),
                          const QString& password = QString());
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs one or more statements that return no rows (schema, transactions).
    void execute(const std::string& sql);
    // Runs one statement with its parameters $1, $2 … as text (nullopt: NULL) and returns its
    // rows. `types` may give a parameter's type (a type oid, 0: the server infers it from where
    // the parameter stands).
    PgResult query(const std::string& sql,
                   const std::vector<std::optional<std::string>>& parameters = {},
                   const std::vector<unsigned>& types = {});
    // Has the server read a statement with its parameters $1, $2 …, once per connection and
    // text, without running it: throws CDaoException when it refuses the statement. A
    // parameter whose type only its bound value tells is left to the run.
    void check(const std::string& sql);

    // The payloads of the notifications on channels this connection listens to (LISTEN) that
    // arrived since the last call, oldest first; reads what the server sent without waiting.
    // Without `ownToo`, those this connection caused itself are left out.
    std::vector<std::string> takeNotifications(bool ownToo = true);
    // The connection's socket, to wait on for notifications.
    int socket() const;

    // True once the connection to the server broke (the server ended it, the network failed).
    bool isBroken() const;
    // Connects again with the same URI, role and password; false when the server still cannot
    // be reached. What was set for the session (LISTEN, SET) must be set again.
    bool reconnect();

    // The role this connection logged in as.
    QString user() const;
    // The server and database in words for messages: "datenbank auf host" (no password).
    QString shownName() const;
    pg_conn* handle() const { return m_connection; }

private:
    // The session's settings every statement of the program relies on.
    void startSession();

    pg_conn* m_connection = nullptr;
    std::unordered_set<std::string> m_checked; // statements check() found good
};

// The URI without any password in it, for messages and settings.
std::string uriWithoutPassword(const std::string& uri);

// What a URI names, for the login form: the database in words as PgConnection::shownName()
// says it, and the role to log in as (empty when the URI names none). Empty for a URI that
// libpq cannot read.
struct ServerAddress {
    QString shownName;
    QString user;
};
ServerAddress addressOf(const std::string& uri);
