// The maintenance at exit: purge, integrity check and compaction in place. Whatever fails or
// wherever the process is stopped, Kavio.mde stays a complete database.
#include "core/ExitMaintenance.h"
#include "ShellTestSupport.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kSongs = 3000;       // rows the purge never touches
constexpr int kFlagged = 300;      // flagged musicians
constexpr int kFlaggedInUse = 100; // of which still in a line-up

// Songs with some of them deleted again (free pages to compact away), flagged musicians of
// which some are still in a line-up, and one musician in use.
void fill(CDatabase& db) {
    db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(kSongs * 2) +
               ") INSERT INTO T_Stamm_Songliste (Titel, Bemerkungen) "
               "SELECT 'Song ' || i, printf('%.200c', 'x') FROM n");
    db.execute("DELETE FROM T_Stamm_Songliste WHERE SongID % 2 = 0");
    db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(kFlagged) +
               ") INSERT INTO T_Stamm_Musiker (MusikerID, MName, fDeleted) "
               "SELECT i, 'Musiker ' || i, -1 FROM n");
    db.execute("INSERT INTO T_Stamm_Musiker (MName) VALUES ('Aktiv')");
    db.execute("INSERT INTO T_Event_Besetzung (EventID, MusikerID) SELECT 0, MusikerID FROM "
               "T_Stamm_Musiker WHERE MusikerID <= " +
               std::to_string(kFlaggedInUse));
}

struct Contents {
    QString integrity;
    int songs = -1;
    QString songSum;
    int active = -1;
    int flagged = -1;
};

// Opens the file as the program would and reads what must survive.
Contents contentsOf(const QString& path) {
    Contents contents;
    CDatabase db;
    db.open(path);
    contents.integrity = db.queryText("PRAGMA integrity_check");
    contents.songs = db.queryText("SELECT count(*) FROM T_Stamm_Songliste").toInt();
    contents.songSum = db.queryText("SELECT sum(SongID) || '/' || sum(length(Bemerkungen)) || "
                                    "'/' || group_concat(Titel, '') FROM T_Stamm_Songliste");
    contents.active =
        db.queryText("SELECT count(*) FROM T_Stamm_Musiker WHERE fDeleted = 0").toInt();
    contents.flagged =
        db.queryText("SELECT count(*) FROM T_Stamm_Musiker WHERE fDeleted = -1").toInt();
    return contents;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Files beside the database that a compaction may leave behind.
QStringList leftovers(const QString& directory) {
    QStringList names = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("Kavio.mde"));
    return names;
}

// Overwrites a run of pages in the middle of the file (the song table of the filled data).
bool damage(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2 & ~qint64(4095)) &&
           file.write(QByteArray(8 * 4096, '\x5a')) == 8 * 4096;
}

TEST(ExitMaintenanceTest, PurgesThenCompactsInPlaceKeepingEveryRow) {
    TestDatabase t;
    fill(t.db());
    t.db().close();
    const Contents before = contentsOf(t.databasePath());
    t.db().open(t.databasePath());
    const qint64 sizeBefore = QFileInfo(t.databasePath()).size();

    MessageRecorder messages;
    const MaintenanceReport report = runExitMaintenance(t.db(), t.databasePath());
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_FALSE(t.db().isOpen());
    EXPECT_EQ(report.purged, kFlagged - kFlaggedInUse);
    EXPECT_TRUE(report.intact);
    EXPECT_TRUE(report.compacted);
    EXPECT_TRUE(maintenanceNotice(report).isEmpty());
    EXPECT_EQ(report.sizeBefore, sizeBefore);
    EXPECT_EQ(report.sizeAfter, QFileInfo(t.databasePath()).size());
    EXPECT_LT(report.sizeAfter, sizeBefore * 3 / 4);
    EXPECT_TRUE(leftovers(t.dir()).isEmpty()) << leftovers(t.dir()).join(u' ').toStdString();

    const Contents after = contentsOf(t.databasePath());
    EXPECT_EQ(after.integrity, QLatin1String("ok"));
    EXPECT_EQ(after.songs, kSongs);
    EXPECT_EQ(after.songSum, before.songSum);
    EXPECT_EQ(after.active, 1);
    EXPECT_EQ(after.flagged, kFlaggedInUse);
}

