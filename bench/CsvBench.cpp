// The CSV import of 10,000 new songs (read, checked, previewed and written in one transaction)
// against one hand-written loop of a prepared INSERT that stores the same values
// ("figure csv_import_10k <ratio>"). BM_CsvWriteOnly times the writing part alone.

#include "BenchSupport.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "exchange/CsvExchange.h"
#include "exchange/CsvFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

constexpr int kSongs = 10000;

struct Fixture {
    QTemporaryDir dir;
    CDatabase db;
    QByteArray file;
    std::vector<QStringList> songs;

    Fixture() {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(path);
        db.open(path);
        std::vector<QStringList> records{
            {QStringLiteral("Titel"), QStringLiteral("Interpret"), QStringLiteral("Tonart"),
             QStringLiteral("Tempo"), QStringLiteral("Bemerkung"), QStringLiteral("GEMA-Werk-Nr."),
             QStringLiteral("Komponist"), QStringLiteral("P/F"), QStringLiteral("Bearbeiter"),
             QStringLiteral("Verleger")}};
        for (int i = 0; i < kSongs; ++i) {
            const QString n = QString::number(i);
            songs.push_back({QStringLiteral("Lied Nummer %1").arg(n),
                             QStringLiteral("Künstler %1").arg(i % 400), QStringLiteral("G-Dur"),
                             QString::number(60 + i % 120),
                             QStringLiteral("Zugabe, wenn das Publikum mitsingt; %1").arg(n),
                             QStringLiteral("%1-001-2").arg(1000000 + i),
                             QStringLiteral("Komponist %1").arg(i % 700),
                             i % 7 == 0 ? QStringLiteral("P") : QString(),
                             QStringLiteral("Bearbeiter %1").arg(i % 50),
                             QStringLiteral("Verlag %1").arg(i % 30)});
            records.push_back(songs.back());
        }
        file = Csv::write(records);
    }

    void clear() { db.execute("DELETE FROM T_Stamm_Songliste"); }
};
Fixture* g_fixture = nullptr;

void BM_CsvImport(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_fixture->clear();
        state.ResumeTiming();
        const CsvExchange::Preview preview =
            CsvExchange::preview(g_fixture->db, CsvExchange::Table::Songs, g_fixture->file);
        const CsvExchange::Result result = CsvExchange::importPreview(g_fixture->db, preview);
        if (result.created != kSongs)
            state.SkipWithError("not every song was imported");
    }
}

// The same rows written by hand: one prepared statement, bound and run per song.
void BM_InsertLoop(benchmark::State& state) {
    sqlite3* db = g_fixture->db.handle();
    const char* sql = R"sql(INSERT INTO "T_Stamm_Songliste" ("Titel", "Interpret", "Tonart",
        "Tempo", "Bemerkungen", "GemaWerkNr", "Komponist", "pf", "Bearbeiter", "Verleger")
        VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10))sql";
    for (auto _ : state) {
        state.PauseTiming();
        g_fixture->clear();
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        for (const QStringList& song : g_fixture->songs) {
            for (int column = 0; column < song.size(); ++column) {
                if (column == 3) {
                    sqlite3_bind_int(statement, 4, song[3].toInt());
                } else if (song[column].isEmpty()) {
                    sqlite3_bind_null(statement, column + 1);
                } else {
                    const QByteArray text = song[column].toUtf8();
                    sqlite3_bind_text(statement, column + 1, text.constData(), int(text.size()),
                                      SQLITE_TRANSIENT);
                }
            }
            sqlite3_step(statement);
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
}

// The writing part alone, from a preview made once: the share of the record-set layer.
void BM_CsvWriteOnly(benchmark::State& state) {
    g_fixture->clear();
    const CsvExchange::Preview preview =
        CsvExchange::preview(g_fixture->db, CsvExchange::Table::Songs, g_fixture->file);
    for (auto _ : state) {
        state.PauseTiming();
        g_fixture->clear();
        state.ResumeTiming();
        CsvExchange::importPreview(g_fixture->db, preview);
    }
}
BENCHMARK(BM_CsvWriteOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertLoop)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchmarkMain(argc, argv, g_fixture, [](const FigureReporter& reporter) {
        reporter.printFigure("csv_import_10k", "BM_CsvImport", "BM_InsertLoop");
    });
}
