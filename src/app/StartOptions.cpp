#include "StartOptions.h"

#include <QDir>

namespace {

const QString kDirectoryOption = QStringLiteral("--program-directory");

} // namespace

StartOptions StartOptions::parse(const QStringList& arguments) {
    StartOptions options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--version")) {
            continue;
        } else if (argument == kDirectoryOption) {
            // The folder is optional: the next argument is it unless it is an option itself.
            QString directory;
            if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(u'-'))
                directory = arguments.at(++i);
            options.programDirectory = expandDirectory(directory);
        } else if (argument.startsWith(kDirectoryOption + u'=')) {
            options.programDirectory = expandDirectory(argument.mid(kDirectoryOption.size() + 1));
        } else if (options.unknown.isEmpty()) {
            options.unknown = argument;
        }
    }
    return options;
}

QString StartOptions::expandDirectory(const QString& directory) {
    if (directory.isEmpty())
        return QDir(QDir::homePath()).filePath(QStringLiteral("Vorlanto"));
    if (directory == QLatin1String("~"))
        return QDir::homePath();
    if (directory.startsWith(QLatin1String("~/")))
        return QDir::cleanPath(QDir(QDir::homePath()).filePath(directory.mid(2)));
    return QDir(directory).absolutePath();
}
