// vorlanto-tool: creates and maintains Vorlanto program directories.
//   vorlanto-tool new DIR [--demo] [--events N]
//   vorlanto-tool maintain DIR
//   vorlanto-tool print DIR --report ... (see PrintCommand.h)
//   vorlanto-tool ics DIR ... --out FILE (see ExchangeCommands.h)
#include "DemoData.h"
#include "ExchangeCommands.h"
#include "PrintCommand.h"
#include "core/ExitMaintenance.h"
#include "core/ProgramDirectory.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "Aufruf:\n"
                         "  vorlanto-tool new VERZEICHNIS [--demo] [--events N]\n"
                         "  vorlanto-tool maintain VERZEICHNIS\n"
                         "  vorlanto-tool print VERZEICHNIS --report gig-update|setliste ...\n"
                         "  vorlanto-tool ics VERZEICHNIS [--from TT.MM.JJJJ --to TT.MM.JJJJ] "
                         "[--musician ID|--technician ID|--backliner ID] --out DATEI\n");
    return 2;
}

void print(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
}

int createDirectory(const QStringList& args) {
    if (args.isEmpty())
        return usage();
    const QString directory = args.first();
    bool demo = false;
    int events = 0;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--demo")) {
            demo = true;
        } else if (args[i] == QLatin1String("--events") && i + 1 < args.size()) {
            bool ok = false;
            events = args[++i].toInt(&ok);
            if (!ok || events < 0)
                return usage();
        } else {
            return usage();
        }
    }
    createProgramDirectory(directory);
    const QString path = QDir(directory).filePath(QStringLiteral("Kavio.mde"));
    if (demo || events > 0) {
        CDatabase db;
        db.open(path);
        if (demo)
            fillDemoData(db);
        if (events > 0)
            generateEvents(db, events);
    }
    print(QStringLiteral("Programmverzeichnis angelegt: %1").arg(QDir(directory).absolutePath()));
    return 0;
}

int maintain(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    const QString path = QDir(args.first()).filePath(QStringLiteral("Kavio.mde"));
    CDatabase db;
    db.open(path);
    const MaintenanceReport report = runExitMaintenance(db, path);
    if (report.purged >= 0)
        print(QStringLiteral("Bereinigung: %1 gelöschte Stammdatensätze entfernt")
                  .arg(report.purged));
    else
        print(QStringLiteral("Bereinigung fehlgeschlagen: %1").arg(report.purgeError));
    print(report.intact ? QStringLiteral("Prüfung: Datenbank fehlerfrei")
                        : QStringLiteral("Prüfung: Datenbank fehlerhaft, nicht komprimiert"));
    if (report.compacted)
        print(QStringLiteral("Komprimiert: %1 -> %2 Bytes")
                  .arg(report.sizeBefore)
                  .arg(report.sizeAfter));
    else if (!report.compactError.isEmpty())
        print(QStringLiteral("Komprimieren fehlgeschlagen: %1").arg(report.compactError));
    if (!report.damageNotice.isEmpty())
        print(maintenanceNotice(report));
    return report.intact && report.compacted ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // Only printing needs a GUI application; the other commands stay on QCoreApplication.
    if (argc > 1 && qstrcmp(argv[1], "print") == 0)
        return runPrintCommand(argc, argv);
    QCoreApplication application(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("new"))
            return createDirectory(args);
        if (command == QLatin1String("maintain"))
            return maintain(args);
        if (command == QLatin1String("ics"))
            return runIcsCommand(args);
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "%s\n", error.description().toUtf8().constData());
        return 1;
    }
    return usage();
}
