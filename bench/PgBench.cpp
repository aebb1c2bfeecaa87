// Measures the program on a PostgreSQL server, over the local socket of the server named by
// VORLANTO_TEST_PG (scripts/bench starts a throwaway one). A band database of 10,000 events is
// made as list_bench makes its file, moved onto the server and dropped at the end.
//
// "figure pg_event_list_fill_10k <ratio>": the event list's fill (texts, planning icon,
// double-booking and GEMA marks) against one hand-written libpq query that computes the same
// rows, marks and order on the server, every value read and converted as the list does.
// Wall-clock times: the server's share of the work is no CPU time of this process.
// "figure pg_save_roundtrip_ms <ms>": the event form's row read, one field changed and written
// with the form's compare-on-write, read again, the median of many rounds. The whole form (its
// pick lists read too) is printed beside it for the record.

#include "BenchSupport.h"
#include "EventListCheck.h"
#include "core/CProfileFile.h"
#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"
#include "data/DatabaseFactory.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/ServerMove.h"
#include "data/ServerSchema.h"
#include "events/CEventDlg.h"
#include "tool/DemoData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>

#include <libpq-fe.h>
#include <unistd.h>

namespace {

constexpr int kEvents = 10000;
constexpr int kSaveRounds = 60;

// The connection options of `uri` as a key=value string, the database replaced by `database`.
std::string withDatabase(const std::string& uri, const std::string& database) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
    if (!options) {
        const std::string reason = error ? error : "";
        PQfreemem(error);
        throw std::runtime_error("not a libpq URI: " + uri + " (" + reason + ")");
    }
    auto quoted = [](const std::string& value) {
        std::string out = "'";
        for (const char c : value) {
            if (c == '\'' || c == '\\')
                out += '\\';
            out += c;
        }
        return out + '\'';
    };
    std::string conninfo = "dbname=" + quoted(database);
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (option->val && std::string_view(option->keyword) != "dbname")
            conninfo += std::string(" ") + option->keyword + '=' + quoted(option->val);
    }
    PQconninfoFree(options);
    return conninfo;
}

// A band database of its own on the server, holding `kEvents` events with line-ups; dropped
// with its two groups of people when this goes.
class ServerBandDatabase {
public:
    explicit ServerBandDatabase(const std::string& serverUri)
        : m_server(serverUri), m_name("vorlanto_bench_" + std::to_string(::getpid())),
          m_uri(withDatabase(serverUri, m_name)) {
        maintenance("CREATE DATABASE \"" + m_name + "\" TEMPLATE template0 ENCODING 'UTF8'");
        m_created = true;
        try {
            fill();
        } catch (...) {
            drop(); // no destructor runs for an object whose constructor failed
            throw;
        }
    }
    ~ServerBandDatabase() { drop(); }
    ServerBandDatabase(const ServerBandDatabase&) = delete;
    ServerBandDatabase& operator=(const ServerBandDatabase&) = delete;

    const std::string& uri() const { return m_uri; }

private:
    // The band's data, made in a file as list_bench makes it and moved onto the server.
    void fill() {
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(file);
        {
            CDatabase events;
            events.open(file);
            generateEvents(events, kEvents);
            // A line-up of one of five musicians per event, as in list_bench: some events are
            // double-booked and the list has both kinds of marks to compute.
            events.execute(
                R"(INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") )"
                R"(SELECT "EventID", 1 + "EventID" % 5 FROM "T_Event" WHERE "EventID" > 0)");
        }
        PgConnection target(m_uri);
        ServerMove::copyIntoServer(file, target);
    }

    void drop() {
        if (!m_created)
            return;
        m_created = false;
        try {
            maintenance("DROP DATABASE IF EXISTS \"" + m_name + "\" WITH (FORCE)");
            for (const std::string& group :
                 {ServerSchema::fullAccessGroup(m_name), ServerSchema::readAccessGroup(m_name)})
                maintenance("DROP ROLE IF EXISTS \"" + group + "\"");
        } catch (const CDaoException& error) {
            std::fprintf(stderr, "The benchmark database %s was not dropped: %s\n", m_name.c_str(),
                         qPrintable(error.description()));
        }
    }

    void maintenance(const std::string& sql) {
        PgConnection server(m_server);
        server.execute(sql);
    }

    std::string m_server;
    std::string m_name;
    std::string m_uri;
    bool m_created = false;
};

