// Kavio.ini: defaults while keys are missing, the value formats, names without regard to case,
// and writes that leave every other line of the file alone.
#include "core/Settings.h"
#include "ShellTestSupport.h"
#include "core/CProfileFile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("Kavio.ini")); }

    void writeFile(const QByteArray& content) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QStringList lines() const {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList result = QString::fromUtf8(file.readAll()).split(u'\n');
        if (!result.isEmpty() && result.last().isEmpty())
            result.removeLast();
        return result;
    }

    QTemporaryDir dir;
    CProfileFile profile{path()};
};

TEST_F(SettingsTest, MissingFileGivesEveryDefault) {
    QSet<QString> names;
    for (const SettingKey* key : Settings::allKeys()) {
        SCOPED_TRACE(key->key);
        EXPECT_EQ(Settings::readText(profile, *key), QLatin1String(key->defaultValue));
        names.insert(QString::fromLatin1(key->section).toLower() + u'/' +
                     QString::fromLatin1(key->key).toLower());
    }
    EXPECT_EQ(names.size(), 36); // 30 lists, 4 options, 2 photo folders, each once

    EXPECT_EQ(Settings::readWidths(profile, Settings::Event, 9),
              (QList<int>{20, 106, 98, 131, 100, 110, 100, 100, 100}));
    EXPECT_EQ(Settings::readWidths(profile, Settings::PlanSetlist, 10).at(5), 0);
    EXPECT_EQ(Settings::readWidths(profile, Settings::PlanSonglist, 10).at(5), 0);
    EXPECT_EQ(Settings::splitNumbers(Settings::readText(profile, Settings::BirthReminder)),
              (QList<int>{1, 14, 14}));
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 1);
    EXPECT_EQ(Settings::readInt(profile, Settings::GemaReminder), 1);
    EXPECT_EQ(Settings::readDirectory(profile, Settings::DirMusician, QStringLiteral("/prog")),
              QStringLiteral("/prog"));
    EXPECT_EQ(Settings::readDirectory(profile, Settings::DirMerch, QStringLiteral("/prog")),
              QStringLiteral("/prog"));
    EXPECT_FALSE(QFile::exists(path())); // reading never creates the file
}

TEST_F(SettingsTest, DeletingTheFileRestoresDefaults) {
    ASSERT_TRUE(Settings::writeWidths(profile, Settings::Event, {1, 2, 3}));
    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 0));
    ASSERT_TRUE(Settings::writeText(profile, Settings::DirMusician, QStringLiteral("/fotos")));
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 0);
    EXPECT_EQ(Settings::readDirectory(profile, Settings::DirMusician, QStringLiteral("/prog")),
              QStringLiteral("/fotos"));

    ASSERT_TRUE(QFile::remove(path()));
    for (const SettingKey* key : Settings::allKeys())
        EXPECT_EQ(Settings::readText(profile, *key), QLatin1String(key->defaultValue)) << key->key;
}

TEST_F(SettingsTest, ReminderReadsBackAlikeWithOrWithoutBlanks) {
    EXPECT_EQ(Settings::splitNumbers(QStringLiteral("1,14,14")),
              Settings::splitNumbers(QStringLiteral("1, 14, 14")));

    ASSERT_TRUE(Settings::writeText(profile, Settings::BirthReminder, QStringLiteral("0, 7, 21")));
    EXPECT_TRUE(lines().contains(QStringLiteral("BirthReminder=0, 7, 21")));
    EXPECT_EQ(Settings::splitNumbers(Settings::readText(profile, Settings::BirthReminder)),
              (QList<int>{0, 7, 21}));
}

TEST_F(SettingsTest, TextThatIsNoNumberReadsAsZero) {
    writeFile("[OPTIONS]\nMwStInkl=ja\nBirthReminder=1, x, 14\n"
              "[LIST_COLS]\nEvent=20,abc,,98\nGEMA=  120px\n");
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 0);
    EXPECT_EQ(Settings::splitNumbers(Settings::readText(profile, Settings::BirthReminder)),
              (QList<int>{1, 0, 14}));
    EXPECT_EQ(Settings::readWidths(profile, Settings::Event, 4), (QList<int>{20, 0, 0, 98}));
    // Leading blanks are skipped and the digits up to the first other character count.
    EXPECT_EQ(Settings::readWidths(profile, Settings::Gema, 3), (QList<int>{120, 200, 240}));
}

