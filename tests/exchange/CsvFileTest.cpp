// Reading CSV files strictly: what a malformed or doubtfully encoded file is refused with, and
// how the formula guard of text cells round-trips.
#include "exchange/CsvFile.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

namespace {

const QString kRefused = QStringLiteral("Die Datei wird nicht eingelesen: ");

QStringList rowOf(const Csv::Table& table, size_t index) {
    return index < table.records.size() ? table.records[index].fields : QStringList();
}

TEST(CsvFileTest, MalformedFilesAreRefusedWithTheRowOfTheFault) {
    struct Case {
        const char* what;
        QByteArray data;
        QString failure;
    };
    const std::vector<Case> cases = {
        {"unterminated quote", QByteArray("Titel;Tempo\r\nA;1\r\n\"B;2\r\nC;3\r\nD;4\r\n"),
         kRefused + QStringLiteral("Das Anführungszeichen, mit dem in Zeile 3 ein Feld beginnt, "
                                   "wird nicht geschlossen.")},
        {"quote inside a field", QByteArray("Titel;Tempo\nA;1\nB\"x;2\n"),
         kRefused + QStringLiteral("In Zeile 3 steht ein Anführungszeichen mitten in einem Feld "
                                   "oder Text hinter dem Anführungszeichen, das ein Feld "
                                   "schließt.")},
        {"text after a closing quote", QByteArray("Titel;Tempo\n\"A\"x;1\n"),
         kRefused + QStringLiteral("In Zeile 2 steht ein Anführungszeichen mitten in einem Feld "
                                   "oder Text hinter dem Anführungszeichen, das ein Feld "
                                   "schließt.")},
        {"too many fields", QByteArray("Titel;Tempo\nA;1\nB;2;3\n"),
         kRefused + QStringLiteral("Zeile 3 hat 3 Felder, die Kopfzeile hat 2 Felder.")},
        {"too few fields", QByteArray("Titel;Tempo\n\nA\n"),
         kRefused + QStringLiteral("Zeile 3 hat 1 Feld, die Kopfzeile hat 2 Felder.")},
        {"NUL byte",
         QByteArray("Titel;Tempo\nA;1\nB;2\0"
                    "0\nC;3\nD;4\nE;5\nF;6\n",
                    38),
         kRefused + QStringLiteral("Zeile 3, Spalte 2 enthält ein Nullzeichen.")},
        {"byte order mark with a Latin-1 byte",
         QByteArray("\xEF\xBB\xBFTitel;Ort\nA;K\xC3\xB6ln\nB;M\xFCnchen\n"),
         kRefused + QStringLiteral("Sie ist als UTF-8 gekennzeichnet, aber Zeile 3, Spalte 2 "
                                   "enthält ein Byte, das kein UTF-8 ist.")},
        {"mixed encodings", QByteArray("Titel;Ort\nOk\xC3\xA4;K\xC3\xB6ln\nB;x\nC;M\xFCnchen\n"),
         kRefused + QStringLiteral("Sie mischt zwei Zeichenkodierungen: Sie enthält "
                                   "UTF-8-Zeichen, aber Zeile 4, Spalte 2 enthält ein Byte, das "
                                   "kein UTF-8 ist. Speichern Sie die Datei bitte als CSV in "
                                   "UTF-8.")},
        {"UTF-16", QByteArray("\xFF\xFET\0i\0t\0e\0l\0", 12),
         kRefused + QStringLiteral("Sie ist in UTF-16 gespeichert. Speichern Sie sie bitte als "
                                   "CSV in UTF-8.")},
    };
    for (const Case& test : cases) {
        const Csv::Table table = Csv::read(test.data);
        EXPECT_EQ(table.failure, test.failure) << test.what;
        EXPECT_TRUE(table.records.empty()) << test.what;
    }
}

TEST(CsvFileTest, BinaryFilesAreNoText) {
    // A spreadsheet's own format is a zip archive; random bytes stand for any other binary.
    QByteArray archive("PK\x03\x04\x14\0\x06\0\x08\0\0\0!\0", 16);
    for (int i = 0; i < 600; ++i)
        archive.append(char((i * 7919 + 13) % 256));
    EXPECT_EQ(Csv::read(archive).failure, QStringLiteral("Die Datei ist keine Textdatei (CSV)."));
    // One stray control byte in a text is reported where it lies, not as binary.
    const Csv::Table text = Csv::read(QByteArray("Titel;Tempo\nA\x01;1\n"));
    EXPECT_TRUE(text.failure.isEmpty()) << text.failure.toStdString();
}

TEST(CsvFileTest, EncodingFollowsTheBytes) {
    // Valid UTF-8 without a byte order mark.
    Csv::Table table = Csv::read(QByteArray("Titel;Ort\nOk\xC3\xA4;K\xC3\xB6ln\n"));
    EXPECT_EQ(table.encoding, QStringLiteral("UTF-8"));
    EXPECT_EQ(rowOf(table, 1), (QStringList{QStringLiteral("Okä"), QStringLiteral("Köln")}));
    // Bytes above 127 but no UTF-8 character at all: Windows-1252, the euro sign included.
    table = Csv::read(QByteArray("Titel;Ort\nOk\xE4;M\xFCnchen \x80\n"));
    EXPECT_EQ(table.encoding, QStringLiteral("Windows-1252"));
    EXPECT_EQ(rowOf(table, 1), (QStringList{QStringLiteral("Okä"), QStringLiteral("München €")}));
    // An overlong form and a surrogate are no UTF-8 either, so the text is Windows-1252.
    table = Csv::read(QByteArray("Titel\n\xC0\xAF\xED\xA0\x80\n"));
    EXPECT_EQ(table.encoding, QStringLiteral("Windows-1252"));
    // Plain ASCII with a byte order mark.
    table = Csv::read(QByteArray("\xEF\xBB\xBFTitel\nA\n"));
    EXPECT_TRUE(table.failure.isEmpty());
    EXPECT_EQ(rowOf(table, 0), QStringList{QStringLiteral("Titel")});
}

TEST(CsvFileTest, RowsAreNumberedAsTheSpreadsheetShowsThem) {
    // A quoted line break stays in its row; blank lines count but hold no record.
    const Csv::Table table =
        Csv::read(QByteArray("Titel;Bemerkung\r\n\"A\";\"zwei\r\nZeilen\"\r\n\r\nB;\r\n"));
    ASSERT_TRUE(table.failure.isEmpty()) << table.failure.toStdString();
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(table.records[1].row, 2);
    EXPECT_EQ(table.records[1].fields.at(1), QStringLiteral("zwei\r\nZeilen"));
    EXPECT_EQ(table.records[2].row, 4);
}

TEST(CsvFileTest, FormulaGuardRoundTripsEveryText) {
    const std::vector<std::pair<QString, QString>> guarded = {
        {QStringLiteral("=HYPERLINK(\"http://x\")"), QStringLiteral("'=HYPERLINK(\"http://x\")")},
        {QStringLiteral("+49 30 1234"), QStringLiteral("'+49 30 1234")},
        {QStringLiteral("-"), QStringLiteral("'-")},
        {QStringLiteral("@SUMME(A1)"), QStringLiteral("'@SUMME(A1)")},
        {QStringLiteral("\tTab"), QStringLiteral("'\tTab")},
        {QStringLiteral("\rCR"), QStringLiteral("'\rCR")},
        {QStringLiteral("'=schon geschützt"), QStringLiteral("''=schon geschützt")},
        {QStringLiteral("''-zwei"), QStringLiteral("'''-zwei")},
        {QStringLiteral("'normal"), QStringLiteral("'normal")},
        {QStringLiteral("''"), QStringLiteral("''")},
        {QStringLiteral("a=b"), QStringLiteral("a=b")},
        {QString(), QString()},
    };
    for (const auto& [text, written] : guarded) {
        EXPECT_EQ(Csv::guardFormula(text), written) << text.toStdString();
        EXPECT_EQ(Csv::unguardFormula(written), text) << written.toStdString();
    }
}

} // namespace
