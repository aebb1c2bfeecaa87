#include "InstalledData.h"

#include <QCoreApplication>
#include <QDir>

namespace InstalledData {

QString directory() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(programFolder.absoluteFilePath(QStringLiteral("../share/vorlanto")));
}

QString helpDirectory() {
    return directory() + QStringLiteral("/help");
}

QString picturePath(const QString& fileName) {
    return directory() + QStringLiteral("/pictures/") + fileName;
}

QString missingMessage(const QString& path) {
    return QStringLiteral("Vorlanto ist unvollständig installiert: Die Datei %1 fehlt. Bitte "
                          "installieren Sie das Programm neu.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace InstalledData
