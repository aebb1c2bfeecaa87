// The accounting statement of one event against a reviewed dump, and the rules its rows and
// amounts follow.
#include "ReportTestSupport.h"

#include "core/FinanceModel.h"
#include "core/MessageService.h"
#include "data/RecordSets.h"
#include "reports/AccountingReport.h"
#include "reports/PageFrame.h"

using namespace ReportTest;
using AccountingReport::Row;

namespace {

class AccountingReportTest : public ::testing::Test {
protected:
    void SetUp() override { fill(database); }

    Report::Document render(std::int32_t eventId = 1) {
        return AccountingReport::render(database.db(), eventId, band(), PageMetrics::defaults());
    }
    AccountingReport::Statement statement(std::int32_t eventId = 1) {
        CSetEvent event(database.db());
        event.open(QStringLiteral("[EventID]=%1").arg(eventId));
        return AccountingReport::read(database.db(), event, BaseData::read(database.db()));
    }
    // The rows that carry a text, as "group|description|rate|income|expense".
    static QStringList rowTexts(const AccountingReport::Statement& statement) {
        QStringList rows;
        const auto number = [](const std::optional<double>& value) {
            return value ? AccountingReport::amountText(*value) : QString();
        };
        for (const Row& row : statement.rows)
            rows << QStringList{row.group, row.description,
                                row.rate ? QString::number(*row.rate) : QString(),
                                number(row.income), number(row.expense)}
                        .join(u'|');
        return rows;
    }
    // The texts a page prints, in drawing order.
    static QStringList texts(const Report::RecordedPage& page) {
        QStringList list;
        for (const Report::Op& op : page.ops())
            if (op.kind == Report::Op::Kind::TextInRect || op.kind == Report::Op::Kind::Text)
                list << op.text;
        return list;
    }