struct Fixture {
    ServerBandDatabase band;
    CDatabase db;
    QTemporaryDir programDir;
    CProfileFile profile;
    // The hand-written side's own connection, set up as the program sets up its connections.
    PGconn* raw = nullptr;

    explicit Fixture(const std::string& serverUri)
        : band(serverUri), profile(QDir(programDir.path()).filePath(QStringLiteral("Kavio.ini"))) {
        db.openServer(band.uri());
        raw = PQconnectdb(band.uri().c_str());
        if (PQstatus(raw) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(raw));
        PQclear(PQexec(raw, "SET client_encoding = 'UTF8'; SET datestyle = 'ISO, YMD'; "
                            "SET timezone = 'UTC'"));
    }
    ~Fixture() { PQfinish(raw); }
};
Fixture* g_fixture = nullptr;

// Every event with what its list entry shows, in the list's order (newest first, events without
// a begin last), in PostgreSQL's own SQL. The double bookings are found with the sweep of the
// program's check as window functions: per resource its bookings ordered by begin, a booking
// clashes when an earlier one ends after it begins or the next one begins before it ends.
// $1 is today.
const char* const kEventListSql = R"sql(
WITH span AS (
    SELECT "EventID" AS id,
        LEAST("EBeginn", "EEnde", "ETAufbauVon", "ETAufbauBis", "ESCheckVon", "ESCheckBis",
              "ETAbbauVon", "ETAbbauBis") AS b,
        GREATEST("EBeginn", "EEnde", "ETAufbauVon", "ETAufbauBis", "ESCheckVon", "ESCheckBis",
                 "ETAbbauVon", "ETAbbauBis") AS f
    FROM "T_Event" WHERE "EventID" > 0 AND coalesce("Status", 0) <> 3),
booked AS (
    SELECT DISTINCT 1 AS kind, "MusikerID" AS res, 0 AS sub, "EventID" AS id
        FROM "T_Event_Besetzung"
    UNION ALL SELECT DISTINCT 2, "KfzID", 0, "EventID" FROM "T_Event_Transport"
        WHERE "KfzID" > 0
    UNION ALL SELECT DISTINCT 3, "ExtID", 0, "EventID" FROM "T_Event_ExtFirma"
        WHERE "Art" IN (1, 2) AND "ExtID" > 0
    UNION ALL SELECT DISTINCT 4, "PersonID", "Funktion", "EventID" FROM "T_Event_Uebernachtung"),
swept AS (
    SELECT booked.id, span.b, span.f,
        max(span.f) OVER earlier AS latest_earlier_end,
        lead(span.b) OVER resource AS next_begin
    FROM booked JOIN span ON span.id = booked.id
    WHERE span.b <= span.f
    WINDOW resource AS (PARTITION BY booked.kind, booked.res, booked.sub ORDER BY span.b, booked.id),
        earlier AS (resource ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING)),
clash AS (
    SELECT DISTINCT id FROM swept WHERE latest_earlier_end > b OR next_begin < f)
SELECT e."EventID", e."EBeginn", e."EEnde", f."fPrivat", f."Firma", f."Name", f."Vorname",
    e."ELocation", e."EStrasse", e."EPLZ", e."EOrt", e."ETAufbauVon", e."ETAbbauVon",
    s."EventID" IS NOT NULL, s."Stat_Plan_Besetzung", s."Stat_Plan_Technik",
    s."Stat_Plan_Backline", s."Stat_Plan_PA", s."Stat_Plan_LA", s."Stat_Plan_Transport",
    s."Stat_Plan_Nacht", s."Stat_Plan_Setliste",
    clash.id IS NOT NULL,
    coalesce(e."EBeginn" IS NOT NULL AND coalesce(e."Status", 0) <> 3
        AND CAST(e."EBeginn" AS date) < CAST($1 AS date)
        AND CAST(e."EBeginn" AS date) + 42 < CAST($1 AS date) + 14
        AND coalesce(g."KeineMeldung", 0) = 0
        AND (coalesce(s."Stat_Plan_Setliste", 0) <> 2 OR g."GedrucktAm" IS NULL), false),
    coalesce(s."Stat_Plan_Setliste", 0) = 2,
    g."GedrucktAm" IS NOT NULL
