#include "DefaultPictures.h"

#include <QDir>
#include <QFile>

// The pictures are compiled into this library; a static library must register them itself.
static void registerPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace DefaultPictures {

bool writeAll(const QString& directory, QString* error) {
    registerPictures();
    const QDir dir(directory);
    for (const char* name : {"bgr1024.jpg", "morvo.jpg", "tshirt.jpg"}) {
        const QString fileName = QString::fromUtf8(name);
        const QString path = dir.filePath(fileName);
        QFile source(QStringLiteral(":/pictures/") + fileName);
        QFile target(path);
        const bool written = source.open(QIODevice::ReadOnly) &&
                             target.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
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
