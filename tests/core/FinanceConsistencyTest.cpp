// Every figure of an event agrees wherever it is read: over the example data and over a generated
// data set, the overview's figure of each area is what the bookings hold plus what the plan holds
// and no booking covers; PA and light hire follow their own rules; and the tool prints the
// overview's figures.
#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "core/OvernightPlan.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "reports/AccountingReport.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Finance::VatMode;

std::vector<std::int32_t> eventKeys(CDatabase& db) {
    std::vector<std::int32_t> keys;
    CSetEvent events(db);
    for (events.open(QStringLiteral("[EventID]>0")); !events.atEnd(); events.moveNext())
        keys.push_back(events.getLong("EventID"));
    return keys;
}

// The hire of a kind is marked as present at the event (so it costs nothing).
bool hirePresent(CDatabase& db, std::int32_t event, int kind) {
    CSetEventExtFirma hire(db);
    hire.open(QString::asprintf("[EventID]=%ld AND [Art]=%d", long(event), kind));
    return !hire.atEnd() && hire.getBool("bVorhanden");
}

// What the printed statement lists per cost group (1 to 6), by the group labels of its rows.
std::map<int, double> statementGroups(const AccountingReport::Statement& statement) {
    static const QStringList labels{
        QStringLiteral("Personalkosten"), QStringLiteral("PA-Anlage"),
        QStringLiteral("Lichtanlage"),    QStringLiteral("KFZ-Kosten"),
        QStringLiteral("Übernachtungen"), QStringLiteral("Spesen / Sonstiges")};
    std::map<int, double> sums;
    int group = 0;
    for (const AccountingReport::Row& row : statement.rows) {
        if (!row.group.isEmpty())
            group = int(labels.indexOf(row.group)) + 1;
        if (group > 0 && row.expense)
            sums[group] += *row.expense;
    }
    return sums;
}

// Checks every event and returns how many had rooms not yet booked.
int expectFiguresAgree(CDatabase& db) {
    const BaseData base = BaseData::read(db);
    int unbookedRooms = 0;
    for (std::int32_t event : eventKeys(db)) {
        const Finance::BudgetSummary overview =
            Finance::BudgetSummary::compute(db, event, base, VatMode::Inclusive);
        const Finance::AreaCosts booked = Finance::bookedCosts(db, event, base, VatMode::Inclusive);
        const Finance::UnbookedCosts unbooked =
            Finance::unbookedCosts(db, event, base, VatMode::Inclusive);
        CSetEvent eventRow(db);
        eventRow.open(QString::asprintf("[EventID]=%ld", long(event)));
        const AccountingReport::Statement statement = AccountingReport::read(db, eventRow, base);
        std::map<int, double> printed = statementGroups(statement);
        for (int area :
             {Finance::Personnel, Finance::Transport, Finance::Overnight, Finance::Expenses}) {
            // The overview leaves the rooms out when the organiser pays them.
            const double shown =
                area == Finance::Overnight && overview.organiserPays ? 0 : overview.area(area);
            EXPECT_EQ(Finance::formatAmount(booked.area(area) + unbooked.area(area)),
                      Finance::formatAmount(shown))
                << "event " << event << ", area " << area;
            // The printed statement: its booked rows plus its "Noch nicht gebucht" line.
            EXPECT_EQ(Finance::formatAmount(printed[area] + statement.unbooked.area(area)),
                      Finance::formatAmount(shown))
                << "statement of event " << event << ", area " << area;
        }
        // PA and light hire: what is booked, unless the equipment is there already; never
        // anything unbooked.
        for (const auto& [area, kind] :
             {std::pair{int(Finance::PAHire), 3}, std::pair{int(Finance::LightHire), 4}}) {
            EXPECT_EQ(Finance::formatAmount(overview.area(area)),
                      Finance::formatAmount(hirePresent(db, event, kind) ? 0 : booked.area(area)))
                << "event " << event << ", area " << area;
            EXPECT_EQ(unbooked.area(area), 0) << "event " << event;
        }
        // What is unbooked is part of the costs the overview shows.
        EXPECT_LE(unbooked.total(), overview.costs + 0.005) << "event " << event;
        if (unbooked.overnight > 0)
            ++unbookedRooms;
    }
    return unbookedRooms;
}

TEST(FinanceConsistencyTest, ExampleDataAgreeAndShowTheirUnbookedRooms) {
    TestDatabase database;
    fillDemoData(database.db());
    // The New Year's Eve rooms are planned and not yet booked.
    EXPECT_EQ(expectFiguresAgree(database.db()), 1);
    // The fair's rooms are booked at what they cost.
    const std::int32_t fair =
        database.db().queryText("SELECT EventID FROM T_Event WHERE EArt = 'Volksfest'").toInt();
    const Finance::AreaCosts booked = Finance::bookedCosts(
        database.db(), fair, BaseData::read(database.db()), VatMode::Inclusive);
    EXPECT_EQ(Finance::formatAmount(booked.overnight), QStringLiteral("220,00"));
}

