// Versioned copies of the database: written after the exit maintenance, rotated, listed and
// restored. A restore never replaces the file by anything but a complete, checked copy, and the
// replaced state is kept as a copy itself.
#include "core/Backup.h"
#include "core/ExitMaintenance.h"
#include "core/ProgramDirectory.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "data/Schema.h"
#include "support/TestDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QDateTime kNow(QDate(2024, 6, 15), QTime(12, 0));

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

void addEvent(CDatabase& db, const char* place) {
    db.execute(std::string("INSERT INTO T_Event (EArt, EOrt, EBeginn, Status) VALUES ('Gig', '") +
               place + "', '2024-05-01 20:00:00', 1)");
}

int eventsIn(const QString& path) {
    CDatabase db;
    db.open(path);
    return db.queryText("SELECT count(*) FROM T_Event WHERE EventID > 0").toInt();
}

class BackupTest : public ::testing::Test {
protected:
    TestDatabase data;
    QString folder() const { return Backup::folder(data.dir()); }
};

} // namespace

TEST(BackupRotation, KeepsTheNewestAndOnePerMonthForAYear) {
    QTemporaryDir dir;
    // Twelve copies over fourteen months, some months with two, some with none.
    const QList<QDateTime> taken = {
        {QDate(2023, 4, 10), QTime(18, 0)}, {QDate(2023, 5, 20), QTime(18, 0)},
        {QDate(2023, 6, 20), QTime(18, 0)}, {QDate(2023, 8, 1), QTime(18, 0)},
        {QDate(2023, 8, 30), QTime(18, 0)}, {QDate(2023, 11, 11), QTime(18, 0)},
        {QDate(2024, 1, 5), QTime(18, 0)},  {QDate(2024, 3, 3), QTime(18, 0)},
        {QDate(2024, 3, 28), QTime(18, 0)}, {QDate(2024, 5, 1), QTime(18, 0)},
        {QDate(2024, 6, 1), QTime(18, 0)},  {QDate(2024, 6, 14), QTime(9, 30, 5)}};
    auto nameOf = [](const QDateTime& when) {
        return QStringLiteral("Kavio-%1.mde")
            .arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    };
    auto createAll = [&] {
        for (const QDateTime& when : taken) {
            QFile file(dir.filePath(nameOf(when)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    };
    createAll();
    QFile(dir.filePath(QStringLiteral("Notizen.txt"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("Kavio-alt.mde"))).open(QIODevice::WriteOnly);

    // Ten newest: everything from June 2023 on; the two older than a year go.
    QStringList removed = Backup::rotate(dir.path(), kNow, 10);
    EXPECT_EQ(removed.size(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(nameOf(taken[0]))));
    EXPECT_FALSE(QFile::exists(dir.filePath(nameOf(taken[1]))));
    EXPECT_EQ(Backup::list(dir.path()).size(), 10);

    // Three newest: then the month rule decides: the newest of each month of the last year.
    createAll();
    removed = Backup::rotate(dir.path(), kNow, 3);
    QStringList kept;
    for (const Backup::Copy& copy : Backup::list(dir.path()))
        kept << copy.taken.date().toString(Qt::ISODate);
    EXPECT_EQ(kept, QStringList({"2024-06-14", "2024-06-01", "2024-05-01", "2024-03-28",
                                 "2024-01-05", "2023-11-11", "2023-08-30", "2023-06-20"}));
    // Files that are no copies stay.
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Notizen.txt"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Kavio-alt.mde"))));
}

TEST_F(BackupTest, CopyIsCompleteListedAndTwoInOneSecondBothKept) {
    addEvent(data.db(), "Köln");
    addEvent(data.db(), "Bonn");
    data.db().close();
    const QByteArray before = hashOf(data.databasePath());
    const QString first = Backup::write(data.databasePath(), folder(), kNow);
    const QString second = Backup::write(data.databasePath(), folder(), kNow);
    EXPECT_NE(first, second);
    EXPECT_EQ(hashOf(data.databasePath()), before);
    EXPECT_TRUE(Backup::checkCopy(first).isEmpty());
    const QList<Backup::Copy> copies = Backup::list(folder());
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(copies[0].taken, kNow);
    EXPECT_EQ(copies[0].events, 2);
    EXPECT_GT(copies[0].size, 0);
    EXPECT_EQ(eventsIn(first), 2);
    // No temporary file is left behind.
    EXPECT_EQ(namesIn(folder()).size(), 2);
}

