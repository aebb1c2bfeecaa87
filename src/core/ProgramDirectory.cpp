#include "ProgramDirectory.h"

#include "Backup.h"
#include "CProfileFile.h"
#include "DefaultPictures.h"
#include "TemporaryCopy.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"

#include <QDir>
#include <QFileInfo>

void createProgramDirectory(const QString& directory) {
    QDir dir(directory);
    const QString database = dir.filePath(QStringLiteral("Kavio.mde"));
    if (QFileInfo::exists(database))
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("In %1 gibt es bereits eine Datenbank Kavio.mde; sie "
                                           "wird nicht überschrieben.")
                                .arg(dir.absolutePath()));
    if (!dir.mkpath(QStringLiteral(".")))
        throw CDaoException(
            CDaoException::IoError,
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(directory));
    QString error;
    if (!DefaultPictures::writeAll(dir.absolutePath(), &error))
        throw CDaoException(CDaoException::IoError, error);
    createDatabase(database);
}

QString writeProtection(const CDatabase& db, const QString& directory) {
    if (!db.isReadOnly() && QFileInfo(directory).isWritable())
        return QString();
    return QStringLiteral("Die Datenbank %1 ist schreibgeschützt. Vorlanto braucht Schreibrechte "
                          "für die Datei und ihren Ordner. Abbruch.")
        .arg(db.path());
}

QStringList removeLeftoverCopies(const QString& directory) {
    QStringList removed;
    for (const QString& folder : {directory, Backup::folder(directory)}) {
        for (const QString& name : TemporaryCopy::removeLeftovers(folder))
            removed << QDir(folder).filePath(name);
    }
    return removed;
}

QString serverOf(const QString& directory) {
    const CProfileFile profile(QDir(directory).filePath(QStringLiteral("Kavio.ini")));
    return profile.readText(QStringLiteral("DATABASE"), QStringLiteral("Server")).trimmed();
}
