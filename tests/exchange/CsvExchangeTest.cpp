// The CSV exchange: what a spreadsheet makes of an exported file, what survives a round trip,
// how foreign files are read, and what the preview promises before anything is written.
#include "exchange/CsvExchange.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "exchange/CsvFile.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <random>

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

// Imports a file that must be read without any refusal; the import does what the preview said.
CsvExchange::Result importBytes(CDatabase& db, Table table, const QByteArray& data) {
    const CsvExchange::Preview preview = CsvExchange::preview(db, table, data);
    EXPECT_TRUE(preview.failure.isEmpty()) << preview.failure.toStdString();
    EXPECT_TRUE(preview.refused.empty()) << CsvExchange::describe(preview).join('\n').toStdString();
    const CsvExchange::Result result = CsvExchange::importPreview(db, preview);
    EXPECT_TRUE(result == preview.counts) << CsvExchange::describe(table, result).toStdString();
    return result;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An exported file as a spreadsheet shows it, to edit cells by their column's header.
struct Sheet {
    QStringList header;
    std::vector<QStringList> rows;

    explicit Sheet(const QByteArray& data) {
        const Csv::Table table = Csv::read(data);
        EXPECT_TRUE(table.failure.isEmpty()) << table.failure.toStdString();
        for (const Csv::Record& record : table.records)
            (header.isEmpty() ? header : rows.emplace_back()) = record.fields;
    }
    int column(const char* name) const {
        const int index = header.indexOf(QString::fromUtf8(name));
        EXPECT_GE(index, 0) << name;
        return index;
    }
    QString& cell(size_t row, const char* name) { return rows.at(row)[column(name)]; }
    // The first row whose column holds the text.
    size_t find(const char* name, const QString& value) const {
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].at(column(name)) == value)
                return row;
        }
        ADD_FAILURE() << "no row with " << name << " " << value.toStdString();
        return 0;
    }
    void dropColumn(const char* name) {
        const int index = column(name);
        header.removeAt(index);
        for (QStringList& row : rows)
            row.removeAt(index);
    }
    QByteArray bytes() const {
        std::vector<QStringList> records{header};
        records.insert(records.end(), rows.begin(), rows.end());
        return Csv::write(records);
    }
};

