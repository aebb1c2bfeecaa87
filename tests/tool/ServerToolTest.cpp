// vorlanto-tool server as a band moves its database onto a PostgreSQL server and home again:
// the settings keep no password, the file stays beside, people are added to their group, and
// the tool prints from the server what it printed from the file.
#include "core/CProfileFile.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "data/ServerMove.h"
#include "support/PgTestServer.h"
#include "support/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ServerToolTest, ADirectoryMovesToTheServerAndHomeAgain) {
    QTemporaryDir root;
    const QString band = QDir(root.path()).filePath(QStringLiteral("band"));
    const QString home = QDir(root.path()).filePath(QStringLiteral("daheim"));
    ASSERT_EQ(runTool({QStringLiteral("new"), band, QStringLiteral("--demo")}).exitCode, 0);
    // The band's calendar identity exists before the copies are made, as in a band's file.
    ASSERT_EQ(runTool({QStringLiteral("ics"), band, QStringLiteral("--out"),
                       QDir(root.path()).filePath(QStringLiteral("erst.ics"))})
                  .exitCode,
              0);
    // The same database stays at home as a file, to compare with.
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QFile::copy(QDir(band).filePath(QStringLiteral("Kavio.mde")),
                            QDir(home).filePath(QStringLiteral("Kavio.mde"))));

    PgTestDatabase server;
    ASSERT_FALSE(server.uri().isEmpty());
    const QString withPassword = server.uri() + QStringLiteral("&password=Geheim123");
    ToolRun run = runTool({QStringLiteral("server"), band, QStringLiteral("--to"), withPassword});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    // The settings name the server without the password; the file stays beside.
    const CProfileFile settings(QDir(band).filePath(QStringLiteral("Kavio.ini")));
    EXPECT_EQ(settings.readText(QStringLiteral("DATABASE"), QStringLiteral("Server")),
              server.uri());
    EXPECT_FALSE(contentOf(settings.path()).contains("Geheim123"));
    EXPECT_FALSE(QFile::exists(QDir(band).filePath(QStringLiteral("Kavio.mde"))));
    EXPECT_TRUE(QFile::exists(QDir(band).filePath(QStringLiteral("Kavio-vor-Server.mde"))));
    run = runTool({QStringLiteral("server"), band, QStringLiteral("--to"), server.uri()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains(QStringLiteral("bereits auf einem Server")));

    // The tool prints and exports from the server what it prints and exports from the file.
    const auto output = [&](const QString& directory, const QStringList& command,
                            const QString& name) {
        const QString target = QDir(root.path()).filePath(QFileInfo(directory).fileName() + name);
        const ToolRun done =
            runTool(QStringList{command.first(), directory} + command.mid(1) + QStringList{target});
        EXPECT_EQ(done.exitCode, 0) << done.output.toStdString();
        QByteArray content = contentOf(target);
        // The moment of the export is not the data's.
        QList<QByteArray> lines = content.split('\n');
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const QByteArray& line) {
                                       return line.startsWith("DTSTAMP") ||
                                              line.startsWith("LAST-MODIFIED");
                                   }),
                    lines.end());
        return lines.join('\n');
    };
    const std::vector<std::pair<QStringList, QString>> outputs = {
        {{QStringLiteral("print"), QStringLiteral("--report"), QStringLiteral("gig-update"),
          QStringLiteral("--dump")},
         QStringLiteral("-gig-update.txt")},
        {{QStringLiteral("print"), QStringLiteral("--report"), QStringLiteral("setliste"),
          QStringLiteral("--event"), QStringLiteral("1"), QStringLiteral("--dump")},
         QStringLiteral("-setliste.txt")},
        {{QStringLiteral("print"), QStringLiteral("--report"), QStringLiteral("gig-rider"),
          QStringLiteral("--event"), QStringLiteral("3"), QStringLiteral("--dump")},
         QStringLiteral("-rider.txt")},
        {{QStringLiteral("print"), QStringLiteral("--report"), QStringLiteral("abrechnung"),
          QStringLiteral("--event"), QStringLiteral("3"), QStringLiteral("--dump")},
         QStringLiteral("-abrechnung.txt")},
        {{QStringLiteral("print"), QStringLiteral("--report"), QStringLiteral("gema"),
          QStringLiteral("--event"), QStringLiteral("3"), QStringLiteral("--dump")},
         QStringLiteral("-gema.txt")},
        {{QStringLiteral("ics"), QStringLiteral("--out")}, QStringLiteral(".ics")},
    };
    for (const auto& [command, name] : outputs) {
        const QByteArray fromFile = output(home, command, name);
        EXPECT_FALSE(fromFile.isEmpty()) << name.toStdString();
        EXPECT_EQ(output(band, command, name), fromFile) << name.toStdString();
    }
    // The CSV export names its directory after its sub-command.
    for (const char* table : {"firms", "musicians", "songs"}) {
        QByteArray exported[2];
        for (int side = 0; side < 2; ++side) {
            const QString target =
                QDir(root.path())
                    .filePath(QStringLiteral("%1-%2.csv").arg(side).arg(QLatin1String(table)));
            ASSERT_EQ(runTool({QStringLiteral("csv"), QStringLiteral("export"), side ? band : home,
                               QStringLiteral("--table"), QLatin1String(table), target})
                          .exitCode,
                      0);
            exported[side] = contentOf(target);
        }
        EXPECT_FALSE(exported[0].isEmpty());
        EXPECT_EQ(exported[1], exported[0]) << table;
    }

    // A musician who may only read: the server refuses every write.
    const QString musician = server.name() + QStringLiteral("_musiker");
    run = runTool({QStringLiteral("server"), band, QStringLiteral("--add-user"), musician,
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
    run = runTool({QStringLiteral("server"), band, QStringLiteral("--add-user"), musician}, "\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains(QStringLiteral("bereits die Anmeldung")));

    // Home again: a new file with every row, and the settings without the server.
    run = runTool({QStringLiteral("server"), band, QStringLiteral("--back")});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(settings.readText(QStringLiteral("DATABASE"), QStringLiteral("Server")).isEmpty());
    // It holds what the file kept at home holds, which went through the same exports.
    const auto before = ServerMove::figuresOfFile(QDir(home).filePath(QStringLiteral("Kavio.mde")));
    const auto after = ServerMove::figuresOfFile(QDir(band).filePath(QStringLiteral("Kavio.mde")));
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].rows, after[i].rows) << before[i].table;
        EXPECT_EQ(before[i].columns, after[i].columns) << before[i].table;
    }

    // Login roles live beside the database; the test's goes with it.
    PgTestServer::query(PgTestServer::uri(), QStringLiteral("DROP ROLE \"%1\"").arg(musician));
}

} // namespace
