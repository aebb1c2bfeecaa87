// Backups, restores and the exit purge of a program directory whose database is on a
// PostgreSQL server: a copy is a file database with the server's figures, a restore gives the
// copy's data back in one step and keeps what it replaced, and nothing that needs the server to
// itself happens while another program is connected.
#include "core/Backup.h"
#include "core/ExitMaintenance.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/PgConnection.h"
#include "data/ServerMove.h"
#include "data/ServerSchema.h"
#include "support/PgTestServer.h"
#include "support/TestDatabase.h"
#include "support/ToolRun.h"
#include "tool/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace {

using Figures = std::vector<ServerMove::TableFigures>;

void expectSameFigures(const Figures& expected, const Figures& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].rows, actual[i].rows) << expected[i].table;
        ASSERT_EQ(expected[i].columns.size(), actual[i].columns.size());
        // A file adds amounts as binary fractions, the server as the decimals written.
        for (size_t c = 0; c < expected[i].columns.size(); ++c)
            EXPECT_NEAR(expected[i].columns[c], actual[i].columns[c],
                        1e-6 * std::max(1.0, std::fabs(expected[i].columns[c])))
                << expected[i].table << " " << c;
    }
}

class ServerBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.uri().isEmpty());
        fillDemoData(file.db());
        file.db().close();
        {
            PgConnection owner(server.uri().toStdString());
            ServerMove::copyIntoServer(file.databasePath(), owner);
        }
        db.openServer(uri());
        folder = Backup::folder(directory.path());
    }

    std::string uri() const { return server.uri().toStdString(); }
    Figures serverFigures() { return ServerMove::figuresOfServer(*db.server()); }
    QString restoreRefusal(const QString& copy) {
        try {
            Backup::restoreOnServer(db, copy, folder, now.addSecs(60));
        } catch (const CDaoException& error) {
            return error.description();
        }
        ADD_FAILURE() << "the restore was not refused";
        return QString();
    }

    TestDatabase file;
    PgTestDatabase server;
    QTemporaryDir directory;
    QString folder;
    CDatabase db;
    const QDateTime now = QDateTime(QDate(2025, 3, 1), QTime(18, 15));
};

TEST_F(ServerBackupTest, ABackupOfTheServerOpensAsAFileWithTheSameFigures) {
    const QString copy = Backup::writeOf(db, folder, now);
    EXPECT_EQ(QFileInfo(copy).fileName(), QStringLiteral("Kavio-2025-03-01-181500.mde"));
    EXPECT_EQ(QFileInfo(copy).absolutePath(), QFileInfo(folder).absoluteFilePath());
    expectSameFigures(serverFigures(), ServerMove::figuresOfFile(copy));
    EXPECT_TRUE(Backup::checkCopy(copy).isEmpty());
    // Listed as every copy is, with its events; nothing temporary is left beside it.
    const QList<Backup::Copy> copies = Backup::list(folder);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies.first().events,
              db.queryText(R"(SELECT count(*) FROM "T_Event" WHERE "EventID" > 0)").toInt());
    EXPECT_GT(copies.first().events, 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // The band takes it home: it opens as the program opens a file and can be written.
    CDatabase home;
    home.open(copy);
    EXPECT_FALSE(home.isReadOnly());
    home.execute(R"(INSERT INTO "T_Stamm_Songliste" ("Titel") VALUES ('Daheim'))");
}

TEST_F(ServerBackupTest, RestoreGivesBackTheCopysDataAndKeepsWhatItReplaced) {
    const QString copy = Backup::writeOf(db, folder, now);
    const Figures copied = ServerMove::figuresOfFile(copy);
    // Changed since: an event with everything that belongs to it gone, a song added.
    db.execute(R"(DELETE FROM "T_Event" WHERE "EventID" = 3)");
    db.execute(R"(INSERT INTO "T_Stamm_Songliste" ("Titel") VALUES ('Neu seit der Kopie'))");
    const Figures changed = serverFigures();

    const QString saved = Backup::restoreOnServer(db, copy, folder, now.addSecs(60));
    expectSameFigures(copied, serverFigures());
    EXPECT_EQ(db.queryText(R"(SELECT count(*) FROM "T_Stamm_Songliste" WHERE "Titel" =
                              'Neu seit der Kopie')"),
              QStringLiteral("0"));
    // What was replaced is a copy of its own, listed beside the chosen one.
    EXPECT_EQ(QFileInfo(saved).fileName(), QStringLiteral("Kavio-2025-03-01-181600.mde"));
    expectSameFigures(changed, ServerMove::figuresOfFile(saved));
    EXPECT_EQ(Backup::list(folder).size(), 2);
    // New rows get keys after the highest restored one; the change tracking still works.
    const int highest = db.queryText(R"(SELECT max("EventID") FROM "T_Event")").toInt();
    PgConnection other(uri());
    other.execute(std::string("LISTEN ") + ServerSchema::kChannel);
    EXPECT_EQ(db.queryText(R"(INSERT INTO "T_Event" ("EArt") VALUES ('Neu') RETURNING "EventID")")
                  .toInt(),
              highest + 1);
    other.query("SELECT 1");
    EXPECT_EQ(other.takeNotifications().size(), 1u);
}

