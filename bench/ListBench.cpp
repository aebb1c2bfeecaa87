// Measures the main window's lists: filling the event list (texts, planning icon, double-booking
// and GEMA marks per row) against hand-written SQLite code that runs the same query and makes
// the same rows, and switching the list pane to a list of 2,000 firms. Ends with "figure
// event_list_fill_10k <ratio>" and "figure list_switch_2000_firms_ms <milliseconds>".

#include "BenchSupport.h"
#include "EventListCheck.h"
#include "core/CProfileFile.h"
#include "core/Conflicts.h"
#include "core/GemaDeadline.h"
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

#include <algorithm>

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
        // A line-up of one of five musicians per event, so that some events are double-booked
        // and the list has both kinds of marks to compute.
        events.execute(R"(INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") )"
                       R"(SELECT "EventID", 1 + "EventID" % 5 FROM "T_Event" WHERE "EventID" > 0)");
        // generateEvents makes one firm of kinds 1 to 5 per twenty events: 2,000 firms of the
        // five kinds need 40,000 events, so a separate file keeps the event list at 10,000.
        const QString firmFile = QDir(firmDir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(firmFile);
        firms.open(firmFile);
        generateEvents(firms, kFirms * 5 * 4);
    }
};
Fixture* g_fixture = nullptr;

QString text(sqlite3_stmt* statement, int at) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, at));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(statement, at)) : QString();
}

std::string_view stored(sqlite3_stmt* statement, int at) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, at));
    return bytes ? std::string_view(bytes, static_cast<size_t>(sqlite3_column_bytes(statement, at)))
                 : std::string_view();
}

QDateTime date(sqlite3_stmt* statement, int at) {
    if (sqlite3_column_type(statement, at) != SQLITE_TEXT)
        return QDateTime();
    return parseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
                           sqlite3_column_bytes(statement, at));
}

// The double-booked events, read by hand and found by the same sweep the list uses.
QSet<std::int32_t> conflictsByHand(sqlite3* db) {
    std::vector<Conflicts::Booking> bookings;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, Conflicts::bookingsQuery(Jet::Dialect::File).c_str(), -1, &statement,
                       nullptr);
    auto moment = [statement](int at) {
        return Conflicts::packedMoment(
            {reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
             static_cast<size_t>(sqlite3_column_bytes(statement, at))});
    };
    while (sqlite3_step(statement) == SQLITE_ROW)
        bookings.push_back({sqlite3_column_int(statement, 0), sqlite3_column_int(statement, 1),
                            sqlite3_column_int(statement, 2), sqlite3_column_int(statement, 3),
                            moment(4), moment(5)});
    sqlite3_finalize(statement);
    return Conflicts::clashingEvents(std::move(bookings));
}

// The same rows the event list shows, marks included, from the same SQL run by hand: texts,
// icon, double-booking and GEMA marks read by position straight from the statement, each text
// converted and each date formatted row by row, then sorted newest first.
std::vector<ListRow> eventRowsByHand(sqlite3* db) {
    const QDate today = QDate::currentDate();
    const QByteArray day = today.toString(Qt::ISODate).toLatin1();
    const QSet<std::int32_t> doubleBooked = conflictsByHand(db);
    std::vector<ListRow> rows;
    std::vector<std::pair<std::int64_t, std::int32_t>> order;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, eventListQuery(Jet::Dialect::File).c_str(), -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, day.constData(), day.size(), SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ListRow row;
        row.key = sqlite3_column_int(statement, 0);
        PlanningStatus status;
        status.exists = sqlite3_column_int(statement, 13) != 0;
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            status.planning[static_cast<size_t>(i)] = sqlite3_column_int(statement, 14 + i);
        row.icon = status.planningImage();
        const std::string_view begin = stored(statement, 1);
        row.doubleBooked = doubleBooked.contains(row.key);
        if (sqlite3_column_int(statement, 28) != 0) {
            row.gemaDue = true;
            row.eventDate = date(statement, 1).date();
            row.setListComplete = sqlite3_column_int(statement, 29) != 0;
            row.gemaPrinted = sqlite3_column_int(statement, 30) != 0;
        }
        row.texts[1] = ListTexts::dateTime(begin, true);
        row.texts[2] = ListTexts::dateTime(stored(statement, 2), true);
        const QString town = text(statement, 10);
        if (sqlite3_column_type(statement, 3) != SQLITE_NULL)
            row.texts[3] =
                ListTexts::organiser(sqlite3_column_int(statement, 3) != 0, text(statement, 4),
                                     text(statement, 5), text(statement, 6), town);
        row.texts[4] = text(statement, 7);
        row.texts[5] = text(statement, 8);
        row.texts[6] = ListTexts::postcodeAndTown(text(statement, 9), town);
        row.texts[7] = ListTexts::dateTime(stored(statement, 11), false);
        row.texts[8] = ListTexts::dateTime(stored(statement, 12), false);
        order.emplace_back(begin.empty() ? -1 : Conflicts::packedMoment(begin), row.key);
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    std::vector<size_t> index(rows.size());
    for (size_t i = 0; i < index.size(); ++i)
        index[i] = i;
    std::sort(index.begin(), index.end(),
              [&order](size_t a, size_t b) { return order[a] > order[b]; });
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : index)
        sorted.push_back(std::move(rows[i]));
    return sorted;
}

void BM_EventListFill(benchmark::State& state) {
    timeListLoad(state, kEvents, [] { return loadListRows(g_fixture->events, ListKind::Events); });
}

void BM_EventListByHand(benchmark::State& state) {
    timeListLoad(state, kEvents, [] { return eventRowsByHand(g_fixture->events.handle()); });
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
BENCHMARK(BM_EventListByHand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchFirmList)->Unit(benchmark::kMillisecond);

bool sameRows() {
    return sameEventRows(loadListRows(g_fixture->events, ListKind::Events),
                         eventRowsByHand(g_fixture->events.handle()));
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
        std::fprintf(stderr, "The event list and the hand-written code disagree.\n");
        return 1;
    }
    FigureReporter reporter;
    runBenchmarks(reporter);
    reporter.printFigure("event_list_fill_10k", "BM_EventListFill", "BM_EventListByHand");
    const double switchMs = reporter.fastestMs("BM_SwitchFirmList");
    if (switchMs >= 0)
        std::printf("figure list_switch_2000_firms_ms %.1f\n", switchMs);
    return 0;
}
