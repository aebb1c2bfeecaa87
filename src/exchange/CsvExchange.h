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
// a firm (a firm without contacts fills one row alone). The first column "Nr." holds the
// record's key, and a firm's rows hold their contact person's key in "AP-Nr.", so that an
// edited file updates the records it came from.
//
// An import reads the whole file first and writes nothing: the preview classifies every row as
// new, changed (naming the changed columns) or unchanged, and lists the refused rows with their
// reasons. Only importPreview() then writes, all in one transaction; the dry run and the import
// share this one path. A row with a "Nr." updates that record; a row without one is new or
// matches a record by its names (title and performer; name, first name and birth date; kind,
// name and town of a firm). Columns the file lacks stay as they are. Rows that name the same
// record must agree, or the file is refused.
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

// How many records an import adds, changes and leaves as they are, and how many rows it refuses.
struct Counts {
    int created = 0;
    int changed = 0;
    int unchanged = 0;
    int contactsCreated = 0;
    int contactsChanged = 0;
    int contactsUnchanged = 0;
    int refused = 0; // rows
    int instrumentsCreated = 0;
};

inline bool operator==(const Counts& a, const Counts& b) {
    return a.created == b.created && a.changed == b.changed && a.unchanged == b.unchanged &&
           a.contactsCreated == b.contactsCreated && a.contactsChanged == b.contactsChanged &&
           a.contactsUnchanged == b.contactsUnchanged && a.refused == b.refused &&
           a.instrumentsCreated == b.instrumentsCreated;
}

// What an import would write, ready to be written.
struct Preview {
    Table table = Table::Songs;
    QString encoding;
    QChar separator;
    // Set when nothing of the file can be imported (unreadable, not text, malformed, no header,
    // a required column missing, rows of one record that disagree); the counts are then 0.
    QString failure;
    QStringList unknownColumns;
    int rows = 0; // data rows read
    Counts counts;
    // Instruments the musicians play that the instrument list lacks; the import adds them.
    QStringList newInstruments;
    std::vector<Refusal> refused;
    // Per changed row what changes, e.g. "Zeile 5: geändert: Geb.-Datum".
    QStringList changes;
    // Rows that repeat an earlier row exactly; they are read once.
    QStringList repeated;

    enum class Action { None, Create, Update };

    // One accepted row: the values for the columns the file holds, and what it does.
    struct Entry {
        int row = 0;
        std::vector<std::pair<const char*, QVariant>> values; // an invalid QVariant stores null
        Action action = Action::None;
        std::int32_t existing = -1; // key of the record to update
        int sameAs = -1;            // index of an earlier entry that names the same record
        int firmKind = -1;
        bool hasContact = false;
        std::vector<std::pair<const char*, QVariant>> contact;
        Action contactAction = Action::None;
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

using Result = Counts;

// Writes the preview's entries in one transaction: all or, on a database error, nothing. The
// result counts what was written, which is what the preview counted. Throws CDaoException.
Result importPreview(CDatabase& db, const Preview& preview);

// The German summary of a finished import.
QString describe(Table table, const Result& result);

} // namespace CsvExchange
