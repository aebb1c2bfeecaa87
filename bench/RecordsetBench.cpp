// Measures the record-set layer against hand-written SQLite calls that do the same work: a long
// list (open, filter, sort, read every column of every row) and many small look-ups (one open
// per row of a list). Ends with one line per comparison, "figure <name> <ratio>", where the
// ratio is record-set time / raw time, each the fastest of several repetitions.

#include "BenchSupport.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "data/RecordSets.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kEvents = 100000;
constexpr int kFirms = 2000;
constexpr int kLookups = 10000;

// --- the columns read, grouped by the C++ type a form holds them in ---------------------

template <size_t L, size_t S, size_t F, size_t D, size_t T> struct Layout {
    const char* table;
    std::array<std::string_view, L> longs;
    std::array<std::string_view, S> singles;
    std::array<std::string_view, F> flags;
    std::array<std::string_view, D> dates;
    std::array<std::string_view, T> texts;

    struct Row {
        std::array<std::int32_t, L> longs{};
        std::array<float, S> singles{};
        std::array<bool, F> flags{};
        std::array<QDateTime, D> dates;
        std::array<QString, T> texts;
        bool operator==(const Row& other) const {
            return longs == other.longs && singles == other.singles && flags == other.flags &&
                   dates == other.dates && texts == other.texts;
        }
    };

    // SELECT of the columns in the order the raw reader takes them.
    std::string select() const {
        std::string sql;
        auto add = [&sql](const auto& names) {
            for (std::string_view name : names) {
                sql += sql.empty() ? "SELECT \"" : ", \"";
                sql += name;
                sql += '"';
            }
        };
        add(longs);
        add(singles);
        add(flags);
        add(dates);
        add(texts);
        return sql + " FROM \"" + table + "\"";
    }
};

const Layout<4, 3, 1, 8, 6> kEvent{
    "T_Event",
    {"EventID", "Status", "VeranstalterID", "VAnsprechID"},
    {"EGageVereinb", "EGageBezahlt", "EVerlStd"},
    {"EfMWST"},
    {"EBeginn", "EEnde", "ETAufbauVon", "ETAufbauBis", "ESCheckVon", "ESCheckBis", "ETAbbauVon",
     "ETAbbauBis"},
    {"EArt", "ELocation", "EStrasse", "EPLZ", "EOrt", "EVereinbarung"}};
using EventRow = decltype(kEvent)::Row;

const Layout<3, 0, 2, 1, 17> kFirm{"T_Stamm_ExtFirma",
                                   {"ExtID", "Art", "Anrede"},
                                   {},
                                   {"fPrivat", "fDeleted"},
                                   {"GebDate"},
                                   {"Firma", "Name", "Vorname", "Strasse", "PLZ", "Ort", "Tel",
                                    "Telm", "Fax", "Email", "Homepage", "SteuerNr", "Finanzamt",
                                    "Konto", "BLZ", "Bank", "Bemerkungen"}};
using FirmRow = decltype(kFirm)::Row;

// --- reading one row: through the record set by column name, as a form does ------------

template <class L> typename L::Row readRow(const CRecordset& set, const L& layout) {
    typename L::Row row;
    for (size_t i = 0; i < row.longs.size(); ++i)
        row.longs[i] = set.getLong(layout.longs[i]);
    for (size_t i = 0; i < row.singles.size(); ++i)
        row.singles[i] = set.getSingle(layout.singles[i]);
    for (size_t i = 0; i < row.flags.size(); ++i)
        row.flags[i] = set.getBool(layout.flags[i]);
    for (size_t i = 0; i < row.dates.size(); ++i)
        row.dates[i] = set.getDate(layout.dates[i]);
    for (size_t i = 0; i < row.texts.size(); ++i)
        row.texts[i] = set.getText(layout.texts[i]);
    return row;
}

// --- ... and straight from a statement, by position -------------------------------------

QString columnText(sqlite3_stmt* statement, int at) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, at));
    if (!text)
        return QString();
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, at));
}

// Dates are stored as "YYYY-MM-DD HH:MM:SS".
QDateTime columnDate(sqlite3_stmt* statement, int at) {
    if (sqlite3_column_type(statement, at) != SQLITE_TEXT)
        return QDateTime();
    return parseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
                           sqlite3_column_bytes(statement, at));
}

