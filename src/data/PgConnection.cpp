#include "PgConnection.h"

#include "CDaoException.h"

#include <libpq-fe.h>

#include <memory>

PgResult::~PgResult() {
    PQclear(m_result);
}

PgResult& PgResult::operator=(PgResult&& other) noexcept {
    if (this != &other) {
        PQclear(m_result);
        m_result = other.m_result;
        other.m_result = nullptr;
    }
    return *this;
}

int PgResult::rowCount() const {
    return m_result ? PQntuples(m_result) : 0;
}

int PgResult::columnCount() const {
    return m_result ? PQnfields(m_result) : 0;
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(m_result, row, column) != 0;
}

std::string_view PgResult::text(int row, int column) const {
    return {PQgetvalue(m_result, row, column),
            static_cast<size_t>(PQgetlength(m_result, row, column))};
}

long long PgResult::changedRows() const {
    const char* count = m_result ? PQcmdTuples(m_result) : "";
    return *count ? std::stoll(count) : 0;
}

namespace {

struct OptionsDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// "datenbank auf host"; a socket folder is no name a user knows, the database is.
QString shownServerName(const char* database, const char* host) {
    const QString name = QString::fromUtf8(database ? database : "");
    if (!host || !*host || *host == '/')
        return name;
    return QStringLiteral("%1 auf %2").arg(name, QString::fromUtf8(host));
}

} // namespace

ServerAddress addressOf(const std::string& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, OptionsDeleter> options(PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);
    if (!options)
        return {};
    const char* database = nullptr;
    const char* host = nullptr;
    const char* user = nullptr;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        const std::string_view keyword(option->keyword);
        if (keyword == "dbname")
            database = option->val;
        else if (keyword == "host")
            host = option->val;
        else if (keyword == "user")
            user = option->val;
    }
    // Without a database in the URI libpq takes the one named like the role.
    return {shownServerName(database ? database : user, host), QString::fromUtf8(user ? user : "")};
}

std::string uriWithoutPassword(const std::string& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, OptionsDeleter> options(PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);
    if (!options)
        return std::string();
    // Rebuilt as key=value pairs would lose the URI form the user wrote; a password inside the
    // URI is simply cut out of the text instead.
    std::string cleaned = uri;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (std::string_view(option->keyword) != "password" || !option->val)
            continue;
        const std::string secret = option->val;
        for (size_t at; !secret.empty() && (at = cleaned.find(secret)) != std::string::npos;)
            cleaned.replace(at, secret.size(), "***");
    }
    return cleaned;
}

PgConnection::PgConnection(const std::string& uri, const QString& user, const QString& password) {
    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    // The URI first, then what the login form asked for: later values take the place of
    // earlier ones.
    std::vector<const char*> keys = {"dbname", "client_encoding", "application_name"};
    std::vector<const char*> values = {uri.c_str(), "UTF8", "Vorlanto"};
    if (!user.isEmpty()) {
        keys.push_back("user");
        values.push_back(userBytes.constData());
    }
    if (!password.isEmpty()) {
        keys.push_back("password");
        values.push_back(passwordBytes.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    m_connection = PQconnectdbParams(keys.data(), values.data(), 1);
    if (PQstatus(m_connection) != CONNECTION_OK) {
        const CDaoException error = CDaoException::fromServerConnect(
            m_connection, QString::fromStdString(uriWithoutPassword(uri)));
        PQfinish(m_connection);
        m_connection = nullptr;
        throw error;
    }
    startSession();
}

void PgConnection::startSession() {
    // Dates are written and read as "yyyy-mm-dd hh:mm:ss", whatever the server's settings.
    execute("SET datestyle = 'ISO, YMD'; SET intervalstyle = 'postgres'; SET timezone = 'UTC'");
}

bool PgConnection::isBroken() const {
    return PQstatus(m_connection) == CONNECTION_BAD;
}

bool PgConnection::reconnect() {
    // libpq keeps the parameters the connection was made with, the password included.
    PQreset(m_connection);
    if (PQstatus(m_connection) != CONNECTION_OK)
        return false;
    startSession();
    return true;
}

PgConnection::~PgConnection() {
    PQfinish(m_connection);
}

void PgConnection::execute(const std::string& sql) {
    PgResult result(PQexec(m_connection, sql.c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw CDaoException::fromServer(m_connection, result.get());
}

PgResult PgConnection::query(const std::string& sql,
                             const std::vector<std::optional<std::string>>& parameters,
                             const std::vector<unsigned>& types) {
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const std::optional<std::string>& parameter : parameters)
        values.push_back(parameter ? parameter->c_str() : nullptr);
    std::vector<Oid> oids;
    if (!types.empty()) {
        oids.assign(types.begin(), types.end());
        oids.resize(values.size(), 0);
    }
    PgResult result(PQexecParams(m_connection, sql.c_str(), int(values.size()),
                                 oids.empty() ? nullptr : oids.data(), values.data(), nullptr,
                                 nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw CDaoException::fromServer(m_connection, result.get());
    return result;
}

void PgConnection::check(const std::string& sql) {
    if (m_checked.count(sql))
        return;
    PgResult result(PQprepare(m_connection, "", sql.c_str(), 0, nullptr));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        // "could not determine data type of parameter" (42P08, or 42P18 for an expression):
        // the bound value's type tells it.
        const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
        if (!state || (std::string_view(state) != "42P08" && std::string_view(state) != "42P18"))
            throw CDaoException::fromServer(m_connection, result.get());
    }
    m_checked.insert(sql);
}

std::vector<std::string> PgConnection::takeNotifications(bool ownToo) {
    std::vector<std::string> payloads;
    if (!PQconsumeInput(m_connection))
        throw CDaoException::fromServer(m_connection, nullptr);
    const int own = PQbackendPID(m_connection);
    while (PGnotify* notice = PQnotifies(m_connection)) {
        if (ownToo || notice->be_pid != own)
            payloads.emplace_back(notice->extra ? notice->extra : "");
        PQfreemem(notice);
    }
    return payloads;
}

int PgConnection::socket() const {
    return PQsocket(m_connection);
}

QString PgConnection::user() const {
    return QString::fromUtf8(PQuser(m_connection));
}

QString PgConnection::shownName() const {
    return shownServerName(PQdb(m_connection), PQhost(m_connection));
}
