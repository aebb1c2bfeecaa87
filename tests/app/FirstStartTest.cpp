// The start into a named program directory (`vorlanto --program-directory`, the menu's start):
// a folder without a database is created after one question, an existing one starts at once.
#include "ShellTestSupport.h"
#include "app/CKavioApp.h"
#include "app/CMainFrame.h"
#include "app/StartOptions.h"
#include "core/MessageService.h"
#include "core/ProgramDirectory.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;
using Buttons = MessageService::Buttons;

const QStringList kDirectoryFiles = {QStringLiteral("Kavio.mde"), QStringLiteral("bgr1024.jpg"),
                                     QStringLiteral("morvo.jpg"), QStringLiteral("tshirt.jpg")};

class FirstStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(cwd.ok());
    }

    bool holdsProgramDirectory(const QString& folder) const {
        for (const QString& name : kDirectoryFiles) {
            if (!QFileInfo(QDir(folder).filePath(name)).size())
                return false;
        }
        return true;
    }

    QTemporaryDir dir;
    // Restores the working directory, which a start into another folder changes.
    WorkingDirectory cwd{dir.path()};
};

TEST_F(FirstStartTest, MissingFolderIsCreatedAfterYesAndTheProgramStartsThere) {
    const QString folder = dir.filePath(QStringLiteral("Band/Vorlanto"));
    MessageRecorder messages;
    messages.queueAnswer(Answer::Yes);
    CKavioApp app;
    app.setRequestedDirectory(folder);
    ASSERT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();

    ASSERT_EQ(messages.messages().size(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.messages().first().buttons, Buttons::YesNo);
    EXPECT_EQ(messages.messages().first().text,
              QStringLiteral("Das Programmverzeichnis %1 gibt es noch nicht.\n\nSoll es mit einer "
                             "leeren Datenbank angelegt werden?")
                  .arg(folder));
    // Exactly what `vorlanto-tool new` makes: the database and the three pictures.
    EXPECT_TRUE(holdsProgramDirectory(folder));
    EXPECT_EQ(app.programDirectory(), folder);
    EXPECT_EQ(app.databasePath(), QDir(folder).filePath(QStringLiteral("Kavio.mde")));
    EXPECT_EQ(QDir::currentPath(), folder);
    ASSERT_NE(app.mainFrame(), nullptr);
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_TRUE(app.database().isOpen());
}

TEST_F(FirstStartTest, NoCreatesNothingAndEndsTheProgram) {
    const QString missing = dir.filePath(QStringLiteral("Vorlanto"));
    const QString empty = dir.filePath(QStringLiteral("leer"));
    ASSERT_TRUE(QDir().mkpath(empty));
    for (const QString& folder : {missing, empty}) {
        MessageRecorder messages;
        messages.queueAnswer(Answer::No);
        CKavioApp app;
        app.setRequestedDirectory(folder);
        EXPECT_FALSE(app.initInstance());
        EXPECT_EQ(messages.messages().size(), 1) << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(app.mainFrame(), nullptr);
        EXPECT_EQ(QDir::currentPath(), dir.path());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(QDir(empty).isEmpty());
}

TEST_F(FirstStartTest, FolderWithoutDatabaseGetsOneAndKeepsItsFiles) {
    const QString folder = dir.filePath(QStringLiteral("Vorlanto"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile note(QDir(folder).filePath(QStringLiteral("notiz.txt")));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("bleibt");
    note.close();

    MessageRecorder messages;
    messages.queueAnswer(Answer::Yes);
    CKavioApp app;
    app.setRequestedDirectory(folder);
    ASSERT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages().first().text.startsWith(
        QStringLiteral("Im Ordner %1 gibt es keine Vorlanto-Datenbank.").arg(folder)));
    EXPECT_TRUE(holdsProgramDirectory(folder));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_EQ(note.readAll(), "bleibt");
}

TEST_F(FirstStartTest, ExistingProgramDirectoryStartsWithoutQuestion) {
    const QString folder = dir.filePath(QStringLiteral("Vorlanto"));
    createProgramDirectory(folder);
    MessageRecorder messages;
    CKavioApp app;
    app.setRequestedDirectory(folder);
    ASSERT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(app.programDirectory(), folder);
    EXPECT_NE(app.mainFrame(), nullptr);
}

TEST_F(FirstStartTest, FolderThatCannotBeCreatedIsReportedAfterYes) {
    // A file stands where the folder should go.
    const QString blocked = dir.filePath(QStringLiteral("Vorlanto"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    MessageRecorder messages;
    messages.queueAnswer(Answer::Yes);
    CKavioApp app;
    app.setRequestedDirectory(blocked);
    EXPECT_FALSE(app.initInstance());
    ASSERT_EQ(messages.messages().size(), 2) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.messages().at(1).buttons, Buttons::Ok);
    EXPECT_TRUE(messages.messages().at(1).text.contains(blocked))
        << messages.messages().at(1).text.toStdString();
    EXPECT_EQ(app.mainFrame(), nullptr);
}

TEST(StartOptionsTest, ProgramDirectoryOptionAndHomeFolder) {
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString vorlanto = QDir(home.path()).filePath(QStringLiteral("Vorlanto"));

    // Without the option the program starts in the working directory, as before.
    EXPECT_TRUE(StartOptions::parse({}).programDirectory.isEmpty());
    // Without a folder (as the menu starts it): ~/Vorlanto.
    EXPECT_EQ(StartOptions::parse({QStringLiteral("--program-directory")}).programDirectory,
              vorlanto);
    EXPECT_EQ(
        StartOptions::parse({QStringLiteral("--program-directory"), QStringLiteral("--version")})
            .programDirectory,
        vorlanto);
    EXPECT_EQ(
        StartOptions::parse({QStringLiteral("--program-directory"), QStringLiteral("~/Band/A")})
            .programDirectory,
        QDir(home.path()).filePath(QStringLiteral("Band/A")));
    EXPECT_EQ(StartOptions::parse({QStringLiteral("--program-directory=~")}).programDirectory,
              home.path());
    EXPECT_EQ(
        StartOptions::parse({QStringLiteral("--program-directory=/srv/band")}).programDirectory,
        QStringLiteral("/srv/band"));
    // A relative folder is taken from the working directory at start.
    EXPECT_EQ(StartOptions::parse({QStringLiteral("--program-directory"), QStringLiteral("band")})
                  .programDirectory,
              QDir::current().filePath(QStringLiteral("band")));
    // "~name" is no home folder here: a folder of that name.
    EXPECT_EQ(StartOptions::parse({QStringLiteral("--program-directory=~band")}).programDirectory,
              QDir::current().filePath(QStringLiteral("~band")));

    const StartOptions unknown =
        StartOptions::parse({QStringLiteral("--programm"), QStringLiteral("x")});
    EXPECT_EQ(unknown.unknown, QStringLiteral("--programm"));
    EXPECT_TRUE(unknown.programDirectory.isEmpty());

    qputenv("HOME", previousHome);
}

} // namespace