template <class L> typename L::Row readRow(sqlite3_stmt* statement, const L&) {
    typename L::Row row;
    int at = 0;
    for (std::int32_t& value : row.longs)
        value = sqlite3_column_int(statement, at++);
    for (float& value : row.singles)
        value = static_cast<float>(sqlite3_column_double(statement, at++));
    for (bool& value : row.flags)
        value = sqlite3_column_int(statement, at++) != 0;
    for (QDateTime& value : row.dates)
        value = columnDate(statement, at++);
    for (QString& value : row.texts)
        value = columnText(statement, at++);
    return row;
}

sqlite3_stmt* prepareRaw(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return statement;
}

// --- the fixture: a program directory with a filled database -----------------------------

struct Lookup {
    int art;
    long id;
};

class Fixture {
public:
    Fixture() {
        const QString path = dir.filePath(QStringLiteral("Kavio.mde"));
        createDatabase(path);
        db.open(path);
        CDbTransaction transaction(db);
        fillFirms();
        fillEvents();
        transaction.commit();
    }

    QTemporaryDir dir; // declared first, so removed after the database is closed
    CDatabase db;
    std::vector<Lookup> lookups;

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    template <size_t N> QString any(const char* const (&words)[N]) {
        return QString::fromUtf8(words[pick(0, static_cast<int>(N) - 1)]);
    }
    QString digits(int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + pick(0, 9));
        return text;
    }
    QString street() {
        static const char* const names[] = {"Hauptstraße", "Lindenweg",     "Am Markt",
                                            "Schloßallee", "Bahnhofstraße", "Gartenstraße",
                                            "Mühlgasse"};
        return any(names) + QLatin1Char(' ') + QString::number(pick(1, 180));
    }
    QString town() {
        static const char* const names[] = {"Mannheim", "Köln",       "Würzburg", "Lübeck",
                                            "Freiburg", "Düsseldorf", "Görlitz",  "Bad Tölz"};
        return any(names);
    }

    void fillFirms() {
        static const char* const companies[] = {"Schützenverein", "Autohaus",  "Brauerei",
                                                "Hotel zur Post", "Tonstudio", "Eventagentur"};
        static const char* const surnames[] = {"Müller", "Schäfer", "Weiß",
                                               "Becker", "Krüger",  "Hoffmann"};
        static const char* const firstNames[] = {"Jürgen", "Anna", "Sören", "Käthe", "Lukas"};
        CSetStammExtFirma firm(db); // opened empty, only to add rows
        firm.open(QStringLiteral("[ExtID] Is Null"));
        std::vector<int> kinds;
        for (int i = 1; i <= kFirms; ++i) {
            const int art = pick(0, 5);
            const bool privat = chance(30);
            kinds.push_back(art);
            firm.addNew();
            firm.setInt("Art", art);
            firm.setBool("fPrivat", privat);
            if (!privat)
                firm.setText("Firma", any(companies) + QStringLiteral(" %1 GmbH").arg(i));
            firm.setInt("Anrede", pick(0, 2));
            firm.setText("Name", any(surnames));
            firm.setText("Vorname", any(firstNames));
            if (privat)
                firm.setDate("GebDate", QDateTime(QDate(pick(1940, 2000), pick(1, 12), pick(1, 28)),
                                                  QTime(0, 0), Qt::UTC));
            firm.setText("Strasse", street());
            firm.setText("PLZ", digits(5));
            firm.setText("Ort", town());
            firm.setText("Tel", QStringLiteral("0621 ") + digits(6));
            if (chance(60))
                firm.setText("Telm", QStringLiteral("0171 ") + digits(7));
            if (chance(30))
                firm.setText("Fax", QStringLiteral("0621 ") + digits(6));
            firm.setText("Email", QStringLiteral("kontakt%1@beispiel.de").arg(i));
            if (!privat)
                firm.setText("Homepage", QStringLiteral("www.firma-%1.de").arg(i));
            firm.setText("SteuerNr", digits(3) + QLatin1Char('/') + digits(4));
            firm.setText("Finanzamt", town());
            firm.setText("Konto", digits(10));
            firm.setText("BLZ", digits(8));
            firm.setText("Bank", QStringLiteral("Sparkasse ") + town());
            if (chance(25))
                firm.setText("Bemerkungen",
                             QStringLiteral("Zahlt pünktlich; Anfahrt über den Hof, Bühne im "
                                            "Saal links, Strom 32 A vorhanden."));
            firm.setBool("fDeleted", chance(5));
            firm.update();
        }
        for (int i = 0; i < kLookups; ++i) {
            const long id = pick(1, kFirms);
            lookups.push_back({kinds[static_cast<size_t>(id - 1)], id});
        }
    }

    void fillEvents() {
        static const char* const kinds[] = {"Hochzeit",       "Firmenfeier", "Geburtstag",
                                            "Stadtfest",      "Konzert",     "Ball",
                                            "Weihnachtsfeier"};
        static const char* const venues[] = {"Bürgerhaus", "Schützenhalle", "Festzelt",
                                             "Stadthalle", "Gasthof Krone", "Schloss"};
        CSetEvent event(db); // opened empty, only to add rows
        event.open(QStringLiteral("[EventID] Is Null"));
        for (int i = 0; i < kEvents; ++i) {
            const QDateTime begin(QDate(2000, 1, 1).addDays(pick(0, 26 * 365)),
                                  QTime(pick(10, 21), 15 * pick(0, 3)), Qt::UTC);
            const float agreed = 50.0f * static_cast<float>(pick(10, 100));
            event.addNew();
            event.setText("EArt", any(kinds));
            event.setDate("EBeginn", begin);
            event.setDate("EEnde", begin.addSecs(3600 * pick(3, 7)));
            event.setText("ELocation", any(venues) + QLatin1Char(' ') + town());
            event.setText("EStrasse", street());
            event.setText("EPLZ", digits(5));
            event.setText("EOrt", town());
            event.setSingle("EGageVereinb", agreed);
            event.setBool("EfMWST", chance(50));
            event.setSingle("EGageBezahlt", chance(70) ? agreed : 0.0f);
            event.setSingle("EVerlStd", 0.5f * static_cast<float>(pick(0, 6)));
            if (chance(60))
                event.setText("EVereinbarung",
                              QStringLiteral("Zwei Sets à 45 Minuten, Pause mit Essen, "
                                             "Anlage vom Veranstalter (%1 Gäste).")
                                  .arg(pick(50, 800)));
            if (chance(70)) {
                event.setDate("ETAufbauVon", begin.addSecs(-3 * 3600));
                event.setDate("ETAufbauBis", begin.addSecs(-2 * 3600));
                event.setDate("ESCheckVon", begin.addSecs(-2 * 3600));
                event.setDate("ESCheckBis", begin.addSecs(-3600));
                event.setDate("ETAbbauVon", begin.addSecs(5 * 3600));
                event.setDate("ETAbbauBis", begin.addSecs(6 * 3600));
            }
            event.setInt("Status", pick(0, 4));
            event.setLong("VeranstalterID", pick(1, kFirms));
            if (chance(80))
                event.setLong("VAnsprechID", pick(1, 3 * kFirms));
            event.update();
        }
    }

    std::mt19937 m_random{20240601};
};

