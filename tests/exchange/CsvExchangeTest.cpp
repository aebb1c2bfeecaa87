// The CSV exchange: what a spreadsheet makes of an exported file, what survives a round trip,
// how foreign files are read, and what the preview promises before anything is written.
#include "exchange/CsvExchange.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using CsvExchange::Table;

// The instruments of one database in another, so that musicians find theirs.
void copyInstruments(CDatabase& from, CDatabase& to) {
    CSetInstrumente source(from);
    CSetInstrumente target(to);
    source.open(QString(), QStringLiteral("[InstrumentID]"));
    target.open(QStringLiteral("[InstrumentID]=0"));
    for (; !source.atEnd(); source.moveNext()) {
        target.addNew();
        for (const char* column : {"Instrument", "Kurz"})
            target.setText(column, source.getText(column));
        target.setBool("fDeleted", source.getBool("fDeleted"));
        target.update();
    }
}

CsvExchange::Result importBytes(CDatabase& db, Table table, const QByteArray& data) {
    const CsvExchange::Preview preview = CsvExchange::preview(db, table, data);
    EXPECT_TRUE(preview.failure.isEmpty()) << preview.failure.toStdString();
    EXPECT_TRUE(preview.refused.empty()) << CsvExchange::describe(preview).join('\n').toStdString();
    return CsvExchange::importPreview(db, preview);
}

QString songText(CDatabase& db, const QString& filter, const char* column) {
    CSetStammSongliste songs(db);
    songs.open(filter);
    return songs.atEnd() ? QStringLiteral("<none>") : songs.getText(column);
}

TEST(CsvExchangeTest, DemoDataSurvivesExportAndImportIntoAnEmptyDatabase) {
    TestDatabase demo;
    fillDemoData(demo.db());
    TestDatabase empty;
    copyInstruments(demo.db(), empty.db());
    for (Table table : {Table::Songs, Table::Musicians, Table::Firms}) {
        const QByteArray exported = CsvExchange::exportTable(demo.db(), table);
        ASSERT_TRUE(exported.startsWith("\xEF\xBB\xBF"));
        importBytes(empty.db(), table, exported);
        // The same rows come out of the new database, so nothing was lost or changed.
        EXPECT_EQ(CsvExchange::exportTable(empty.db(), table), exported)
            << CsvExchange::tableTitle(table).toStdString();
    }
    EXPECT_GT(empty.count("T_Stamm_Songliste"), 0);
    EXPECT_EQ(empty.count("T_Stamm_Musiker"), demo.count("T_Stamm_Musiker", "fDeleted=0"));
    // Deleted firms stay behind, and with them their contacts.
    EXPECT_EQ(empty.count("T_Stamm_ExtAnsprech"),
              demo.count("T_Stamm_ExtAnsprech", "fDeleted=0 AND ExtID IN (SELECT ExtID FROM "
                                                "T_Stamm_ExtFirma WHERE fDeleted=0)"));
}

TEST(CsvExchangeTest, SpreadsheetReaderSeesTheColumnsOfTheForms) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    TestDatabase demo;
    fillDemoData(demo.db());
    const QString path = demo.dir() + QStringLiteral("/Musiker.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(CsvExchange::exportTable(demo.db(), Table::Musicians));
    file.close();
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv,sys\n"
                                         "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-"
                                         "sig',newline=''),delimiter=';'))\n"
                                         "print('|'.join(rows[0]))\n"
                                         "print(len(rows)-1, {len(r) for r in rows})"),
                          path});
    ASSERT_TRUE(reader.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split('\n');
    ASSERT_GE(lines.size(), 2) << reader.readAllStandardError().constData();
    EXPECT_EQ(lines[0], CsvExchange::headers(Table::Musicians).join('|'));
    EXPECT_EQ(lines[1], QStringLiteral("%1 {%2}")
                            .arg(demo.count("T_Stamm_Musiker", "fDeleted=0"))
                            .arg(CsvExchange::headers(Table::Musicians).size()));
}

TEST(CsvExchangeTest, QuotesSeparatorsLineBreaksAndUmlautsSurvive) {
    TestDatabase source;
    const QString title = QStringLiteral("Er sagte \"Tschüß\"; dann, ging er");
    const QString remark = QStringLiteral("Zeile eins\nZeile zwei; \"drei\"");
    {
        CSetStammSongliste song(source.db());
        song.open(QStringLiteral("[SongID]=0"));
        song.addNew();
        song.setText("Titel", title);
        song.setText("Interpret", QStringLiteral("Müller & Söhne"));
        song.setText("Bemerkungen", remark);
        song.setText("Tonart", QStringLiteral(" Fis-Dur "));
        song.update();
    }
    TestDatabase target;
    importBytes(target.db(), Table::Songs, CsvExchange::exportTable(source.db(), Table::Songs));
    EXPECT_EQ(songText(target.db(), QString(), "Titel"), title);
    EXPECT_EQ(songText(target.db(), QString(), "Interpret"), QStringLiteral("Müller & Söhne"));
    EXPECT_EQ(songText(target.db(), QString(), "Bemerkungen"), remark);
    EXPECT_EQ(songText(target.db(), QString(), "Tonart"), QStringLiteral(" Fis-Dur "));
}

