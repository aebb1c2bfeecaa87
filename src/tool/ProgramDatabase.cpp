#include "ProgramDatabase.h"

#include "data/CDatabase.h"

#include <QDir>
#include <QFileInfo>

namespace ProgramDatabase {

QString open(CDatabase& db, const QString& directory) {
    const QString path = QDir(directory).filePath(QStringLiteral("Kavio.mde"));
    if (!QFileInfo::exists(path))
        return QStringLiteral("Keine Datenbank gefunden: %1").arg(path);
    db.open(path);
    return QString();
}

} // namespace ProgramDatabase
