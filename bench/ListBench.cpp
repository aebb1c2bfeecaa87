// Measures the main window's lists: filling the event list (organiser text and planning icon per
// row) against one hand-written SQL join that yields the same nine columns, and switching the
// list pane to a list of 2,000 firms. Ends with "figure event_list_fill_10k <ratio>" and
// "figure list_switch_2000_firms_ms <milliseconds>".

#include "BenchSupport.h"
#include "core/CProfileFile.h"
#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "core/PlanningStatus.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"
#include "data/DatabaseFactory.h"
#include "tool/DemoData.h"
#include "views/CViewSplitRight.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int kEvents = 10000;
constexpr int kFirms = 2000;

struct Fixture {
    QTemporaryDir eventDir;
    QTemporaryDir firmDir;
    CDatabase events;
    CDatabase firms;
    CProfileFile profile;

    Fixture() : profile(QDir(firmDir.path()).filePath(QStringLiteral("Kavio.ini"))) {
        const QString eventFile = QDir(eventDir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(eventFile);
        events.open(eventFile);
        generateEvents(events, kEvents);
        // generateEvents makes one firm of kinds 1 to 5 per twenty events: 2,000 firms of the
        // five kinds need 40,000 events, so a separate file keeps the event list at 10,000.
        const QString firmFile = QDir(firmDir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(firmFile);
        firms.open(firmFile);
        generateEvents(firms, kFirms * 5 * 4);
    }
};
Fixture* g_fixture = nullptr;

const char* const kJoin = R"sql(
SELECT e."EventID", e."EBeginn", e."EEnde", f."fPrivat", f."Firma", f."Name", f."Vorname",
       e."ELocation", e."EStrasse", e."EPLZ", e."EOrt", e."ETAufbauVon", e."ETAbbauVon",
       s."EventID", s."Stat_Plan_Besetzung", s."Stat_Plan_Technik", s."Stat_Plan_Backline",
       s."Stat_Plan_PA", s."Stat_Plan_LA", s."Stat_Plan_Transport", s."Stat_Plan_Nacht",
       s."Stat_Plan_Setliste"
FROM "T_Event" AS e
LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = e."VeranstalterID" AND f."Art" = 0
LEFT JOIN "T_Event_Status" AS s ON s."EventID" = e."EventID"
WHERE e."EventID" > 0
ORDER BY e."EBeginn" DESC)sql";

QString text(sqlite3_stmt* statement, int at) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, at));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(statement, at)) : QString();
}

QDateTime date(sqlite3_stmt* statement, int at) {
    return parseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
                           sqlite3_column_bytes(statement, at));
}

// The same rows the event list shows, from one join.
std::vector<ListRow> eventRowsByJoin(sqlite3* db) {
    std::vector<ListRow> rows;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, kJoin, -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ListRow row;
        row.key = sqlite3_column_int(statement, 0);
        PlanningStatus status;
        status.exists = sqlite3_column_type(statement, 13) != SQLITE_NULL;
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            status.planning[static_cast<size_t>(i)] = sqlite3_column_int(statement, 14 + i);
        row.icon = status.planningImage();
        row.texts[1] = ListTexts::dateTime(date(statement, 1), true);
        row.texts[2] = ListTexts::dateTime(date(statement, 2), true);
        const QString town = text(statement, 10);
        if (sqlite3_column_type(statement, 3) != SQLITE_NULL)
            row.texts[3] =
                ListTexts::organiser(sqlite3_column_int(statement, 3) != 0, text(statement, 4),
                                     text(statement, 5), text(statement, 6), town);
        row.texts[4] = text(statement, 7);
        row.texts[5] = text(statement, 8);
        row.texts[6] = ListTexts::postcodeAndTown(text(statement, 9), town);
        row.texts[7] = ListTexts::dateTime(date(statement, 11), false);
        row.texts[8] = ListTexts::dateTime(date(statement, 12), false);
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

void BM_EventListFill(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<ListRow> rows = loadListRows(g_fixture->events, ListKind::Events);
        if (rows.size() != static_cast<size_t>(kEvents))
            state.SkipWithError("wrong number of rows");
        benchmark::DoNotOptimize(rows);
    }
}

void BM_EventListJoin(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<ListRow> rows = eventRowsByJoin(g_fixture->events.handle());
        if (rows.size() != static_cast<size_t>(kEvents))
            state.SkipWithError("wrong number of rows");
        benchmark::DoNotOptimize(rows);
    }
}

// What the user waits for when choosing a firm list: columns, widths, entries, and the widget
// laid out again.
void BM_SwitchFirmList(benchmark::State& state) {
    CViewSplitRight view(g_fixture->firms, g_fixture->profile);
    view.resize(900, 600);
    view.show();
    int kind = ListKind::Technicians;
    for (auto _ : state) {
        kind = kind == ListKind::Technicians ? ListKind::CarHire : ListKind::Technicians;
        view.setListKind(kind);
        QApplication::processEvents();
    }
}

BENCHMARK(BM_EventListFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventListJoin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchFirmList)->Unit(benchmark::kMillisecond);

bool sameRows() {
    const std::vector<ListRow> viaSets = loadListRows(g_fixture->events, ListKind::Events);
    const std::vector<ListRow> viaJoin = eventRowsByJoin(g_fixture->events.handle());
    if (viaSets.size() != viaJoin.size())
        return false;
    // Events starting at the same moment may come in either order.
    std::map<std::int32_t, const ListRow*> byKey;
    for (const ListRow& row : viaJoin)
        byKey[row.key] = &row;
    for (const ListRow& row : viaSets) {
        const auto it = byKey.find(row.key);
        if (it == byKey.end() || it->second->icon != row.icon || it->second->texts != row.texts)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!initializeBenchmarks(argc, argv))
        return 2;
    Fixture fixture;
    g_fixture = &fixture;
    if (!sameRows()) {
        std::fprintf(stderr, "The event list and the join disagree.\n");
        return 1;
    }
    FigureReporter reporter;
    runBenchmarks(reporter);
    reporter.printFigure("event_list_fill_10k", "BM_EventListFill", "BM_EventListJoin");
    const double switchMs = reporter.fastestMs("BM_SwitchFirmList");
    if (switchMs >= 0)
        std::printf("figure list_switch_2000_firms_ms %.1f\n", switchMs);
    return 0;
}