// The file as it comes from another database: without the keys of this one.
QByteArray withoutKeys(const QByteArray& data) {
    Sheet sheet(data);
    sheet.dropColumn("Nr.");
    if (sheet.header.contains(QStringLiteral("AP-Nr.")))
        sheet.dropColumn("AP-Nr.");
    return sheet.bytes();
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
        ASSERT_TRUE(exported.startsWith("\xEF\xBB\xBFNr.;"));
        // The keys of one database name nothing in another, so they are left out.
        importBytes(empty.db(), table, withoutKeys(exported));
        // The same rows come out of the new database, so nothing was lost or changed.
        EXPECT_EQ(withoutKeys(CsvExchange::exportTable(empty.db(), table)), withoutKeys(exported))
            << CsvExchange::tableTitle(table).toStdString();
        // Imported again, the file changes nothing.
        const CsvExchange::Preview again = CsvExchange::preview(demo.db(), table, exported);
        EXPECT_EQ(again.counts.created + again.counts.changed + again.counts.refused, 0);
        EXPECT_GT(again.counts.unchanged, 0);
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
    importBytes(target.db(), Table::Songs,
                withoutKeys(CsvExchange::exportTable(source.db(), Table::Songs)));
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
    EXPECT_TRUE(CsvExchange::describe(preview).contains(QStringLiteral(
        "Die Datei enthält kein UTF-8-Zeichen; sie wird als Windows-1252 gelesen.")));
    EXPECT_EQ(preview.counts.created, 1);
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
    EXPECT_EQ(preview.counts.created, 2);
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
    // Without "Nr." title and performer match without regard to case; the tempo is replaced,
    // what the file lacks stays. A row repeated exactly is read once.
    const QByteArray songs("Titel;Interpret;Tempo\n"
                           "atemlos;die band;128\n"
                           "Neu;Die Band;100\n"
                           "Neu;Die Band;100\n");
    CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Songs, songs);
    EXPECT_EQ(preview.counts.created, 1);
    EXPECT_EQ(preview.counts.changed, 1);
    const QStringList lines = CsvExchange::describe(preview);
    EXPECT_EQ(lines.mid(1), (QStringList{
                                QStringLiteral("Neu: 1 Song"),
                                QStringLiteral("Geändert: 1 Song"),
                                // The stored title keeps its case unless the file changes it.
                                QStringLiteral("  Zeile 2: geändert: Titel, Interpret, Tempo"),
                                QStringLiteral("Unverändert: 0 Songs"),
                                QStringLiteral("Wiederholte Zeilen (werden einmal eingelesen): "
                                               "Zeile 4 (wie Zeile 3)"),
                                QStringLiteral("Abgewiesen: 0 Zeilen"),
                            }))
        << lines.join('\n').toStdString();
    const CsvExchange::Result result = CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(result.created, 1);
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 2);
    EXPECT_EQ(db.count("T_Stamm_Songliste", "Tempo=128 AND Tonart='C'"), 1);
    EXPECT_EQ(db.count("T_Stamm_Songliste", "Titel='Neu' AND Tempo=100"), 1);
    // Two rows that name the same song with different values leave the choice to the user.
    const QByteArray differing("Titel;Interpret;Tempo\nNeu;Die Band;100\nNeu;Die Band;101\n");
    EXPECT_EQ(CsvExchange::preview(db.db(), Table::Songs, differing).failure,
              QStringLiteral("Die Datei wird nicht eingelesen: Die Zeilen 2 und 3 nennen "
                             "denselben Song, aber mit verschiedenen Werten in \"Tempo\"."));

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
    EXPECT_EQ(preview.counts.created, 2);
    EXPECT_EQ(preview.counts.contactsCreated, 2);
    ASSERT_EQ(preview.refused.size(), 1u);
    EXPECT_EQ(preview.refused[0].row, 5);
    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(db.count("T_Stamm_ExtFirma", "Art=1 AND fPrivat<>0 AND Name='Schall'"), 1);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech",
                       "Art=0 AND ExtID=(SELECT ExtID FROM T_Stamm_ExtFirma WHERE "
                       "Firma='Stadthalle')"),
              2);
    preview = CsvExchange::preview(db.db(), Table::Firms, firms);
    EXPECT_EQ(preview.counts.created, 0);
    EXPECT_EQ(preview.counts.unchanged, 2);
    EXPECT_EQ(preview.counts.contactsUnchanged, 2);
    CsvExchange::importPreview(db.db(), preview);
    EXPECT_EQ(db.count("T_Stamm_ExtFirma"), 2);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech"), 2);
}