TEST_F(BackupTest, FailedBackupLeavesDatabaseUntouched) {
    addEvent(data.db(), "Köln");
    // The backup folder cannot be made: a file of that name is in the way.
    QFile blocker(folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    MaintenanceReport report = runExitMaintenance(data.db(), data.databasePath());
    ASSERT_TRUE(report.compacted);
    const QByteArray compacted = hashOf(data.databasePath());
    backupAfterMaintenance(data.databasePath(), Backup::Options(), kNow, report);
    EXPECT_TRUE(report.backupPath.isEmpty());
    EXPECT_TRUE(report.backupError.contains(QStringLiteral("Datensicherung")))
        << report.backupError.toStdString();
    EXPECT_EQ(maintenanceNotice(report), report.backupError);
    EXPECT_EQ(hashOf(data.databasePath()), compacted);
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
    EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde", "Sicherung"}));
}

TEST_F(BackupTest, MaintenanceWritesACopyOnlyWhenSwitchedOnAndRotates) {
    addEvent(data.db(), "Köln");
    MaintenanceReport report = runExitMaintenance(data.db(), data.databasePath());
    backupAfterMaintenance(data.databasePath(), Backup::Options{false, 10}, kNow, report);
    EXPECT_FALSE(QDir(folder()).exists());

    for (int i = 0; i < 4; ++i)
        backupAfterMaintenance(data.databasePath(), Backup::Options{true, 2},
                               kNow.addSecs(-60 * (3 - i)), report);
    EXPECT_TRUE(report.backupError.isEmpty()) << report.backupError.toStdString();
    EXPECT_EQ(report.backupPath, Backup::list(folder()).first().path);
    // All four fall into June: the two newest stay.
    EXPECT_EQ(Backup::list(folder()).size(), 2);
}

TEST_F(BackupTest, DamagedOrForeignCopyIsRefusedAndNothingReplaced) {
    addEvent(data.db(), "Köln");
    data.db().close();
    const QString copy = Backup::write(data.databasePath(), folder(), kNow.addDays(-1));
    // Damage everything after the first page.
    {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 8192);
        file.seek(4096);
        file.write(QByteArray(static_cast<int>(size - 4096), '\xA5'));
    }
    QTemporaryDir other;
    const QString foreign = other.filePath(QStringLiteral("fremd.mde"));
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Dies ist keine Datenbank.");
    }
    const QByteArray before = hashOf(data.databasePath());
    const QStringList folderBefore = namesIn(folder());
    for (const QString& bad : {copy, foreign}) {
        try {
            Backup::restore(data.databasePath(), bad, folder(), kNow);
            ADD_FAILURE() << "restored " << bad.toStdString();
        } catch (const CDaoException& error) {
            EXPECT_TRUE(error.description().contains(QStringLiteral("bleibt unverändert")))
                << error.description().toStdString();
        }
        EXPECT_EQ(hashOf(data.databasePath()), before);
        EXPECT_EQ(namesIn(folder()), folderBefore);
        EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde", "Sicherung"}));
    }
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
}

TEST_F(BackupTest, RestoreKeepsACopyOfTheReplacedFileAndRespectsTheLock) {
    addEvent(data.db(), "Köln");
    data.db().close();
    const QString old = Backup::write(data.databasePath(), folder(), kNow.addDays(-2));
    data.db().open(data.databasePath());
    addEvent(data.db(), "Bonn");
    addEvent(data.db(), "Mainz");

    // While the database is open (here or in another program) it is not replaced.
    const QByteArray openState = hashOf(data.databasePath());
    EXPECT_THROW(Backup::restore(data.databasePath(), old, folder(), kNow), CDaoException);
    EXPECT_EQ(hashOf(data.databasePath()), openState);
    EXPECT_EQ(Backup::list(folder()).size(), 1);
    EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde", "Sicherung"}));

    data.db().close();
    const QString saved = Backup::restore(data.databasePath(), old, folder(), kNow);
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
    EXPECT_EQ(eventsIn(saved), 3);
    EXPECT_EQ(eventsIn(old), 1); // the chosen copy stays as it was
    EXPECT_EQ(Backup::list(folder()).size(), 2);
    EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde", "Sicherung"}));
}

