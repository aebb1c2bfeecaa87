#include "CKavioApp.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
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
    app.exitInstance();
    return result;
}
