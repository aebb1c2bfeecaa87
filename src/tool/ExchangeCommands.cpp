#include "ExchangeCommands.h"

#include "ProgramDatabase.h"

#include "data/CDatabase.h"
#include "exchange/CalendarExport.h"
#include "exchange/CsvExchange.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

int refuse(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return 2;
}

} // namespace

int runIcsCommand(const QStringList& args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return refuse(QStringLiteral("Aufruf: vorlanto-tool ics VERZEICHNIS [--from TT.MM.JJJJ "
                                     "--to TT.MM.JJJJ] [--musician ID|--technician ID|"
                                     "--backliner ID] --out DATEI"));
    Calendar::Request request;
    QString out;
    for (int i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (i + 1 >= args.size())
            return refuse(QStringLiteral("Zur Angabe %1 fehlt ein Wert.").arg(option));
        const QString value = args[++i];
        if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            const QDate date = QDate::fromString(value, QStringLiteral("dd.MM.yyyy"));
            if (!date.isValid())
                return refuse(
                    QStringLiteral("%1 ist kein gültiges Datum (TT.MM.JJJJ).").arg(value));
            (option == QLatin1String("--from") ? request.from : request.to) = date;
        } else if (option == QLatin1String("--musician") ||
                   option == QLatin1String("--technician") ||
                   option == QLatin1String("--backliner")) {
            bool ok = false;
            const int key = value.toInt(&ok);
            if (!ok || key <= 0)
                return refuse(QStringLiteral("%1 ist keine gültige Nummer.").arg(value));
            if (request.forPerson)
                return refuse(QStringLiteral("Bitte nur eine Person angeben."));
            request.forPerson = true;
            request.person.key = key;
            request.person.kind = option == QLatin1String("--musician")     ? GigUpdate::Musician
                                  : option == QLatin1String("--technician") ? GigUpdate::Technician
                                                                            : GigUpdate::Backliner;
        } else if (option == QLatin1String("--out")) {
            out = value;
        } else {
            return refuse(QStringLiteral("Unbekannte Angabe: %1").arg(option));
        }
    }
    if (out.isEmpty())
        return refuse(QStringLiteral("Bitte mit --out die Zieldatei angeben."));
    if (request.from.isValid() && request.to.isValid() && request.to < request.from)
        return refuse(QStringLiteral("Das Ende des Zeitraums liegt vor seinem Beginn."));
    CDatabase db;
    if (const QString missing = ProgramDatabase::open(db, args.first()); !missing.isEmpty())
        return refuse(missing);
    if (request.forPerson && !GigUpdate::exists(db, request.person)) {
        // Nothing is exported and no file written.
        std::fprintf(stderr, "%s\n", GigUpdate::unknownText(request.person).toUtf8().constData());
        return 1;
    }
    const QByteArray calendar = Calendar::exportCalendar(db, request, QDateTime::currentDateTime());
    const QString failure = Calendar::writeAtomically(out, calendar);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        return 1;
    }
    return 0;
}

int runCsvCommand(const QStringList& args) {
    const QString usage = QStringLiteral(
        "Aufruf: vorlanto-tool csv export|import VERZEICHNIS --table songs|musicians|firms DATEI "
        "[--dry-run]");
    if (args.size() < 2)
        return refuse(usage);
    const QString direction = args.at(0);
    const bool importing = direction == QLatin1String("import");
    if (!importing && direction != QLatin1String("export"))
        return refuse(usage);
    std::optional<CsvExchange::Table> table;
    QString file;
    bool dryRun = false;
    for (int i = 2; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--table")) {
            if (i + 1 >= args.size())
                return refuse(QStringLiteral("Zur Angabe --table fehlt ein Wert."));
            table = CsvExchange::tableByName(args[++i]);
            if (!table)
                return refuse(QStringLiteral("Unbekannte Tabelle: %1 (songs, musicians oder "
                                             "firms)")
                                  .arg(args[i]));
        } else if (option == QLatin1String("--dry-run") && importing) {
            dryRun = true;
        } else if (!option.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = option;
        } else {
            return refuse(QStringLiteral("Unbekannte Angabe: %1").arg(option));
        }
    }
    if (!table || file.isEmpty())
        return refuse(usage);
    CDatabase db;
    if (const QString missing = ProgramDatabase::open(db, args.at(1)); !missing.isEmpty())
        return refuse(missing);
    if (!importing) {
        const QString failure =
            Calendar::writeAtomically(file, CsvExchange::exportTable(db, *table));
        if (!failure.isEmpty())
            return refuse(failure);
        return 0;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                         .arg(QDir::toNativeSeparators(file), input.errorString())
                         .toUtf8()
                         .constData());
        return 1;
    }
    const CsvExchange::Preview preview = CsvExchange::preview(db, *table, input.readAll());
    for (const QString& line : CsvExchange::describe(preview))
        std::printf("%s\n", line.toUtf8().constData());
    if (!preview.failure.isEmpty())
        return 1;
    if (dryRun)
        return 0;
    const CsvExchange::Result result = CsvExchange::importPreview(db, preview);
    std::printf("%s\n", CsvExchange::describe(*table, result).toUtf8().constData());
    return 0;
}