FROM "T_Event" AS e
LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = e."VeranstalterID" AND f."Art" = 0
LEFT JOIN "T_Event_Status" AS s ON s."EventID" = e."EventID"
LEFT JOIN "T_Event_Gema" AS g ON g."EventID" = e."EventID"
LEFT JOIN clash ON clash.id = e."EventID"
WHERE e."EventID" > 0
ORDER BY e."EBeginn" DESC NULLS LAST, e."EventID" DESC
)sql";

// The same rows the event list shows, from that one query run by hand: every value read by
// position from the result, each text converted and each date formatted row by row.
std::vector<ListRow> eventRowsByHand(PGconn* connection) {
    const QByteArray day = QDate::currentDate().toString(Qt::ISODate).toLatin1();
    const char* const values[] = {day.constData()};
    PGresult* result =
        PQexecParams(connection, kEventListSql, 1, nullptr, values, nullptr, nullptr, 0);
    std::vector<ListRow> rows;
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "The hand-written query failed: %s\n", PQresultErrorMessage(result));
        PQclear(result);
        return rows;
    }
    const int count = PQntuples(result);
    rows.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        const auto stored = [&](int column) {
            return std::string_view(PQgetvalue(result, r, column),
                                    static_cast<size_t>(PQgetlength(result, r, column)));
        };
        const auto text = [&](int column) {
            if (PQgetisnull(result, r, column))
                return QString();
            return QString::fromUtf8(PQgetvalue(result, r, column), PQgetlength(result, r, column));
        };
        // Null reads as "": the number 0, the truth value false.
        const auto number = [&](int column) { return std::atoi(PQgetvalue(result, r, column)); };
        const auto truth = [&](int column) { return PQgetvalue(result, r, column)[0] == 't'; };
        ListRow row;
        row.key = number(0);
        PlanningStatus status;
        status.exists = truth(13);
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            status.planning[static_cast<size_t>(i)] = number(14 + i);
        row.icon = status.planningImage();
        const std::string_view begin = stored(1);
        row.doubleBooked = truth(22);
        if (truth(23)) {
            row.gemaDue = true;
            row.eventDate = parseStoredDate(begin.data(), static_cast<int>(begin.size())).date();
            row.setListComplete = truth(24);
            row.gemaPrinted = truth(25);
        }
        row.texts[1] = ListTexts::dateTime(begin, true);
        row.texts[2] = ListTexts::dateTime(stored(2), true);
        const QString town = text(10);
        if (!PQgetisnull(result, r, 3))
            row.texts[3] = ListTexts::organiser(number(3) != 0, text(4), text(5), text(6), town);
        row.texts[4] = text(7);
        row.texts[5] = text(8);
        row.texts[6] = ListTexts::postcodeAndTown(text(9), town);
        row.texts[7] = ListTexts::dateTime(stored(11), false);
        row.texts[8] = ListTexts::dateTime(stored(12), false);
        rows.push_back(std::move(row));
    }
    PQclear(result);
    return rows;
}

void BM_PgEventListFill(benchmark::State& state) {
    timeListLoad(state, kEvents, [] { return loadListRows(g_fixture->db, ListKind::Events); });
}

void BM_PgEventListByHand(benchmark::State& state) {
    timeListLoad(state, kEvents, [] { return eventRowsByHand(g_fixture->raw); });
}

BENCHMARK(BM_PgEventListFill)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PgEventListByHand)->Unit(benchmark::kMillisecond)->UseRealTime();

bool sameRows() {
    return sameEventRows(loadListRows(g_fixture->db, ListKind::Events),
                         eventRowsByHand(g_fixture->raw));
}

