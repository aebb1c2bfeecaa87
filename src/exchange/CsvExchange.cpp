#include "CsvExchange.h"

#include "CsvFile.h"
#include "core/FieldRules.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "data/Schema.h"
#include "resources/Strings.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include <array>
#include <functional>
#include <map>

namespace CsvExchange {

namespace {

// How a column's text becomes a stored value.
enum class Kind { Text, Tempo, Amount, Date, Salutation, Instrument, PotpourriMark };

struct Column {
    const char* header;
    const char* column;
    Kind kind;
};

// Texts are refused beyond what the database stores. The forms take fewer characters in some
// fields, but stored data (the example data too) already holds longer ones, and an export must
// import again.
constexpr int kMaxText = Schema::kMaxTextLength;
// The instrument list's abbreviations are this long at most.
constexpr int kShortNameLength = 10;

const Column kSongColumns[] = {
    {"Titel", "Titel", Kind::Text},           {"Interpret", "Interpret", Kind::Text},
    {"Tonart", "Tonart", Kind::Text},         {"Tempo", "Tempo", Kind::Tempo},
    {"Bemerkung", "Bemerkungen", Kind::Text}, {"GEMA-Werk-Nr.", "GemaWerkNr", Kind::Text},
    {"Komponist", "Komponist", Kind::Text},   {"P/F", "pf", Kind::PotpourriMark},
    {"Bearbeiter", "Bearbeiter", Kind::Text}, {"Verleger", "Verleger", Kind::Text},
};

const Column kMusicianColumns[] = {
    {"Anrede", "MAnrede", Kind::Salutation},
    {"Name", "MName", Kind::Text},
    {"Vorname", "MVorname", Kind::Text},
    {"Künstlername", "MKName", Kind::Text},
    {"Geb.-Datum", "MGeb", Kind::Date},
    {"Strasse", "MStrasse", Kind::Text},
    {"PLZ", "MPLZ", Kind::Text},
    {"Ort", "MOrt", Kind::Text},
    {"Mindestgage", "MMinGage", Kind::Amount},
    {"Tel.", "MTel", Kind::Text},
    {"Handy", "MTelm", Kind::Text},
    {"Fax", "MFax", Kind::Text},
    {"EMail", "Memail", Kind::Text},
    {"Homepage", "MHomepage", Kind::Text},
    {"1. Instrument", "MInstID1", Kind::Instrument},
    {"2. Instrument", "MInstID2", Kind::Instrument},
    {"3. Instrument", "MInstID3", Kind::Instrument},
    {"4. Instrument", "MInstID4", Kind::Instrument},
    {"5. Instrument", "MInstID5", Kind::Instrument},
    {"6. Instrument", "MInstID6", Kind::Instrument},
    {"Steuer-Nr.", "MSteuerNr", Kind::Text},
    {"Finanzamt", "MFinanzamt", Kind::Text},
    {"Kreditinstitut", "MBank", Kind::Text},
    {"Konto.-Nr.", "MKonto", Kind::Text},
    {"BLZ", "MBLZ", Kind::Text},
    {"Bemerkungen", "Mbemerkungen", Kind::Text},
    {"Foto", "MFotopfad", Kind::Text},
};

// The firm's kind and mode come first; they are read apart from these columns.
const char* const kKindHeader = "Art";
const char* const kModeHeader = "Gewerbe/Privat";

const Column kFirmColumns[] = {
    {"Firma", "Firma", Kind::Text},
    {"Anrede", "Anrede", Kind::Salutation},
    {"Name", "Name", Kind::Text},
    {"Vorname", "Vorname", Kind::Text},
    {"Geb.-Datum", "GebDate", Kind::Date},
    {"Strasse", "Strasse", Kind::Text},
    {"PLZ", "PLZ", Kind::Text},
    {"Ort", "Ort", Kind::Text},
    {"Telefon", "Tel", Kind::Text},
    {"Fax", "Fax", Kind::Text},
    {"Handy", "Telm", Kind::Text},
    {"EMail", "Email", Kind::Text},
    {"Homepage", "Homepage", Kind::Text},
    {"Steuer-Nr.", "SteuerNr", Kind::Text},
    {"Finanzamt", "Finanzamt", Kind::Text},
    {"Kreditinstitut", "Bank", Kind::Text},
    {"Konto.-Nr.", "Konto", Kind::Text},
    {"BLZ", "BLZ", Kind::Text},
    {"Bemerkungen", "Bemerkungen", Kind::Text},
};

const Column kContactColumns[] = {
    {"Ansprechpartner Anrede", "APAnrede", Kind::Salutation},
    {"Ansprechpartner Name", "APName", Kind::Text},
    {"Ansprechpartner Vorname", "APVorname", Kind::Text},
    {"Ansprechpartner Geb.-Datum", "APGebDate", Kind::Date},
    {"Ansprechpartner Funktion / Position", "APFunktion", Kind::Text},
    {"Ansprechpartner Tel.", "APTel", Kind::Text},
    {"Ansprechpartner Fax", "APFax", Kind::Text},
    {"Ansprechpartner Handy", "APTelm", Kind::Text},
    {"Ansprechpartner EMail", "APEmail", Kind::Text},
};

// The record's key, and on firm rows the contact person's key.
const char* const kKeyHeader = "Nr.";
const char* const kContactKeyHeader = "AP-Nr.";

// The firm kinds by their code (column Art), as the firm form titles them.
const std::array<const char*, 6> kFirmKinds = {"Veranstalter", "Technik",      "Backline",
                                               "PA Verleiher", "LA Verleiher", "Kfz Verleiher"};
// Also read: the names the birthday list gives the same kinds.
const std::array<const char*, 6> kFirmKindAliases = {
    "Veranstalter", "Techniker", "Backliner", "PA-Verleiher", "LA-Verleiher", "Kfz-Verleiher"};

template <size_t N> std::vector<const Column*> list(const Column (&columns)[N]) {
    std::vector<const Column*> result;
    for (const Column& column : columns)
        result.push_back(&column);
    return result;
}

std::vector<const Column*> mainColumns(Table table) {
    switch (table) {
    case Table::Songs:
        return list(kSongColumns);
    case Table::Musicians:
        return list(kMusicianColumns);
    case Table::Firms:
        return list(kFirmColumns);
    }
    return {};
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString quoted(const char* header) {
    return QStringLiteral("\"%1\"").arg(text(header));
}

QString salutation(int index) {
    const QStringList names = text(Strings::kSalutations).split(QLatin1Char('\n'));
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

// Instrument names by key, and keys by folded name or abbreviation (the ones not deleted win).
struct Instruments {
    QHash<std::int32_t, QString> names;
    QHash<QString, std::int32_t> keys;

    explicit Instruments(CDatabase& db) {
        // Yes is stored as -1: the instruments in use come first. Names before abbreviations.
        CSetInstrumente set(db);
        QList<std::pair<QString, std::int32_t>> abbreviations;
        set.open(QString(), QStringLiteral("[fDeleted] DESC, [InstrumentID]"));
        for (; !set.atEnd(); set.moveNext()) {
            const std::int32_t key = set.getLong("InstrumentID");
            names.insert(key, set.getText("Instrument"));
            offer(set.getText("Instrument"), key);
            abbreviations.append({set.getText("Kurz"), key});
        }
        for (const auto& [abbreviation, key] : std::as_const(abbreviations))
            offer(abbreviation, key);
    }

    void offer(const QString& label, std::int32_t key) {
        const QString folded = label.trimmed().toCaseFolded();
        if (!folded.isEmpty() && !keys.contains(folded))
            keys.insert(folded, key);
    }
};

// --- export -----------------------------------------------------------------------------------

QString exportValue(const CRecordset& row, const Column& column, const Instruments* instruments) {
    if (row.isNull(column.column))
        return QString();
    switch (column.kind) {
    case Kind::Text:
        return Csv::guardFormula(row.getText(column.column));
    case Kind::PotpourriMark:
        return row.getText(column.column);
    case Kind::Tempo: {
        const int tempo = row.getInt(column.column);
        return tempo >= 1 ? QString::number(tempo) : QString();
    }
    case Kind::Amount:
        return FieldRules::formatDecimal(double(row.getSingle(column.column)));
    case Kind::Date:
        return FieldRules::formatDate(row.getDate(column.column).date());
    case Kind::Salutation:
        return salutation(row.getInt(column.column));
    case Kind::Instrument:
        return instruments ? Csv::guardFormula(instruments->names.value(row.getLong(column.column)))
                           : QString();
    }
    return QString();
}

QStringList exportRow(const CRecordset& row, const std::vector<const Column*>& columns,
                      const Instruments* instruments = nullptr) {
    QStringList fields;
    for (const Column* column : columns)
        fields.append(exportValue(row, *column, instruments));
    return fields;
}

// --- import: reading one row --------------------------------------------------------------

using Values = std::vector<std::pair<const char*, QVariant>>;

// Texts longer than the database stores are refused.
bool fitsText(const QString& value, const char* header, QStringList& reasons) {
    if (value.size() <= kMaxText)
        return true;
    reasons.append(QStringLiteral("%1 ist zu lang (%2 Zeichen, höchstens %3).")
                       .arg(quoted(header))
                       .arg(value.size())
                       .arg(kMaxText));
    return false;
}

// A cell's text as the column's value; a refusal is added to `reasons`.
QVariant importValue(const QString& cell, const Column& column, const Instruments* instruments,
                     QStringList& reasons) {
    const QString trimmed = column.kind == Kind::Text ? QString() : cell.trimmed();
    // Named only in a refusal, so it is built only then.
    const auto header = [&column] { return quoted(column.header); };
    switch (column.kind) {
    case Kind::Text: {
        const QString value = Csv::unguardFormula(cell);
        if (!fitsText(value, column.header, reasons))
            return {};
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case Kind::Tempo: {
        if (trimmed.isEmpty())
            return {};
        bool ok = false;
        const int tempo = trimmed.toInt(&ok);
        if (!ok || tempo < 0 || tempo > 32767) {
            reasons.append(
                QStringLiteral("%1 ist keine ganze Zahl zwischen 0 und 32767.").arg(header()));
            return {};
        }
        // 0 is no tempo, as in the song form.
        return tempo >= 1 ? QVariant(tempo) : QVariant();
    }
    case Kind::Amount: {
        if (trimmed.isEmpty())
            return {};
        // Whole numbers with at most one decimal separator: "1.200,50" would otherwise be read
        // as 1.2 without anyone noticing.
        static const QRegularExpression number(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
        if (!number.match(trimmed).hasMatch()) {
            reasons.append(QStringLiteral("%1 ist keine Zahl.").arg(header()));
            return {};
        }
        QString normal = trimmed;
        return QVariant(normal.replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    }
    case Kind::Date: {
        if (trimmed.isEmpty())
            return {};
        bool ok = false;
        std::optional<QDate> date =
            FieldRules::parseDate(trimmed, &ok, FieldRules::DateKind::Birth);
        if (!ok || !date) {
            const QDate iso = QDate::fromString(trimmed, Qt::ISODate);
            if (iso.isValid())
                date = iso;
        }
        if (!date || !date->isValid()) {
            reasons.append(QStringLiteral("%1 ist kein Datum.").arg(header()));
            return {};
        }
        return QVariant(*date);
    }
    case Kind::Salutation: {
        if (trimmed.isEmpty())
            return {};
        for (int index = 0; index < 2; ++index) {
            if (trimmed.compare(salutation(index), Qt::CaseInsensitive) == 0)
                return QVariant(index);
        }
        reasons.append(QStringLiteral("%1 ist weder \"%2\" noch \"%3\".")
                           .arg(header(), salutation(0), salutation(1)));
        return {};
    }
    case Kind::Instrument: {
        const QString name = Csv::unguardFormula(trimmed);
        if (name.isEmpty() || !fitsText(name, column.header, reasons))
            return {};
        // An instrument not yet in the list stays a name; the import adds it to the list.
        const auto found = instruments->keys.constFind(name.toCaseFolded());
        return found == instruments->keys.cend() ? QVariant(name) : QVariant(int(*found));
    }
    case Kind::PotpourriMark: {
        const QString mark = trimmed.toUpper();
        if (mark.isEmpty())
            return {};
        if (mark == QLatin1String("P") || mark == QLatin1String("F"))
            return QVariant(mark);
        reasons.append(QStringLiteral("%1 ist weder leer noch \"P\" oder \"F\".").arg(header()));
        return {};
    }
    }
    return {};
}

// Writes one value into the row being added or edited.
void store(CRecordset& row, const char* column, const QVariant& value) {
    if (!value.isValid()) {
        row.setNull(column);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        row.setText(column, value.toString());
        break;
    case QMetaType::QDate:
        row.setDate(column, QDateTime(value.toDate(), QTime(0, 0), Qt::UTC));
        break;
    case QMetaType::Double:
        row.setSingle(column, value.toDouble());
        break;
    case QMetaType::Bool:
        row.setBool(column, value.toBool());
        break;
    default:
        row.setLong(column, value.toLongLong());
        break;
    }
}

// A stored column in the shape importValue() gives it, so that the two compare.
QVariant storedValue(const CRecordset& row, const Column& column) {
    if (row.isNull(column.column))
        return {};
    switch (column.kind) {
    case Kind::Text:
    case Kind::PotpourriMark: {
        const QString value = row.getText(column.column);
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case Kind::Tempo: {
        const int tempo = row.getInt(column.column);
        return tempo >= 1 ? QVariant(tempo) : QVariant();
    }
    case Kind::Amount:
        return QVariant(double(row.getSingle(column.column)));
    case Kind::Date:
        return QVariant(row.getDate(column.column).date());
    case Kind::Salutation:
    case Kind::Instrument:
        return QVariant(int(row.getLong(column.column)));
    }
    return {};
}

// Amounts are stored in single precision: a file's 0.1 is the stored 0.1.
bool sameValue(const QVariant& a, const QVariant& b) {
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double)
        return float(a.toDouble()) == float(b.toDouble());
    return a == b;
}

QVariant valueOf(const Values& values, const char* column) {
    for (const auto& [name, value] : values) {
        if (qstrcmp(name, column) == 0)
            return value;
    }
    return {};
}

// Texts compare without regard to case or outer blanks.
QString fold(const QVariant& value) {
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value.toString().trimmed().toCaseFolded();
}

QString joinKey(std::initializer_list<QString> parts) {
    return QStringList(parts).join(QChar(0x1F));
}

QString storedFold(const CRecordset& row, const char* column) {
    if (row.isNull(column))
        return QString();
    if (row.source().column(row.columnIndex(column)).type == JetType::DateTime)
        return row.getDate(column).date().toString(Qt::ISODate);
    return row.getText(column).trimmed().toCaseFolded();
}

// What identifies a record, from an import's values and from a stored row.
QString songKey(const Values& v) {
    return joinKey({fold(valueOf(v, "Titel")), fold(valueOf(v, "Interpret"))});
}
QString songKey(const CRecordset& row) {
    return joinKey({storedFold(row, "Titel"), storedFold(row, "Interpret")});
}
QString musicianKey(const Values& v) {
    return joinKey(
        {fold(valueOf(v, "MName")), fold(valueOf(v, "MVorname")), fold(valueOf(v, "MGeb"))});
}
QString musicianKey(const CRecordset& row) {
    return joinKey(
        {storedFold(row, "MName"), storedFold(row, "MVorname"), storedFold(row, "MGeb")});
}
QString firmKey(int kind, bool privat, const QString& firma, const QString& name,
                const QString& vorname, const QString& ort) {
    const QString who = privat ? joinKey({name, vorname}) : firma;
    return joinKey(
        {QString::number(kind), privat ? QStringLiteral("p") : QStringLiteral("g"), who, ort});
}
QString firmKey(int kind, const Values& v) {
    const bool privat = valueOf(v, "fPrivat").toBool();
    return firmKey(kind, privat, fold(valueOf(v, "Firma")), fold(valueOf(v, "Name")),
                   fold(valueOf(v, "Vorname")), fold(valueOf(v, "Ort")));
}
QString firmKey(const CRecordset& row) {
    return firmKey(row.getInt("Art"), row.getBool("fPrivat"), storedFold(row, "Firma"),
                   storedFold(row, "Name"), storedFold(row, "Vorname"), storedFold(row, "Ort"));
}

// A stored record as the import compares it.
struct StoredRecord {
    bool deleted = false;
    int kind = -1;          // firms and contacts
    std::int32_t firm = -1; // contacts: their firm
    Values values;
};

// The stored records of one table by key, and the live ones by identity (the lowest key wins).
struct StoredTable {
    QHash<std::int32_t, StoredRecord> byKey;
    QHash<QString, std::int32_t> byIdentity;
};

StoredTable loadStored(CRecordset& set, const char* keyColumn,
                       const std::vector<const Column*>& columns,
                       const std::function<QString(const CRecordset&)>& identity) {
    StoredTable stored;
    const bool softDeleted = set.source().indexOf("fDeleted") >= 0;
    const bool firm = set.source().indexOf("fPrivat") >= 0;
    const bool contact = set.source().indexOf("APID") >= 0;
    set.open(QString(), QStringLiteral("[%1]").arg(text(keyColumn)));
    for (; !set.atEnd(); set.moveNext()) {
        StoredRecord record;
        record.deleted = softDeleted && set.getBool("fDeleted");
        if (firm || contact)
            record.kind = set.getInt("Art");
        if (contact)
            record.firm = set.getLong("ExtID");
        record.values.reserve(columns.size() + 1);
        for (const Column* column : columns)
            record.values.emplace_back(column->column, storedValue(set, *column));
        if (firm)
            record.values.emplace_back("fPrivat", QVariant(set.getBool("fPrivat")));
        const std::int32_t key = set.getLong(keyColumn);
        if (!record.deleted) {
            const QString id = identity(set);
            if (!stored.byIdentity.contains(id))
                stored.byIdentity.insert(id, key);
        }
        stored.byKey.insert(key, std::move(record));
    }
    return stored;
}

// Where a header's column goes: a main column, a contact column, the firm's kind or mode.
struct HeaderMap {
    std::vector<std::pair<int, const Column*>> main;
    std::vector<std::pair<int, const Column*>> contact;
    int key = -1;
    int contactKey = -1;
    int kind = -1;
    int mode = -1;

    bool hasMain(const char* column) const {
        for (const auto& entry : main) {
            if (qstrcmp(entry.second->column, column) == 0)
                return true;
        }
        return false;
    }
};

bool sameHeader(const QString& cell, const char* header) {
    return cell.trimmed().compare(text(header), Qt::CaseInsensitive) == 0;
}

HeaderMap mapHeader(Table table, const QStringList& header, QStringList& unknown) {
    HeaderMap map;
    const std::vector<const Column*> columns = mainColumns(table);
    const std::vector<const Column*> contacts =
        table == Table::Firms ? list(kContactColumns) : std::vector<const Column*>();
    QStringList seen;
    for (int index = 0; index < header.size(); ++index) {
        const QString cell = header.at(index).trimmed();
        if (seen.contains(cell, Qt::CaseInsensitive)) {
            unknown.append(QStringLiteral("%1 (doppelt)").arg(cell));
            continue;
        }
        seen.append(cell);
        bool known = false;
        if (sameHeader(cell, kKeyHeader)) {
            map.key = index;
            known = true;
        } else if (table == Table::Firms && sameHeader(cell, kContactKeyHeader)) {
            map.contactKey = index;
            known = true;
        } else if (table == Table::Firms && sameHeader(cell, kKindHeader)) {
            map.kind = index;
            known = true;
        } else if (table == Table::Firms && sameHeader(cell, kModeHeader)) {
            map.mode = index;
            known = true;
        }
        for (const Column* column : columns) {
            if (!known && sameHeader(cell, column->header)) {
                map.main.emplace_back(index, column);
                known = true;
            }
        }
        for (const Column* column : contacts) {
            if (!known && sameHeader(cell, column->header)) {
                map.contact.emplace_back(index, column);
                known = true;
            }
        }
        if (!known)
            unknown.append(cell.isEmpty() ? QStringLiteral("Spalte %1 ohne Namen").arg(index + 1)
                                          : cell);
    }
    return map;
}

QString cellAt(const QStringList& fields, int index) {
    return index >= 0 && index < fields.size() ? fields.at(index) : QString();
}

Values readValues(const QStringList& fields, const std::vector<std::pair<int, const Column*>>& map,
                  const Instruments* instruments, QStringList& reasons) {
    Values values;
    values.reserve(map.size() + 3); // room for a firm's mode and names
    for (const auto& [index, column] : map)
        values.emplace_back(column->column,
                            importValue(cellAt(fields, index), *column, instruments, reasons));
    return values;
}

int firmKindOf(const QString& cell) {
    const QString trimmed = cell.trimmed();
    for (size_t kind = 0; kind < kFirmKinds.size(); ++kind) {
        if (trimmed.compare(text(kFirmKinds[kind]), Qt::CaseInsensitive) == 0 ||
            trimmed.compare(text(kFirmKindAliases[kind]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(kind);
    }
    return -1;
}

void setValue(Values& values, const char* column, const QVariant& value) {
    for (auto& entry : values) {
        if (qstrcmp(entry.first, column) == 0) {
            entry.second = value;
            return;
        }
    }
    values.emplace_back(column, value);
}

bool isBlank(const QVariant& value) {
    return !value.isValid() || value.toString().trimmed().isEmpty();
}

// A required text: refused as missing unless it was already refused for its content.
void requireText(const Values& values, const char* column, const char* header,
                 QStringList& reasons) {
    if (!isBlank(valueOf(values, column)))
        return;
    const QString name = quoted(header);
    for (const QString& reason : std::as_const(reasons)) {
        if (reason.contains(name))
            return;
    }
    reasons.append(QStringLiteral("%1 fehlt.").arg(name));
}

// Reads the firm part of a row: kind, mode and the firm's texts. A business firm stores no
// personal name, a private one no firm name, as the firm form keeps them.
void readFirm(const QStringList& fields, const HeaderMap& map, Preview::Entry& entry,
              QStringList& reasons) {
    entry.firmKind = firmKindOf(cellAt(fields, map.kind));
    if (entry.firmKind < 0) {
        const QStringList kinds = [] {
            QStringList names;
            for (const char* kind : kFirmKinds)
                names.append(text(kind));
            return names;
        }();
        reasons.append(QStringLiteral("%1 ist keine der Arten %2.")
                           .arg(quoted(kKindHeader), kinds.join(QStringLiteral(", "))));
    }
    const QString mode = cellAt(fields, map.mode).trimmed();
    bool privat = false;
    if (mode.compare(text(Strings::kPrivate), Qt::CaseInsensitive) == 0) {
        privat = true;
    } else if (mode.isEmpty()) {
        // Without a mode a row with a name but no firm name is a private person.
        privat = isBlank(valueOf(entry.values, "Firma")) && !isBlank(valueOf(entry.values, "Name"));
    } else if (mode.compare(text(Strings::kBusiness), Qt::CaseInsensitive) != 0) {
        reasons.append(
            QStringLiteral("%1 ist weder \"%2\" noch \"%3\".")
                .arg(quoted(kModeHeader), text(Strings::kBusiness), text(Strings::kPrivate)));
    }
    setValue(entry.values, "fPrivat", privat);
    if (privat) {
        setValue(entry.values, "Firma", QVariant());
        requireText(entry.values, "Name", "Name", reasons);
    } else {
        setValue(entry.values, "Name", QVariant());
        setValue(entry.values, "Vorname", QVariant());
        requireText(entry.values, "Firma", "Firma", reasons);
    }
}

} // namespace

// --- the tables -------------------------------------------------------------------------------

std::optional<Table> tableByName(const QString& name) {
    if (name == QLatin1String("songs"))
        return Table::Songs;
    if (name == QLatin1String("musicians"))
        return Table::Musicians;
    if (name == QLatin1String("firms"))
        return Table::Firms;
    return std::nullopt;
}

QString tableTitle(Table table) {
    switch (table) {
    case Table::Songs:
        return QStringLiteral("Songs");
    case Table::Musicians:
        return QStringLiteral("Musiker");
    case Table::Firms:
        return QStringLiteral("Firmen mit Ansprechpartnern");
    }
    return QString();
}

QString suggestedFileName(Table table) {
    switch (table) {
    case Table::Songs:
        return QStringLiteral("Songs.csv");
    case Table::Musicians:
        return QStringLiteral("Musiker.csv");
    case Table::Firms:
        return QStringLiteral("Firmen.csv");
    }
    return QString();
}

QStringList headers(Table table) {
    QStringList result{text(kKeyHeader)};
    if (table == Table::Firms)
        result << text(kKindHeader) << text(kModeHeader);
    for (const Column* column : mainColumns(table))
        result.append(text(column->header));
    if (table == Table::Firms) {
        result.append(text(kContactKeyHeader));
        for (const Column& column : kContactColumns)
            result.append(text(column.header));
    }
    return result;
}

QByteArray exportTable(CDatabase& db, Table table) {
    std::vector<QStringList> records{headers(table)};
    const std::vector<const Column*> columns = mainColumns(table);
    switch (table) {
    case Table::Songs: {
        CSetStammSongliste songs(db);
        songs.open(QString(), QStringLiteral("[Titel], [Interpret], [SongID]"));
        for (; !songs.atEnd(); songs.moveNext())
            records.push_back(QStringList{QString::number(songs.getLong("SongID"))} +
                              exportRow(songs, columns));
        break;
    }
    case Table::Musicians: {
        const Instruments instruments(db);
        CSetStammMusiker musicians(db);
        musicians.open(QStringLiteral("[fDeleted]=False"),
                       QStringLiteral("[MName], [MVorname], [MusikerID]"));
        for (; !musicians.atEnd(); musicians.moveNext())
            records.push_back(QStringList{QString::number(musicians.getLong("MusikerID"))} +
                              exportRow(musicians, columns, &instruments));
        break;
    }
    case Table::Firms: {
        const std::vector<const Column*> contactColumns = list(kContactColumns);
        CSetStammExtFirma firms(db);
        firms.open(QStringLiteral("[fDeleted]=False"),
                   QStringLiteral("[Art], [fPrivat] DESC, [Firma], [Name], [Vorname], [ExtID]"));
        CSetStammExtAnsprech contacts(db);
        for (; !firms.atEnd(); firms.moveNext()) {
            const int kind = firms.getInt("Art");
            QStringList firm{
                QString::number(firms.getLong("ExtID")),
                kind >= 0 && kind < int(kFirmKinds.size()) ? text(kFirmKinds[kind])
                                                           : QString::number(kind),
                text(firms.getBool("fPrivat") ? Strings::kPrivate : Strings::kBusiness)};
            firm += exportRow(firms, columns);
            contacts.open(
                QStringLiteral("[ExtID]=%1 AND [fDeleted]=False").arg(firms.getLong("ExtID")),
                QStringLiteral("[APName], [APVorname], [APID]"));
            if (contacts.atEnd()) {
                QStringList row = firm;
                for (size_t i = 0; i <= contactColumns.size(); ++i)
                    row.append(QString());
                records.push_back(row);
            }
            for (; !contacts.atEnd(); contacts.moveNext())
                records.push_back(firm + QStringList{QString::number(contacts.getLong("APID"))} +
                                  exportRow(contacts, contactColumns));
        }
        break;
    }
    }
    return Csv::write(records);
}

// --- the preview ------------------------------------------------------------------------------

namespace {

QString amount(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(text(count == 1 ? one : many));
}

QString recordAmount(Table table, int count) {
    switch (table) {
    case Table::Songs:
        return amount(count, "Song", "Songs");
    case Table::Musicians:
        return amount(count, "Musiker", "Musiker");
    case Table::Firms:
        return amount(count, "Firma", "Firmen");
    }
    return QString();
}

// "neu: 1 Song", "geändert: 2 Songs", ... as the preview and the summary count.
QStringList countParts(Table table, const Counts& counts) {
    const auto part = [table](const char* label, int records, int contacts) {
        QString line = QStringLiteral("%1: %2").arg(text(label), recordAmount(table, records));
        if (table == Table::Firms)
            line += QStringLiteral(" und %1").arg(
                amount(contacts, "Ansprechpartner", "Ansprechpartner"));
        return line;
    };
    QStringList parts{
        part("neu", counts.created, counts.contactsCreated),
        part("geändert", counts.changed, counts.contactsChanged),
        part("unverändert", counts.unchanged, counts.contactsUnchanged),
        QStringLiteral("abgewiesen: %1").arg(amount(counts.refused, "Zeile", "Zeilen"))};
    if (counts.instrumentsCreated > 0)
        parts.append(QStringLiteral("neue Instrumente: %1").arg(counts.instrumentsCreated));
    return parts;
}

// The header of a value's column, for the lists of changes and conflicts.
QString headerOf(const char* column) {
    if (qstrcmp(column, "fPrivat") == 0)
        return text(kModeHeader);
    for (Table table : {Table::Songs, Table::Musicians, Table::Firms}) {
        for (const Column* candidate : mainColumns(table)) {
            if (qstrcmp(candidate->column, column) == 0)
                return text(candidate->header);
        }
    }
    for (const Column& candidate : kContactColumns) {
        if (qstrcmp(candidate.column, column) == 0)
            return text(candidate.header);
    }
    return text(column);
}

// The headers of the columns whose value the file changes.
QStringList changedColumns(const Values& stored, const Values& file) {
    QStringList changed;
    for (const auto& [column, value] : file) {
        if (!sameValue(valueOf(stored, column), value))
            changed.append(headerOf(column));
    }
    return changed;
}

// The first column in which two rows naming the same record differ, or null.
const char* firstDifference(const Values& a, const Values& b) {
    for (const auto& [column, value] : a) {
        if (!sameValue(value, valueOf(b, column)))
            return column;
    }
    return nullptr;
}

// A key cell: empty, or a positive whole number.
std::optional<std::int32_t> readKey(const QString& cell, const char* header, bool& present,
                                    QStringList& reasons) {
    const QString trimmed = cell.trimmed();
    present = !trimmed.isEmpty();
    if (!present)
        return std::nullopt;
    bool ok = false;
    const int key = trimmed.toInt(&ok);
    if (ok && key > 0)
        return key;
    reasons.append(QStringLiteral("%1 ist keine gültige Nummer.").arg(quoted(header)));
    return std::nullopt;
}

const char* recordNoun(Table table) {
    switch (table) {
    case Table::Songs:
        return "keinen Song";
    case Table::Musicians:
        return "keinen Musiker";
    case Table::Firms:
        return "keine Firma";
    }
    return "";
}

const char* sameRecordNoun(Table table) {
    switch (table) {
    case Table::Songs:
        return "denselben Song";
    case Table::Musicians:
        return "denselben Musiker";
    case Table::Firms:
        return "dieselbe Firma";
    }
    return "";
}

QString conflict(int firstRow, int row, const char* what, const QString& column) {
    return QStringLiteral("Die Datei wird nicht eingelesen: Die Zeilen %1 und %2 nennen %3, aber "
                          "mit verschiedenen Werten in \"%4\".")
        .arg(firstRow)
        .arg(row)
        .arg(text(what), column);
}

} // namespace

Preview preview(CDatabase& db, Table table, const QByteArray& data) {
    Preview result;
    result.table = table;
    Csv::Table file = Csv::read(data);
    result.encoding = file.encoding;
    result.separator = file.separator;
    if (!file.failure.isEmpty()) {
        result.failure = file.failure;
        return result;
    }
    if (file.records.empty()) {
        result.failure = QStringLiteral("Die Datei enthält keine Zeilen.");
        return result;
    }
    const HeaderMap map = mapHeader(table, file.records.front().fields, result.unknownColumns);
    // The columns without which no row can be placed.
    QStringList missing;
    if (table == Table::Songs && !map.hasMain("Titel"))
        missing.append(quoted("Titel"));
    if (table == Table::Musicians && !map.hasMain("MName"))
        missing.append(quoted("Name"));
    if (table == Table::Firms) {
        if (map.kind < 0)
            missing.append(quoted(kKindHeader));
        if (!map.hasMain("Firma") && !map.hasMain("Name"))
            missing.append(QStringLiteral("\"Firma\" oder \"Name\""));
    }
    if (!missing.isEmpty()) {
        result.failure = QStringLiteral("Der Datei fehlt die Spalte %1.")
                             .arg(missing.join(QStringLiteral(" und ")));
        return result;
    }

    std::optional<Instruments> instruments;
    if (table == Table::Musicians)
        instruments.emplace(db);
    const std::vector<const Column*> columns = mainColumns(table);
    StoredTable stored;
    StoredTable storedContacts;
    if (table == Table::Songs) {
        CSetStammSongliste songs(db);
        stored = loadStored(songs, "SongID", columns,
                            [](const CRecordset& row) { return songKey(row); });
    } else if (table == Table::Musicians) {
        CSetStammMusiker musicians(db);
        stored = loadStored(musicians, "MusikerID", columns,
                            [](const CRecordset& row) { return musicianKey(row); });
    } else {
        CSetStammExtFirma firms(db);
        stored =
            loadStored(firms, "ExtID", columns, [](const CRecordset& row) { return firmKey(row); });
        // Contacts by their firm's key and their names.
        CSetStammExtAnsprech contacts(db);
        storedContacts =
            loadStored(contacts, "APID", list(kContactColumns), [](const CRecordset& row) {
                return joinKey({QString::number(row.getLong("ExtID")), storedFold(row, "APName"),
                                storedFold(row, "APVorname")});
            });
    }

    // The record each accepted row names ("#key" or "@identity") -> the first entry naming it.
    QHash<QString, int> earlier;
    QHash<QString, int> earlierContact;
    earlier.reserve(qsizetype(file.records.size()));
    result.entries.reserve(file.records.size());
    for (size_t r = 1; r < file.records.size(); ++r) {
        const Csv::Record& record = file.records[r];
        ++result.rows;
        QStringList reasons;
        Preview::Entry entry;
        entry.row = record.row;
        entry.values =
            readValues(record.fields, map.main, instruments ? &*instruments : nullptr, reasons);
        bool hasKey = false;
        const std::optional<std::int32_t> key =
            readKey(cellAt(record.fields, map.key), kKeyHeader, hasKey, reasons);
        QString identity;
        bool hasContactKey = false;
        std::optional<std::int32_t> contactKey;
        if (table == Table::Songs) {
            requireText(entry.values, "Titel", "Titel", reasons);
            identity = songKey(entry.values);
        } else if (table == Table::Musicians) {
            requireText(entry.values, "MName", "Name", reasons);
            identity = musicianKey(entry.values);
        } else {
            readFirm(record.fields, map, entry, reasons);
            identity = firmKey(entry.firmKind, entry.values);
            QStringList contactReasons;
            entry.contact = readValues(record.fields, map.contact, nullptr, contactReasons);
            contactKey = readKey(cellAt(record.fields, map.contactKey), kContactKeyHeader,
                                 hasContactKey, contactReasons);
            entry.hasContact = hasContactKey;
            for (const auto& value : entry.contact)
                entry.hasContact = entry.hasContact || !isBlank(value.second);
            if (entry.hasContact)
                requireText(entry.contact, "APName", "Ansprechpartner Name", contactReasons);
            reasons += contactReasons;
        }

        // The record the row names: by its key, else by its names.
        if (key) {
            const auto found = stored.byKey.constFind(*key);
            if (found == stored.byKey.cend())
                reasons.append(QStringLiteral("Es gibt %1 mit der Nr. %2.")
                                   .arg(text(recordNoun(table)))
                                   .arg(*key));
            else if (found->deleted)
                reasons.append(
                    QStringLiteral("Der Datensatz mit der Nr. %1 ist gelöscht.").arg(*key));
            else if (table == Table::Firms && entry.firmKind >= 0 && found->kind != entry.firmKind)
                reasons.append(QStringLiteral("Die Firma mit der Nr. %1 ist von anderer %2.")
                                   .arg(*key)
                                   .arg(quoted(kKindHeader)));
            else
                entry.existing = *key;
        } else if (reasons.isEmpty() && !hasKey) {
            entry.existing = stored.byIdentity.value(identity, -1);
        }
        // A contact's key is checked against its firm once the firm is known.
        if (contactKey && (!key || entry.existing >= 0)) {
            const auto found = storedContacts.byKey.constFind(*contactKey);
            if (found == storedContacts.byKey.cend())
                reasons.append(QStringLiteral("Es gibt keinen Ansprechpartner mit der AP-Nr. %1.")
                                   .arg(*contactKey));
            else if (found->deleted)
                reasons.append(QStringLiteral("Der Ansprechpartner mit der AP-Nr. %1 ist gelöscht.")
                                   .arg(*contactKey));
            else if (found->firm != entry.existing)
                reasons.append(QStringLiteral("Der Ansprechpartner mit der AP-Nr. %1 gehört zu "
                                              "einer anderen Firma.")
                                   .arg(*contactKey));
            else
                entry.existingContact = *contactKey;
        } else if (entry.hasContact && !hasContactKey && entry.existing >= 0) {
            entry.existingContact = storedContacts.byIdentity.value(
                joinKey({QString::number(entry.existing), fold(valueOf(entry.contact, "APName")),
                         fold(valueOf(entry.contact, "APVorname"))}),
                -1);
        }
        if (!reasons.isEmpty()) {
            result.refused.push_back({record.row, reasons.join(QLatin1Char(' '))});
            continue;
        }

        const int index = static_cast<int>(result.entries.size());
        const QString target = entry.existing >= 0 ? QStringLiteral("#%1").arg(entry.existing)
                                                   : QStringLiteral("@") + identity;
        QStringList changes;
        if (const auto first = earlier.constFind(target); first != earlier.cend()) {
            // Rows naming the same record must agree; a further row adds nothing to it.
            const Preview::Entry& other = result.entries[size_t(*first)];
            const char* column = firstDifference(other.values, entry.values);
            if (!column && other.firmKind != entry.firmKind)
                column = kKindHeader;
            if (column) {
                Preview refused;
                refused.table = table;
                refused.encoding = result.encoding;
                refused.separator = result.separator;
                refused.failure =
                    conflict(other.row, entry.row, sameRecordNoun(table),
                             column == kKindHeader ? text(kKindHeader) : headerOf(column));
                return refused;
            }
            entry.sameAs = *first;
        } else {
            earlier.insert(target, index);
            if (entry.existing >= 0) {
                changes = changedColumns(stored.byKey.value(entry.existing).values, entry.values);
                entry.action = changes.isEmpty() ? Preview::Action::None : Preview::Action::Update;
                ++(changes.isEmpty() ? result.counts.unchanged : result.counts.changed);
            } else {
                entry.action = Preview::Action::Create;
                ++result.counts.created;
            }
        }
        bool newContact = false;
        if (entry.hasContact) {
            const QString contactTarget =
                entry.existingContact >= 0
                    ? QStringLiteral("#%1").arg(entry.existingContact)
                    : joinKey({target, fold(valueOf(entry.contact, "APName")),
                               fold(valueOf(entry.contact, "APVorname"))});
            if (const auto first = earlierContact.constFind(contactTarget);
                first != earlierContact.cend()) {
                const Preview::Entry& other = result.entries[size_t(*first)];
                if (const char* column = firstDifference(other.contact, entry.contact)) {
                    Preview refused;
                    refused.table = table;
                    refused.encoding = result.encoding;
                    refused.separator = result.separator;
                    refused.failure = conflict(other.row, entry.row, "denselben Ansprechpartner",
                                               headerOf(column));
                    return refused;
                }
                entry.contactSameAs = *first;
            } else {
                earlierContact.insert(contactTarget, index);
                if (entry.existingContact >= 0) {
                    const QStringList contactChanges = changedColumns(
                        storedContacts.byKey.value(entry.existingContact).values, entry.contact);
                    changes += contactChanges;
                    entry.contactAction =
                        contactChanges.isEmpty() ? Preview::Action::None : Preview::Action::Update;
                    ++(contactChanges.isEmpty() ? result.counts.contactsUnchanged
                                                : result.counts.contactsChanged);
                } else {
                    entry.contactAction = Preview::Action::Create;
                    newContact = entry.existing >= 0;
                    ++result.counts.contactsCreated;
                }
            }
        }
        // A row that adds nothing the rows before it have not said repeats one of them.
        if (entry.sameAs >= 0 && (!entry.hasContact || entry.contactSameAs >= 0)) {
            const Preview::Entry& other = result.entries[size_t(entry.sameAs)];
            if (entry.hasContact == other.hasContact &&
                (!entry.hasContact || entry.contactSameAs == entry.sameAs))
                result.repeated.append(
                    QStringLiteral("Zeile %1 (wie Zeile %2)").arg(entry.row).arg(other.row));
            continue;
        }
        if (!changes.isEmpty() || newContact) {
            QStringList parts;
            if (!changes.isEmpty())
                parts.append(
                    QStringLiteral("geändert: %1").arg(changes.join(QStringLiteral(", "))));
            if (newContact)
                parts.append(QStringLiteral("neuer Ansprechpartner"));
            result.changes.append(QStringLiteral("Zeile %1: %2")
                                      .arg(entry.row)
                                      .arg(parts.join(QStringLiteral("; "))));
        }
        for (const auto& [column, value] : entry.values) {
            if (value.typeId() == QMetaType::QString && qstrncmp(column, "MInstID", 7) == 0 &&
                !result.newInstruments.contains(value.toString(), Qt::CaseInsensitive))
                result.newInstruments.append(value.toString());
        }
        result.entries.push_back(std::move(entry));
    }
    result.counts.refused = static_cast<int>(result.refused.size());
    result.counts.instrumentsCreated = static_cast<int>(result.newInstruments.size());
    return result;
}

QStringList describe(const Preview& preview) {
    QStringList lines;
    if (!preview.failure.isEmpty()) {
        lines.append(preview.failure);
        return lines;
    }
    lines.append(QStringLiteral("Datei: %1, Trennzeichen \"%2\", %3")
                     .arg(preview.encoding, QString(preview.separator),
                          amount(preview.rows, "Datenzeile", "Datenzeilen")));
    if (preview.encoding != QLatin1String("UTF-8"))
        lines.append(QStringLiteral("Die Datei enthält kein UTF-8-Zeichen; sie wird als %1 "
                                    "gelesen.")
                         .arg(preview.encoding));
    if (!preview.unknownColumns.isEmpty())
        lines.append(QStringLiteral("Unbekannte Spalten (werden nicht eingelesen): %1")
                         .arg(preview.unknownColumns.join(QStringLiteral(", "))));
    QStringList parts = countParts(preview.table, preview.counts);
    for (QString& part : parts)
        part[0] = part[0].toUpper();
    lines.append(parts.at(0));
    lines.append(parts.at(1));
    for (const QString& change : preview.changes)
        lines.append(QStringLiteral("  ") + change);
    lines.append(parts.at(2));
    if (!preview.newInstruments.isEmpty())
        lines.append(QStringLiteral("Neue Instrumente (werden angelegt): %1")
                         .arg(preview.newInstruments.join(QStringLiteral(", "))));
    if (!preview.repeated.isEmpty())
        lines.append(QStringLiteral("Wiederholte Zeilen (werden einmal eingelesen): %1")
                         .arg(preview.repeated.join(QStringLiteral(", "))));
    lines.append(parts.at(3));
    for (const Refusal& refusal : preview.refused)
        lines.append(QStringLiteral("  Zeile %1: %2").arg(refusal.row).arg(refusal.reason));
    return lines;
}

// --- writing ------------------------------------------------------------------------------------

namespace {

// Adds a record (key -1) or edits the one with `key`; returns the written record's key. An added
// record's key is read back only when the caller needs it (`wantKey`), since that costs a second
// look-up per record.
std::int32_t writeRecord(CRecordset& set, const char* keyColumn, std::int32_t key,
                         const Values& values, const std::function<void(CRecordset&)>& onNew = {},
                         bool wantKey = true) {
    if (key >= 0) {
        set.open(QStringLiteral("[%1]=%2").arg(text(keyColumn)).arg(key));
        if (set.atEnd())
            throw CDaoException(
                CDaoException::NoCurrentRecord,
                QStringLiteral("Der Datensatz %1 ist nicht mehr vorhanden.").arg(key));
        set.edit();
    } else {
        // New records are added to whatever selection the set holds, an empty one at first.
        if (!set.isOpen())
            set.open(QStringLiteral("[%1]=-1").arg(text(keyColumn)));
        set.addNew();
        if (onNew)
            onNew(set);
    }
    for (const auto& [column, value] : values) {
        // A new record's columns are null already.
        if (key >= 0 || value.isValid())
            store(set, column, value);
    }
    set.update();
    if (key >= 0 || !wantKey)
        return key;
    set.moveToBookmark(set.lastModified());
    return set.getLong(keyColumn);
}

} // namespace

Result importPreview(CDatabase& db, const Preview& preview) {
    Result result;
    result.refused = preview.counts.refused;
    if (!preview.hasWork())
        return result;
    CDbTransaction transaction(db);
    std::vector<std::int32_t> keys(preview.entries.size(), -1);
    std::vector<std::int32_t> contactKeys(preview.entries.size(), -1);
    CSetStammSongliste songs(db);
    CSetStammMusiker musicians(db);
    CSetStammExtFirma firms(db);
    CSetStammExtAnsprech contacts(db);
    // New instruments get their name, shortened, as abbreviation, which the list requires.
    QHash<QString, std::int32_t> instrumentKeys;
    CSetInstrumente instruments(db);
    for (const QString& name : preview.newInstruments) {
        instrumentKeys.insert(
            name.toCaseFolded(),
            writeRecord(instruments, "InstrumentID", -1,
                        {{"Instrument", name}, {"Kurz", name.left(kShortNameLength)}}));
        ++result.instrumentsCreated;
    }
    for (size_t i = 0; i < preview.entries.size(); ++i) {
        const Preview::Entry& entry = preview.entries[i];
        std::int32_t key = entry.sameAs >= 0 ? keys[size_t(entry.sameAs)] : entry.existing;
        if (entry.action != Preview::Action::None) {
            const std::int32_t target = entry.action == Preview::Action::Create ? -1 : key;
            switch (preview.table) {
            case Table::Songs:
                key = writeRecord(songs, "SongID", target, entry.values, {}, false);
                break;
            case Table::Musicians: {
                // Instruments new to the list are named in the preview; here they have keys.
                Values values = entry.values;
                for (auto& [column, value] : values) {
                    if (value.typeId() == QMetaType::QString && qstrncmp(column, "MInstID", 7) == 0)
                        value = int(instrumentKeys.value(value.toString().toCaseFolded()));
                }
                key = writeRecord(musicians, "MusikerID", target, values, {}, false);
                break;
            }
            case Table::Firms:
                key = writeRecord(firms, "ExtID", target, entry.values,
                                  [&entry](CRecordset& row) { row.setInt("Art", entry.firmKind); });
                break;
            }
            ++(entry.action == Preview::Action::Create ? result.created : result.changed);
        } else if (entry.sameAs < 0) {
            ++result.unchanged;
        }
        keys[i] = key;
        if (!entry.hasContact)
            continue;
        std::int32_t contact = entry.contactSameAs >= 0 ? contactKeys[size_t(entry.contactSameAs)]
                                                        : entry.existingContact;
        if (entry.contactAction != Preview::Action::None) {
            const bool adding = entry.contactAction == Preview::Action::Create;
            contact = writeRecord(contacts, "APID", adding ? -1 : contact, entry.contact,
                                  [&entry, key](CRecordset& row) {
                                      row.setInt("Art", entry.firmKind);
                                      row.setLong("ExtID", key);
                                  });
            ++(adding ? result.contactsCreated : result.contactsChanged);
        } else if (entry.contactSameAs < 0) {
            ++result.contactsUnchanged;
        }
        contactKeys[i] = contact;
    }
    transaction.commit();
    return result;
}

QString describe(Table table, const Result& result) {
    return QStringLiteral("Import der %1 abgeschlossen – %2.")
        .arg(tableTitle(table), countParts(table, result).join(QStringLiteral(", ")));
}

} // namespace CsvExchange
