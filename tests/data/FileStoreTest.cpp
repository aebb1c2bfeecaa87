// Work on database files as files: a copy holds every row and passes the full check, a damaged
// or foreign file is refused with its name, and the write lock keeps out other writers only
// while it lives.
#include "data/FileStore.h"
#include "data/CDaoException.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const kCount = "SELECT count(*) FROM \"T_Event\" WHERE \"EventID\" > 0";

void addEvents(TestDatabase& data, int count) {
    for (int i = 0; i < count; ++i)
        data.exec("INSERT INTO T_Event (EArt, EOrt, EBeginn, Status) "
                  "VALUES ('Gig', 'Köln', '2024-05-01 20:00:00', 1)");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

CDaoException refusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDaoException& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was refused";
    return CDaoException(0, QString());
}

} // namespace

TEST(FileStoreTest, ACopyHoldsEveryRowAndPassesTheFullCheck) {
    TestDatabase data;
    addEvents(data, 3);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("Kopie.mde"));
    // Copied while the program's connection is open.
    FileStore::copyInto(data.databasePath(), copy);
    EXPECT_NO_THROW(FileStore::check(copy, QStringLiteral("Kopie"), DatabaseCheck::Depth::Full));
    EXPECT_TRUE(FileStore::isIntact(copy));
    QString count;
    ASSERT_TRUE(FileStore::readText(copy, kCount, count));
    EXPECT_EQ(count, QStringLiteral("3"));

    // A file already there is never overwritten.
    const CDaoException refused =
        refusalOf([&] { FileStore::copyInto(data.databasePath(), copy); });
    EXPECT_FALSE(refused.description().isEmpty());
    ASSERT_TRUE(FileStore::readText(copy, kCount, count));
    EXPECT_EQ(count, QStringLiteral("3"));
}

TEST(FileStoreTest, DamagedForeignOrMissingFilesAreRefusedByName) {
    TestDatabase data;
    addEvents(data, 3);
    data.db().close();
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("kaputt.mde"));
    ASSERT_TRUE(QFile::copy(data.databasePath(), damaged));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 8192);
        file.seek(4096);
        file.write(QByteArray(static_cast<int>(size - 4096), '\xA5'));
    }
    const QString foreign = dir.filePath(QStringLiteral("fremd.mde"));
    writeFile(foreign, "Dies ist keine Datenbank.");
    const QString missing = dir.filePath(QStringLiteral("fehlt.mde"));

    EXPECT_TRUE(FileStore::isIntact(data.databasePath()));
    for (const QString& bad : {damaged, foreign, missing}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(FileStore::isIntact(bad));
        const CDaoException error = refusalOf([&] {
            FileStore::check(bad, QStringLiteral("Gezeigter Name"), DatabaseCheck::Depth::Full);
        });
        EXPECT_TRUE(error.description().contains(QStringLiteral("Gezeigter Name")))
            << error.description().toStdString();
    }
    QString count;
    EXPECT_FALSE(FileStore::readText(foreign, kCount, count));
    EXPECT_FALSE(FileStore::readText(missing, kCount, count));
    EXPECT_EQ(refusalOf([&] {
                  FileStore::check(damaged, QStringLiteral("x"), DatabaseCheck::Depth::Full);
              }).code(),
              CDaoException::Corrupt);
    EXPECT_EQ(refusalOf([&] {
                  FileStore::check(foreign, QStringLiteral("x"), DatabaseCheck::Depth::Opening);
              }).code(),
              CDaoException::NotADatabase);
    // Reading a missing file makes none, and copying it writes nothing.
    refusalOf([&] { FileStore::copyInto(missing, dir.filePath(QStringLiteral("neu.mde"))); });
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("neu.mde"))));
}

TEST(FileStoreTest, TheWriteLockKeepsOutOtherWritersButNotReaders) {
    TestDatabase data;
    addEvents(data, 1);
    {
        const FileStore::WriteLock lock(data.databasePath());
        QString count;
        ASSERT_TRUE(FileStore::readText(data.databasePath(), kCount, count));
        EXPECT_EQ(count, QStringLiteral("1"));
        EXPECT_EQ(refusalOf([&] { FileStore::WriteLock second(data.databasePath()); }).code(),
                  CDaoException::Locked);
    }
    // Released: writing goes on, and the lock changed nothing.
    EXPECT_NO_THROW(addEvents(data, 1));
    EXPECT_EQ(data.count("T_Event", "EventID > 0"), 2);
    EXPECT_THROW(FileStore::WriteLock(QStringLiteral("/nonexistent/Kavio.mde")), CDaoException);
}
