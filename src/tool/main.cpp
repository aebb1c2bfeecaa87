// vorlanto-tool: creates and maintains Vorlanto program directories.
//   vorlanto-tool new DIR [--demo] [--events N]
//   vorlanto-tool maintain DIR
//   vorlanto-tool backup DIR
//   vorlanto-tool restore DIR FILE
//   vorlanto-tool print DIR --report ... (see PrintCommand.h)
//   vorlanto-tool ics DIR ... --out FILE (see ExchangeCommands.h)
//   vorlanto-tool overview DIR --year YYYY --pdf FILE (see OverviewCommand.h)
//   vorlanto-tool csv export|import DIR --table TABLE FILE (see ExchangeCommands.h)
//   vorlanto-tool budget DIR --event ID [--inkl|--exkl] (see BudgetCommand.h)
//   vorlanto-tool server DIR --to URI | --back | --add-user NAME [--read-only] (ServerCommand.h)
#include "BudgetCommand.h"
#include "DemoData.h"
#include "ExchangeCommands.h"
#include "OverviewCommand.h"
#include "PrintCommand.h"
#include "ProgramDatabase.h"
#include "ServerCommand.h"
#include "core/Backup.h"
#include "core/CProfileFile.h"
#include "core/ExitMaintenance.h"
#include "core/ProgramDirectory.h"
#include "core/Version.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr,
                 "Aufruf:\n"
                 "  vorlanto-tool new VERZEICHNIS [--demo] [--events N]\n"
                 "  vorlanto-tool maintain VERZEICHNIS\n"
                 "  vorlanto-tool backup VERZEICHNIS\n"
                 "  vorlanto-tool restore VERZEICHNIS DATEI\n"
                 "  vorlanto-tool print VERZEICHNIS --report "
                 "gig-update|setliste|gig-rider|abrechnung|gema ...\n"
                 "  vorlanto-tool ics VERZEICHNIS [--from TT.MM.JJJJ --to TT.MM.JJJJ] "
                 "[--musician ID|--technician ID|--backliner ID] --out DATEI\n"
                 "  vorlanto-tool overview VERZEICHNIS --year JJJJ --pdf DATEI\n"
                 "  vorlanto-tool csv export VERZEICHNIS --table songs|musicians|firms DATEI\n"
                 "  vorlanto-tool csv import VERZEICHNIS --table songs|musicians|firms DATEI "
                 "[--dry-run]\n"
                 "  vorlanto-tool budget VERZEICHNIS --event ID [--inkl|--exkl]\n"
                 "  vorlanto-tool server VERZEICHNIS --to URI | --back | "
                 "--add-user NAME [--read-only]\n"
                 "  vorlanto-tool --version\n");
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

// Maintenance on a server: the purge while no other program is connected, then the copy.
int maintainServer(const QString& directory) {
    CDatabase db;
    const QString missing = ProgramDatabase::open(db, directory);
    if (!missing.isEmpty())
        throw CDaoException(CDaoException::CannotOpen, missing);
    CProfileFile profile;
    profile.setPath(QDir(directory).filePath(QStringLiteral("Kavio.ini")));
    const MaintenanceReport report = runServerMaintenance(
        db, directory, Backup::readOptions(profile), QDateTime::currentDateTime());
    if (report.purged >= 0)
        print(QStringLiteral("Bereinigung: %1 gelöschte Stammdatensätze entfernt")
                  .arg(report.purged));
    else if (report.othersConnected > 0)
        print(report.othersConnected == 1
                  ? QStringLiteral("Bereinigung übersprungen: ein weiteres Programm ist mit der "
                                   "Datenbank verbunden")
                  : QStringLiteral("Bereinigung übersprungen: %1 weitere Programme sind mit der "
                                   "Datenbank verbunden")
                        .arg(report.othersConnected));
    else
        print(QStringLiteral("Bereinigung fehlgeschlagen: %1").arg(report.purgeError));
    print(QStringLiteral("Prüfen und Komprimieren übernimmt der Datenbankserver"));
    if (!report.backupPath.isEmpty())
        print(
            QStringLiteral("Datensicherung: %1").arg(QDir::toNativeSeparators(report.backupPath)));
    else if (!report.backupError.isEmpty())
        print(QStringLiteral("Datensicherung fehlgeschlagen: %1").arg(report.backupError));
    for (const QString& removed : report.backupsRemoved)
        print(QStringLiteral("Entfernt: %1").arg(QDir::toNativeSeparators(removed)));
    return report.backupError.isEmpty() ? 0 : 1;
}

