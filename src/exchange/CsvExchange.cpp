#include "CsvExchange.h"

#include "CsvFile.h"
#include "core/FieldRules.h"
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
        return instruments ? instruments->names.value(row.getLong(column.column)) : QString();
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

// A cell's text as the column's value; a refusal is added to `reasons`.
QVariant importValue(const QString& cell, const Column& column, const Instruments* instruments,
                     QStringList& reasons) {
    const QString trimmed = cell.trimmed();
    const QString header = quoted(column.header);
    switch (column.kind) {
    case Kind::Text:
        if (cell.size() > kMaxText) {
            reasons.append(QStringLiteral("%1 ist zu lang (%2 Zeichen, höchstens %3).")
                               .arg(header)
                               .arg(cell.size())
                               .arg(kMaxText));
            return {};
        }
        if (cell.contains(QChar(0))) {
            reasons.append(QStringLiteral("%1 enthält ein unzulässiges Zeichen.").arg(header));
            return {};
        }
        return cell.isEmpty() ? QVariant() : QVariant(cell);
    case Kind::Tempo: {
        if (trimmed.isEmpty())
            return {};
        bool ok = false;
        const int tempo = trimmed.toInt(&ok);
        if (!ok || tempo < 0 || tempo > 32767) {
            reasons.append(
                QStringLiteral("%1 ist keine ganze Zahl zwischen 0 und 32767.").arg(header));
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
            reasons.append(QStringLiteral("%1 ist keine Zahl.").arg(header));
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
            reasons.append(QStringLiteral("%1 ist kein Datum.").arg(header));
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
                           .arg(header, salutation(0), salutation(1)));
        return {};
    }
    case Kind::Instrument: {
        if (trimmed.isEmpty())
            return {};
        // An instrument not yet in the list stays a name; the import adds it to the list.
        const auto found = instruments->keys.constFind(trimmed.toCaseFolded());
        return found == instruments->keys.cend() ? QVariant(trimmed) : QVariant(*found);
    }
    case Kind::PotpourriMark: {
        const QString mark = trimmed.toUpper();
        if (mark.isEmpty())
            return {};
        if (mark == QLatin1String("P") || mark == QLatin1String("F"))
            return QVariant(mark);
        reasons.append(QStringLiteral("%1 ist weder leer noch \"P\" oder \"F\".").arg(header));
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
QString contactKey(const QString& firm, const Values& v) {
    return joinKey({firm, fold(valueOf(v, "APName")), fold(valueOf(v, "APVorname"))});
}

// The first stored record of every identity (the lowest key wins).
QHash<QString, std::int32_t> storedKeys(CRecordset& set, const char* keyColumn,
                                        const QString& filter,
                                        QString (*identity)(const CRecordset&)) {
    QHash<QString, std::int32_t> keys;
    set.open(filter, QStringLiteral("[%1]").arg(text(keyColumn)));
    for (; !set.atEnd(); set.moveNext()) {
        const QString id = identity(set);
        if (!keys.contains(id))
            keys.insert(id, set.getLong(keyColumn));
    }
    return keys;
}

// Where a header's column goes: a main column, a contact column, the firm's kind or mode.
struct HeaderMap {
    std::vector<std::pair<int, const Column*>> main;
    std::vector<std::pair<int, const Column*>> contact;
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
        if (table == Table::Firms && sameHeader(cell, kKindHeader)) {
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
    QStringList result;
    if (table == Table::Firms)
        result << text(kKindHeader) << text(kModeHeader);
    for (const Column* column : mainColumns(table))
        result.append(text(column->header));
    if (table == Table::Firms) {
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
            records.push_back(exportRow(songs, columns));
        break;
    }
    case Table::Musicians: {
        const Instruments instruments(db);
        CSetStammMusiker musicians(db);
        musicians.open(QStringLiteral("[fDeleted]=False"),
                       QStringLiteral("[MName], [MVorname], [MusikerID]"));
        for (; !musicians.atEnd(); musicians.moveNext())
            records.push_back(exportRow(musicians, columns, &instruments));
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
                kind >= 0 && kind < int(kFirmKinds.size()) ? text(kFirmKinds[kind])
                                                           : QString::number(kind),
                text(firms.getBool("fPrivat") ? Strings::kPrivate : Strings::kBusiness)};
            firm += exportRow(firms, columns);
            contacts.open(
                QStringLiteral("[ExtID]=%1 AND [fDeleted]=False").arg(firms.getLong("ExtID")),
                QStringLiteral("[APName], [APVorname], [APID]"));
            if (contacts.atEnd()) {
                QStringList row = firm;
                for (size_t i = 0; i < contactColumns.size(); ++i)
                    row.append(QString());
                records.push_back(row);
            }
            for (; !contacts.atEnd(); contacts.moveNext())
                records.push_back(firm + exportRow(contacts, contactColumns));
        }
        break;
    }
    }
    return Csv::write(records);
}

// --- the preview ------------------------------------------------------------------------------

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
    QHash<QString, std::int32_t> stored;
    QHash<QString, std::int32_t> storedContacts;
    if (table == Table::Songs) {
        CSetStammSongliste songs(db);
        stored = storedKeys(songs, "SongID", QString(), &songKey);
    } else if (table == Table::Musicians) {
        CSetStammMusiker musicians(db);
        stored =
            storedKeys(musicians, "MusikerID", QStringLiteral("[fDeleted]=False"), &musicianKey);
    } else {
        CSetStammExtFirma firms(db);
        stored = storedKeys(firms, "ExtID", QStringLiteral("[fDeleted]=False"), &firmKey);
        // Contacts by their firm's key and their names.
        QHash<std::int32_t, QString> firmOf;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            firmOf.insert(it.value(), it.key());
        CSetStammExtAnsprech contacts(db);
        contacts.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[APID]"));
        for (; !contacts.atEnd(); contacts.moveNext()) {
            const auto firm = firmOf.constFind(contacts.getLong("ExtID"));
            if (firm == firmOf.cend())
                continue;
            const QString id =
                joinKey({*firm, storedFold(contacts, "APName"), storedFold(contacts, "APVorname")});
            if (!storedContacts.contains(id))
                storedContacts.insert(id, contacts.getLong("APID"));
        }
    }

    QHash<QString, int> earlier;        // identity -> index of the first entry naming it
    QHash<QString, int> earlierContact; // the same for contacts
    for (size_t r = 1; r < file.records.size(); ++r) {
        const Csv::Record& record = file.records[r];
        ++result.rows;
        QStringList reasons;
        Preview::Entry entry;
        entry.row = record.row;
        entry.values =
            readValues(record.fields, map.main, instruments ? &*instruments : nullptr, reasons);
        if (record.fields.size() > file.records.front().fields.size()) {
            bool extra = false;
            for (qsizetype i = file.records.front().fields.size(); i < record.fields.size(); ++i)
                extra = extra || !record.fields.at(i).trimmed().isEmpty();
            if (extra)
                reasons.append(QStringLiteral("Die Zeile hat mehr Felder als die Kopfzeile."));
        }
        QString identity;
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
            for (const auto& value : entry.contact)
                entry.hasContact = entry.hasContact || !isBlank(value.second);
            if (entry.hasContact)
                requireText(entry.contact, "APName", "Ansprechpartner Name", contactReasons);
            reasons += contactReasons;
        }
        if (!reasons.isEmpty()) {
            result.refused.push_back({record.row, reasons.join(QLatin1Char(' '))});
            continue;
        }
        for (const auto& [column, value] : entry.values) {
            if (value.typeId() == QMetaType::QString && qstrncmp(column, "MInstID", 7) == 0 &&
                !result.newInstruments.contains(value.toString(), Qt::CaseInsensitive))
                result.newInstruments.append(value.toString());
        }
        const int index = static_cast<int>(result.entries.size());
        if (const auto first = earlier.constFind(identity); first != earlier.cend()) {
            entry.sameAs = *first;
            // A repeated song or musician counts as matching; a firm's further rows carry its
            // further contacts and count once.
            if (table != Table::Firms)
                ++result.matching;
        } else {
            earlier.insert(identity, index);
            entry.existing = stored.value(identity, -1);
            ++(entry.existing >= 0 ? result.matching : result.created);
        }
        if (entry.hasContact) {
            const QString contactIdentity = contactKey(identity, entry.contact);
            if (const auto first = earlierContact.constFind(contactIdentity);
                first != earlierContact.cend()) {
                entry.contactSameAs = *first;
                ++result.contactsMatching;
            } else {
                earlierContact.insert(contactIdentity, index);
                entry.existingContact = storedContacts.value(contactIdentity, -1);
                ++(entry.existingContact >= 0 ? result.contactsMatching : result.contactsCreated);
            }
        }
        result.entries.push_back(std::move(entry));
    }
    return result;
}

