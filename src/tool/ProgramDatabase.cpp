#include "ProgramDatabase.h"

#include "core/ProgramDirectory.h"
#include "data/CDatabase.h"

#include <QDir>
#include <QFileInfo>

namespace ProgramDatabase {

QString open(CDatabase& db, const QString& directory) {
    // A band database on a server: the login comes from libpq's own means (password file,
    // environment), as a script needs it.
    if (const QString server = serverOf(directory); !server.isEmpty()) {
        db.openServer(server.toStdString());
        return QString();
    }
    const QString path = QDir(directory).filePath(QStringLiteral("Kavio.mde"));
    if (!QFileInfo::exists(path))
        return QStringLiteral("Keine Datenbank gefunden: %1").arg(path);
    db.open(path);
    return QString();
}

} // namespace ProgramDatabase
