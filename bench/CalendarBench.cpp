// The month calendar filled from a database of 10,000 events ("figure calendar_month_ms <ms>"),
// and the year overview of a year with 300 events against one hand-written SQL query that sums
// the same bookings ("figure year_overview <ratio>").

#include "BenchSupport.h"
#include "core/MonthCalendar.h"
#include "core/YearOverview.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "tool/DemoData.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <string>

namespace {

constexpr int kYear = 2031;

struct Fixture {
    QTemporaryDir dir;
    CDatabase db;

    Fixture() {
        const QString file = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(file);
        db.open(file);
        generateEvents(db, 10000);
        // A year of its own: 300 events, each with a fee, eight bookings over the areas, a PA
        // hire and two rooms.
        db.execute("BEGIN");
        for (int i = 0; i < 300; ++i) {
            const std::string event = std::to_string(900000 + i);
            const QDate day = QDate(kYear, 1, 1).addDays(i * 365 / 300);
            db.execute("INSERT INTO T_Event (EventID, ELocation, EBeginn, EEnde, Status, "
                       "EGageVereinb, EfMWST) VALUES (" +
                       event + ", 'Halle', '" + day.toString(Qt::ISODate).toStdString() +
                       " 20:00:00', '" + day.toString(Qt::ISODate).toStdString() + " 23:00:00', " +
                       std::to_string(i % 5) + ", " + std::to_string(1000 + i) + ", " +
                       std::to_string(i % 2 ? -1 : 0) + ")");
            db.execute("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES (" +
                       event + ", 3, 1, 0)");
            for (int booking = 0; booking < 8; ++booking) {
                const int group = 1 + booking % 6;
                db.execute("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, "
                           "ID, Auszahlung, fMWST, MwSt_Satz) VALUES (" +
                           event + ", " + std::to_string(group) + ", " + std::to_string(9 + group) +
                           ", " + std::to_string(booking) + ", " + std::to_string(20 + booking) +
                           ".5, " + std::to_string(booking % 2) + ", " +
                           std::to_string(1 + booking % 2) + ")");
            }
            for (int room = 1; room <= 2; ++room) {
                db.execute("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, "
                           "ZimmerNr, Preis) VALUES (" +
                           event + ", 1, " + std::to_string(room) + ", 60)");
                db.execute("INSERT INTO T_Event_Uebernachtung (EventID, HotelID, ZimmerNr, "
                           "PersonID, Funktion, Anreise, Abreise) VALUES (" +
                           event + ", 1, " + std::to_string(room) + ", " + std::to_string(room) +
                           ", 0, '" + day.toString(Qt::ISODate).toStdString() + " 00:00:00', '" +
                           day.addDays(1).toString(Qt::ISODate).toStdString() + " 00:00:00')");
            }
        }
        db.execute("COMMIT");
    }
};
Fixture* g_fixture = nullptr;

// The bookings of the year's events summed by area, their VAT converted as the summary does.
const char* const kSum = R"sql(
SELECT "Kostengruppe", SUM(CASE WHEN "fMWST" <> 0 THEN "Auszahlung"
    ELSE "Auszahlung" * (CASE WHEN "MwSt_Satz" = 2 THEN 107.0 ELSE 116.0 END) / 100 END)
FROM "T_Event_Finanzen" WHERE "EventID" IN (SELECT "EventID" FROM "T_Event"
    WHERE "EBeginn" >= ?1 AND "EBeginn" < ?2) AND "Auszahlung" IS NOT NULL
GROUP BY "Kostengruppe")sql";

void BM_CalendarMonth(benchmark::State& state) {
    int month = 0;
    for (auto _ : state) {
        // A busy month of the generated years, a different one each time.
        const MonthCalendar::Month result =
            MonthCalendar::load(g_fixture->db, 2025 + month / 12, 1 + month % 12);
        benchmark::DoNotOptimize(result.days[10].entries.size());
        month = (month + 1) % 24;
    }
}

void BM_YearOverview(benchmark::State& state) {
    const BaseData base;
    for (auto _ : state) {
        const YearOverview::Year year =
            YearOverview::compute(g_fixture->db, kYear, base, Finance::VatMode::Inclusive);
        benchmark::DoNotOptimize(year.total.costs);
    }
}

void BM_YearBookingSum(benchmark::State& state) {
    const std::string from = std::to_string(kYear) + "-01-01";
    const std::string to = std::to_string(kYear + 1) + "-01-01";
    runSummingQuery(state, g_fixture->db.handle(), kSum, [&](sqlite3_stmt* statement) {
        sqlite3_bind_text(statement, 1, from.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(statement, 2, to.c_str(), -1, SQLITE_STATIC);
    });
}

BENCHMARK(BM_CalendarMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearOverview)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_YearBookingSum)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchmarkMain(argc, argv, g_fixture, [](const FigureReporter& reporter) {
        const double monthMs = reporter.fastestMs("BM_CalendarMonth");
        if (monthMs >= 0)
            std::printf("figure calendar_month_ms %.2f\n", monthMs);
        reporter.printFigure("year_overview", "BM_YearOverview", "BM_YearBookingSum");
    });
}