QStringList describe(const Preview& preview) {
    QStringList lines;
    if (!preview.failure.isEmpty()) {
        lines.append(preview.failure);
        return lines;
    }
    lines.append(QStringLiteral("Datei: %1, Trennzeichen \"%2\", %3 Datenzeilen")
                     .arg(preview.encoding, QString(preview.separator))
                     .arg(preview.rows));
    if (!preview.unknownColumns.isEmpty())
        lines.append(QStringLiteral("Unbekannte Spalten (werden nicht eingelesen): %1")
                         .arg(preview.unknownColumns.join(QStringLiteral(", "))));
    const QString what = preview.table == Table::Songs       ? QStringLiteral("Songs")
                         : preview.table == Table::Musicians ? QStringLiteral("Musiker")
                                                             : QStringLiteral("Firmen");
    lines.append(QStringLiteral("Neu: %1 %2").arg(preview.created).arg(what));
    lines.append(QStringLiteral("Bereits vorhanden: %1 %2 (werden mit den Werten der Datei "
                                "aktualisiert)")
                     .arg(preview.matching)
                     .arg(what));
    if (preview.table == Table::Firms) {
        lines.append(QStringLiteral("Neue Ansprechpartner: %1").arg(preview.contactsCreated));
        lines.append(QStringLiteral("Bereits vorhandene Ansprechpartner: %1 (werden aktualisiert)")
                         .arg(preview.contactsMatching));
    }
    if (!preview.newInstruments.isEmpty())
        lines.append(QStringLiteral("Neue Instrumente (werden angelegt): %1")
                         .arg(preview.newInstruments.join(QStringLiteral(", "))));
    lines.append(QStringLiteral("Abgewiesene Zeilen: %1").arg(preview.refused.size()));
    for (const Refusal& refusal : preview.refused)
        lines.append(QStringLiteral("  Zeile %1: %2").arg(refusal.row).arg(refusal.reason));
    return lines;
}

