// The rules of a set list without any window: what moving, inserting and removing rows leaves,
// the rows a list turns into and back, the name of the stored set list, and storing it.
#include "core/SetList.h"
#include "data/CDaoException.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace {

using SetList::Entries;
using SetList::Entry;

Entry song(const char* title) {
    return Entry::song({QString::fromUtf8(title)});
}

// The list as text: "1" for the header of set 1, the title for a song: "1 a b 2 c".
QString shown(const Entries& entries) {
    QStringList texts;
    for (const Entry& entry : entries)
        texts << (entry.isHeader() ? QString::number(entry.setNumber) : entry.columns.at(0));
    return texts.join(u' ');
}

// The stored rows as text: "1.1 a, 1.2 b, 3.1 c".
QString rows(const Entries& entries) {
    QStringList texts;
    for (const SetList::StoredSong& row : SetList::toStored(entries))
        texts << QStringLiteral("%1.%2 %3")
                     .arg(row.setNumber)
                     .arg(row.position)
                     .arg(row.columns.at(0));
    return texts.join(QStringLiteral(", "));
}

// "1 a b 2 c" back into a list.
Entries list(const char* text) {
    Entries entries;
    for (const QString& piece : QString::fromUtf8(text).split(u' ')) {
        bool isNumber = false;
        const int set = piece.toInt(&isNumber);
        entries.push_back(isNumber ? Entry::header(set) : Entry::song({piece}));
    }
    return entries;
}

TEST(SetListRules, MovingARowPutsItAtTheTargetsPlaceAndNeverAboveSetOne) {
    const struct {
        const char* before;
        int from;
        int to;
        const char* after;
        int movedTo;
    } cases[] = {
        {"1 a b c", 1, 3, "1 b c a", 3},         // down within a set
        {"1 a b c", 3, 1, "1 c a b", 1},         // up within a set
        {"1 a b 2 c d", 1, 4, "1 b 2 c a d", 4}, // into the next set
        {"1 a b 2 c d", 5, 1, "1 d a b 2 c", 1}, // into the set before
        {"1 a 2 b", 3, 0, "1 b a 2", 1},         // dropped on set 1's header: first in set 1
        {"1 a 2 b", 1, -1, "1 2 b a", 3},        // below the last row: the end
        {"1 a 2 b", 1, 9, "1 2 b a", 3},
        {"1 a 2 b 3 c", 4, 1, "1 2 a 3 b c", 1}, // a header moves; headers numbered again
        {"1 a 2 b", 0, 3, "1 a 2 b", -1},        // set 1's header stays
        {"1 a 2 b", 7, 1, "1 a 2 b", -1},        // no such row
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.before) + " " + std::to_string(each.from) + "->" +
                     std::to_string(each.to));
        Entries entries = list(each.before);
        EXPECT_EQ(SetList::moveRow(entries, each.from, each.to), each.movedTo);
        EXPECT_EQ(shown(entries), QString::fromUtf8(each.after));
    }
}

TEST(SetListRules, RemovingAHeaderJoinsItsSongsToTheSetBefore) {
    Entries entries = list("1 a 2 b c 3 d");
    EXPECT_FALSE(SetList::removeRow(entries, 0));
    EXPECT_TRUE(SetList::removeRow(entries, 2));
    EXPECT_EQ(shown(entries), QStringLiteral("1 a b c 2 d"));
    EXPECT_EQ(rows(entries), QStringLiteral("1.1 a, 1.2 b, 1.3 c, 2.1 d"));
    EXPECT_FALSE(SetList::removeRow(entries, 6));

    EXPECT_EQ(SetList::addSet(entries), 6);
    EXPECT_EQ(shown(entries), QStringLiteral("1 a b c 2 d 3"));
    EXPECT_EQ(SetList::insertSong(entries, 0, {QStringLiteral("x")}), 1);
    EXPECT_EQ(SetList::insertSong(entries, -1, {QStringLiteral("y")}), 8);
    EXPECT_EQ(shown(entries), QStringLiteral("1 x a b c 2 d 3 y"));
    EXPECT_EQ(entries[1].columns.size(), SetList::kColumnCount);
}

TEST(SetListRules, EmptySetsKeepTheirHeadersButGiveNoRows) {
    Entries entries = list("1 a 2 3 b c");
    EXPECT_EQ(rows(entries), QStringLiteral("1.1 a, 3.1 b, 3.2 c"));
    EXPECT_EQ(shown(SetList::fromStored(SetList::toStored(entries))), shown(entries));
    // A trailing empty set is not kept; a list without songs stores nothing.
    EXPECT_EQ(shown(SetList::fromStored(SetList::toStored(list("1 a 2")))), QStringLiteral("1 a"));
    EXPECT_FALSE(SetList::hasSongs(list("1 2 3")));
    EXPECT_TRUE(SetList::toStored(list("1 2 3")).empty());
    // A song in front of every header (as no rule leaves it) still gets a place of its own.
    EXPECT_EQ(rows({song("a"), Entry::header(1), song("b")}), QStringLiteral("1.1 a, 2.1 b"));
}

