#include "PgTestServer.h"

#include "data/CDaoException.h"
#include "data/DatabaseFactory.h"
#include "data/PgConnection.h"
#include "data/Schema.h"
#include "data/ServerMove.h"
#include "data/ServerSchema.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

bool runningAsRoot() {
    return ::geteuid() == 0;
}

// Runs a program and returns its error text, empty when it ended with exit code 0. Under root,
// asServerOwner runs it as the postgres user, since PostgreSQL refuses to run as root.
QString runProgram(const QString& program, const QStringList& arguments, const QString& workDir,
                   bool asServerOwner, QString* output = nullptr) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (asServerOwner && runningAsRoot()) {
        process.setProgram(QStringLiteral("runuser"));
        process.setArguments(QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                         QStringLiteral("--"), program} +
                             arguments);
    } else {
        process.setProgram(program);
        process.setArguments(arguments);
    }
    const QString name = QFileInfo(program).fileName();
    process.start();
    if (!process.waitForStarted())
        return QStringLiteral("%1 cannot be started: %2").arg(name, process.errorString());
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return QStringLiteral("%1 did not finish within two minutes").arg(name);
    }
    const QString text = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (output)
        *output = text;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(name, text);
    return {};
}

// A cluster of this test process only, in a temporary folder that holds the data folder, the
// socket folder and the logs. The server is started in the constructor and stopped, and the
// folder removed, in the destructor, which runs when the process exits.
class OwnCluster {
public:
    OwnCluster() { m_error = start(); }
    ~OwnCluster() { stop(); }
    OwnCluster(const OwnCluster&) = delete;
    OwnCluster& operator=(const OwnCluster&) = delete;

    QString uri() const { return m_uri; }
    QString error() const { return m_error; }

private:
    QString start() {
        QString binDir;
        if (const QString error =
                runProgram(QStringLiteral("pg_config"), {QStringLiteral("--bindir")},
                           QDir::tempPath(), false, &binDir);
            !error.isEmpty())
            return error;
        const QString initdb = binDir + QStringLiteral("/initdb");
        const QString pgCtl = binDir + QStringLiteral("/pg_ctl");
        if (!QFileInfo(initdb).isExecutable() || !QFileInfo(pgCtl).isExecutable())
            return QStringLiteral("initdb and pg_ctl not found in %1").arg(binDir);

        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/vorlanto-pg-XXXXXX"));
        if (!folder.isValid())
            return QStringLiteral("cannot create a temporary folder: %1").arg(folder.errorString());
        folder.setAutoRemove(false);
        m_root = folder.path();
        const QString socket = m_root + QStringLiteral("/socket");
        if (!QDir().mkdir(socket))
            return QStringLiteral("cannot create %1").arg(socket);
        if (runningAsRoot()) {
            // The folder stays mode 0700: only the postgres user and root reach the socket.
            const passwd* owner = ::getpwnam("postgres");
            if (!owner)
                return QStringLiteral("running as root, but there is no postgres user");
            for (const QString& path : {m_root, socket}) {
                if (::chown(QFile::encodeName(path).constData(), owner->pw_uid, owner->pw_gid) != 0)
                    return QStringLiteral("cannot give %1 to the postgres user").arg(path);
            }
        }

        const QString data = m_root + QStringLiteral("/data");
        if (const QString error = runProgram(
                initdb,
                {QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("vorlanto"),
                 QStringLiteral("--auth=trust"), QStringLiteral("--encoding=UTF8"),
                 QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                m_root, true);
            !error.isEmpty())
            return error;
        QFile config(data + QStringLiteral("/postgresql.conf"));
        if (!config.open(QIODevice::Append | QIODevice::Text))
            return QStringLiteral("cannot extend %1").arg(config.fileName());
        config.write(QStringLiteral("listen_addresses = ''\n"
                                    "unix_socket_directories = '%1'\n"
                                    "fsync = off\n"
                                    "synchronous_commit = off\n"
                                    "full_page_writes = off\n")
                         .arg(socket)
                         .toUtf8());
        config.close();

        const QString log = m_root + QStringLiteral("/server.log");
        if (const QString error = runProgram(pgCtl,
                                             {QStringLiteral("-D"), data, QStringLiteral("-l"), log,
                                              QStringLiteral("-w"), QStringLiteral("-t"),
                                              QStringLiteral("60"), QStringLiteral("start")},
                                             m_root, true);
            !error.isEmpty()) {
            QFile logFile(log);
            const QString logText = logFile.open(QIODevice::ReadOnly)
                                        ? QString::fromLocal8Bit(logFile.readAll()).trimmed()
                                        : QString();
            return error + QStringLiteral("\nserver log:\n") + logText;
        }
        m_uri = QStringLiteral("postgresql:///postgres?host=%1&user=vorlanto")
                    .arg(QString::fromLatin1(QUrl::toPercentEncoding(socket)));
        return {};
    }

    // Asks the server for a fast shutdown through a signal, since no other program should be
    // started while the process exits, and waits until it has removed its pid file.
    void stop() {
        if (m_root.isEmpty())
            return;
        const std::string root = QFile::encodeName(m_root).toStdString();
        const std::string pidFile = root + "/data/postmaster.pid";
        pid_t pid = 0;
        if (std::ifstream in(pidFile); in >> pid && pid > 0 && ::kill(pid, SIGINT) == 0) {
            for (int i = 0; i < 600 && std::filesystem::exists(pidFile); ++i) {
                if (i == 300)
                    ::kill(pid, SIGQUIT); // immediate shutdown when the fast one hangs
                ::usleep(50000);
            }
        }
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    QString m_root;
    QString m_uri;
    QString m_error;
};

void recordFailure(const QString& text) {
    ADD_FAILURE() << text.toStdString();
}

// A database name no other test process uses: the process id keeps processes sharing one
// server apart, the counter the databases of one process, and the random part a process id
// that comes again.
QString uniqueName(const QString& prefix) {
    static std::atomic<int> counter{0};
    return QStringLiteral("%1_%2_%3_%4")
        .arg(prefix)
        .arg(::getpid())
        .arg(++counter)
        .arg(QRandomGenerator::global()->bounded(1000000));
}

bool databaseExists(const QString& server, const QString& name, QString* error) {
    return !PgTestServer::query(
                server, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name),
                error)
                .isEmpty();
}

void dropDatabase(const QString& server, const QString& name) {
    QString ignored;
    PgTestServer::query(
        server, QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name), &ignored);
}

