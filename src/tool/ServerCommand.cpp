#include "ServerCommand.h"

#include "core/CProfileFile.h"
#include "core/ProgramDirectory.h"
#include "data/CDaoException.h"
#include "data/PgConnection.h"
#include "data/ServerAccess.h"
#include "data/ServerMove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

void print(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
}

CDaoException refusal(const QString& text) {
    return CDaoException(CDaoException::CannotOpen, text);
}

int usage() {
    std::fprintf(stderr, "Aufruf:\n"
                         "  vorlanto-tool server VERZEICHNIS --to URI\n"
                         "  vorlanto-tool server VERZEICHNIS --back\n"
                         "  vorlanto-tool server VERZEICHNIS --add-user NAME [--read-only]\n");
    return 2;
}

CProfileFile settingsOf(const QDir& directory) {
    return CProfileFile(directory.filePath(QStringLiteral("Kavio.ini")));
}

bool writeServer(const QDir& directory, const QString& uri) {
    CProfileFile settings = settingsOf(directory);
    return settings.writeText(QStringLiteral("DATABASE"), QStringLiteral("Server"), uri);
}

int moveToServer(const QDir& directory, const QString& uri) {
    const QString file = directory.filePath(QStringLiteral("Kavio.mde"));
    const QString kept = directory.filePath(QStringLiteral("Kavio-vor-Server.mde"));
    if (!serverOf(directory.path()).isEmpty())
        throw refusal(QStringLiteral("Die Datenbank dieses Verzeichnisses liegt bereits auf "
                                     "einem Server."));
    if (!QFileInfo::exists(file))
        throw refusal(QStringLiteral("Die Datenbank %1 wurde nicht gefunden.").arg(file));
    if (QFileInfo::exists(kept))
        throw refusal(
            QStringLiteral("Es gibt bereits %1; bitte benennen Sie die Datei erst um.").arg(kept));
    PgConnection server(uri.toStdString());
    ServerMove::copyIntoServer(file, server);
    const QString settingsUri =
        QString::fromStdString(ServerAccess::withoutPassword(uri.toStdString()));
    if (!writeServer(directory, settingsUri))
        throw refusal(QStringLiteral("Die Daten liegen auf dem Server, aber %1 konnte nicht "
                                     "geschrieben werden. Bitte tragen Sie dort unter [DATABASE] "
                                     "Server=%2 ein.")
                          .arg(directory.filePath(QStringLiteral("Kavio.ini")), settingsUri));
    if (!QFile::rename(file, kept))
        print(QStringLiteral("Hinweis: %1 konnte nicht in %2 umbenannt werden.").arg(file, kept));
    print(QStringLiteral("Die Datenbank liegt jetzt auf dem Server %1.").arg(server.shownName()));
    print(QStringLiteral("Die bisherige Datei bleibt als %1 erhalten.")
              .arg(QDir::toNativeSeparators(kept)));
    return 0;
}

int moveBack(const QDir& directory) {
    const QString uri = serverOf(directory.path());
    if (uri.isEmpty())
        throw refusal(QStringLiteral("Die Datenbank dieses Verzeichnisses liegt auf keinem "
                                     "Server."));
    const QString file = directory.filePath(QStringLiteral("Kavio.mde"));
    PgConnection server(uri.toStdString());
    ServerMove::copyIntoFile(server, file);
    if (!writeServer(directory, QString()))
        throw refusal(QStringLiteral("Die Datei %1 ist geschrieben, aber in %2 steht noch der "
                                     "Server. Bitte entfernen Sie dort die Zeile Server=.")
                          .arg(file, directory.filePath(QStringLiteral("Kavio.ini"))));
    print(QStringLiteral("Die Datenbank des Servers %1 steht jetzt in %2.")
              .arg(server.shownName(), QDir::toNativeSeparators(file)));
    return 0;
}

int addUser(const QDir& directory, const QString& name, bool readOnly) {
    const QString uri = serverOf(directory.path());
    if (uri.isEmpty())
        throw refusal(QStringLiteral("Die Datenbank dieses Verzeichnisses liegt auf keinem "
                                     "Server."));
    QTextStream input(stdin);
    const QString password = input.readLine();
    PgConnection server(uri.toStdString());
    ServerAccess::addPerson(server, name, password, readOnly);
    print(readOnly ? QStringLiteral("%1 darf jetzt lesen (ohne Änderungen).").arg(name)
                   : QStringLiteral("%1 darf jetzt lesen und ändern.").arg(name));
    return 0;
}

} // namespace

int runServerCommand(const QStringList& args) {
    if (args.size() < 2)
        return usage();
    const QDir directory(args.at(0));
    const QString option = args.at(1);
    if (option == QLatin1String("--to") && args.size() == 3)
        return moveToServer(directory, args.at(2));
    if (option == QLatin1String("--back") && args.size() == 2)
        return moveBack(directory);
    if (option == QLatin1String("--add-user") && (args.size() == 3 || args.size() == 4)) {
        const bool readOnly = args.size() == 4;
        if (readOnly && args.at(3) != QLatin1String("--read-only"))
            return usage();
        return addUser(directory, args.at(2), readOnly);
    }
    return usage();
}