TEST(CsvExchangeTest, EditsInASpreadsheetUpdateTheRecordsTheyCameFrom) {
    TestDatabase db;
    fillDemoData(db.db());

    // Songs: the identifying title, a number, a mark and a text.
    Sheet songs(CsvExchange::exportTable(db.db(), Table::Songs));
    const int songCount = db.count("T_Stamm_Songliste");
    songs.cell(0, "Titel") = QStringLiteral("Ganz neuer Titel");
    songs.cell(0, "Tempo") = QStringLiteral("203");
    songs.cell(0, "Bemerkung") = QStringLiteral("nachgetragen");
    songs.cell(0, "P/F") =
        songs.cell(0, "P/F") == QLatin1String("F") ? QString() : QStringLiteral("F");
    const QString song = songs.cell(0, "Nr.");
    CsvExchange::Preview preview = CsvExchange::preview(db.db(), Table::Songs, songs.bytes());
    EXPECT_EQ(preview.counts.changed, 1);
    EXPECT_EQ(preview.counts.unchanged, songCount - 1);
    EXPECT_EQ(preview.changes,
              QStringList{QStringLiteral("Zeile 2: geändert: Titel, Tempo, Bemerkung, P/F")});
    importBytes(db.db(), Table::Songs, songs.bytes());
    EXPECT_EQ(db.count("T_Stamm_Songliste"), songCount);
    EXPECT_EQ(songText(db.db(), QStringLiteral("[SongID]=%1").arg(song), "Titel"),
              QStringLiteral("Ganz neuer Titel"));
    EXPECT_EQ(songText(db.db(), QStringLiteral("[SongID]=%1").arg(song), "Bemerkungen"),
              QStringLiteral("nachgetragen"));

    // Musicians: the identifying name and birth date, the salutation, an amount, an instrument.
    Sheet musicians(CsvExchange::exportTable(db.db(), Table::Musicians));
    const int musicianCount = db.count("T_Stamm_Musiker");
    const QString musician = musicians.cell(0, "Nr.");
    QString otherInstrument;
    for (size_t row = 1; row < musicians.rows.size() && otherInstrument.isEmpty(); ++row) {
        const QString candidate = musicians.cell(row, "1. Instrument");
        if (!candidate.isEmpty() && candidate != musicians.cell(0, "1. Instrument"))
            otherInstrument = candidate;
    }
    ASSERT_FALSE(otherInstrument.isEmpty());
    musicians.cell(0, "Name") = QStringLiteral("Umbenannt");
    musicians.cell(0, "Geb.-Datum") = QStringLiteral("29.02.1988");
    musicians.cell(0, "Anrede") = musicians.cell(0, "Anrede") == QLatin1String("Frau")
                                      ? QStringLiteral("Herr")
                                      : QStringLiteral("Frau");
    musicians.cell(0, "Mindestgage") = QStringLiteral("1234,5");
    musicians.cell(0, "1. Instrument") = otherInstrument;
    preview = CsvExchange::preview(db.db(), Table::Musicians, musicians.bytes());
    EXPECT_EQ(preview.changes, QStringList{QStringLiteral("Zeile 2: geändert: Anrede, Name, "
                                                          "Geb.-Datum, Mindestgage, 1. "
                                                          "Instrument")});
    importBytes(db.db(), Table::Musicians, musicians.bytes());
    EXPECT_EQ(db.count("T_Stamm_Musiker"), musicianCount);
    CSetStammMusiker stored(db.db());
    stored.open(QStringLiteral("[MusikerID]=%1").arg(musician));
    ASSERT_FALSE(stored.atEnd());
    EXPECT_EQ(stored.getText("MName"), QStringLiteral("Umbenannt"));
    EXPECT_EQ(stored.getDate("MGeb").date(), QDate(1988, 2, 29));
    EXPECT_FLOAT_EQ(stored.getSingle("MMinGage"), 1234.5f);
    EXPECT_EQ(db.count("T_Stamm_Instrument", QStringLiteral("InstrumentID=%1 AND Instrument='%2'")
                                                 .arg(stored.getLong("MInstID1"))
                                                 .arg(otherInstrument)
                                                 .toUtf8()),
              1);

    // Firms: the identifying town on every row of a firm (it moved), and its contact's
    // identifying name, birth date and salutation.
    Sheet firms(CsvExchange::exportTable(db.db(), Table::Firms));
    const int firmCount = db.count("T_Stamm_ExtFirma");
    const int contactCount = db.count("T_Stamm_ExtAnsprech");
    size_t first = 0;
    while (first < firms.rows.size() && firms.cell(first, "AP-Nr.").isEmpty())
        ++first;
    ASSERT_LT(first, firms.rows.size());
    const QString firm = firms.cell(first, "Nr.");
    const QString contact = firms.cell(first, "AP-Nr.");
    for (size_t row = 0; row < firms.rows.size(); ++row) {
        if (firms.cell(row, "Nr.") == firm)
            firms.cell(row, "Ort") = QStringLiteral("Neustadt");
    }
    firms.cell(first, "Ansprechpartner Name") = QStringLiteral("Neuname");
    firms.cell(first, "Ansprechpartner Geb.-Datum") = QStringLiteral("01.01.1970");
    firms.cell(first, "Ansprechpartner Anrede") = QStringLiteral("Frau");
    preview = CsvExchange::preview(db.db(), Table::Firms, firms.bytes());
    ASSERT_TRUE(preview.failure.isEmpty()) << preview.failure.toStdString();
    EXPECT_EQ(preview.counts.changed, 1);
    EXPECT_EQ(preview.counts.contactsChanged, 1);
    ASSERT_EQ(preview.changes.size(), 1);
    EXPECT_TRUE(
        preview.changes[0].startsWith(QStringLiteral("Zeile %1: geändert: Ort, ").arg(first + 2)))
        << preview.changes[0].toStdString();
    EXPECT_TRUE(preview.changes[0].contains(QStringLiteral("Ansprechpartner Name")));
    importBytes(db.db(), Table::Firms, firms.bytes());
    EXPECT_EQ(db.count("T_Stamm_ExtFirma"), firmCount);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech"), contactCount);
    EXPECT_EQ(db.count("T_Stamm_ExtFirma",
                       QStringLiteral("ExtID=%1 AND Ort='Neustadt'").arg(firm).toUtf8()),
              1);
    EXPECT_EQ(db.count("T_Stamm_ExtAnsprech",
                       QStringLiteral("APID=%1 AND ExtID=%2 AND APName='Neuname' AND APAnrede=1 "
                                      "AND APGebDate LIKE '1970-01-01%'")
                           .arg(contact, firm)
                           .toUtf8()),
              1);
    // The edited file read again changes nothing more.
    preview = CsvExchange::preview(db.db(), Table::Firms, firms.bytes());
    EXPECT_EQ(preview.counts.changed + preview.counts.contactsChanged + preview.counts.created, 0);
}