TEST(CsvExchangeTest, ReadsWindows1252AndCommaSeparatedFiles) {
    TestDatabase db;
    // As an older spreadsheet saves it: Windows-1252, no byte order mark.
    const QByteArray legacy("Name;Vorname;Ort;Geb.-Datum\r\n"
                            "M\xFC"
                            "ller;J\xFC"
                            "rgen;K\xF6ln;03.04.1970\r\n");
    CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Musicians, legacy);
    EXPECT_EQ(preview.encoding, QStringLiteral("Windows-1252"));
    EXPECT_EQ(preview.created, 1);
    CsvExchange::importPreview(db.db(), preview);
    CSetStammMusiker musician(db.db());
    musician.open(QString());
    ASSERT_FALSE(musician.atEnd());
    EXPECT_EQ(musician.getText("MName"), QStringLiteral("Müller"));
    EXPECT_EQ(musician.getText("MVorname"), QStringLiteral("Jürgen"));
    EXPECT_EQ(musician.getText("MOrt"), QStringLiteral("Köln"));
    EXPECT_EQ(musician.getDate("MGeb").date(), QDate(1970, 4, 3));

    // UTF-8 with a byte order mark and commas, a quoted comma inside a field.
    const QByteArray commas("\xEF\xBB\xBFTitel,Interpret\n\"Tanz, Baby\",Gr\xC3\xBCn\n");
    preview = CsvExchange::preview(db.db(), Table::Songs, commas);
    EXPECT_EQ(preview.separator, QLatin1Char(','));
    EXPECT_EQ(preview.encoding, QStringLiteral("UTF-8"));
    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(songText(db.db(), QStringLiteral("[Titel]='Tanz, Baby'"), "Interpret"),
              QStringLiteral("Grün"));
}

TEST(CsvExchangeTest, RefusedRowsAreNamedAndTheOthersImport) {
    TestDatabase db;
    const QByteArray data = QStringLiteral("Titel;Tempo;Lieblingsfarbe;P/F\n"
                                           "Erster;120;blau;P\n"
                                           "%1;90;;\n"
                                           "Dritter;schnell;;\n"
                                           ";100;;\n"
                                           "Fünfter;;;X\n"
                                           "Sechster;0;rot;f\n")
                                .arg(QString(300, QLatin1Char('a')))
                                .toUtf8();
    const CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Songs, data);
    EXPECT_EQ(preview.unknownColumns, QStringList{QStringLiteral("Lieblingsfarbe")});
    EXPECT_EQ(preview.created, 2);
    ASSERT_EQ(preview.refused.size(), 4u);
    EXPECT_EQ(preview.refused[0].row, 3);
    EXPECT_EQ(preview.refused[0].reason,
              QStringLiteral("\"Titel\" ist zu lang (300 Zeichen, höchstens 255)."));
    EXPECT_EQ(preview.refused[1].row, 4);
    EXPECT_TRUE(preview.refused[1].reason.contains(QStringLiteral("keine ganze Zahl")));
    EXPECT_EQ(preview.refused[2].reason, QStringLiteral("\"Titel\" fehlt."));
    EXPECT_EQ(preview.refused[3].row, 6);
    const QStringList lines = CsvExchange::describe(preview);
    EXPECT_TRUE(lines.contains(QStringLiteral("  Zeile 3: \"Titel\" ist zu lang (300 Zeichen, "
                                              "höchstens 255).")))
        << lines.join('\n').toStdString();
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 0) << "the preview writes nothing";

    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 2);
    EXPECT_EQ(songText(db.db(), QStringLiteral("[Titel]='Sechster'"), "pf"), QStringLiteral("F"));
    EXPECT_EQ(db.count("T_Stamm_Songliste", "Titel='Sechster' AND Tempo IS NULL"), 1);

    // Without the column every row needs, nothing can be read.
    const CsvExchange::Preview headless =
        CsvExchange::preview(db.db(), Table::Songs, QByteArray("Interpret;Tempo\nX;1\n"));
    EXPECT_EQ(headless.failure, QStringLiteral("Der Datei fehlt die Spalte \"Titel\"."));
    EXPECT_FALSE(headless.hasWork());
}

