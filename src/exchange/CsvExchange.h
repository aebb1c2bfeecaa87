#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class CDatabase;

// Songs, musicians and firms with their contact persons as CSV files for spreadsheets: columns
// named by the labels of the forms, one row per song or musician, one row per contact person of
// a firm (a firm without contacts fills one row alone).
//
// An import reads the whole file first and writes nothing: the preview counts the new records,
// the records that match an existing one, and the refused rows with their reasons. Only
// importPreview() then writes, all in one transaction. A row that matches an existing record
// updates it with the columns the file holds; columns the file lacks stay as they are.
namespace CsvExchange {

enum class Table { Songs, Musicians, Firms };

// "songs", "musicians", "firms" as the tool names them.
std::optional<Table> tableByName(const QString& name);
// "Songs", "Musiker", "Firmen mit Ansprechpartnern".
QString tableTitle(Table table);
// A file name to suggest: "Songs.csv", "Musiker.csv", "Firmen.csv".
QString suggestedFileName(Table table);
// The column headers in file order.
QStringList headers(Table table);

// The whole table as CSV. Throws CDaoException.
QByteArray exportTable(CDatabase& db, Table table);

struct Refusal {
    int row; // as the spreadsheet numbers it; the header is row 1
    QString reason;
};

// What an import would write, ready to be written.
struct Preview {
    Table table = Table::Songs;
    QString encoding;
    QChar separator;
    // Set when nothing of the file can be imported (unreadable, no header, a required column
    // missing); the counts are then 0.
    QString failure;
    QStringList unknownColumns;
    int rows = 0;     // data rows read
    int created = 0;  // songs, musicians or firms to add
    int matching = 0; // ... that match an existing one and will be updated
    int contactsCreated = 0;
    int contactsMatching = 0;
    // Instruments the musicians play that the instrument list lacks; the import adds them.
    QStringList newInstruments;
    std::vector<Refusal> refused;

    // One accepted row: the values for the columns the file holds, and what it matches.
    struct Entry {
        int row = 0;
        std::vector<std::pair<const char*, QVariant>> values; // an invalid QVariant stores null
        std::int32_t existing = -1;                           // key of the matching stored record
        int sameAs = -1; // index of an earlier entry that names the same record
        int firmKind = -1;
        bool hasContact = false;
        std::vector<std::pair<const char*, QVariant>> contact;
        std::int32_t existingContact = -1;
        int contactSameAs = -1;
    };
    std::vector<Entry> entries;

    bool hasWork() const { return failure.isEmpty() && !entries.empty(); }
};

// Reads a CSV file's bytes against the database. Throws CDaoException.
Preview preview(CDatabase& db, Table table, const QByteArray& data);

// The preview as German lines for the user.
QStringList describe(const Preview& preview);

struct Result {
    int created = 0;
    int updated = 0;
    int contactsCreated = 0;
    int contactsUpdated = 0;
    int instrumentsCreated = 0;
};

// Writes the preview's entries in one transaction: all or, on a database error, nothing.
// Throws CDaoException.
Result importPreview(CDatabase& db, const Preview& preview);

// The German summary of a finished import.
QString describe(Table table, const Result& result);

} // namespace CsvExchange
