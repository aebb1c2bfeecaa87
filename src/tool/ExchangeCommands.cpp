#include "ExchangeCommands.h"

#include "data/CDatabase.h"
#include "exchange/CalendarExport.h"

#include <QDir>

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
    db.open(QDir(args.first()).filePath(QStringLiteral("Kavio.mde")));
    const QByteArray calendar = Calendar::exportCalendar(db, request, QDateTime::currentDateTime());
    const QString failure = Calendar::writeAtomically(out, calendar);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        return 1;
    }
    return 0;
}