TEST(CsvExchangeTest, KeysThatNameNoLiveRecordAreRefusedWithTheirRow) {
    TestDatabase db;
    db.exec("INSERT INTO T_Stamm_Songliste (SongID, Titel) VALUES (5, 'Da')");
    db.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, fDeleted) VALUES (7, 'Weg', -1)");
    db.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma, Ort) VALUES "
            "(1, 0, 0, 'Halle', 'Ulm'), (2, 0, 0, 'Saal', 'Ulm')");
    db.exec("INSERT INTO T_Stamm_ExtAnsprech (APID, ExtID, Art, APName) VALUES "
            "(11, 1, 0, 'Maier'), (12, 2, 0, 'Huber')");
    db.exec("INSERT INTO T_Stamm_ExtAnsprech (APID, ExtID, Art, APName, fDeleted) VALUES "
            "(13, 1, 0, 'Alt', -1)");

    CsvExchange::Preview preview = CsvExchange::preview(
        db.db(), Table::Songs, QByteArray("Nr.;Titel\n99;Fremd\nabc;Keiner\n5;Da capo\n;Neu\n"));
    ASSERT_EQ(preview.refused.size(), 2u);
    EXPECT_EQ(preview.refused[0].row, 2);
    EXPECT_EQ(preview.refused[0].reason, QStringLiteral("Es gibt keinen Song mit der Nr. 99."));
    EXPECT_EQ(preview.refused[1].reason, QStringLiteral("\"Nr.\" ist keine gültige Nummer."));
    EXPECT_EQ(preview.counts.changed, 1);
    EXPECT_EQ(preview.counts.created, 1);
    EXPECT_TRUE(CsvExchange::describe(preview).contains(QStringLiteral("Abgewiesen: 2 Zeilen")));

    preview = CsvExchange::preview(db.db(), Table::Musicians, QByteArray("Nr.;Name\n7;Weg\n"));
    ASSERT_EQ(preview.refused.size(), 1u);
    EXPECT_EQ(preview.refused[0].reason,
              QStringLiteral("Der Datensatz mit der Nr. 7 ist gelöscht."));

    preview = CsvExchange::preview(db.db(), Table::Firms,
                                   QByteArray("Nr.;Art;Firma;Ort;AP-Nr.;Ansprechpartner Name\n"
                                              "1;Veranstalter;Halle;Ulm;12;Huber\n"
                                              "1;Veranstalter;Halle;Ulm;13;Alt\n"
                                              "1;Veranstalter;Halle;Ulm;99;Wer\n"
                                              "2;Technik;Saal;Ulm;12;Huber\n"
                                              "1;Veranstalter;Halle;Ulm;11;Maier\n"));
    ASSERT_TRUE(preview.failure.isEmpty()) << preview.failure.toStdString();
    ASSERT_EQ(preview.refused.size(), 4u);
    EXPECT_EQ(preview.refused[0].reason,
              QStringLiteral("Der Ansprechpartner mit der AP-Nr. 12 gehört zu einer anderen "
                             "Firma."));
    EXPECT_EQ(preview.refused[1].reason,
              QStringLiteral("Der Ansprechpartner mit der AP-Nr. 13 ist gelöscht."));
    EXPECT_EQ(preview.refused[2].reason,
              QStringLiteral("Es gibt keinen Ansprechpartner mit der AP-Nr. 99."));
    EXPECT_EQ(preview.refused[3].reason,
              QStringLiteral("Die Firma mit der Nr. 2 ist von anderer \"Art\"."));
    EXPECT_EQ(preview.counts.unchanged, 1);
    EXPECT_EQ(preview.counts.contactsUnchanged, 1);
    EXPECT_EQ(CsvExchange::describe(Table::Firms, preview.counts),
              QStringLiteral("Import der Firmen mit Ansprechpartnern abgeschlossen – neu: 0 "
                             "Firmen und 0 Ansprechpartner, geändert: 0 Firmen und 0 "
                             "Ansprechpartner, unverändert: 1 Firma und 1 Ansprechpartner, "
                             "abgewiesen: 4 Zeilen."));
}