// A damaged file is left exactly as it is, for the user to restore; the report carries the one
// notice that says so and what to do. The maintenance itself shows nothing.
TEST(ExitMaintenanceTest, DamagedFileIsNotCompactedButReportedWithWhatToDo) {
    TestDatabase t;
    fill(t.db());
    t.db().close();
    ASSERT_TRUE(damage(t.databasePath()));
    const QByteArray damaged = bytesOf(t.databasePath());

    MessageRecorder messages;
    MaintenanceReport report;
    checkAndCompact(t.databasePath(), report);
    EXPECT_TRUE(report.checked);
    EXPECT_FALSE(report.intact);
    EXPECT_FALSE(report.compacted);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(bytesOf(t.databasePath()), damaged);
    EXPECT_TRUE(leftovers(t.dir()).isEmpty());

    const QString notice = maintenanceNotice(report);
    EXPECT_TRUE(notice.startsWith(QStringLiteral("Die Datenbank"))) << notice.toStdString();
    for (const QString& part : {QStringLiteral("beschädigt"), QStringLiteral("unverändert"),
                                QStringLiteral("Datensicherung"), QStringLiteral("Kopie")})
        EXPECT_TRUE(notice.contains(part)) << part.toStdString() << ": " << notice.toStdString();
    EXPECT_EQ(notice.count(QStringLiteral("beschädigt")), 1);
}

// While another program compacts (it holds the exclusive lock on the file and its lock on the
// copy), its half-written copy beside the file is its own: a second maintenance neither compacts
// nor removes it.
TEST(ExitMaintenanceTest, CopiesOfARunningCompactionAreLeftAlone) {
    TestDatabase t;
    t.db().close();
    const QString copy = QDir(t.dir()).filePath(QStringLiteral(".Kavio-tmp-compact-aBcDeF"));
    {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("halb geschrieben");
    }
    {
        const int other = ::open(QFile::encodeName(t.databasePath()).constData(), O_RDONLY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
        const int writing = ::open(QFile::encodeName(copy).constData(), O_RDONLY);
        ASSERT_GE(writing, 0);
        ASSERT_EQ(::flock(writing, LOCK_SH | LOCK_NB), 0);
        MaintenanceReport report;
        checkAndCompact(t.databasePath(), report);
        ::close(other);
        EXPECT_FALSE(report.compacted);
        EXPECT_FALSE(maintenanceNotice(report).isEmpty());
        EXPECT_EQ(maintenanceNotice(report), report.compactError);
        EXPECT_TRUE(QFile::exists(copy));
        // The lock on the file gone, the copy still being written stays too.
        MaintenanceReport next;
        checkAndCompact(t.databasePath(), next);
        EXPECT_TRUE(next.compacted);
        EXPECT_TRUE(QFile::exists(copy));
        ::close(writing);
    }
    // Once nobody holds the file, the next maintenance clears what is left.
    MaintenanceReport report;
    checkAndCompact(t.databasePath(), report);
    EXPECT_TRUE(report.compacted);
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(leftovers(t.dir()).isEmpty()) << leftovers(t.dir()).join(u' ').toStdString();
}

// Writing into a damaged file can make it worse: exit maintenance checks before it purges, and
// a damaged open file is closed untouched with the one notice.
TEST(ExitMaintenanceTest, DamagedOpenFileIsNeitherPurgedNorCompacted) {
    TestDatabase t;
    fill(t.db());
    t.db().close();
    ASSERT_TRUE(damage(t.databasePath()));
    t.db().open(t.databasePath());
    const QByteArray damaged = bytesOf(t.databasePath());

    const MaintenanceReport report = runExitMaintenance(t.db(), t.databasePath());
    EXPECT_FALSE(t.db().isOpen());
    EXPECT_EQ(report.purged, -1);
    EXPECT_FALSE(report.intact);
    EXPECT_FALSE(report.compacted);
    EXPECT_EQ(bytesOf(t.databasePath()), damaged);
    EXPECT_EQ(maintenanceNotice(report), report.damageNotice);
    EXPECT_EQ(maintenanceNotice(report).count(QStringLiteral("beschädigt")), 1);
}

// The tool refuses a write-protected database or folder as the program does, before it purges
// or compacts anything.
TEST(ExitMaintenanceTest, ToolRefusesAWriteProtectedDatabaseOrFolder) {
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder" : "file");
        TestDatabase t;
        fill(t.db());
        t.db().close();
        const QByteArray before = bytesOf(t.databasePath());
        {
            WriteProtection protection(folder ? t.dir() : t.databasePath());
            if (!protection.active())
                GTEST_SKIP() << "this process can write despite the protection (root without an "
                                "immutable flag on this file system)";
            QProcess tool;
            tool.start(QStringLiteral(VORLANTO_TOOL_PATH), {QStringLiteral("maintain"), t.dir()});
            ASSERT_TRUE(tool.waitForFinished(30000));
            EXPECT_NE(tool.exitCode(), 0);
            const QString error = QString::fromUtf8(tool.readAllStandardError());
            EXPECT_TRUE(error.contains(QStringLiteral("schreibgeschützt"))) << error.toStdString();
        }
        EXPECT_EQ(bytesOf(t.databasePath()), before);
    }
}