    TestDatabase database;
    MessageRecorder messages;
};

TEST_F(AccountingReportTest, StatementOfAnEventWithEveryKindOfBooking) {
    database.exec(R"sql(
INSERT INTO "T_Grunddaten" ("MWST_Satz1", "MWST_Satz2") VALUES (19, 7);
UPDATE "T_Event" SET "EEnde" = '2024-03-06 01:00:00', "EStrasse" = 'Dorfplatz 1',
    "EPLZ" = '83000', "EGageVereinb" = 1000, "EfMWST" = 0 WHERE "EventID" = 1;
INSERT INTO "T_Event_Merchandising" ("EventID", "Menge", "Preis") VALUES
    (1, 10, 15), (1, NULL, 5), (2, 3, 10);
INSERT INTO "T_Stamm_Hotel" ("HotelID", "Name", "Ort") VALUES (1, 'Post', 'Au'), (2, 'Krone', NULL);
INSERT INTO "T_Event_Uebernachtung" ("EventID", "HotelID", "PersonID", "Funktion", "Anreise")
    VALUES (1, 1, 1, 0, '2024-03-05 00:00:00'), (1, 2, 2, 0, '2024-03-05 00:00:00'), (1, 1, 3, 0, '2024-03-05 00:00:00');
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fMWST", "MwSt_Satz", "Kostenart", "RechnungNr", "ZahlungGegen", "fZahltVeranstalter",
    "Verwendung") VALUES
    (1, 1, 12, 10, 200, 1, 1, NULL, NULL, NULL, 0, ''),
    (1, 1, 10, 1, 300, 0, 1, NULL, NULL, NULL, 0, ''),
    (1, 2, 13, 11, 500, 1, 1, NULL, NULL, NULL, 0, ''),
    (1, 4, 15, 1, 50, 1, 1, 2, '7', 1, 0, ''),
    (1, 4, 15, 1, 100, 0, 1, 1, 'R-1', 0, 0, ''),
    (1, 4, 15, 1, 10, 1, 1, 9, NULL, 0, 0, ''),
    (1, 5, 16, 0, 240, NULL, NULL, NULL, NULL, NULL, 0, ''),
    (1, 6, 17, 0, 20, 0, 2, NULL, NULL, NULL, 0, 'Getränke'),
    (2, 6, 17, 0, 999, 1, 1, NULL, NULL, NULL, 0, 'anderes Event');
)sql");
    const Report::Document document = render();
    ASSERT_EQ(document.pageCount(), 1);
    expectDump(document, "abrechnung_wedding.txt");
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(AccountingReportTest, EmptyBaseDataCountsAt16And7AndABookingWithoutRateAtRate1) {
    database.exec(R"sql(
UPDATE "T_Event" SET "EGageVereinb" = 100, "EfMWST" = 0 WHERE "EventID" = 1;
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fMWST", "MwSt_Satz", "Verwendung") VALUES
    (1, 1, 10, 1, 100, 0, NULL, ''),
    (1, 6, 17, 0, 100, 0, 2, 'netto zu 7'),
    (1, 6, 17, 0, 100, 1, 2, 'brutto zu 7');
)sql");
    ASSERT_EQ(database.count("T_Grunddaten"), 0);
    const QStringList rows = rowTexts(statement());
    EXPECT_EQ(rows, (QStringList{"Erlöse|Gage|16|116.00|", "||||",
                                 "Personalkosten|Max Muster / Musiker|16||116.00", "||||",
                                 "Spesen / Sonstiges|brutto zu 7|7||100.00",
                                 "|netto zu 7|7||107.00", "||||"}));
}

TEST_F(AccountingReportTest, WithoutBookingsAndSalesOnlyTheFeeAndThePersonnelLabelRemain) {
    const AccountingReport::Statement result = statement();
    EXPECT_EQ(rowTexts(result),
              (QStringList{"Erlöse|Gage|16|0.00|", "||||", "Personalkosten||||", "||||"}));
    const QStringList printed = texts(*render().pages.front());
    const QStringList tail = printed.mid(printed.indexOf(QStringLiteral("Gage")));
    EXPECT_EQ(tail,
              (QStringList{"Gage", "16", "0.00", "Personalkosten", "Summe", "0.00", "0.00", "Saldo",
                           "0.00", "* alle Beträge inkl. MwSt.", "www.testband.example"}));
}

TEST_F(AccountingReportTest, FeeFallsBackToTheAgreedFeeRaisedByRate1UnlessItIncludesVat) {
    database.exec(R"sql(
UPDATE "T_Event" SET "EGageBezahlt" = 0, "EGageVereinb" = 200, "EfMWST" = 0
    WHERE "EventID" = 1;
UPDATE "T_Event" SET "EGageBezahlt" = 0, "EGageVereinb" = 200, "EfMWST" = -1
    WHERE "EventID" = 2;
UPDATE "T_Event" SET "EGageBezahlt" = 150, "EGageVereinb" = 200, "EfMWST" = 0
    WHERE "EventID" = 3;
)sql");
    EXPECT_DOUBLE_EQ(statement(1).income, 232);
    EXPECT_DOUBLE_EQ(statement(2).income, 200);
    EXPECT_DOUBLE_EQ(statement(3).income, 150);
}

TEST_F(AccountingReportTest, HireThatTheOrganiserPaysIsLeftOutAsAWholeGroup) {
    database.exec(R"sql(
INSERT INTO "T_Stamm_ExtFirma" ("ExtID", "Art", "fPrivat", "Vorname", "Name") VALUES
    (12, 4, -1, 'Lutz', 'Licht');
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fMWST", "MwSt_Satz", "fZahltVeranstalter", "Verwendung") VALUES
    (1, 2, 13, 11, 500, 1, 1, -1, ''),
    (1, 3, 14, 12, 300, 1, 1, 0, '');
)sql");
    const AccountingReport::Statement result = statement();
    EXPECT_EQ(rowTexts(result).filter(QStringLiteral("PA")), QStringList());
    EXPECT_TRUE(rowTexts(result).contains(QStringLiteral("Lichtanlage|Lutz Licht|16||300.00")));
    EXPECT_DOUBLE_EQ(result.expenses, 300);
}

TEST_F(AccountingReportTest, ANegativeBalanceIsPrintedInDarkRed) {
    const auto balanceColour = [this] {
        const Report::RecordedPage& page = *render().pages.front();
        QRgb colour = qRgb(0, 0, 0);
        for (const Report::Op& op : page.ops()) {
            if (op.kind == Report::Op::Kind::TextColor)
                colour = op.color;
            if (op.text == QStringLiteral("Saldo"))
                return qRed(colour) * 1000000 + qGreen(colour) * 1000 + qBlue(colour);
        }
        return -1;
    };
    database.exec(R"sql(UPDATE "T_Event" SET "EGageBezahlt" = 100 WHERE "EventID" = 1;)sql");
    EXPECT_EQ(balanceColour(), 0);
    database.exec(R"sql(
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fMWST", "MwSt_Satz", "Verwendung") VALUES (1, 6, 17, 0, 100.01, 1, 1, 'Miete');
)sql");
    EXPECT_EQ(balanceColour(), 128000000);
    const QStringList printed = texts(*render().pages.front());
    EXPECT_EQ(printed.at(printed.indexOf(QStringLiteral("Saldo")) + 1), QStringLiteral("-0.01"));
    // The note below is black again.
    EXPECT_TRUE(Report::dump(*render().pages.front())
                    .contains(QStringLiteral("textcolor 0,0,0\nfont ARIAL 30\n")));
}

TEST_F(AccountingReportTest, ALongTableContinuesOnANewPageWithItsHeadRepeated) {
    database.exec("BEGIN");
    for (int i = 1; i <= 60; ++i)
        database.exec(
            QStringLiteral("INSERT INTO \"T_Stamm_Musiker\" (\"MusikerID\", \"MName\", "
                           "\"MVorname\") VALUES (%1, 'Musiker%1', 'M');"
                           "INSERT INTO \"T_Event_Finanzen\" (\"EventID\", \"Kostengruppe\", "
                           "\"Kostenstelle\", \"ID\", \"Auszahlung\", \"fMWST\", \"MwSt_Satz\", "
                           "\"Verwendung\") VALUES (1, 1, 10, %1, 10, 1, 1, '');")
                .arg(100 + i)
                .toUtf8()
                .constData());
    database.exec("COMMIT");
    const Report::Document document = render();
    ASSERT_EQ(document.pageCount(), 2);
    const PageMetrics metrics = PageMetrics::defaults();
    // Nothing of the table runs into the footer of the first page.
    for (const Report::Op& op : document.pages[0]->ops()) {
        if (op.kind == Report::Op::Kind::TextInRect && op.font == ReportFonts::font(3)) {
            EXPECT_LE(op.y1, PageFrame::bottomLimit(metrics) + 5) << op.text.toStdString();
        }
    }
    const QStringList first = texts(*document.pages[0]);
    const QStringList second = texts(*document.pages[1]);
    EXPECT_FALSE(first.contains(QStringLiteral("Summe")));
    for (const char* head : {"Abrechnung", "Beschreibung", "Steuer-", "Satz", "Einnahmen",
                             "Ausgaben", "Rubrik", "Art der Aufwendungen"})
        EXPECT_EQ(second.count(QString::fromUtf8(head)), 1) << head;
    EXPECT_TRUE(second.contains(QStringLiteral("Summe")));
    EXPECT_TRUE(second.contains(QStringLiteral("600.00")));
    // Every booking is printed once.
    EXPECT_EQ((first + second).filter(QStringLiteral("/ Musiker")).size(), 60);
}

} // namespace

