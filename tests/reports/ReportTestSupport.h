#pragma once
// A small fixed database for the report tests, and the comparison of a report's text dump with
// a reviewed file in tests/reports/expected.

#include "support/TestDatabase.h"

#include "core/GigUpdateSelection.h"
#include "core/UserProfile.h"
#include "reports/RecordedPage.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace ReportTest {

// The day the fixed pages are printed on ("Stand: 01.03.24").
inline QDate today() {
    return QDate(2024, 3, 1);
}

inline UserProfile band() {
    UserProfile user;
    user.band = QStringLiteral("Die Testband");
    user.firstName = QStringLiteral("Anna");
    user.name = QStringLiteral("Berg");
    user.phone = QStringLiteral("0123 456");
    user.email = QStringLiteral("anna@testband.example");
    user.homepage = QStringLiteral("www.testband.example");
    return user;
}

// Events around the beginning of March 2024, two musicians (Eva Leer has no event in March), a
// technician firm and a PA firm on the wedding, and the wedding's set list with sets 1 and 3.
inline void fill(TestDatabase& database) {
    database.exec(R"sql(
INSERT INTO "User" ("Band", "Vorname", "Name", "Tel", "Email", "Homepage")
    VALUES ('Die Testband', 'Anna', 'Berg', '0123 456', 'anna@testband.example',
            'www.testband.example');
INSERT INTO "T_Event" ("EventID", "EBeginn", "EArt", "ELocation", "EOrt", "Status") VALUES
    (1, '2024-03-05 20:00:00', 'Hochzeit', 'Gasthof Post', 'Au', 2),
    (2, '2024-03-05 00:00:00', 'Ball', 'Halle', 'Au', 0),
    (3, '2024-03-06 00:00:00', 'Fest', 'Zelt', 'Bach', 4),
    (4, '2024-03-04 23:59:00', 'Probe', 'Keller', 'Au', 3),
    (5, '2024-04-10 19:00:00', 'Konzert', 'Kirche', 'Dorf', NULL);
INSERT INTO "T_Stamm_Musiker" ("MusikerID", "MName", "MVorname") VALUES
    (1, 'Muster', 'Max'), (2, 'Leer', 'Eva');
INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") VALUES (1, 1), (3, 1), (5, 2);
INSERT INTO "T_Stamm_ExtFirma" ("ExtID", "Art", "fPrivat", "Firma") VALUES
    (10, 1, 0, 'Ton GmbH'), (11, 3, 0, 'PA Verleih');
INSERT INTO "T_Event_ExtFirma" ("EventID", "Art", "ExtID") VALUES (1, 1, 10), (1, 3, 11);
INSERT INTO "T_Event_Setliste" ("SetlisteID", "EventID", "Bezeichnung") VALUES
    (1, 1, 'Hochzeit_05.03.24');
INSERT INTO "T_Event_Setliste_Songs" ("SetlisteID", "SetNr", "LfdNr", "Titel", "Tonart",
                                      "Tempo", "Bemerkung") VALUES
    (1, 1, 1, 'Walzer', 'F-Dur', 90, 'leise'),
    (1, 1, 2, 'Polka', 'B-Dur', 0, ''),
    (1, 3, 1, 'Marsch', 'Es-Dur', 120, NULL);
)sql");
}

inline GigUpdate::Selection period(const QDate& from, const QDate& to) {
    GigUpdate::Selection selection;
    selection.from = from;
    selection.to = to;
    return selection;
}

// Compares the dump with the reviewed file; on a difference the dump is written beside the
// build for reading.
inline void expectDump(const Report::Document& document, const char* name) {
    const QString actual = Report::dump(document);
    QFile expectedFile(
        QDir(QStringLiteral(VORLANTO_REPORT_EXPECTED_DIR)).filePath(QString::fromUtf8(name)));
    QString expected;
    if (expectedFile.open(QIODevice::ReadOnly))
        expected = QString::fromUtf8(expectedFile.readAll());
    if (actual == expected)
        return;
    QDir().mkpath(QStringLiteral("reports-actual"));
    QFile out(QDir(QStringLiteral("reports-actual")).filePath(QString::fromUtf8(name)));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(actual.toUtf8());
    ADD_FAILURE() << name << " differs from the expected pages; the pages drawn are in "
                  << QDir::current().absoluteFilePath(out.fileName()).toStdString();
}

} // namespace ReportTest