int maintain(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    if (!serverOf(args.first()).isEmpty())
        return maintainServer(args.first());
    const QString path = QDir(args.first()).filePath(QStringLiteral("Kavio.mde"));
    CDatabase db;
    db.open(path);
    // Refused as the program refuses it: the compacted copy must not replace a protected file.
    const QString protection = writeProtection(db, args.first());
    if (!protection.isEmpty())
        throw CDaoException(CDaoException::ReadOnly, protection);
    MaintenanceReport report = runExitMaintenance(db, path);
    CProfileFile profile;
    profile.setPath(QDir(args.first()).filePath(QStringLiteral("Kavio.ini")));
    backupAfterMaintenance(path, Backup::readOptions(profile), QDateTime::currentDateTime(),
                           report);
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
    if (!report.backupPath.isEmpty())
        print(
            QStringLiteral("Datensicherung: %1").arg(QDir::toNativeSeparators(report.backupPath)));
    else if (!report.backupError.isEmpty())
        print(QStringLiteral("Datensicherung fehlgeschlagen: %1").arg(report.backupError));
    if (!report.damageNotice.isEmpty())
        print(maintenanceNotice(report));
    return report.intact && report.compacted && report.backupError.isEmpty() ? 0 : 1;
}

// A copy now, whatever the settings say; the rotation keeps the configured number.
int backup(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    const QDir directory(args.first());
    const QString path = directory.filePath(QStringLiteral("Kavio.mde"));
    const bool onServer = !serverOf(directory.path()).isEmpty();
    if (!onServer && !QFileInfo::exists(path))
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank %1 wurde nicht gefunden.").arg(path));
    CProfileFile profile;
    profile.setPath(directory.filePath(QStringLiteral("Kavio.ini")));
    const QDateTime now = QDateTime::currentDateTime();
    const QString folder = Backup::folder(directory.path());
    QString written;
    if (onServer) {
        CDatabase db;
        ProgramDatabase::open(db, directory.path());
        written = Backup::writeOf(db, folder, now);
    } else {
        written = Backup::write(path, folder, now);
    }
    print(QStringLiteral("Datensicherung: %1").arg(QDir::toNativeSeparators(written)));
    for (const QString& removed :
         Backup::rotate(folder, now, Backup::readOptions(profile).keepLast))
        print(QStringLiteral("Entfernt: %1").arg(QDir::toNativeSeparators(removed)));
    return 0;
}

int restore(const QStringList& args) {
    if (args.size() != 2)
        return usage();
    const QDir directory(args.first());
    const QString path = directory.filePath(QStringLiteral("Kavio.mde"));
    QString copy = args.at(1);
    if (!QFileInfo::exists(copy))
        copy = QDir(Backup::folder(directory.path())).filePath(args.at(1));
    if (!QFileInfo::exists(copy))
        throw CDaoException(
            CDaoException::CannotOpen,
            QStringLiteral("Die Datensicherung %1 wurde nicht gefunden.").arg(args.at(1)));
    QString saved;
    if (!serverOf(directory.path()).isEmpty()) {
        CDatabase db;
        ProgramDatabase::open(db, directory.path());
        saved = Backup::restoreOnServer(db, copy, Backup::folder(directory.path()),
                                        QDateTime::currentDateTime());
    } else {
        saved = Backup::restore(path, copy, Backup::folder(directory.path()),
                                QDateTime::currentDateTime());
    }
    print(QStringLiteral("Bisherige Datenbank gesichert: %1").arg(QDir::toNativeSeparators(saved)));
    print(QStringLiteral("Wiederhergestellt: %1").arg(QDir::toNativeSeparators(copy)));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && qstrcmp(argv[1], "--version") == 0) {
        std::printf("vorlanto %s\n", VORLANTO_VERSION);
        return 0;
    }
    // Only printing needs a GUI application; the other commands stay on QCoreApplication.
    if (argc > 1 && qstrcmp(argv[1], "print") == 0)
        return runPrintCommand(argc, argv);
    // The year overview's chart needs widgets: a QApplication for that command alone.
    if (argc > 1 && qstrcmp(argv[1], "overview") == 0)
        return runOverviewCommand(argc, argv);
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
        if (command == QLatin1String("backup"))
            return backup(args);
        if (command == QLatin1String("restore"))
            return restore(args);
        if (command == QLatin1String("ics"))
            return runIcsCommand(args);
        if (command == QLatin1String("csv"))
            return runCsvCommand(args);
        if (command == QLatin1String("budget"))
            return runBudgetCommand(args);
        if (command == QLatin1String("server"))
            return runServerCommand(args);
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "%s\n", error.description().toUtf8().constData());
        return 1;
    }
    return usage();
}