// Every file the import refuses as a whole leaves the database file as it was.
TEST(CsvExchangeTest, RefusedFilesLeaveTheDatabaseByteIdentical) {
    TestDatabase db;
    fillDemoData(db.db());
    const QByteArray songs = CsvExchange::exportTable(db.db(), Table::Songs);
    Sheet firms(CsvExchange::exportTable(db.db(), Table::Firms));
    size_t first = 0;
    while (first + 1 < firms.rows.size() &&
           firms.cell(first, "Nr.") != firms.cell(first + 1, "Nr."))
        ++first;
    ASSERT_LT(first + 1, firms.rows.size()) << "the example data has a firm with two contacts";
    firms.cell(first + 1, "Ort") = QStringLiteral("Anderswo");

    const qsizetype lineTwo = songs.indexOf("\r\n") + 2;
    const qsizetype lineThree = songs.indexOf("\r\n", lineTwo) + 2;
    const QByteArray unterminated = songs + "\"offen;\r\n";
    QByteArray extraField = songs;
    extraField.insert(lineThree - 2, ";x");
    QByteArray nul = songs;
    nul.insert(lineThree + 1, '\0');
    QByteArray latin1 = songs;
    latin1.insert(lineThree + 1, '\xFC');
    QByteArray mixed = songs.mid(3);
    mixed.insert(lineThree - 3 + 1, '\xFC');
    mixed.insert(lineTwo - 3 + 1, "\xC3\xA4");
    QByteArray binary("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 400; ++i)
        binary.append(char(i * 37 % 256));

    const std::vector<std::pair<QByteArray, QString>> files = {
        {firms.bytes(),
         QStringLiteral("Die Datei wird nicht eingelesen: Die Zeilen %1 und %2 nennen dieselbe "
                        "Firma, aber mit verschiedenen Werten in \"Ort\".")
             .arg(first + 2)
             .arg(first + 3)},
        {unterminated, QStringLiteral("Das Anführungszeichen, mit dem in Zeile")},
        {extraField, QStringLiteral("Zeile 2 hat")},
        {nul, QStringLiteral("Zeile 3, Spalte 1 enthält ein Nullzeichen.")},
        {latin1, QStringLiteral("als UTF-8 gekennzeichnet, aber Zeile 3, Spalte 1")},
        {mixed, QStringLiteral("Sie mischt zwei Zeichenkodierungen")},
        {binary, QStringLiteral("Die Datei ist keine Textdatei (CSV).")},
    };
    for (const auto& [data, expected] : files) {
        const QByteArray before = fileBytes(db.databasePath());
        const Table table = data == firms.bytes() ? Table::Firms : Table::Songs;
        const CsvExchange::Preview preview = CsvExchange::preview(db.db(), table, data);
        EXPECT_TRUE(preview.failure.contains(expected))
            << preview.failure.toStdString() << " / " << expected.toStdString();
        EXPECT_FALSE(preview.hasWork());
        EXPECT_EQ(CsvExchange::describe(preview), QStringList{preview.failure});
        const CsvExchange::Result result = CsvExchange::importPreview(db.db(), preview);
        EXPECT_EQ(result.created + result.changed + result.contactsCreated, 0);
        EXPECT_TRUE(fileBytes(db.databasePath()) == before) << expected.toStdString();
    }
}

TEST(CsvExchangeTest, FormulaCellsAreInertInTheFileAndRoundTripExactly) {
    TestDatabase source;
    const QStringList titles = {QStringLiteral("=HYPERLINK(\"http://x.example\";\"klick\")"),
                                QStringLiteral("+491701234"),
                                QStringLiteral("-Intro-"),
                                QStringLiteral("@Heimat"),
                                QStringLiteral("'=schon mit Apostroph"),
                                QStringLiteral("'Rock around"),
                                QStringLiteral("Gleich = gleich")};
    {
        CSetStammSongliste song(source.db());
        song.open(QStringLiteral("[SongID]=0"));
        for (const QString& title : titles) {
            song.addNew();
            song.setText("Titel", title);
            song.setText("Interpret", QStringLiteral("-"));
            song.setInt("Tempo", 120);
            song.update();
        }
        CSetStammMusiker musician(source.db());
        musician.open(QStringLiteral("[MusikerID]=0"));
        musician.addNew();
        musician.setText("MName", QStringLiteral("=1+2"));
        musician.setSingle("MMinGage", -50);
        musician.update();
    }
    const QByteArray songs = CsvExchange::exportTable(source.db(), Table::Songs);
    Sheet sheet(songs);
    // A spreadsheet shows a cell starting with an apostrophe as text; other texts stay as they
    // are.
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const QString written = i < 5 ? QLatin1Char('\'') + titles[i] : titles[i];
        EXPECT_EQ(sheet.rows.at(sheet.find("Titel", written)).at(sheet.column("Titel")), written);
    }
    EXPECT_EQ(sheet.cell(0, "Interpret"), QStringLiteral("'-"));
    EXPECT_EQ(sheet.cell(0, "Tempo"), QStringLiteral("120"));
    Sheet musicians(CsvExchange::exportTable(source.db(), Table::Musicians));
    EXPECT_EQ(musicians.cell(0, "Name"), QStringLiteral("'=1+2"));
    EXPECT_EQ(musicians.cell(0, "Mindestgage"), QStringLiteral("-50")) << "numbers stay numbers";

    // Read back into the same database nothing changes; into another the texts are exact.
    const CsvExchange::Preview same = CsvExchange::preview(source.db(), Table::Songs, songs);
    EXPECT_EQ(same.counts.unchanged, titles.size());
    TestDatabase target;
    importBytes(target.db(), Table::Songs, withoutKeys(songs));
    importBytes(target.db(), Table::Musicians,
                withoutKeys(CsvExchange::exportTable(source.db(), Table::Musicians)));
    CSetStammSongliste song(target.db());
    song.open(QString(), QStringLiteral("[SongID]"));
    QStringList imported;
    for (; !song.atEnd(); song.moveNext()) {
        imported.append(song.getText("Titel"));
        EXPECT_EQ(song.getText("Interpret"), QStringLiteral("-"));
    }
    QStringList expected = titles;
    std::sort(expected.begin(), expected.end());
    std::sort(imported.begin(), imported.end());
    EXPECT_EQ(imported, expected);
    EXPECT_EQ(target.count("T_Stamm_Musiker", "MName='=1+2' AND MMinGage=-50"), 1);
}

