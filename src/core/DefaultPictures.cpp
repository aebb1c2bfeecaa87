#include "DefaultPictures.h"

#include "InstalledData.h"

#include <QDir>
#include <QFile>

namespace DefaultPictures {

bool writeAll(const QString& directory, QString* error) {
    const QDir dir(directory);
    for (const char* name : {"bgr1024.jpg", "morvo.jpg", "tshirt.jpg"}) {
        const QString fileName = QString::fromUtf8(name);
        const QString path = dir.filePath(fileName);
        QFile source(InstalledData::picturePath(fileName));
        if (!source.open(QIODevice::ReadOnly)) {
            if (error)
                *error = InstalledData::missingMessage(source.fileName());
            return false;
        }
        QFile target(path);
        const bool written = target.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             target.write(source.readAll()) == source.size() && target.flush();
        if (!written) {
            if (error)
                *error = QStringLiteral("Das Bild %1 konnte nicht geschrieben werden.").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace DefaultPictures
