// The event lists as the main window shows them: order, texts, icons and marks.
#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "data/CRecordset.h"
#include "support/TestDatabase.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

QList<std::int32_t> keysOf(const std::vector<ListRow>& rows) {
    QList<std::int32_t> keys;
    for (const ListRow& row : rows)
        keys << row.key;
    return keys;
}

} // namespace

TEST(EventList, NewestFirstTheLaterEnteredFirstOnTheSameMomentAndUndatedLast) {
    TestDatabase data;
    data.exec(R"(INSERT INTO T_Event (EventID, EBeginn) VALUES
        (1, '2024-05-01 18:00:00'), (2, NULL), (3, '2025-01-10 20:00:00'),
        (4, '2024-05-01 18:00:00'), (5, '2023-12-31 23:59:59'), (6, NULL))");
    EXPECT_EQ(keysOf(loadListRows(data.db(), ListKind::Events)),
              (QList<std::int32_t>{3, 4, 1, 5, 6, 2}));
}

TEST(EventList, TextsOrganiserIconsAndMarks) {
    TestDatabase data;
    data.exec(R"(INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma, Name, Vorname) VALUES
        (1, 0, 0, 'Festwirt Huber', NULL, NULL), (2, 0, -1, NULL, 'Berg', 'Anna'),
        (3, 1, 0, 'Tontechnik Süd', NULL, NULL))");
    data.exec(R"(INSERT INTO T_Event (EventID, EBeginn, EEnde, ETAufbauVon, ETAbbauVon,
                   VeranstalterID, ELocation, EStrasse, EPLZ, EOrt, Status) VALUES
        (1, '2024-05-01 18:05:00', '2024-05-01 23:00:00', '2024-05-01 14:00:00',
         '2024-05-02 00:30:00', 1, 'Festzelt', 'Am Anger 3', '83022', 'Rosenheim', 2),
        (2, '2024-05-01 20:00:00', NULL, NULL, NULL, 2, NULL, NULL, NULL, 'Bonn', 2),
        (3, '2099-01-01 20:00:00', NULL, NULL, NULL, 3, NULL, NULL, '50667', NULL, 1))");
    // 1 fully planned and booked; 2 begun.
    data.exec(R"(INSERT INTO T_Event_Status VALUES (1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2),
                                                   (2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0))");
    data.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName) VALUES (11, 'Berg')");
    data.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (1, 11), (2, 11)");

    const std::vector<ListRow> rows = loadListRows(data.db(), ListKind::Events);
    ASSERT_EQ(keysOf(rows), (QList<std::int32_t>{3, 2, 1}));
    const ListRow& planned = rows[2];
    EXPECT_EQ(planned.texts[1], QStringLiteral("01.05.2024 18:05"));
    EXPECT_EQ(planned.texts[2], QStringLiteral("01.05.2024 23:00"));
    EXPECT_EQ(planned.texts[3], QStringLiteral("Festwirt Huber Rosenheim"));
    EXPECT_EQ(planned.texts[4], QStringLiteral("Festzelt"));
    EXPECT_EQ(planned.texts[5], QStringLiteral("Am Anger 3"));
    EXPECT_EQ(planned.texts[6], QStringLiteral("83022 Rosenheim"));
    EXPECT_EQ(planned.texts[7], QStringLiteral("01.05.24 14:00"));
    EXPECT_EQ(planned.texts[8], QStringLiteral("02.05.24 00:30"));
    EXPECT_EQ(planned.icon, 2);
    // A private organiser by name; a firm of another kind is no organiser.
    EXPECT_EQ(rows[1].texts[3], QStringLiteral("Berg, Anna"));
    EXPECT_EQ(rows[1].icon, 1);
    EXPECT_TRUE(rows[0].texts[3].isEmpty());
    EXPECT_EQ(rows[0].texts[6], QStringLiteral("50667"));
    EXPECT_EQ(rows[0].icon, 0);

    // Both past gigs share a musician, and neither has its GEMA report: both marks, one line
    // each. The future gig has none.
    const QStringList lines = rows[1].notice(QDate(2024, 6, 10)).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Achtung: Doppelbuchung")));
    EXPECT_EQ(lines[1], QStringLiteral("GEMA-Meldung bis 12.06.2024 (noch 2 Tage): Setliste "
                                       "unvollständig, Formular nicht gedruckt"));
    EXPECT_TRUE(rows[0].notice().isEmpty());

    // The accounting list shows the booking state once the planning is complete.
    const std::vector<ListRow> accounts = loadListRows(data.db(), ListKind::Accounting);
    ASSERT_EQ(keysOf(accounts), (QList<std::int32_t>{3, 2, 1}));
    EXPECT_EQ(accounts[2].icon, 2);
    EXPECT_EQ(accounts[1].icon, 3);
}

TEST(EventList, EveryRowKeepsItsOwnTextsWhenThousandsDiffer) {
    // The rows are read in the order they were stored and sorted afterwards: each text must
    // still reach its own row, also among thousands that begin at the same moment.
    TestDatabase data;
    data.exec("BEGIN");
    for (int event = 1; event <= 6000; ++event) {
        const std::string sql =
            "INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma) VALUES (" +
            std::to_string(event) + ", 0, 0, 'Firma " + std::to_string(event % 4500) + "')";
        data.exec(sql.c_str());
        const std::string eventSql = "INSERT INTO T_Event (EventID, EBeginn, VeranstalterID, "
                                     "ELocation, EPLZ, EOrt) VALUES (" +
                                     std::to_string(event) + ", '2024-01-01 20:00:00', " +
                                     std::to_string(event) + ", 'Halle " + std::to_string(event) +
                                     "', '" + std::to_string(10000 + event % 5000) + "', 'Ort " +
                                     std::to_string(event % 3000) + "')";
        data.exec(eventSql.c_str());
    }
    data.exec("COMMIT");
    const std::vector<ListRow> rows = loadListRows(data.db(), ListKind::Events);
    ASSERT_EQ(rows.size(), 6000u);
    int wrong = 0;
    for (const ListRow& row : rows) {
        const QString town = QStringLiteral("Ort %1").arg(row.key % 3000);
        wrong += row.texts[4] != QStringLiteral("Halle %1").arg(row.key) ||
                 row.texts[3] != QStringLiteral("Firma %1 ").arg(row.key % 4500) + town ||
                 row.texts[6] != QStringLiteral("%1 ").arg(10000 + row.key % 5000) + town;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(EventList, StoredDatesAreShownAsTheirDateTimeIs) {
    for (const char* stored : {"2024-05-01 18:05:00", "1999-12-31 23:59:59", "2024-02-29 00:00:00",
                               "2024-05-01", "not a date"}) {
        const QDateTime moment = parseStoredDate(stored, int(std::strlen(stored)));
        for (const bool longYear : {true, false})
            EXPECT_EQ(ListTexts::dateTime(std::string_view(stored), longYear),
                      ListTexts::dateTime(moment, longYear))
                << stored;
    }
    EXPECT_TRUE(ListTexts::dateTime(std::string_view(), true).isNull());
}