// Any sequence of edits leaves set 1's header first, the headers numbered from 1, and one song
// per position with positions 1, 2, 3 ... in every set.
TEST(SetListRules, AnySequenceOfEditsGivesDistinctConsecutivePositions) {
    std::mt19937 random(20240621);
    Entries entries = SetList::emptyList();
    int songs = 0;
    for (int step = 0; step < 2000; ++step) {
        const int size = static_cast<int>(entries.size());
        std::uniform_int_distribution<int> anyRow(-1, size);
        switch (random() % 5) {
        case 0:
            SetList::addSet(entries);
            break;
        case 1:
        case 2:
            SetList::insertSong(entries, anyRow(random), {QString::number(++songs)});
            break;
        case 3:
            SetList::removeRow(entries, anyRow(random));
            break;
        default:
            SetList::moveRow(entries, anyRow(random), anyRow(random));
        }
        ASSERT_TRUE(entries.front().isHeader());
        int headers = 0;
        for (const Entry& entry : entries) {
            if (entry.isHeader()) {
                ASSERT_EQ(entry.setNumber, ++headers);
            }
        }
        std::set<std::pair<int, int>> places;
        int set = 0;
        int expected = 0;
        for (const SetList::StoredSong& row : SetList::toStored(entries)) {
            ASSERT_GE(row.setNumber, set);
            expected = row.setNumber == set ? expected + 1 : 1;
            set = row.setNumber;
            ASSERT_EQ(row.position, expected);
            ASSERT_TRUE(places.insert({row.setNumber, row.position}).second);
        }
    }
}

TEST(SetListRules, HeadNameIsKindAndShortBeginDate) {
    const QDateTime begin(QDate(2024, 6, 21), QTime(19, 30), Qt::UTC);
    EXPECT_EQ(SetList::headName(QStringLiteral("Hochzeit"), begin),
              QStringLiteral("Hochzeit_21.06.24"));
    EXPECT_EQ(SetList::headName(QString(), begin), QStringLiteral("_21.06.24"));
    EXPECT_EQ(SetList::headName(QStringLiteral("Hochzeit"), QDateTime()),
              QStringLiteral("Hochzeit_"));
    EXPECT_EQ(SetList::headName(QString(300, u'x'), begin).size(), 255);
    EXPECT_EQ(SetList::headerText(3), QStringLiteral("Set 3"));
}

class SetListStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, EArt) VALUES (12, 'Hochzeit'), (13, 'Ball')");
    }
    static Entry full(const char* title, const char* tempo) {
        return Entry::song({QString::fromUtf8(title), QStringLiteral("C-Dur"),
                            QString::fromUtf8(tempo), QStringLiteral("Bem"),
                            QStringLiteral("Interpret"), QStringLiteral("123-4"),
                            QStringLiteral("P"), QStringLiteral("Komp"), QStringLiteral("Bearb"),
                            QStringLiteral("Verlag")});
    }
    QString storedSongs(int event) {
        return database.db().queryText(
            "SELECT group_concat(SetNr || '.' || LfdNr || ' ' || Titel || ' ' || quote(Tempo), "
            "', ') FROM (SELECT * FROM A_Event_Setliste WHERE EventID = " +
            std::to_string(event) + " ORDER BY SetNr, LfdNr)");
    }

    TestDatabase database;
};

TEST_F(SetListStorageTest, StoredListReadsBackInOrderWithEveryColumn) {
    Entries other = {Entry::header(1), full("Fremd", "90")};
    ASSERT_TRUE(SetList::store(database.db(), 13, QStringLiteral("Ball_01.01.25"), other));
    const Entries entries = {Entry::header(1), full("a", "120"), full("b", ""),
                             Entry::header(2), Entry::header(3), full("c", "96")};
    ASSERT_TRUE(SetList::store(database.db(), 12, QStringLiteral("Hochzeit_21.06.24"), entries));
    EXPECT_EQ(storedSongs(12), QStringLiteral("1.1 a 120, 1.2 b NULL, 3.1 c 96"));
    EXPECT_EQ(database.db().queryText("SELECT Bezeichnung FROM T_Event_Setliste WHERE EventID=12"),
              QStringLiteral("Hochzeit_21.06.24"));
    EXPECT_EQ(SetList::load(database.db(), 12), entries);

    // Storing again replaces the head and its songs: one head, no rows left behind.
    Entries shorter = entries;
    SetList::removeRow(shorter, 1);
    ASSERT_TRUE(SetList::store(database.db(), 12, QStringLiteral("Hochzeit_21.06.24"), shorter));
    EXPECT_EQ(database.count("T_Event_Setliste", "EventID = 12"), 1);
    EXPECT_EQ(database.count("T_Event_Setliste_Songs"), 3);
    EXPECT_EQ(storedSongs(12), QStringLiteral("1.1 b NULL, 3.1 c 96"));

    // Deleting the set list takes its songs with it; the other event keeps its own.
    SetList::remove(database.db(), 12);
    EXPECT_EQ(database.count("T_Event_Setliste", "EventID = 12"), 0);
    EXPECT_EQ(database.count("T_Event_Setliste_Songs"), 1);
    EXPECT_EQ(SetList::load(database.db(), 12), SetList::emptyList());
    EXPECT_EQ(storedSongs(13), QStringLiteral("1.1 Fremd 90"));
}

TEST_F(SetListStorageTest, ListWithoutSongsDeletesTheStoredOneAndAFailedWriteChangesNothing) {
    ASSERT_TRUE(SetList::store(database.db(), 12, QStringLiteral("H"),
                               {Entry::header(1), full("a", "120")}));
    // A title the database refuses halfway through: the stored list stays as it was.
    const Entries refused = {Entry::header(1), full("neu", "1"),
                             full(std::string(300, 'x').c_str(), "")};
    EXPECT_THROW(SetList::store(database.db(), 12, QStringLiteral("H"), refused), CDaoException);
    EXPECT_EQ(storedSongs(12), QStringLiteral("1.1 a 120"));
    EXPECT_EQ(database.count("T_Event_Setliste"), 1);

    EXPECT_FALSE(SetList::store(database.db(), 12, QStringLiteral("H"), list("1 2")));
    EXPECT_EQ(database.count("T_Event_Setliste"), 0);
    EXPECT_EQ(database.count("T_Event_Setliste_Songs"), 0);
}

} // namespace
