// Start-up from the working directory, the exit question of the main window, and the
// maintenance that runs once the window has gone.
#include "ShellTestSupport.h"
#include "app/CKavioApp.h"
#include "app/CMainFrame.h"
#include "app/CMainMenu.h"
#include "app/InstanceGuard.h"
#include "core/Backup.h"
#include "core/MessageService.h"
#include "core/ProgramDirectory.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/PgConnection.h"
#include "data/ServerMove.h"
#include "support/PgTestServer.h"
#include "views/CViewSplitRight.h"
#include "widgets/ReadOnlyForm.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using Icon = MessageService::Icon;
using Buttons = MessageService::Buttons;
using Answer = MessageService::Answer;

int openMainWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<CMainFrame*>(widget) != nullptr;
    return count;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(cwd.ok());
        program = QDir::currentPath();
    }

    QString file(const char* name) const { return QDir(program).filePath(QString::fromUtf8(name)); }

    void writeFile(const char* name, const QByteArray& bytes) {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
    }

    // Starts the program, which must give up after exactly one message with an OK button and
    // without a main window. Returns that message.
    MessageRecorder::Message failedStart() {
        MessageRecorder messages;
        CKavioApp app;
        EXPECT_FALSE(app.initInstance());
        EXPECT_EQ(app.mainFrame(), nullptr);
        EXPECT_EQ(openMainWindows(), 0);
        app.exitInstance(); // nothing to maintain without a window
        EXPECT_EQ(messages.messages().size(), 1) << messages.texts().join(u'\n').toStdString();
        if (messages.messages().isEmpty())
            return {QString(), Icon::Information, Buttons::YesNo};
        EXPECT_EQ(messages.messages().first().buttons, Buttons::Ok);
        return messages.messages().first();
    }

    QString databaseOpenError() {
        try {
            CDatabase db;
            db.open(file("Kavio.mde"));
        } catch (const CDaoException& error) {
            return error.description();
        }
        return QString();
    }

    QTemporaryDir dir;
    WorkingDirectory cwd{dir.path()};
    QString program;
};

TEST_F(StartupTest, MissingOrEmptyBackgroundEndsStartEvenWithDatabase) {
    createProgramDirectory(program);
    ASSERT_TRUE(QFile::remove(file("bgr1024.jpg")));
    EXPECT_EQ(failedStart().text,
              QStringLiteral("Datei %1 nicht gefunden.").arg(file("bgr1024.jpg")));

    writeFile("bgr1024.jpg", QByteArray());
    EXPECT_EQ(failedStart().text,
              QStringLiteral("Datei %1 scheint leer zu sein.").arg(file("bgr1024.jpg")));
}

TEST_F(StartupTest, MissingDatabaseNamesItsFullPath) {
    createProgramDirectory(program);
    ASSERT_TRUE(QFile::remove(file("Kavio.mde")));
    const MessageRecorder::Message message = failedStart();
    EXPECT_EQ(message.text,
              QStringLiteral("Datenbank %1 wurde nicht gefunden. Abbruch.").arg(file("Kavio.mde")));
    EXPECT_EQ(message.icon, Icon::Stop);
}

TEST_F(StartupTest, UnreadableDatabaseShowsTheDatabaseDescription) {
    createProgramDirectory(program);
    ASSERT_TRUE(QFile::remove(file("Kavio.mde")));
    QByteArray garbage(8192, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) % 251);
    // A SQLite file of some other program: a database, but not ours.
    QByteArray otherDatabase;
    {
        QTemporaryDir scratch;
        const QString path = scratch.filePath(QStringLiteral("other.db"));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE Kunden (Name TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QFile in(path);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        otherDatabase = in.readAll();
    }

    for (const QByteArray& content :
         {garbage, QByteArray("Kein Datenbankinhalt\n"), otherDatabase}) {
        writeFile("Kavio.mde", content);
        const QString description = databaseOpenError();
        ASSERT_FALSE(description.isEmpty());
        const MessageRecorder::Message message = failedStart();
        EXPECT_EQ(message.text, description);
        EXPECT_TRUE(message.text.contains(file("Kavio.mde"))) << message.text.toStdString();
        EXPECT_EQ(message.icon, Icon::Stop);
        EXPECT_FALSE(message.text.contains(QLatin1String("DAO")));
        // The file was only looked at, not changed.
        QFile check(file("Kavio.mde"));
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), content);
    }
}

