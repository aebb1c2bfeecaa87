#pragma once

#include <QString>
#include <QStringList>

// What the command line of `vorlanto` asks for. (`--version` is answered before the application
// object exists, see main.cpp; here it is only a known argument.)
struct StartOptions {
    // `--program-directory [DIR]` (or `--program-directory=DIR`): start in DIR, which is created
    // after a question when it holds no database. Without DIR the folder Vorlanto in the home
    // folder; a leading "~/" stands for the home folder. Empty without the option: the program
    // starts in the working directory.
    QString programDirectory;
    // An argument the program does not know, for the message; empty when all were understood.
    QString unknown;

    // Reads the arguments after the program name.
    static StartOptions parse(const QStringList& arguments);
    // The folder DIR names, "~" and "~/" read as the home folder; an empty DIR is ~/Vorlanto.
    static QString expandDirectory(const QString& directory);
};