// The event form's row as the form reads and writes it (the form base's data path, no
// widgets): read by its key, one field changed, written in a transaction where the row still
// holds what was read, then read again to be shown. The median of the rounds in ms, or -1 when
// a round did not store its value.
double rowRoundTripMs(Fixture& fixture, std::int32_t event) {
    const QString filter = QStringLiteral("[EventID]=%1").arg(event);
    std::vector<double> times;
    QString location;
    for (int round = 0; round < kSaveRounds; ++round) {
        location = QStringLiteral("Festhalle %1").arg(round);
        QElapsedTimer timer;
        timer.start();
        CRecordset::ReadImage shown;
        {
            CRecordset row(fixture.db, CSetEvent::definition());
            row.open(filter);
            shown = row.readImage();
        }
        {
            CRecordset row(fixture.db, CSetEvent::definition());
            CDbTransaction transaction(fixture.db);
            row.open(filter);
            row.edit(shown);
            row.setText("ELocation", location);
            row.update();
            row.moveToBookmark(row.lastModified());
            transaction.commit();
        }
        {
            CRecordset row(fixture.db, CSetEvent::definition());
            row.open(filter);
            if (row.atEnd() || row.getText("ELocation") != location)
                return -1;
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The whole event form as a user goes through it, for the record: opened on a stored event (the
// row and its pick lists, 2,000 organisers among them, read from the server), the location
// changed, "Ende" answered with saving. Prints the median of the rounds in ms; false when a
// round did not save.
bool reportFormRound(Fixture& fixture, std::int32_t event) {
    MessageRecorder messages;
    std::vector<double> times;
    std::vector<double> openings; // of those, the opening alone
    QString location;
    for (int round = 0; round < kSaveRounds / 3; ++round) {
        location = QStringLiteral("Stadthalle %1").arg(round);
        messages.clear();
        messages.queueAnswer(MessageService::Answer::Yes);
        QElapsedTimer timer;
        timer.start();
        CEventDlg form(fixture.db, fixture.profile, event);
        openings.push_back(double(timer.nsecsElapsed()) / 1e6);
        auto* field = form.findChild<QLineEdit*>(QStringLiteral("editLocation"));
        if (!field)
            return false;
        field->setText(location);
        field->setModified(true);
        form.onEnde();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (form.result() != QDialog::Accepted || messages.messages().size() != 1) {
            std::fprintf(stderr, "The event form did not save: %s\n",
                         qPrintable(messages.texts().join(QLatin1Char('\n'))));
            return false;
        }
    }
    const QString stored = fixture.db.queryText(
        "SELECT \"ELocation\" FROM \"T_Event\" WHERE \"EventID\" = " + std::to_string(event));
    if (stored != location) {
        std::fprintf(stderr, "The event form saved %s instead of %s.\n", qPrintable(stored),
                     qPrintable(location));
        return false;
    }
    const auto median = [](std::vector<double>& values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("# whole event form on the server: open, edit, save %.1f ms (opening %.1f ms)\n",
                median(times), median(openings));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QByteArray server = qgetenv("VORLANTO_TEST_PG");
    if (server.isEmpty()) {
        std::fprintf(stderr, "pg_bench needs a PostgreSQL server: set VORLANTO_TEST_PG to its "
                             "libpq URI (scripts/bench starts one).\n");
        return 1;
    }
    if (!initializeBenchmarks(argc, argv))
        return 2;
    std::unique_ptr<Fixture> fixture;
    try {
        fixture = std::make_unique<Fixture>(server.toStdString());
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "The server database could not be made: %s\n",
                     qPrintable(error.description()));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "The server database could not be made: %s\n", error.what());
        return 1;
    }
    g_fixture = fixture.get();
    if (!sameRows()) {
        std::fprintf(stderr, "The event list and the hand-written query disagree.\n");
        return 1;
    }
    FigureReporter reporter(FigureReporter::Clock::Wall);
    runBenchmarks(reporter);
    const std::int32_t event = fixture->db
                                   .queryText(R"(SELECT min("EventID") FROM "T_Event"
        WHERE "VeranstalterID" > 0 AND "EventID" > 0)")
                                   .toInt();
    double saveMs = -1;
    try {
        saveMs = rowRoundTripMs(*fixture, event);
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "The event's row could not be saved: %s\n",
                     qPrintable(error.description()));
    }
    const bool formSaved = reportFormRound(*fixture, event);
    reporter.printFigure("pg_event_list_fill_10k", "BM_PgEventListFill", "BM_PgEventListByHand");
    if (saveMs < 0 || !formSaved)
        return 1;
    std::printf("figure pg_save_roundtrip_ms %.1f\n", saveMs);
    return 0;
}
