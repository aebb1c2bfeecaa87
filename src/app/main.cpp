#include "CKavioApp.h"
#include "StartOptions.h"
#include "core/Version.h"
#include "widgets/MessageBoxes.h"
#include "widgets/StartupProbe.h"

#include <QApplication>
#include <QByteArray>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The version needs no display: answered before the application object exists.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--version") == 0) {
            std::printf("vorlanto %s\n", VORLANTO_VERSION);
            return 0;
        }
    }
    // Qt's own dialogs (the file dialog's dates) follow the system locale, which Qt reads from
    // these variables when the application starts: German dates whatever the desktop's
    // language. LC_ALL would override LC_TIME; its value stays for everything but the dates.
    if (const QByteArray all = qgetenv("LC_ALL"); !all.isEmpty()) {
        for (const char* category : {"LC_NUMERIC", "LC_MESSAGES", "LC_CTYPE", "LC_COLLATE"}) {
            if (qEnvironmentVariableIsEmpty(category))
                qputenv(category, all);
        }
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "de_DE.UTF-8");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlanto"));
    QApplication::setApplicationVersion(QStringLiteral(VORLANTO_VERSION));
    const StartOptions options = StartOptions::parse(QApplication::arguments().mid(1));
    if (!options.unknown.isEmpty()) {
        std::fprintf(stderr,
                     "Unbekanntes Argument: %s\n"
                     "Aufruf: vorlanto [--program-directory [VERZEICHNIS]] [--version]\n",
                     options.unknown.toLocal8Bit().constData());
        return 2;
    }

    // German dates, numbers and standard buttons.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    MessageBoxes::install();
    CKavioApp app;
    app.setRequestedDirectory(options.programDirectory);
    if (!app.initInstance())
        return 1;
    const int result = QApplication::exec();
    // A timed start ends as soon as the window is shown, without the work of a normal end.
    if (!StartupProbe::timingStart())
        app.exitInstance();
    return result;
}