// The template of a new band database of this build's schema. Its name carries a digest of the
// schema, so a server shared by builds of other schemas never hands out a stale one.
QString bandTemplateName() {
    QCryptographicHash digest(QCryptographicHash::Sha1);
    const auto add = [&](const std::vector<std::string>& statements) {
        for (const std::string& statement : statements)
            digest.addData(QByteArray::fromStdString(statement));
    };
    add(Schema::createStatements());
    add(ServerSchema::createStatements());
    digest.addData(QByteArray::number(Schema::kVersion));
    return QStringLiteral("vorlanto_vorlage_") +
           QString::fromLatin1(digest.result().toHex().left(16));
}

// Makes the template on the server unless it is there: a fresh file moved into a database of
// its own name, renamed to the template's name only when complete, so that test processes
// sharing the server never copy a half-made one. Returns the template's name, empty after a
// recorded failure.
QString bandTemplate(const QString& server) {
    static const QString name = bandTemplateName();
    static bool made = false;
    if (made)
        return name;
    QString error;
    if (databaseExists(server, name, &error)) {
        made = true;
        return name;
    }
    if (!error.isEmpty()) {
        recordFailure(error);
        return {};
    }
    const QString building = uniqueName(QStringLiteral("vorlanto_bau"));
    PgTestServer::query(
        server,
        QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE template0 ENCODING 'UTF8'").arg(building),
        &error);
    if (!error.isEmpty()) {
        recordFailure(QStringLiteral("Cannot create the template database: ") + error);
        return {};
    }
    try {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Kavio.mde"));
        createDatabase(file);
        PgConnection connection(PgTestServer::databaseUri(building).toStdString());
        ServerMove::copyIntoServer(file, connection);
    } catch (const CDaoException& failure) {
        dropDatabase(server, building);
        recordFailure(QStringLiteral("Cannot fill the template database: ") +
                      failure.description());
        return {};
    }
    PgTestServer::query(
        server, QStringLiteral("ALTER DATABASE \"%1\" RENAME TO \"%2\"").arg(building, name),
        &error);
    if (!error.isEmpty()) {
        // Another process sharing the server may have made it meanwhile.
        dropDatabase(server, building);
        QString again;
        if (!databaseExists(server, name, &again)) {
            recordFailure(QStringLiteral("Cannot make the template database: ") + error);
            return {};
        }
    }
    made = true;
    return name;
}

} // namespace

