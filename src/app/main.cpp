#include "CKavioApp.h"
#include "widgets/MessageBoxes.h"
#include "widgets/StartupProbe.h"

#include <QApplication>
#include <QByteArray>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
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
    QApplication::setApplicationVersion(QStringLiteral("2.0"));

    // German dates, numbers and standard buttons.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    MessageBoxes::install();
    CKavioApp app;
    if (!app.initInstance())
        return 1;
    const int result = QApplication::exec();
    // A timed start ends as soon as the window is shown, without the work of a normal end.
    if (!StartupProbe::timingStart())
        app.exitInstance();
    return result;
}