TEST_F(ServerBackupTest, RestoreIsRefusedWhileOthersAreConnectedAndTheServerStaysAsItWas) {
    const QString copy = Backup::writeOf(db, folder, now);
    db.execute(R"(DELETE FROM "T_Event" WHERE "EventID" = 3)");
    const Figures before = serverFigures();
    {
        PgConnection first(uri());
        EXPECT_TRUE(restoreRefusal(copy).contains(QStringLiteral("noch ein anderes Programm")));
        PgConnection second(uri());
        EXPECT_TRUE(restoreRefusal(copy).contains(QStringLiteral("noch 2 andere Programme")));
        expectSameFigures(before, serverFigures());
        // Refused before the server's data was copied: only the chosen copy is there.
        EXPECT_EQ(Backup::list(folder).size(), 1);
    }
    // A connection to another database on the same server is no other program here.
    PgConnection elsewhere(PgTestServer::uri().toStdString());
    ASSERT_TRUE(server.waitForConnections(1));
    Backup::restoreOnServer(db, copy, folder, now.addSecs(60));
    EXPECT_EQ(db.queryText(R"(SELECT count(*) FROM "T_Event" WHERE "EventID" = 3)"),
              QStringLiteral("1"));
}

TEST_F(ServerBackupTest, ARestoreThatFailsMidwayLeavesTheServerAsItWas) {
    const QString copy = Backup::writeOf(db, folder, now);
    // Two article groups the file tells apart (its case rule knows no umlauts) but the server
    // takes for one: the server refuses the second after the tables were emptied.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(copy.toUtf8().constData(), &raw), SQLITE_OK);
    char* failure = nullptr;
    EXPECT_EQ(sqlite3_exec(raw,
                           R"(INSERT INTO "T_Stamm_Artikelgruppe" ("Artikelgruppe")
                              VALUES ('Ärmel'), ('ärmel'))",
                           nullptr, nullptr, &failure),
              SQLITE_OK)
        << (failure ? failure : "");
    sqlite3_free(failure);
    sqlite3_close(raw);
    ASSERT_TRUE(Backup::checkCopy(copy).isEmpty());
    db.execute(R"(DELETE FROM "T_Event" WHERE "EventID" = 3)");
    const Figures before = serverFigures();

    const QString reason = restoreRefusal(copy);
    // Refused by the server while copying, not by a check before.
    EXPECT_TRUE(reason.contains(QStringLiteral("denselben Werten"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QStringLiteral("nicht wiederhergestellt"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QStringLiteral("bleibt unverändert"))) << reason.toStdString();
    expectSameFigures(before, serverFigures());
}

TEST_F(ServerBackupTest, TheExitPurgeWaitsUntilNoOtherProgramIsConnected) {
    db.execute(R"(INSERT INTO "T_Stamm_Musiker" ("MName", "fDeleted") VALUES ('Weg', -1))");
    const auto flagged = [&] {
        return db.queryText(R"(SELECT count(*) FROM "T_Stamm_Musiker" WHERE "MName" = 'Weg')");
    };
    Backup::Options options;
    options.keepLast = 1;
    {
        PgConnection other(uri());
        const MaintenanceReport report = runServerMaintenance(db, directory.path(), options, now);
        EXPECT_EQ(report.purged, -1);
        EXPECT_EQ(report.othersConnected, 1);
        EXPECT_TRUE(report.purgeError.isEmpty());
        EXPECT_EQ(flagged(), QStringLiteral("1"));
        // The copy is written all the same.
        EXPECT_TRUE(QFile::exists(report.backupPath));
        EXPECT_TRUE(maintenanceNotice(report).isEmpty());
    }
    ASSERT_TRUE(server.waitForConnections(1));
    const MaintenanceReport last =
        runServerMaintenance(db, directory.path(), options, now.addSecs(1));
    EXPECT_GE(last.purged, 1);
    EXPECT_EQ(flagged(), QStringLiteral("0"));
    // The rotation keeps the configured number: the copy of the first run goes.
    EXPECT_EQ(last.backupsRemoved.size(), 1);
    ASSERT_EQ(Backup::list(folder).size(), 1);
    EXPECT_EQ(Backup::list(folder).first().path, QFileInfo(last.backupPath).absoluteFilePath());
}

TEST_F(ServerBackupTest, TheToolBacksUpMaintainsAndRestoresAServerDirectory) {
    QFile settings(QDir(directory.path()).filePath(QStringLiteral("Kavio.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[DATABASE]\nServer=" + server.uri().toUtf8() + "\n");
    settings.close();
    db.close();

    ToolRun run = runTool({QStringLiteral("backup"), directory.path()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_EQ(Backup::list(folder).size(), 1);
    const QString copy = Backup::list(folder).first().path;
    EXPECT_TRUE(run.output.contains(QFileInfo(copy).fileName())) << run.output.toStdString();

    db.openServer(uri());
    db.execute(R"(INSERT INTO "T_Stamm_Musiker" ("MName", "fDeleted") VALUES ('Weg', -1))");
    // This test's own connection is another program for the tool.
    run = runTool({QStringLiteral("maintain"), directory.path()});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Bereinigung übersprungen: ein weiteres "
                                                   "Programm")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Datensicherung: ")))
        << run.output.toStdString();
    db.close();
    ASSERT_TRUE(server.waitForConnections(0));

    run = runTool({QStringLiteral("maintain"), directory.path()});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(
        run.output.contains(QRegularExpression(QStringLiteral("Bereinigung: [1-9]\\d* gelöschte"))))
        << run.output.toStdString();
    run = runTool({QStringLiteral("restore"), directory.path(), QFileInfo(copy).fileName()});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Bisherige Datenbank gesichert")));
    db.openServer(uri());
    expectSameFigures(ServerMove::figuresOfFile(copy), serverFigures());
}

} // namespace