TEST_F(AccountingReportTest, TotalsAndBalanceAreTheSumsOfThePrintedAmounts) {
    // 33.33 without VAT at 19 % is 39.6627 each: printed 39.66, three of them 118.98 (the
    // unrounded sum would print 118.99).
    database.exec(R"sql(
INSERT INTO "T_Grunddaten" ("MWST_Satz1", "MWST_Satz2") VALUES (19, 7);
UPDATE "T_Event" SET "EGageVereinb" = 100.005, "EfMWST" = -1 WHERE "EventID" = 1;
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fMWST", "MwSt_Satz", "fZahltVeranstalter") VALUES
    (1, 1, 10, 1, 33.33, 0, 1, 0), (1, 1, 10, 1, 33.33, 0, 1, 0), (1, 1, 10, 1, 33.33, 0, 1, 0);
)sql");
    const AccountingReport::Statement sums = statement();
    EXPECT_DOUBLE_EQ(sums.expenses, 118.98);
    const QStringList printed = texts(*render().pages.front());
    EXPECT_EQ(printed.count(QStringLiteral("39.66")), 3);
    EXPECT_TRUE(printed.contains(QStringLiteral("118.98")));
    EXPECT_FALSE(printed.contains(QStringLiteral("118.99")));
    const int saldo = int(printed.indexOf(QStringLiteral("Saldo")));
    ASSERT_GE(saldo, 0);
    EXPECT_EQ(printed.value(saldo + 1),
              AccountingReport::amountText(Finance::roundToCent(sums.income) - 118.98));
}

TEST_F(AccountingReportTest, RoomsWithoutABookingAreNamedUnderTheBalance) {
    database.exec(R"sql(
INSERT INTO "T_Stamm_Hotel" ("HotelID", "Name") VALUES (1, 'Post');
INSERT INTO "T_Event_Uebernachtung_Zimmer" ("EventID", "HotelID", "ZimmerNr", "Preis")
    VALUES (1, 1, 1, 89.5);
INSERT INTO "T_Event_Uebernachtung" ("EventID", "HotelID", "ZimmerNr", "PersonID", "Funktion",
    "Anreise", "Abreise") VALUES (1, 1, 1, 1, 0, '2024-03-05 00:00:00', '2024-03-06 00:00:00');
)sql");
    EXPECT_EQ(AccountingReport::unbookedLine(statement().unbooked),
              QStringLiteral("Noch nicht gebucht: Übernachtungen 89.50"));
    const QStringList printed = texts(*render().pages.front());
    EXPECT_TRUE(printed.contains(QStringLiteral("Noch nicht gebucht: Übernachtungen 89.50")));
    // Once the stay is booked at its amount, nothing is left unbooked.
    database.exec(R"sql(
INSERT INTO "T_Event_Finanzen" ("EventID", "Kostengruppe", "Kostenstelle", "ID", "Auszahlung",
    "fZahltVeranstalter") VALUES (1, 5, 16, 0, 89.5, 0);
)sql");
    EXPECT_TRUE(AccountingReport::unbookedLine(statement().unbooked).isEmpty());
}