TEST_F(SettingsTest, SectionAndKeyNamesIgnoreCase) {
    writeFile("[list_cols]\r\nEVENT=1,2,3\r\n[Options]\r\nmwstinkl=0\r\n");
    EXPECT_EQ(Settings::readText(profile, Settings::Event), QStringLiteral("1,2,3"));
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 0);

    // Writing replaces the line in place instead of adding a second section or key; the
    // file's line endings stay.
    ASSERT_TRUE(Settings::writeWidths(profile, Settings::Event, {4, 5, 6}));
    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 1));
    EXPECT_EQ(lines(),
              (QStringList{QStringLiteral("[list_cols]\r"), QStringLiteral("Event=4,5,6\r"),
                           QStringLiteral("[Options]\r"), QStringLiteral("MwStInkl=1\r")}));
    EXPECT_EQ(Settings::readText(profile, Settings::Event), QStringLiteral("4,5,6"));
}

TEST_F(SettingsTest, WritingOneKeyKeepsEveryOtherLine) {
    const QStringList original = {
        QStringLiteral("; Vorlanto-Einstellungen"),
        QStringLiteral("[LIST_COLS]"),
        QStringLiteral("Organizer=1,2,3"),
        QStringLiteral("Event=9,9,9"),
        QStringLiteral("; von Hand eingetragen"),
        QStringLiteral("Unbekannt = bleibt so"),
        QString(),
        QStringLiteral("[FREMD]"),
        QStringLiteral("Event=gehört nicht zu uns"),
        QStringLiteral("Pfad=C:\\Band\\x=y"),
    };
    writeFile((original.join(u'\n') + u'\n').toUtf8());

    ASSERT_TRUE(Settings::writeWidths(profile, Settings::Event, {20, 106, 98}));
    QStringList expected = original;
    expected[3] = QStringLiteral("Event=20,106,98");
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(profile.readText(QStringLiteral("FREMD"), QStringLiteral("Event")),
              QStringLiteral("gehört nicht zu uns"));
    EXPECT_EQ(profile.readText(QStringLiteral("fremd"), QStringLiteral("pfad")),
              QStringLiteral("C:\\Band\\x=y"));

    // A new key joins its section; a new section is added at the end.
    ASSERT_TRUE(Settings::writeWidths(profile, Settings::Musician, {68, 164}));
    ASSERT_TRUE(
        Settings::writeText(profile, Settings::DirMerch, QStringLiteral("/home/band/Merch")));
    expected.insert(6, QStringLiteral("Musician=68,164"));
    expected << QString() << QStringLiteral("[PHOTO]")
             << QStringLiteral("DirMerch=/home/band/Merch");
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(Settings::readWidths(profile, Settings::Musician, 2), (QList<int>{68, 164}));
    EXPECT_EQ(Settings::readText(profile, Settings::Organizer), QStringLiteral("1,2,3"));
}

TEST_F(SettingsTest, WidthListsMatchTheListsColumns) {
    ASSERT_TRUE(Settings::writeWidths(profile, Settings::Event, {20, 106, 98}));
    EXPECT_TRUE(lines().contains(QStringLiteral("Event=20,106,98")));

    // More columns than stored numbers: the rest come from the list's own default.
    EXPECT_EQ(Settings::readWidths(profile, Settings::Event, 5),
              (QList<int>{20, 106, 98, 131, 100}));
    // Fewer columns than stored numbers: the surplus is ignored.
    EXPECT_EQ(Settings::readWidths(profile, Settings::Event, 2), (QList<int>{20, 106}));

    ASSERT_TRUE(Settings::writeWidths(profile, Settings::PlanCast1, {150, 0, 75}));
    EXPECT_TRUE(lines().contains(QStringLiteral("PlanCast1=150,0,75")));
    EXPECT_EQ(Settings::readWidths(profile, Settings::PlanCast1, 3), (QList<int>{150, 0, 75}));
}

TEST_F(SettingsTest, FailedWriteLeavesTheFileAsItWas) {
    writeFile("[OPTIONS]\nMwStInkl=1\n");
    const QStringList before = lines();
    {
        WriteProtection protection(dir.path());
        if (!protection.active())
            GTEST_SKIP() << "this process can write despite the protection (root without an "
                            "immutable flag on this file system)";
        EXPECT_FALSE(Settings::writeInt(profile, Settings::MwStInkl, 0));
        EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 1);
    }
    EXPECT_EQ(lines(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Kavio.ini")});
}

} // namespace