TEST_F(StartupTest, DatabaseThatCannotBeOpenedIsNamedInTheMessage) {
    createProgramDirectory(program);
    ASSERT_TRUE(QFile::remove(file("Kavio.mde")));
    ASSERT_TRUE(QDir(program).mkdir(QStringLiteral("Kavio.mde"))); // there, but no file
    const MessageRecorder::Message message = failedStart();
    EXPECT_EQ(message.icon, Icon::Stop);
    EXPECT_TRUE(message.text.contains(file("Kavio.mde"))) << message.text.toStdString();
}

TEST_F(StartupTest, WriteProtectedDatabaseOrFolderEndsStart) {
    createProgramDirectory(program);
    for (const QString& path : {file("Kavio.mde"), program}) {
        SCOPED_TRACE(path.toStdString());
        WriteProtection protection(path);
        if (!protection.active())
            GTEST_SKIP() << "this process can write despite the protection (root without an "
                            "immutable flag on this file system)";
        const MessageRecorder::Message message = failedStart();
        EXPECT_EQ(message.icon, Icon::Stop);
        EXPECT_TRUE(message.text.contains(QStringLiteral("schreibgeschützt")))
            << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(file("Kavio.mde"))) << message.text.toStdString();
    }
}

TEST_F(StartupTest, GoodProgramDirectoryShowsTheMainWindow) {
    createProgramDirectory(program);
    MessageRecorder messages;
    CKavioApp app;
    ASSERT_TRUE(app.initInstance());
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
    ASSERT_NE(app.mainFrame(), nullptr);
    EXPECT_EQ(app.mainFrame()->windowTitle(), QStringLiteral("Vorlanto 2.0"));
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_EQ(openMainWindows(), 1);
    EXPECT_TRUE(app.database().isOpen());
    app.database().close(); // whoever finds it closed gets it opened again
    EXPECT_TRUE(app.database().isOpen());
    EXPECT_EQ(app.databasePath(), file("Kavio.mde"));
    EXPECT_EQ(app.profile().path(), file("Kavio.ini"));
    EXPECT_TRUE(app.background().hasPicture());
    // The settings file comes into being at the first write, not at start.
    EXPECT_FALSE(QFile::exists(file("Kavio.ini")));
}

TEST(InstanceGuardTest, ASecondStartFindsTheFirstAndCanCallItsWindowForward) {
    QTemporaryDir dir;
    {
        InstanceGuard first(dir.path());
        ASSERT_TRUE(first.acquire());
        QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
        InstanceGuard second(dir.path());
        EXPECT_FALSE(second.acquire());
        EXPECT_TRUE(second.bringRunningForward());
        EXPECT_TRUE(raised.count() == 1 || raised.wait(3000));
        // Another program directory is another matter.
        QTemporaryDir other;
        InstanceGuard elsewhere(other.path());
        EXPECT_TRUE(elsewhere.acquire());
    }
    // Once the first has ended, the directory is free again.
    InstanceGuard next(dir.path());
    EXPECT_TRUE(next.acquire());
}

