// Measures the budget summary of one event (40 musicians, 200 bookings, 30 rooms) against one
// hand-written SQL query that sums the same bookings. Ends with "figure budget_summary <ratio>".

#include "BenchSupport.h"
#include "core/FinanceModel.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <string>

namespace {

constexpr int kEventId = 1;

struct Fixture {
    QTemporaryDir dir;
    CDatabase db;

    Fixture() {
        const QString file = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(file);
        db.open(file);
        db.execute("BEGIN");
        db.execute("INSERT INTO T_Event (EventID, ELocation, EGageVereinb, EfMWST) VALUES "
                   "(1, 'Halle', 20000, 0), (2, 'Zelt', 5000, 0)");
        db.execute("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES "
                   "(1, 3, 5, 0), (1, 4, 6, 0)");
        for (int musician = 1; musician <= 40; ++musician) {
            db.execute("INSERT INTO T_Stamm_Musiker (MusikerID, MName) VALUES (" +
                       std::to_string(musician) + ", 'M" + std::to_string(musician) + "')");
            db.execute("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (1, " +
                       std::to_string(musician) + ")");
        }
        // 200 bookings over the six areas, and as many of another event.
        for (int event : {1, 2}) {
            for (int booking = 0; booking < 200; ++booking) {
                const int group = 1 + booking % 6;
                db.execute("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, "
                           "ID, Auszahlung, fMWST, MwSt_Satz) VALUES (" +
                           std::to_string(event) + ", " + std::to_string(group) + ", " +
                           std::to_string(9 + group) + ", " + std::to_string(booking % 40 + 1) +
                           ", " + std::to_string(10 + booking) + ".5, " +
                           std::to_string(booking % 2) + ", " + std::to_string(1 + booking % 2) +
                           ")");
            }
        }
        // 30 rooms of two hotels, each with two guests on overlapping nights.
        for (int room = 1; room <= 30; ++room) {
            const std::string hotel = std::to_string(1 + room % 2);
            db.execute("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, "
                       "Preis) VALUES (1, " +
                       hotel + ", " + std::to_string(room) + ", 79.5)");
            for (int guest = 0; guest < 2; ++guest)
                db.execute("INSERT INTO T_Event_Uebernachtung (EventID, HotelID, ZimmerNr, "
                           "PersonID, Funktion, Anreise, Abreise) VALUES (1, " +
                           hotel + ", " + std::to_string(room) + ", " +
                           std::to_string(room + guest) + ", 0, '2025-06-0" +
                           std::to_string(1 + guest) + " 00:00:00', '2025-06-0" +
                           std::to_string(4 + guest) + " 00:00:00')");
        }
        db.execute("COMMIT");
    }
};
Fixture* g_fixture = nullptr;

// The bookings of the event summed by area, their VAT converted as the summary does.
const char* const kSum = R"sql(
SELECT "Kostengruppe", SUM(CASE WHEN "fMWST" <> 0 THEN "Auszahlung"
    ELSE "Auszahlung" * (CASE WHEN "MwSt_Satz" = 2 THEN 107.0 ELSE 116.0 END) / 100 END)
FROM "T_Event_Finanzen" WHERE "EventID" = ?1 AND "Auszahlung" IS NOT NULL
GROUP BY "Kostengruppe")sql";

void BM_BudgetSummary(benchmark::State& state) {
    const BaseData base;
    for (auto _ : state) {
        const Finance::BudgetSummary summary = Finance::BudgetSummary::compute(
            g_fixture->db, kEventId, base, Finance::VatMode::Inclusive);
        benchmark::DoNotOptimize(summary.costs);
    }
}

void BM_BookingSumQuery(benchmark::State& state) {
    runSummingQuery(state, g_fixture->db.handle(), kSum,
                    [](sqlite3_stmt* statement) { sqlite3_bind_int(statement, 1, kEventId); });
}

BENCHMARK(BM_BudgetSummary)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BookingSumQuery)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchmarkMain(argc, argv, g_fixture, [](const FigureReporter& reporter) {
        reporter.printFigure("budget_summary", "BM_BudgetSummary", "BM_BookingSumQuery");
    });
}