// A failed compaction leaves the file exactly as it was, removes its half-written copy and
// says so once.
class FailedCompactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        fill(t.db());
        t.db().close();
        original = bytesOf(t.databasePath());
    }

    // The maintenance shows nothing itself: its report says why, for the program to show.
    void expectUntouchedWithReason(const MessageRecorder& messages,
                                   const MaintenanceReport& report) {
        EXPECT_TRUE(report.intact);
        EXPECT_FALSE(report.compacted);
        EXPECT_TRUE(messages.messages().isEmpty());
        EXPECT_FALSE(report.compactError.isEmpty());
        EXPECT_EQ(maintenanceNotice(report), report.compactError);
        EXPECT_EQ(bytesOf(t.databasePath()), original);
        EXPECT_TRUE(leftovers(t.dir()).isEmpty()) << leftovers(t.dir()).join(u' ').toStdString();
        EXPECT_EQ(contentsOf(t.databasePath()).songs, kSongs);
    }

    TestDatabase t;
    QByteArray original;
};

TEST_F(FailedCompactionTest, FolderWithoutWriteAccess) {
    MessageRecorder messages;
    MaintenanceReport report;
    {
        WriteProtection protection(t.dir());
        if (!protection.active())
            GTEST_SKIP() << "this process can write despite the protection (root without an "
                            "immutable flag on this file system)";
        checkAndCompact(t.databasePath(), report);
    }
    expectUntouchedWithReason(messages, report);
}

TEST_F(FailedCompactionTest, CopyCannotBeWrittenToTheEnd) {
    // A file-size limit stops the copy half-way, as a full disk would; it holds for root too.
    MessageRecorder messages;
    MaintenanceReport report;
    {
        rlimit previous{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = static_cast<rlim_t>(original.size() / 3);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        checkAndCompact(t.databasePath(), report);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    expectUntouchedWithReason(messages, report);
}

// The maintenance tool is killed at random moments of its run; each time the database must open,
// be intact, and hold every committed row. The purge happened completely or not at all.
TEST(ExitMaintenanceKillTest, KillAtAnyMomentLeavesACompleteDatabase) {
    QTemporaryDir templateDir;
    const QString templatePath = templateDir.filePath(QStringLiteral("Kavio.mde"));
    createDatabase(templatePath);
    {
        CDatabase db;
        db.open(templatePath);
        fill(db);
    }
    const Contents before = contentsOf(templatePath);

    auto freshCopy = [&] {
        auto dir = std::make_unique<QTemporaryDir>();
        EXPECT_TRUE(QFile::copy(templatePath, dir->filePath(QStringLiteral("Kavio.mde"))));
        return dir;
    };
    auto startTool = [](QProcess& tool, const QString& directory) {
        tool.start(QStringLiteral(VORLANTO_TOOL_PATH), {QStringLiteral("maintain"), directory});
        return tool.waitForStarted(10000);
    };
    auto expectComplete = [&](const QString& directory) {
        const QString path = QDir(directory).filePath(QStringLiteral("Kavio.mde"));
        ASSERT_TRUE(QFile::exists(path));
        Contents after;
        try {
            after = contentsOf(path);
        } catch (const CDaoException& error) {
            FAIL() << error.description().toStdString();
        }
        EXPECT_EQ(after.integrity, QLatin1String("ok"));
        EXPECT_EQ(after.songs, before.songs);
        EXPECT_EQ(after.songSum, before.songSum);
        EXPECT_EQ(after.active, before.active);
        EXPECT_TRUE(after.flagged == before.flagged || after.flagged == kFlaggedInUse)
            << after.flagged;
    };

    // One undisturbed run tells how long the whole maintenance takes.
    std::unique_ptr<QTemporaryDir> dir = freshCopy();
    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(startTool(tool, dir->path())) << tool.errorString().toStdString();
    ASSERT_TRUE(tool.waitForFinished(30000));
    const qint64 fullRunUs = clock.nsecsElapsed() / 1000;
    const QByteArray output = tool.readAllStandardOutput();
    ASSERT_EQ(tool.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("Komprimiert")) << output.toStdString();
    expectComplete(dir->path());
    EXPECT_EQ(contentsOf(dir->filePath(QStringLiteral("Kavio.mde"))).flagged, kFlaggedInUse);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<qint64> delayUs(0, fullRunUs);
    for (int round = 0; round < 80; ++round) {
        const qint64 delay = delayUs(random);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(delay) +
                     " us of " + std::to_string(fullRunUs));
        dir = freshCopy();
        QProcess victim;
        ASSERT_TRUE(startTool(victim, dir->path())) << victim.errorString().toStdString();
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        victim.kill();
        ASSERT_TRUE(victim.waitForFinished(10000));
        expectComplete(dir->path());
        if (HasFatalFailure())
            return;
    }

    // The next run on a killed directory finishes the job and clears what the killed one left.
    ASSERT_TRUE(startTool(tool, dir->path())) << tool.errorString().toStdString();
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0);
    expectComplete(dir->path());
    EXPECT_TRUE(leftovers(dir->path()).isEmpty())
        << leftovers(dir->path()).join(u' ').toStdString();
}

} // namespace