TEST_F(StartupTest, SecondStartOnTheSameDirectoryAsksAndCanRunReadOnly) {
    createProgramDirectory(program);
    InstanceGuard running(program);
    ASSERT_TRUE(running.acquire());
    const QString question = QString::fromUtf8(CKavioApp::kAlreadyRunning).arg(program);
    {
        // Cancelled: the one question, no window.
        MessageRecorder messages;
        messages.queueAnswer(Answer::Cancel);
        CKavioApp app;
        EXPECT_FALSE(app.initInstance());
        EXPECT_EQ(app.mainFrame(), nullptr);
        ASSERT_EQ(messages.messages().size(), 1);
        EXPECT_EQ(messages.texts().first(), question);
        EXPECT_EQ(messages.messages().first().buttons, Buttons::YesNoCancel);
    }
    {
        // The running window is called forward; this start ends.
        QSignalSpy raised(&running, &InstanceGuard::raiseRequested);
        MessageRecorder messages;
        messages.queueAnswer(Answer::Yes);
        CKavioApp app;
        EXPECT_FALSE(app.initInstance());
        EXPECT_EQ(app.mainFrame(), nullptr);
        EXPECT_TRUE(raised.count() == 1 || raised.wait(3000));
    }
    auto hash = [&] {
        QFile in(file("Kavio.mde"));
        return in.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    };
    const QByteArray before = hash();
    {
        // Read-only: it reads, refuses every write, and leaves the file alone at exit.
        MessageRecorder messages;
        messages.queueAnswer(Answer::No);
        CKavioApp app;
        ASSERT_TRUE(app.initInstance());
        EXPECT_TRUE(app.isReadOnly());
        ASSERT_NE(app.mainFrame(), nullptr);
        EXPECT_TRUE(app.mainFrame()->windowTitle().endsWith(QStringLiteral("(schreibgeschützt)")));
        EXPECT_FALSE(app.database().queryText("SELECT count(*) FROM T_Event").isEmpty());
        try {
            app.database().execute("INSERT INTO T_Event (EOrt) VALUES ('Bonn')");
            ADD_FAILURE() << "a read-only start wrote";
        } catch (const CDaoException& error) {
            EXPECT_EQ(error.code(), CDaoException::ReadOnly);
        }
        // The commands that only write are disabled, and refuse when reached all the same.
        CMainFrame& frame = *app.mainFrame();
        frame.navigate(1, 0);
        EXPECT_FALSE(frame.mainMenu()->action(CMainMenu::NewEvent)->isEnabled());
        EXPECT_TRUE(frame.mainMenu()->action(CMainMenu::ShowEventList)->isEnabled());
        frame.eventListView()->onNew();
        EXPECT_EQ(messages.texts().value(1), ReadOnlyForm::refusalText());
        app.exitInstance();
        EXPECT_EQ(messages.messages().size(), 2) << messages.texts().join(u'\n').toStdString();
    }
    EXPECT_EQ(hash(), before);
}

// The exit question, and what happens after the answer: the main window's database is purged,
// checked and compacted in place.
TEST_F(StartupTest, ExitQuestionThenMaintenanceCompactsTheDatabase) {
    createProgramDirectory(program);
    {
        CDatabase db;
        db.open(file("Kavio.mde"));
        db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO T_Stamm_Songliste (Titel, Bemerkungen) "
                   "SELECT 'Song ' || i, printf('%.200c', 'x') FROM n");
        db.execute("DELETE FROM T_Stamm_Songliste WHERE SongID % 30 <> 0");
        db.execute("INSERT INTO T_Stamm_Musiker (MName, fDeleted) VALUES ('Weg', -1)");
    }
    const qint64 sizeBefore = QFileInfo(file("Kavio.mde")).size();

    MessageRecorder messages;
    CKavioApp app;
    ASSERT_TRUE(app.initInstance());
    CMainFrame* frame = app.mainFrame();
    ASSERT_NE(frame, nullptr);

    // "No" keeps everything as it was, from the close box and from the menu alike.
    messages.queueAnswer(Answer::No);
    EXPECT_FALSE(frame->close());
    QAction* quit = frame->mainMenu()->action(CMainMenu::Exit);
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), QStringLiteral("&Beenden"));
    messages.queueAnswer(Answer::No);
    quit->trigger();
    ASSERT_EQ(messages.messages().size(), 2);
    for (const MessageRecorder::Message& message : messages.messages()) {
        EXPECT_EQ(message.text, QStringLiteral("Wollen Sie Vorlanto wirklich beenden?"));
        EXPECT_EQ(message.icon, Icon::Question);
        EXPECT_EQ(message.buttons, Buttons::YesNo);
    }
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app.mainFrame(), frame);
    EXPECT_TRUE(app.database().isOpen());

    messages.clear();
    messages.queueAnswer(Answer::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(messages.messages().size(), 1);

    app.exitInstance();
    EXPECT_EQ(app.mainFrame(), nullptr);
    EXPECT_EQ(messages.messages().size(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_LT(QFileInfo(file("Kavio.mde")).size(), sizeBefore);
    EXPECT_EQ(QDir(program).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Kavio")),
              QStringList{QStringLiteral("Kavio.mde")});

    CDatabase db;
    db.open(file("Kavio.mde"));
    EXPECT_EQ(db.queryText("PRAGMA integrity_check"), QLatin1String("ok"));
    EXPECT_EQ(db.queryText("SELECT count(*) FROM T_Stamm_Songliste"), QLatin1String("100"));
    EXPECT_EQ(db.queryText("SELECT count(*) FROM T_Stamm_Songliste WHERE SongID % 30 = 0 AND "
                           "Titel = 'Song ' || SongID AND length(Bemerkungen) = 200"),
              QLatin1String("100"));
    EXPECT_EQ(db.queryText("SELECT count(*) FROM T_Stamm_Musiker"), QLatin1String("0"));
}

// A database found damaged at exit is named once, with the stop sign and what to do, and the
// file stays exactly as it was.
TEST_F(StartupTest, DamagedDatabaseAtExitIsReportedOnceAndLeftAlone) {
    createProgramDirectory(program);
    {
        CDatabase db;
        db.open(file("Kavio.mde"));
        db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO T_Stamm_Songliste (Titel, Bemerkungen) "
                   "SELECT 'Song ' || i, printf('%.200c', 'x') FROM n");
    }
    MessageRecorder messages;
    CKavioApp app;
    ASSERT_TRUE(app.initInstance());
    {
        // Pages in the middle of the song table are overwritten while the program runs.
        QFile damage(file("Kavio.mde"));
        ASSERT_TRUE(damage.open(QIODevice::ReadWrite));
        ASSERT_TRUE(damage.seek(damage.size() / 2 & ~qint64(4095)));
        damage.write(QByteArray(8 * 4096, '\x5a'));
    }
    QFile damaged(file("Kavio.mde"));
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    const QByteArray bytes = damaged.readAll();
    damaged.close();

    app.exitInstance();
    ASSERT_EQ(messages.messages().size(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.messages().first().icon, Icon::Stop);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("beschädigt")))
        << messages.texts().first().toStdString();
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    EXPECT_EQ(damaged.readAll(), bytes);
}