TEST_F(BackupTest, ToolBacksUpAndRestores) {
    addEvent(data.db(), "Köln");
    data.db().close();
    QProcess tool;
    tool.start(QStringLiteral(VORLANTO_TOOL_PATH), {QStringLiteral("backup"), data.dir()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QList<Backup::Copy> copies = Backup::list(folder());
    ASSERT_EQ(copies.size(), 1);

    data.db().open(data.databasePath());
    addEvent(data.db(), "Bonn");
    data.db().close();
    // Named by file name alone, the copy is looked for in the backup folder.
    tool.start(QStringLiteral(VORLANTO_TOOL_PATH),
               {QStringLiteral("restore"), data.dir(), QFileInfo(copies[0].path).fileName()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
    EXPECT_EQ(Backup::list(folder()).size(), 2);

    tool.start(QStringLiteral(VORLANTO_TOOL_PATH),
               {QStringLiteral("restore"), data.dir(), QStringLiteral("gibtsnicht.mde")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains("nicht gefunden"));
}

namespace {

// Runs statements on a file past every check of ours.
void rawExec(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK)
        << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// A copy of the database as another program or a broken run might have left it.
QString badCopy(const QString& folder, const char* name, const char* sql) {
    const QString path = QDir(folder).filePath(QString::fromUtf8(name));
    createDatabase(path);
    if (sql)
        rawExec(path, sql);
    return path;
}

} // namespace

TEST_F(BackupTest, EveryKindOfBadCopyIsRefusedWithItsReasonBeforeAnythingMoves) {
    addEvent(data.db(), "Köln");
    data.db().close();
    QTemporaryDir other;
    const QString missingColumn =
        badCopy(other.path(), "ohne-spalte.mde",
                R"(ALTER TABLE "T_Stamm_Musiker" DROP COLUMN "MHomepage")");
    const QString newer = badCopy(other.path(), "neuer.mde", "PRAGMA user_version = 99");
    const QString truncated = badCopy(other.path(), "abgebrochen.mde", nullptr);
    {
        QFile file(truncated);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 3 * 4096);
        ASSERT_TRUE(file.resize(file.size() / 2 + 100));
    }
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {missingColumn, QStringLiteral("fehlt die Spalte MHomepage")},
        {newer, QStringLiteral("neueren Vorlanto-Version")},
        {truncated, QStringLiteral("ist beschädigt oder unvollständig")},
        {data.databasePath(), QStringLiteral("ist die Datenbank selbst")},
    };
    const QByteArray before = hashOf(data.databasePath());
    for (const auto& each : cases) {
        SCOPED_TRACE(each.path.toStdString());
        try {
            Backup::restore(data.databasePath(), each.path, folder(), kNow);
            ADD_FAILURE() << "restored";
        } catch (const CDaoException& error) {
            const std::string text = error.description().toStdString();
            EXPECT_TRUE(error.description().contains(each.reason)) << text;
            // The message names the file the user chose, never a temporary copy.
            EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(each.path))) << text;
            EXPECT_TRUE(error.description().endsWith(QStringLiteral("bleibt unverändert.")))
                << text;
        }
        EXPECT_EQ(hashOf(data.databasePath()), before);
        EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde"}));
    }
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
}

TEST_F(BackupTest, CopyOfAnOlderVersionIsBroughtUpToDateAndCheckedWhenRestored) {
    addEvent(data.db(), "Köln");
    data.db().close();
    QTemporaryDir other;
    // Files of version 2: the calendar tables came with version 3.
    auto olderCopy = [&](const char* name, const char* sql) {
        const QString path = badCopy(other.path(), name, sql);
        rawExec(path, R"(INSERT INTO T_Event (EOrt) VALUES ('Bonn'), ('Mainz'); )"
                      R"(DROP TABLE "X_Kalender_Event"; DROP TABLE "X_Kalender"; )"
                      "PRAGMA user_version = 2");
        return path;
    };
    const QString broken = olderCopy("alt-ohne-spalte.mde",
                                     R"(ALTER TABLE "T_Stamm_Musiker" DROP COLUMN "MHomepage")");
    const QByteArray before = hashOf(data.databasePath());
    try {
        Backup::restore(data.databasePath(), broken, folder(), kNow);
        ADD_FAILURE() << "restored an old copy without a column";
    } catch (const CDaoException& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("fehlt die Spalte MHomepage")))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(broken)))
            << error.description().toStdString();
    }
    EXPECT_EQ(hashOf(data.databasePath()), before);
    EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde"}));

    Backup::restore(data.databasePath(), olderCopy("alt.mde", nullptr), folder(), kNow);
    EXPECT_EQ(eventsIn(data.databasePath()), 2);
    CDatabase restored;
    restored.open(data.databasePath());
    EXPECT_EQ(restored.queryText("PRAGMA user_version"), QString::number(Schema::kVersion));
}