// Mutated exports, a few hundred of them: whatever the bytes, the import neither crashes nor
// writes a part. A refused file leaves the database file as it was; an accepted one is written
// whole, so that reading it again finds nothing more to add or change.
TEST(CsvExchangeTest, MutatedExportsAreImportedWholeOrNotAtAll) {
    TestDatabase db;
    fillDemoData(db.db());
    const std::vector<std::pair<Table, QByteArray>> sources = {
        {Table::Songs, CsvExchange::exportTable(db.db(), Table::Songs)},
        {Table::Musicians, CsvExchange::exportTable(db.db(), Table::Musicians)},
        {Table::Firms, CsvExchange::exportTable(db.db(), Table::Firms)},
    };
    const QByteArray noise("\";,\r\n\0\xFF\xC3\xA4=' 0123456789.-", 23);
    std::mt19937 random(20261208);
    const auto below = [&random](qsizetype bound) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, bound - 1)(random));
    };
    int refused = 0;
    int written = 0;
    for (int round = 0; round < 300; ++round) {
        const auto& [table, original] = sources[size_t(round) % sources.size()];
        QByteArray data = original;
        const int mutations = 1 + int(below(3));
        for (int m = 0; m < mutations && !data.isEmpty(); ++m) {
            const qsizetype at = below(data.size());
            switch (below(6)) {
            case 0:
                data[at] = noise[below(noise.size())];
                break;
            case 1:
                data.insert(at, noise[below(noise.size())]);
                break;
            case 2:
                data.remove(at, 1 + below(4));
                break;
            case 3: { // a line repeated elsewhere
                const qsizetype start = data.lastIndexOf('\n', at) + 1;
                const qsizetype end = data.indexOf('\n', at);
                data.insert(below(data.size()), data.mid(start, end < 0 ? -1 : end - start + 1));
                break;
            }
            case 4:
                data.truncate(at);
                break;
            default: // a digit of a key changed
                if (const qsizetype digit = data.indexOf(';', at); digit > 0)
                    data[digit - 1] = char('0' + below(10));
                break;
            }
        }
        const QByteArray before = fileBytes(db.databasePath());
        const CsvExchange::Preview preview = CsvExchange::preview(db.db(), table, data);
        if (!preview.hasWork()) {
            CsvExchange::importPreview(db.db(), preview);
            EXPECT_TRUE(fileBytes(db.databasePath()) == before) << "round " << round;
            ++refused;
            continue;
        }
        const CsvExchange::Result result = CsvExchange::importPreview(db.db(), preview);
        EXPECT_TRUE(result == preview.counts) << "round " << round;
        const CsvExchange::Preview again = CsvExchange::preview(db.db(), table, data);
        EXPECT_EQ(again.counts.created + again.counts.changed + again.counts.contactsCreated +
                      again.counts.contactsChanged,
                  0)
            << "round " << round << "\n"
            << CsvExchange::describe(again).join('\n').toStdString();
        ++written;
    }
    // Both outcomes occur, so the test sees both paths.
    EXPECT_GT(refused, 30);
    EXPECT_GT(written, 30);
}

} // namespace