// Events with stays in rooms of odd prices, bookings of every VAT kind, an overnight booking
// written before the stays (it follows them), after them, stale, or paid by the organiser, and
// hire marked present or not.
void generateFinances(CDatabase& db, unsigned seed) {
    // One transaction for all: the file is synced once.
    CDbTransaction transaction(db);
    std::mt19937 random(seed);
    const auto below = [&random](int bound) { return int(random() % unsigned(bound)); };
    const double prices[] = {44.75, 39.99, 52, 0.03, 89.5, 61.33};
    const char* const amounts[] = {"0.03", "12.345", "116", "99.99", "1207.2", "0.05"};
    db.queryText("INSERT INTO T_Stamm_Hotel (HotelID, Name) VALUES (1, 'Post'), (2, 'Krone')");
    for (int event = 1; event <= 40; ++event) {
        const std::string id = std::to_string(event);
        db.queryText("INSERT INTO T_Event (EventID, ELocation, EGageVereinb, EfMWST) VALUES (" +
                     id + ", 'Halle', " + std::to_string(500 + 37 * event) + ".55, " +
                     (event % 2 ? "-1" : "0") + ")");
        for (int kind : {3, 4})
            db.queryText("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES (" +
                         id + ", " + std::to_string(kind) + ", 1, " + (below(3) == 0 ? "-1" : "0") +
                         ")");
        const int bookings = below(8);
        for (int i = 0; i < bookings; ++i) {
            const int group = below(5) == 0 ? 6 : 1 + below(4);
            const int centre = group == 1 ? 10 + below(3) : group + 11;
            db.queryText("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                         "Auszahlung, fMWST, MwSt_Satz) VALUES (" +
                         id + ", " + std::to_string(group) + ", " + std::to_string(centre) + ", " +
                         std::to_string(i) + ", " + amounts[below(6)] + ", " +
                         (below(2) ? "1" : "0") + ", " +
                         (below(5) == 0 ? "NULL" : std::to_string(1 + below(2))) + ")");
        }
        const int overnight = below(5); // 0 none, 1 before, 2 after, 3 stale, 4 organiser pays
        const auto bookOvernight = [&](const std::string& amount, bool organiser) {
            db.queryText("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                         "Auszahlung, fMWST, fZahltVeranstalter) VALUES (" +
                         id + ", 5, 16, 0, " + amount + ", 1, " + (organiser ? "-1" : "0") + ")");
        };
        if (overnight == 1 || overnight == 4)
            bookOvernight("0", overnight == 4);
        const int stays = below(6);
        for (int person = 1; person <= stays; ++person) {
            const QDateTime arrival(QDate(2026, 5, 1 + below(3)), QTime(14, 0), Qt::UTC);
            OvernightPlan::StayKey key{event, person, below(3), arrival};
            OvernightPlan::bookStay(db, key, {1 + below(2), 1 + below(3)},
                                    arrival.addDays(1 + below(3)), prices[below(6)]);
        }
        if (overnight == 2)
            bookOvernight(QString::number(Finance::overnightTotal(db, event), 'f', 2).toStdString(),
                          false);
        // A booking written before it followed its rooms, holding less than they cost.
        if (overnight == 3 && stays > 0)
            bookOvernight("0.01", false);
    }
    transaction.commit();
}

TEST(FinanceConsistencyTest, GeneratedEventsAgree) {
    for (unsigned seed : {1u, 2u, 3u}) {
        TestDatabase database;
        generateFinances(database.db(), seed);
        expectFiguresAgree(database.db());
    }
}

TEST(FinanceConsistencyTest, ToolPrintsTheOverviewOfTheForm) {
    TestDatabase database;
    fillDemoData(database.db());
    const QString fair =
        database.db().queryText("SELECT EventID FROM T_Event WHERE EArt = 'Volksfest'");
    QProcess tool;
    tool.start(QStringLiteral(VORLANTO_TOOL_PATH),
               {QStringLiteral("budget"), database.dir(), QStringLiteral("--event"), fair,
                QStringLiteral("--inkl")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n');
    const Finance::BudgetSummary summary = Finance::BudgetSummary::compute(
        database.db(), fair.toInt(), BaseData::read(database.db()), VatMode::Inclusive);
    const QStringList expected = {
        QStringLiteral("Personal: ") + Finance::formatAmount(summary.personnel),
        QStringLiteral("PA: ") + Finance::formatAmount(summary.pa),
        QStringLiteral("LA: ") + Finance::formatAmount(summary.light),
        QStringLiteral("Transport: ") + Finance::formatAmount(summary.transport),
        QStringLiteral("Übernachtungen: 220,00"),
        QStringLiteral("Spesen / Sonstiges: ") + Finance::formatAmount(summary.expenses),
        QStringLiteral("Budget Gesamt: ") + Finance::formatAmount(summary.total),
        QStringLiteral("Summe Kosten: ") + Finance::formatAmount(summary.costs),
        QStringLiteral("davon noch nicht gebucht: 0,00"),
        QStringLiteral("Budget Rest: ") + Finance::formatAmount(summary.rest()),
        QString()};
    EXPECT_EQ(lines, expected);

    // Without VAT the rooms' 220,00 include 16 %.
    QProcess net;
    net.start(QStringLiteral(VORLANTO_TOOL_PATH),
              {QStringLiteral("budget"), database.dir(), QStringLiteral("--event"), fair,
               QStringLiteral("--exkl")});
    ASSERT_TRUE(net.waitForFinished(60000));
    const QString netLines = QString::fromUtf8(net.readAllStandardOutput());
    const QString netRooms = Finance::formatAmount(
        Finance::BudgetSummary::compute(database.db(), fair.toInt(), BaseData::read(database.db()),
                                        VatMode::Exclusive)
            .overnight);
    EXPECT_NE(netRooms, QStringLiteral("220,00"));
    EXPECT_TRUE(netLines.contains(QStringLiteral("Übernachtungen: ") + netRooms))
        << netLines.toStdString();

    QProcess unknown;
    unknown.start(QStringLiteral(VORLANTO_TOOL_PATH),
                  {QStringLiteral("budget"), database.dir(), QStringLiteral("--event"),
                   QStringLiteral("9999")});
    ASSERT_TRUE(unknown.waitForFinished(60000));
    EXPECT_EQ(unknown.exitCode(), 1);
    EXPECT_TRUE(unknown.readAllStandardError().contains("Event 9999 wurde nicht gefunden."));
}

} // namespace