TEST_F(BackupTest, BackupOfAForeignFileNamesItAndLeavesNoFolder) {
    data.db().close();
    {
        QFile file(data.databasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("Dies ist keine Datenbank.");
    }
    try {
        Backup::write(data.databasePath(), folder(), kNow);
        ADD_FAILURE() << "a foreign file was backed up";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("Die Datensicherung wurde nicht angelegt: Die Datei %1 ist keine "
                                 "Vorlanto-Datenbank.")
                      .arg(QDir::toNativeSeparators(data.databasePath())));
    }
    EXPECT_EQ(namesIn(data.dir()), QStringList({"Kavio.mde"}));
}

TEST_F(BackupTest, CopiesOfTheSameSecondListInTheOrderTheyWereTaken) {
    data.db().close();
    QStringList written;
    for (int i = 0; i < 11; ++i)
        written << QFileInfo(Backup::write(data.databasePath(), folder(), kNow)).fileName();
    QStringList listed;
    for (const Backup::Copy& copy : Backup::list(folder()))
        listed << QFileInfo(copy.path).fileName();
    std::reverse(written.begin(), written.end());
    EXPECT_EQ(listed, written);
    // Rotation keeps the newest of that second, not the one named without a counter.
    Backup::rotate(folder(), kNow, 1);
    EXPECT_EQ(namesIn(folder()), QStringList({written.first()}));
}

TEST_F(BackupTest, LeftoversOfStoppedRunsAreRemovedAndNothingElse) {
    data.db().close();
    QDir(data.dir()).mkdir(QStringLiteral("Sicherung"));
    const QStringList left = {QStringLiteral(".Kavio-tmp-restore-aB3dE9"),
                              QStringLiteral("Sicherung/.Kavio-tmp-backup-Zz0099")};
    const QStringList others = {QStringLiteral(".Kavio-tmp-notizen.txt"),
                                QStringLiteral("Kavio-tmp-backup-abcdef"),
                                QStringLiteral("Sicherung/Kavio-2024-06-01-120000.mde"),
                                QStringLiteral("Sicherung/.Kavio-tmp-backup-inUse1")};
    for (const QString& name : left + others) {
        QFile file(QDir(data.dir()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    // A copy still being written is locked by its writer.
    const int writing =
        ::open(QFile::encodeName(QDir(data.dir()).filePath(others.last())).constData(), O_RDONLY);
    ASSERT_EQ(::flock(writing, LOCK_SH | LOCK_NB), 0);
    QStringList removed = removeLeftoverCopies(data.dir());
    ::close(writing);
    for (QString& path : removed)
        path = QDir(data.dir()).relativeFilePath(path);
    removed.sort();
    EXPECT_EQ(removed, left);
    for (const QString& name : others)
        EXPECT_TRUE(QFile::exists(QDir(data.dir()).filePath(name))) << name.toStdString();
}

TEST_F(BackupTest, ADamagedDatabaseCanBeReplacedAndIsKeptByteForByte) {
    addEvent(data.db(), "Köln");
    data.db().close();
    const QString good = Backup::write(data.databasePath(), folder(), kNow.addDays(-1));
    {
        // Many events, then a run of pages in the middle overwritten.
        CDatabase db;
        db.open(data.databasePath());
        db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                   "INSERT INTO T_Event (EOrt, EVereinbarung) SELECT 'Ort ' || i, "
                   "printf('%.200c', 'x') FROM n");
    }
    {
        QFile file(data.databasePath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(file.size() / 2 & ~qint64(4095)));
        file.write(QByteArray(8 * 4096, '\x5a'));
    }
    const QByteArray damaged = hashOf(data.databasePath());
    const QString kept = Backup::restore(data.databasePath(), good, folder(), kNow);
    EXPECT_TRUE(QFileInfo(kept).fileName().endsWith(QStringLiteral("-beschaedigt.mde")))
        << kept.toStdString();
    EXPECT_EQ(hashOf(kept), damaged);
    EXPECT_EQ(eventsIn(data.databasePath()), 1);
    // The copies' list and rotation leave it alone.
    EXPECT_EQ(Backup::list(folder()).size(), 1);
    Backup::rotate(folder(), kNow, 0);
    EXPECT_TRUE(QFile::exists(kept));
}
