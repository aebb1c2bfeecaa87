#include "Schema.h"

#include "SqlText.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <stdexcept>

namespace Schema::detail {
const std::vector<SourceDef>& allSources();
}

namespace {

std::string foldAscii(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// The check each column carries, named "<type>_<column>" so that a refused write can be
// reported with the column and the reason.
std::string columnDefinition(const SourceDef& table, const ColumnDef& column) {
    const std::string name = quoted(column.name);
    const std::string check = "CONSTRAINT " +
                              quoted(std::string(jetTypeName(column.type)) + "_" + column.name) +
                              " CHECK (";
    const bool isAutoKey = table.autoKey() && std::string_view(table.autoKey()) == column.name;
    if (isAutoKey)
        return name + " INTEGER PRIMARY KEY AUTOINCREMENT";

    auto integerColumn = [&](const char* low, const char* high) {
        return name + " INTEGER " + check + name + " IS NULL OR (typeof(" + name +
               ") = 'integer' AND " + name + " BETWEEN " + low + " AND " + high + "))";
    };
    switch (column.type) {
    case JetType::Long:
        return integerColumn("-2147483648", "2147483647");
    case JetType::Integer:
        return integerColumn("-32768", "32767");
    case JetType::Byte:
        return integerColumn("0", "255");
    case JetType::Single:
        return name + " REAL " + check + name + " IS NULL OR (typeof(" + name +
               ") = 'real' AND abs(" + name + ") <= 3.4028234663852886e38))";
    case JetType::YesNo:
        return name + " INTEGER NOT NULL DEFAULT 0 " + check + name + " IN (-1, 0))";
    case JetType::DateTime:
        return name + " TEXT " + check + name + " IS NULL OR (typeof(" + name +
               ") = 'text' AND datetime(julianday(" + name + ")) IS " + name + "))";
    case JetType::Text:
        break;
    }
    std::string definition = name + " TEXT ";
    const std::string_view tableName = table.name();
    const std::string_view columnName = column.name;
    // The purpose of a booking is required; bookings of other kinds leave it empty.
    if (tableName == "T_Event_Finanzen" && columnName == "Verwendung")
        definition += "NOT NULL DEFAULT '' ";
    // Article groups and district offices are keyed by their name.
    if ((tableName == "T_Stamm_Artikelgruppe" && columnName == "Artikelgruppe") ||
        (tableName == "T_Stamm_Gema_Bezirk" && columnName == "Bezirksdirektion"))
        definition += "COLLATE NOCASE UNIQUE ";
    return definition + check + name + " IS NULL OR (typeof(" + name + ") = 'text' AND length(" +
           name + ") <= " + std::to_string(Schema::kMaxTextLength) + "))";
}

// Keys the forms rely on: a refused duplicate is reported as error 3022.
const Schema::UniqueKeyDef kUniqueKeys[] = {
    {"T_Event_Transport", "UK_Transport", R"("EventID", "VerleiherID", "KfzID")"},
    {"T_Event_Uebernachtung", "UK_Uebernachtung",
     R"("EventID", "PersonID", "Funktion", "Anreise")"},
    {"T_Event_Status", "UK_Status", R"("EventID")"},
    {"T_Event_Gema", "UK_Gema", R"("EventID")"},
};

const Schema::IndexDef kIndexes[] = {
    {"T_Event", R"("EBeginn")"},
    {"T_Event", R"("VeranstalterID")"},
    {"T_Event_Besetzung", R"("EventID", "MusikerID")"},
    {"T_Event_Besetzung", R"("MusikerID")"},
    {"T_Event_ExtFirma", R"("EventID", "Art")"},
    {"T_Event_ExtFirma", R"("ExtID")"},
    {"T_Event_Finanzen", R"("EventID", "Kostengruppe", "Kostenstelle")"},
    {"T_Event_Merchandising", R"("EventID")"},
    {"T_Event_Uebernachtung_Zimmer", R"("EventID", "HotelID", "ZimmerNr")"},
    {"T_Event_Setliste", R"("EventID")"},
    {"T_Event_Setliste_Songs", R"("SetlisteID", "SetNr", "LfdNr")"},
    {"T_Stamm_ExtFirma", R"("Art")"},
    {"T_Stamm_ExtAnsprech", R"("ExtID")"},
    {"T_Stamm_KfzVerleiher_Kfz", R"("ExtID")"},
    {"T_Stamm_Artikel", R"("Artikelgruppe")"},
};

std::string createTable(const SourceDef& table) {
    std::string sql = "CREATE TABLE " + quoted(table.name()) + " (\n    ";
    for (int i = 0; i < table.columnCount(); ++i) {
        if (i > 0)
            sql += ",\n    ";
        sql += columnDefinition(table, table.column(i));
    }
    for (const Schema::UniqueKeyDef& key : kUniqueKeys) {
        if (std::string_view(key.table) == table.name())
            sql += ",\n    CONSTRAINT " + quoted(key.name) + " UNIQUE (" + key.columns + ")";
    }
    return sql + "\n)";
}

// Deleting an event removes every row that belongs to it; deleting a set list removes its
// songs. Both run inside the deleting statement, so they succeed or fail together.
std::vector<std::string> createTriggers() {
    std::string eventTrigger =
        R"(CREATE TRIGGER "T_Event_delete_dependents" AFTER DELETE ON "T_Event" BEGIN)";
    for (const SourceDef* table : Schema::tables()) {
        const std::string_view name = table->name();
        if (name.substr(0, 8) == "T_Event_" && name != "T_Event_Setliste_Songs")
            eventTrigger +=
                "\n    DELETE FROM " + quoted(name) + R"( WHERE "EventID" = OLD."EventID";)";
    }
    eventTrigger += "\nEND";
    const std::string setlistTrigger =
        R"(CREATE TRIGGER "T_Event_Setliste_delete_songs" AFTER DELETE ON "T_Event_Setliste" BEGIN)"
        "\n    DELETE FROM \"T_Event_Setliste_Songs\" WHERE \"SetlisteID\" = "
        "OLD.\"SetlisteID\";\nEND";
    return {setlistTrigger, eventTrigger};
}

} // namespace

const char* jetTypeName(JetType type) {
    switch (type) {
    case JetType::Long:
        return "Long";
    case JetType::Integer:
        return "Integer";
    case JetType::Byte:
        return "Byte";
    case JetType::Single:
        return "Single";
    case JetType::YesNo:
        return "YesNo";
    case JetType::DateTime:
        return "Date";
    case JetType::Text:
        return "Text";
    }
    return "?";
}

SourceDef::SourceDef(const char* name, std::vector<ColumnDef> columns, const char* autoKey,
                     const char* viewSelect)
    : m_name(name), m_columns(std::move(columns)), m_autoKey(autoKey), m_viewSelect(viewSelect) {
    m_selectHead = isView() ? "SELECT " : "SELECT rowid";
    for (int i = 0; i < columnCount(); ++i) {
        m_folded.emplace(foldAscii(m_columns[static_cast<size_t>(i)].name), i);
        if (i > 0 || !isView())
            m_selectHead += ", ";
        m_selectHead += quoted(m_columns[static_cast<size_t>(i)].name);
    }
    m_selectHead += " FROM " + quoted(m_name);
    m_selectByRowid = m_selectHead + " WHERE rowid = ?";
    buildNameSlots();
}

void SourceDef::buildNameSlots() {
    // Two names of a source are never the same; a schema with such a pair is a program fault,
    // and no seed could separate them.
    const size_t count = m_columns.size();
    std::vector<std::string_view> names(m_columns.size());
    std::transform(m_columns.begin(), m_columns.end(), names.begin(),
                   [](const ColumnDef& column) { return std::string_view(column.name); });
    std::sort(names.begin(), names.end());
    if (std::adjacent_find(names.begin(), names.end()) != names.end())
        throw std::logic_error(std::string("duplicate column name in ") + m_name);
    // At least four slots per name, more when no seed of the first few hundred separates them.
    int bits = 2;
    while ((size_t(1) << bits) < 4 * std::max<size_t>(count, 1))
        ++bits;
    for (; bits < 16; ++bits) {
        const size_t size = size_t(1) << bits;
        for (std::uint64_t seed = 0; seed < 512; ++seed) {
            std::vector<NameSlot> slots(size);
            bool separated = true;
            for (size_t i = 0; i < count && separated; ++i) {
                const std::string_view name = m_columns[i].name;
                NameSlot& slot = slots[nameHash(name, seed) >> (64 - bits)];
                separated = slot.index < 0;
                slot = {name.data(), static_cast<std::uint32_t>(name.size()),
                        static_cast<std::int32_t>(i)};
            }
            if (separated) {
                m_slots = std::move(slots);
                m_seed = seed;
                m_shift = 64 - bits;
                return;
            }
        }
    }
    throw std::logic_error(std::string("no collision-free name hash for ") + m_name);
}

int SourceDef::foldedIndexOf(std::string_view name) const {
    if (auto it = m_folded.find(foldAscii(name)); it != m_folded.end())
        return it->second;
    return -1;
}

namespace Schema {

const SourceDef& source(std::string_view name) {
    for (const SourceDef& source : detail::allSources()) {
        if (name == source.name())
            return source;
    }
    throw std::logic_error("unknown table or query: " + std::string(name));
}

namespace {
std::vector<const SourceDef*> sourcesWhere(bool views) {
    std::vector<const SourceDef*> list;
    for (const SourceDef& source : detail::allSources()) {
        if (source.isView() == views)
            list.push_back(&source);
    }
    return list;
}
} // namespace

const std::vector<const SourceDef*>& tables() {
    static const std::vector<const SourceDef*> list = sourcesWhere(false);
    return list;
}

const std::vector<const SourceDef*>& views() {
    static const std::vector<const SourceDef*> list = sourcesWhere(true);
    return list;
}

std::string eventSpanEdge(std::string_view alias, bool earliest, Jet::Dialect dialect) {
    static const char* const columns[] = {"EBeginn",    "EEnde",      "ETAufbauVon", "ETAufbauBis",
                                          "ESCheckVon", "ESCheckBis", "ETAbbauVon",  "ETAbbauBis"};
    const std::string prefix = alias.empty() ? std::string() : std::string(alias) + ".";
    std::vector<std::string> values;
    for (const char* column : columns)
        values.push_back(prefix + quoted(column));
    return earliest ? SqlText::earliestMoment(dialect, values)
                    : SqlText::latestMoment(dialect, values);
}

std::string eventSpanEdge(std::string_view alias, bool earliest) {
    return eventSpanEdge(alias, earliest, Jet::Dialect::File);
}

std::string eventSpanLength(std::string_view alias, Jet::Dialect dialect) {
    return SqlText::daysBetween(dialect, eventSpanEdge(alias, true, dialect),
                                eventSpanEdge(alias, false, dialect));
}

std::string eventSpanLength(std::string_view alias) {
    return eventSpanLength(alias, Jet::Dialect::File);
}

std::vector<std::string> spanIndexStatements() {
    return {R"(CREATE INDEX IF NOT EXISTS "IX_T_Event_SpanBegin" ON "T_Event" ()" +
                eventSpanEdge("", true) + ")",
            R"(CREATE INDEX IF NOT EXISTS "IX_T_Event_SpanLength" ON "T_Event" ()" +
                eventSpanLength("") + ")"};
}

std::string createTableStatement(std::string_view name) {
    return createTable(source(name));
}

std::string createTableStatement(std::string_view name, int columnCount) {
    const SourceDef& table = source(name);
    const std::vector<ColumnDef>& all = table.columns();
    const auto end = all.begin() + std::clamp(columnCount, 0, table.columnCount());
    return createTable(SourceDef(table.name(), std::vector<ColumnDef>(all.begin(), end),
                                 table.autoKey(), nullptr));
}

std::vector<std::string> createStatements() {
    std::vector<std::string> statements;
    for (const SourceDef* table : tables())
        statements.push_back(createTable(*table));
    int number = 0;
    for (const IndexDef& index : indexes()) {
        statements.push_back("CREATE INDEX " +
                             quoted("IX_" + std::to_string(++number) + "_" + index.table) + " ON " +
                             quoted(index.table) + " (" + index.columns + ")");
    }
    for (std::string& index : spanIndexStatements())
        statements.push_back(std::move(index));
    for (std::string& trigger : createTriggers())
        statements.push_back(std::move(trigger));
    for (const SourceDef* view : views())
        statements.push_back("CREATE VIEW " + quoted(view->name()) + " AS " + view->viewSelect());
    for (std::string& statement : calendarStatements())
        statements.push_back(std::move(statement));
    return statements;
}

const std::vector<UniqueKeyDef>& uniqueKeys() {
    static const std::vector<UniqueKeyDef> keys(std::begin(kUniqueKeys), std::end(kUniqueKeys));
    return keys;
}

const std::vector<IndexDef>& indexes() {
    static const std::vector<IndexDef> list(std::begin(kIndexes), std::end(kIndexes));
    return list;
}

const std::vector<const char*>& calendarTables() {
    static const std::vector<const char*> names = {"X_Kalender", "X_Kalender_Event"};
    return names;
}

std::vector<std::string> calendarStatements() {
    return {
        R"(CREATE TABLE IF NOT EXISTS "X_Kalender" ()"
        R"("Nr" INTEGER PRIMARY KEY CHECK ("Nr" = 1), "Kennung" TEXT NOT NULL))",
        R"(CREATE TABLE IF NOT EXISTS "X_Kalender_Event" ("EventID" INTEGER PRIMARY KEY, )"
        R"("Sequenz" INTEGER NOT NULL DEFAULT 0, "Pruefsumme" TEXT NOT NULL, )"
        R"("Geaendert" TEXT NOT NULL))",
    };
}

} // namespace Schema