// On a server the program restores through its own connection (which is not another program)
// and at exit purges and leaves a copy in its directory, silently.
TEST_F(StartupTest, OnAServerTheRestoreAndTheExitCopyGoThroughTheOpenConnection) {
    createProgramDirectory(program);
    PgTestDatabase server;
    ASSERT_FALSE(server.uri().isEmpty());
    {
        PgConnection owner(server.uri().toStdString());
        ServerMove::copyIntoServer(file("Kavio.mde"), owner);
    }
    ASSERT_TRUE(QFile::remove(file("Kavio.mde")));
    writeFile("Kavio.ini", "[DATABASE]\nServer=" + server.uri().toUtf8() + "\n");
    // The move's connection has left the server's list before the program starts.
    ASSERT_TRUE(server.waitForConnections(0));
    const auto gone = [](CDatabase& db) {
        return db.queryText(R"(SELECT count(*) FROM "T_Stamm_Musiker" WHERE "MName" = 'Weg')");
    };
    {
        MessageRecorder messages;
        CKavioApp app;
        ASSERT_TRUE(app.initInstance());
        const QString folder = Backup::folder(program);
        const QString copy =
            Backup::writeOf(app.database(), folder, QDateTime(QDate(2025, 3, 1), QTime(18, 15)));
        app.database().execute(R"(INSERT INTO "T_Stamm_Musiker" ("MName") VALUES ('Weg'))");
        EXPECT_EQ(app.restoreDatabase(copy), QString());
        EXPECT_EQ(gone(app.database()), QStringLiteral("0"));
        app.database().execute(
            R"(INSERT INTO "T_Stamm_Musiker" ("MName", "fDeleted") VALUES ('Weg', -1))");
        app.exitInstance();
        EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
        // The chosen copy, the state it replaced, and the copy taken at exit.
        EXPECT_EQ(Backup::list(folder).size(), 3);
    }
    CDatabase db;
    db.openServer(server.uri().toStdString());
    EXPECT_EQ(gone(db), QStringLiteral("0"));
}

} // namespace
