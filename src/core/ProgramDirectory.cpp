#include "ProgramDirectory.h"

#include "DefaultPictures.h"
#include "data/CDaoException.h"
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