Fixture* g_fixture = nullptr;

// --- the work measured, written once for the benchmarks and the check ------------------

template <class Use> void scanRecordset(Use&& use) {
    CSetEvent event(g_fixture->db);
    event.open(QStringLiteral("[EventID]>0"), QStringLiteral("[EBeginn] DESC"));
    while (!event.atEnd()) {
        use(readRow(event, kEvent));
        event.moveNext();
    }
}

template <class Use> void scanRaw(Use&& use) {
    sqlite3_stmt* statement =
        prepareRaw(g_fixture->db.handle(),
                   kEvent.select() + R"( WHERE "EventID" > 0 ORDER BY "EBeginn" DESC)");
    while (sqlite3_step(statement) == SQLITE_ROW)
        use(readRow(statement, kEvent));
    sqlite3_finalize(statement);
}

template <class Use> void lookupRecordset(Use&& use) {
    for (const Lookup& lookup : g_fixture->lookups) {
        CSetStammExtFirma firm(g_fixture->db);
        firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", lookup.art, lookup.id));
        if (!firm.atEnd())
            use(readRow(firm, kFirm));
    }
}

template <class Use> void lookupRaw(Use&& use) {
    sqlite3_stmt* statement =
        prepareRaw(g_fixture->db.handle(), kFirm.select() + R"( WHERE "Art" = ? AND "ExtID" = ?)");
    for (const Lookup& lookup : g_fixture->lookups) {
        sqlite3_bind_int(statement, 1, lookup.art);
        sqlite3_bind_int64(statement, 2, lookup.id);
        if (sqlite3_step(statement) == SQLITE_ROW)
            use(readRow(statement, kFirm));
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
}

// Runs one side of a comparison; every iteration must see the expected number of rows.
template <class Side> void measure(benchmark::State& state, int expectedRows, Side side) {
    for (auto _ : state) {
        int rows = 0;
        side([&rows](const auto& row) {
            benchmark::DoNotOptimize(row);
            ++rows;
        });
        if (rows != expectedRows) {
            state.SkipWithError("wrong number of rows");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * expectedRows);
}

void BM_ScanRecordset(benchmark::State& state) {
    measure(state, kEvents, [](auto use) { scanRecordset(use); });
}
void BM_ScanRaw(benchmark::State& state) {
    measure(state, kEvents, [](auto use) { scanRaw(use); });
}
void BM_LookupRecordset(benchmark::State& state) {
    measure(state, kLookups, [](auto use) { lookupRecordset(use); });
}
void BM_LookupRaw(benchmark::State& state) {
    measure(state, kLookups, [](auto use) { lookupRaw(use); });
}

BENCHMARK(BM_ScanRecordset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookupRecordset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookupRaw)->Unit(benchmark::kMillisecond);

// Both sides must read the same rows with the same values, or the ratio means nothing.
bool sameResults() {
    std::vector<EventRow> viaSet;
    std::vector<EventRow> viaRaw;
    scanRecordset([&viaSet](EventRow row) { viaSet.push_back(std::move(row)); });
    scanRaw([&viaRaw](EventRow row) { viaRaw.push_back(std::move(row)); });
    const bool newestFirst =
        std::is_sorted(viaSet.begin(), viaSet.end(), [](const EventRow& a, const EventRow& b) {
            return a.dates[0] > b.dates[0];
        });
    // Rows starting at the same moment may come in either order.
    auto byKey = [](const EventRow& a, const EventRow& b) { return a.longs[0] < b.longs[0]; };
    std::sort(viaSet.begin(), viaSet.end(), byKey);
    std::sort(viaRaw.begin(), viaRaw.end(), byKey);

    std::vector<FirmRow> firmsViaSet;
    std::vector<FirmRow> firmsViaRaw;
    lookupRecordset([&firmsViaSet](FirmRow row) { firmsViaSet.push_back(std::move(row)); });
    lookupRaw([&firmsViaRaw](FirmRow row) { firmsViaRaw.push_back(std::move(row)); });

    const bool ok = newestFirst && viaSet.size() == static_cast<size_t>(kEvents) &&
                    viaSet == viaRaw && firmsViaSet.size() == static_cast<size_t>(kLookups) &&
                    firmsViaSet == firmsViaRaw;
    if (!ok)
        std::fprintf(stderr,
                     "Record set and raw SQLite disagree: %zu/%zu events (sorted: %d), "
                     "%zu/%zu firms\n",
                     viaSet.size(), viaRaw.size(), newestFirst, firmsViaSet.size(),
                     firmsViaRaw.size());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (!initializeBenchmarks(argc, argv))
        return 2;

    QElapsedTimer timer;
    timer.start();
    Fixture fixture;
    g_fixture = &fixture;
    std::fprintf(stderr, "Fixture: %d events, %d firms written through record sets in %.1f s\n",
                 kEvents, kFirms, static_cast<double>(timer.elapsed()) / 1000.0);
    if (!sameResults())
        return 1;

    FigureReporter reporter;
    runBenchmarks(reporter);
    reporter.printFigure("recordset_scan_100k", "BM_ScanRecordset", "BM_ScanRaw");
    reporter.printFigure("recordset_lookup_10k", "BM_LookupRecordset", "BM_LookupRaw");
    return 0;
}