// --- writing ------------------------------------------------------------------------------------

namespace {

// Adds a record or edits the one with `key`; returns the written record's key.
std::int32_t writeRecord(CRecordset& set, const char* keyColumn, std::int32_t key,
                         const Values& values, const std::function<void(CRecordset&)>& onNew = {}) {
    // A new record is added to an empty selection.
    set.open(QStringLiteral("[%1]=%2").arg(text(keyColumn)).arg(key));
    if (set.atEnd())
        key = -1;
    if (key >= 0) {
        set.edit();
    } else {
        set.addNew();
        if (onNew)
            onNew(set);
    }
    for (const auto& [column, value] : values)
        store(set, column, value);
    set.update();
    set.moveToBookmark(set.lastModified());
    return set.getLong(keyColumn);
}

} // namespace

Result importPreview(CDatabase& db, const Preview& preview) {
    Result result;
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
        Preview::Entry entry = preview.entries[i];
        for (auto& [column, value] : entry.values) {
            if (value.typeId() == QMetaType::QString && qstrncmp(column, "MInstID", 7) == 0)
                value = instrumentKeys.value(value.toString().toCaseFolded());
        }
        std::int32_t key = entry.sameAs >= 0 ? keys[size_t(entry.sameAs)] : entry.existing;
        const bool isNew = key < 0;
        switch (preview.table) {
        case Table::Songs:
            key = writeRecord(songs, "SongID", key, entry.values);
            break;
        case Table::Musicians:
            key = writeRecord(musicians, "MusikerID", key, entry.values);
            break;
        case Table::Firms:
            key = writeRecord(firms, "ExtID", key, entry.values,
                              [&entry](CRecordset& row) { row.setInt("Art", entry.firmKind); });
            break;
        }
        keys[i] = key;
        if (isNew)
            ++result.created;
        else if (entry.sameAs < 0 || preview.table != Table::Firms)
            ++result.updated;
        if (!entry.hasContact)
            continue;
        std::int32_t contact = entry.contactSameAs >= 0 ? contactKeys[size_t(entry.contactSameAs)]
                                                        : entry.existingContact;
        ++(contact < 0 ? result.contactsCreated : result.contactsUpdated);
        contactKeys[i] =
            writeRecord(contacts, "APID", contact, entry.contact, [&entry, key](CRecordset& row) {
                row.setInt("Art", entry.firmKind);
                row.setLong("ExtID", key);
            });
    }
    transaction.commit();
    return result;
}

QString describe(Table table, const Result& result) {
    QString summary = QStringLiteral("%1: %2 neu angelegt, %3 aktualisiert.")
                          .arg(tableTitle(table))
                          .arg(result.created)
                          .arg(result.updated);
    if (result.instrumentsCreated > 0)
        summary += QStringLiteral(" Neue Instrumente: %1.").arg(result.instrumentsCreated);
    if (table == Table::Firms)
        summary += QStringLiteral(" Ansprechpartner: %1 neu angelegt, %2 aktualisiert.")
                       .arg(result.contactsCreated)
                       .arg(result.contactsUpdated);
    return summary;
}

} // namespace CsvExchange