namespace {

// The server a ctest run started for all its tests, while it answers.
QString serverOfTheRun() {
#ifdef VORLANTO_TEST_PG_FILE
    QFile file(QStringLiteral(VORLANTO_TEST_PG_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray uri = file.readAll().trimmed();
    if (!uri.isEmpty() && PQping(uri.constData()) == PQPING_OK)
        return QString::fromUtf8(uri);
#endif
    return {};
}

} // namespace

QString PgTestServer::uri() {
    const QByteArray fromEnvironment = qgetenv("VORLANTO_TEST_PG");
    if (!fromEnvironment.isEmpty())
        return QString::fromUtf8(fromEnvironment);
    static const QString ofTheRun = serverOfTheRun();
    if (!ofTheRun.isEmpty())
        return ofTheRun;
    static OwnCluster cluster;
    if (cluster.uri().isEmpty())
        recordFailure(QStringLiteral("No PostgreSQL server for the tests: ") + cluster.error());
    return cluster.uri();
}

QString PgTestServer::databaseUri(const QString& name) {
    const QString base = uri();
    if (base.isEmpty())
        return {};
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(base.toUtf8().constData(), &parseError);
    if (!options) {
        recordFailure(QStringLiteral("Not a valid libpq URI: %1 (%2)")
                          .arg(base, QString::fromUtf8(parseError ? parseError : "")));
        PQfreemem(parseError);
        return {};
    }
    // Every option of the server's URI but the database name goes into the query part.
    QStringList parameters;
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (!option->val || qstrcmp(option->keyword, "dbname") == 0)
            continue;
        parameters << QString::fromLatin1(option->keyword) + QLatin1Char('=') +
                          QString::fromLatin1(
                              QUrl::toPercentEncoding(QString::fromUtf8(option->val)));
    }
    PQconninfoFree(options);
    QString result =
        QStringLiteral("postgresql:///") + QString::fromLatin1(QUrl::toPercentEncoding(name));
    if (!parameters.isEmpty())
        result += QLatin1Char('?') + parameters.join(QLatin1Char('&'));
    return result;
}

QStringList PgTestServer::query(const QString& uri, const QString& sql, QString* error) {
    QStringList rows;
    QString failure;
    PGconn* connection = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        failure = QStringLiteral("Cannot connect to %1: %2")
                      .arg(uri, QString::fromUtf8(PQerrorMessage(connection)).trimmed());
    } else {
        PGresult* result = PQexec(connection, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_TUPLES_OK) {
            for (int row = 0; row < PQntuples(result); ++row)
                rows << QString::fromUtf8(PQgetvalue(result, row, 0));
        } else if (status != PGRES_COMMAND_OK) {
            failure = QStringLiteral("%1 failed: %2")
                          .arg(sql, QString::fromUtf8(PQresultErrorMessage(result)).trimmed());
        }
        PQclear(result);
    }
    PQfinish(connection);
    if (error)
        *error = failure;
    else if (!failure.isEmpty())
        recordFailure(failure);
    return rows;
}

PgTestDatabase::PgTestDatabase(Content content) {
    m_name = uniqueName(QStringLiteral("vorlanto_test"));
    const QString server = PgTestServer::uri();
    if (server.isEmpty())
        return;
    QString source = QStringLiteral("template0 ENCODING 'UTF8'");
    if (content == Content::BandDatabase) {
        source = bandTemplate(server);
        if (source.isEmpty())
            return;
        source = QLatin1Char('"') + source + QLatin1Char('"');
    }
    QString error;
    PgTestServer::query(
        server, QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE %2").arg(m_name, source), &error);
    if (!error.isEmpty()) {
        recordFailure(QStringLiteral("Cannot create a test database: ") + error);
        return;
    }
    m_created = true;
    m_uri = PgTestServer::databaseUri(m_name);
}

PgTestDatabase::~PgTestDatabase() {
    if (!m_created)
        return;
    QString error;
    PgTestServer::query(PgTestServer::uri(),
                        QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(m_name),
                        &error);
    if (!error.isEmpty())
        recordFailure(QStringLiteral("Cannot drop the test database: ") + error);
    // The two groups of a band database live beside it on the server; they hold rights on it
    // until it is gone.
    for (const std::string& group : {ServerSchema::fullAccessGroup(m_name.toStdString()),
                                     ServerSchema::readAccessGroup(m_name.toStdString())})
        PgTestServer::query(
            PgTestServer::uri(),
            QStringLiteral("DROP ROLE IF EXISTS \"%1\"").arg(QString::fromStdString(group)));
}

bool PgTestDatabase::waitForConnections(int count) const {
    const QString sql = QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = "
                                       "'%1' AND backend_type = 'client backend'")
                            .arg(m_name);
    QElapsedTimer waited;
    waited.start();
    while (PgTestServer::query(PgTestServer::uri(), sql).value(0).toInt() != count) {
        if (waited.elapsed() > 10000)
            return false;
        QThread::msleep(20);
    }
    return true;
}
