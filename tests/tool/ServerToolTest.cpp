// vorlanto-tool server as a band moves its database onto a PostgreSQL server and home again:
// the settings keep no password, the file stays beside, people are added to their group, and
// the tool prints from the server what it printed from the file.
#include "core/CProfileFile.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "data/ServerMove.h"
#include "data/ServerSchema.h"
#include "support/PgTestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun tool(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(QStringLiteral(VORLANTO_TOOL_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    ToolRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.output =
        QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ServerToolTest, ADirectoryMovesToTheServerAndHomeAgain) {
    QTemporaryDir root;
    const QString band = QDir(root.path()).filePath(QStringLiteral("band"));
    const QString home = QDir(root.path()).filePath(QStringLiteral("daheim"));
    ASSERT_EQ(tool({QStringLiteral("new"), band, QStringLiteral("--demo")}).exitCode, 0);
    ASSERT_TRUE(QFile::copy(QDir(band).filePath(QStringLiteral("Kavio.mde")),
                            QDir(root.path()).filePath(QStringLiteral("vorher.mde"))));
    ASSERT_EQ(tool({QStringLiteral("new"), home, QStringLiteral("--demo")}).exitCode, 0);

    PgTestDatabase server;
    ASSERT_FALSE(server.uri().isEmpty());
    const QString withPassword = server.uri() + QStringLiteral("&password=Geheim123");
    ToolRun run = tool({QStringLiteral("server"), band, QStringLiteral("--to"), withPassword});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    // The settings name the server without the password; the file stays beside.
    const CProfileFile settings(QDir(band).filePath(QStringLiteral("Kavio.ini")));
    EXPECT_EQ(settings.readText(QStringLiteral("DATABASE"), QStringLiteral("Server")),
              server.uri());
    EXPECT_FALSE(contentOf(settings.path()).contains("Geheim123"));
    EXPECT_FALSE(QFile::exists(QDir(band).filePath(QStringLiteral("Kavio.mde"))));
    EXPECT_TRUE(QFile::exists(QDir(band).filePath(QStringLiteral("Kavio-vor-Server.mde"))));
    run = tool({QStringLiteral("server"), band, QStringLiteral("--to"), server.uri()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains(QStringLiteral("bereits auf einem Server")));

    // The tool prints from the server the pages it prints from the file.
    const QString fromServer = QDir(root.path()).filePath(QStringLiteral("server.txt"));
    const QString fromFile = QDir(root.path()).filePath(QStringLiteral("datei.txt"));
    for (const auto& [directory, dump] : {std::pair{band, fromServer}, std::pair{home, fromFile}}) {
        run = tool({QStringLiteral("print"), directory, QStringLiteral("--report"),
                    QStringLiteral("gig-update"), QStringLiteral("--dump"), dump});
        ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    }
    EXPECT_FALSE(contentOf(fromFile).isEmpty());
    EXPECT_EQ(contentOf(fromServer), contentOf(fromFile));

    // A musician who may only read: the server refuses every write.
    const QString musician = server.name() + QStringLiteral("_musiker");
    run = tool({QStringLiteral("server"), band, QStringLiteral("--add-user"), musician,
                QStringLiteral("--read-only")},
               "Gitarre7\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    {
        CDatabase db;
        db.openServer(server.uri().toStdString(), musician, QStringLiteral("Gitarre7"));
        EXPECT_TRUE(db.isReadOnly());
        CSetEvent events(db);
        events.open();
        events.edit();
        events.setText("EOrt", QStringLiteral("Anderswo"));
        try {
            events.update();
            ADD_FAILURE() << "a read-only login changed an event";
        } catch (const CDaoException& error) {
            EXPECT_EQ(error.code(), CDaoException::ReadOnly);
        }
    }
    run = tool({QStringLiteral("server"), band, QStringLiteral("--add-user"), musician}, "\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains(QStringLiteral("bereits die Anmeldung")));

    // Home again: a new file with every row, and the settings without the server.
    run = tool({QStringLiteral("server"), band, QStringLiteral("--back")});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(settings.readText(QStringLiteral("DATABASE"), QStringLiteral("Server")).isEmpty());
    const auto before =
        ServerMove::figuresOfFile(QDir(root.path()).filePath(QStringLiteral("vorher.mde")));
    const auto after = ServerMove::figuresOfFile(QDir(band).filePath(QStringLiteral("Kavio.mde")));
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].rows, after[i].rows) << before[i].table;
        EXPECT_EQ(before[i].columns, after[i].columns) << before[i].table;
    }

    // The roles outlive the database; they go with the test.
    const QString admin = PgTestServer::uri();
    PgTestServer::query(admin,
                        QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(server.name()));
    PgTestServer::query(admin, QStringLiteral("DROP ROLE \"%1\"").arg(musician));
    for (const std::string& group : {ServerSchema::fullAccessGroup(server.name().toStdString()),
                                     ServerSchema::readAccessGroup(server.name().toStdString())})
        PgTestServer::query(admin,
                            QStringLiteral("DROP ROLE \"%1\"").arg(QString::fromStdString(group)));
}

} // namespace