TEST(CsvExchangeTest, MusicianRowsAreCheckedLikeTheFormAndNewInstrumentsAreAdded) {
    TestDatabase db;
    const QByteArray data("Name;Vorname;Geb.-Datum;Mindestgage;1. Instrument;Anrede\n"
                          "Sommer;Anna;31.02.1990;;;Frau\n"
                          "Winter;Ben;;1.200,50;;\n"
                          "Herbst;Carl;;;Alphorn;Lord\n"
                          "Fr\xC3\xBChling;Dora;1985-07-01;150,5;alphorn;Frau\n");
    const CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Musicians, data);
    ASSERT_EQ(preview.refused.size(), 3u);
    EXPECT_EQ(preview.refused[0].reason, QStringLiteral("\"Geb.-Datum\" ist kein Datum."));
    EXPECT_EQ(preview.refused[1].reason, QStringLiteral("\"Mindestgage\" ist keine Zahl."));
    EXPECT_EQ(preview.refused[2].reason,
              QStringLiteral("\"Anrede\" ist weder \"Herr\" noch \"Frau\"."));
    EXPECT_EQ(preview.newInstruments, QStringList{QStringLiteral("alphorn")});
    const CsvExchange::Result result = CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(result.instrumentsCreated, 1);
    CSetStammMusiker musician(db.db());
    musician.open(QString());
    ASSERT_FALSE(musician.atEnd());
    EXPECT_EQ(musician.getText("MName"), QStringLiteral("Frühling"));
    EXPECT_EQ(musician.getDate("MGeb").date(), QDate(1985, 7, 1));
    EXPECT_FLOAT_EQ(musician.getSingle("MMinGage"), 150.5f);
    EXPECT_EQ(musician.getInt("MAnrede"), 1);
    EXPECT_EQ(db.count("T_Stamm_Instrument", "Instrument='alphorn' AND Kurz='alphorn' AND "
                                             "InstrumentID=(SELECT MInstID1 FROM T_Stamm_Musiker)"),
              1);
}

TEST(CsvExchangeTest, PreviewCountsNewAndMatchingRecordsAndImportUpdatesTheMatches) {
    TestDatabase db;
    {
        CSetStammSongliste song(db.db());
        song.open(QStringLiteral("[SongID]=0"));
        song.addNew();
        song.setText("Titel", QStringLiteral("Atemlos"));
        song.setText("Interpret", QStringLiteral("Die Band"));
        song.setText("Tonart", QStringLiteral("C"));
        song.update();
    }
    // Title and performer match without regard to case; the key is replaced, what the file
    // lacks stays.
    const QByteArray songs("Titel;Interpret;Tempo\n"
                           "atemlos;die band;128\n"
                           "Neu;Die Band;100\n"
                           "Neu;Die Band;101\n");
    CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Songs, songs);
    EXPECT_EQ(preview.created, 1);
    EXPECT_EQ(preview.matching, 2);
    EXPECT_TRUE(CsvExchange::describe(preview).contains(QStringLiteral(
        "Bereits vorhanden: 2 Songs (werden mit den Werten der Datei aktualisiert)")));
    const CsvExchange::Result result = CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(result.created, 1);
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 2);
    EXPECT_EQ(db.count("T_Stamm_Songliste", "Tempo=128 AND Tonart='C'"), 1);
    EXPECT_EQ(db.count("T_Stamm_Songliste", "Titel='Neu' AND Tempo=101"), 1);

    // A firm with two contacts fills two rows; a second import of the same file only matches.
    const QByteArray firms =
        QStringLiteral("Art;Gewerbe/Privat;Firma;Name;Ort;Ansprechpartner Name;"
                       "Ansprechpartner Vorname\n"
                       "Veranstalter;Gewerbe;Stadthalle;;Ulm;Maier;Eva\n"
                       "Veranstalter;Gewerbe;Stadthalle;;Ulm;Huber;Tom\n"
                       "Technik;;;Schall;Ulm;;\n"
                       "Catering;Gewerbe;Essen;;Ulm;;\n")
            .toUtf8();
    preview = CsvExchange::preview(db.db(), Table::Firms, firms);
    EXPECT_EQ(preview.created, 2);
    EXPECT_EQ(preview.contactsCreated, 2);
    ASSERT_EQ(preview.refused.size(), 1u);
    EXPECT_EQ(preview.refused[0].row, 5);
    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(db.count("T_Stamm_ExtFirma", "Art=1 AND fPrivat<>0 AND Name='Schall'"), 1);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech",
                       "Art=0 AND ExtID=(SELECT ExtID FROM T_Stamm_ExtFirma WHERE "
                       "Firma='Stadthalle')"),
              2);
    preview = CsvExchange::preview(db.db(), Table::Firms, firms);
    EXPECT_EQ(preview.created, 0);
    EXPECT_EQ(preview.matching, 2);
    EXPECT_EQ(preview.contactsMatching, 2);
    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(db.count("T_Stamm_ExtFirma"), 2);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech"), 2);
}

} // namespace
