#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Jet {
enum class Dialect;
}

class CDatabase;

// The column types of the database, with the value ranges the store enforces.
enum class JetType { Long, Integer, Byte, Single, YesNo, DateTime, Text };

const char* jetTypeName(JetType type);

struct ColumnDef {
    const char* name;
    JetType type;
};

// One table or saved query: its name and its columns in binding order.
class SourceDef {
public:
    SourceDef(const char* name, std::vector<ColumnDef> columns, const char* autoKey,
              const char* viewSelect);

    const char* name() const { return m_name; }
    bool isView() const { return m_viewSelect != nullptr; }
    // The AutoNumber column of a table, or nullptr.
    const char* autoKey() const { return m_autoKey; }
    // The SELECT that defines a saved query; nullptr for tables.
    const char* viewSelect() const { return m_viewSelect; }

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const ColumnDef& column(int index) const { return m_columns[static_cast<size_t>(index)]; }
    const std::vector<ColumnDef>& columns() const { return m_columns; }

    // Column index by name; names compare without regard to case. -1 when unknown.
    int indexOf(std::string_view name) const {
        const int index = exactIndexOf(name);
        return index >= 0 ? index : foldedIndexOf(name);
    }
    // Column index by the name exactly as the schema spells it; -1 otherwise. Record sets look
    // up a column on every read, so this is a hash without collisions among the source's names:
    // one slot to look at and one comparison.
    int exactIndexOf(std::string_view name) const {
        const NameSlot& slot = m_slots[nameHash(name, m_seed) >> m_shift];
        return slot.size == name.size() && sameBytes(slot.name, name.data(), name.size())
                   ? slot.index
                   : -1;
    }

    // "SELECT rowid, "A", "B" ... FROM "T"" (views without rowid), built once.
    const std::string& selectHead() const { return m_selectHead; }
    // selectHead() with a condition and an order (each left out when empty).
    std::string select(const std::string& where, const std::string& order) const {
        std::string sql = m_selectHead;
        if (!where.empty())
            sql += " WHERE " + where;
        if (!order.empty())
            sql += " ORDER BY " + order;
        return sql;
    }
    // The same for one row of a table: selectHead() + " WHERE rowid = ?", built once.
    const std::string& selectByRowid() const { return m_selectByRowid; }

private:
    // Every byte of the name enters the hash, so two names differ in some input to it; the seed
    // is chosen so that they also land in different slots. Names of up to 16 bytes, which are
    // nearly all, take two independent multiplications.
    static std::uint64_t nameHash(std::string_view name, std::uint64_t seed) {
        constexpr std::uint64_t kFirst = 0x9E3779B97F4A7C15ull;
        constexpr std::uint64_t kSecond = 0xC2B2AE3D27D4EB4Full;
        const char* p = name.data();
        const size_t n = name.size();
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        if (n >= 8) {
            std::memcpy(&head, p, 8);
            std::memcpy(&tail, p + n - 8, 8);
            for (size_t at = 8; at + 8 < n; at += 8) {
                std::uint64_t middle = 0;
                std::memcpy(&middle, p + at, 8);
                head = (head ^ middle) * kSecond + (head >> 29);
            }
        } else if (n >= 4) {
            std::uint32_t first = 0;
            std::uint32_t last = 0;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + n - 4, 4);
            head = first;
            tail = last;
        } else if (n > 0) {
            head = std::uint64_t(static_cast<unsigned char>(p[0])) |
                   std::uint64_t(static_cast<unsigned char>(p[n / 2])) << 8 |
                   std::uint64_t(static_cast<unsigned char>(p[n - 1])) << 16;
        }
        return ((head ^ seed) * kFirst) ^ ((tail + n) * kSecond);
    }
    // The same bytes, read in the same parts as nameHash() reads them.
    static bool sameBytes(const char* a, const char* b, size_t n) {
        if (n >= 8) {
            std::uint64_t x = 0;
            std::uint64_t y = 0;
            for (size_t at = 0; at + 8 < n; at += 8) {
                std::memcpy(&x, a + at, 8);
                std::memcpy(&y, b + at, 8);
                if (x != y)
                    return false;
            }
            std::memcpy(&x, a + n - 8, 8);
            std::memcpy(&y, b + n - 8, 8);
            return x == y;
        }
        if (n >= 4) {
            std::uint32_t x[2] = {};
            std::uint32_t y[2] = {};
            std::memcpy(&x[0], a, 4);
            std::memcpy(&x[1], a + n - 4, 4);
            std::memcpy(&y[0], b, 4);
            std::memcpy(&y[1], b + n - 4, 4);
            return x[0] == y[0] && x[1] == y[1];
        }
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    void buildNameSlots();
    int foldedIndexOf(std::string_view name) const;

    const char* m_name;
    std::vector<ColumnDef> m_columns;
    const char* m_autoKey;
    const char* m_viewSelect;
    // A hash slot: the column whose name lands there, or none (index -1, size beyond any name).
    struct NameSlot {
        const char* name = "";
        std::uint32_t size = ~std::uint32_t(0);
        std::int32_t index = -1;
    };
    std::vector<NameSlot> m_slots;
    std::uint64_t m_seed = 0;
    int m_shift = 63;
    std::unordered_map<std::string, int> m_folded;
    std::string m_selectHead;
    std::string m_selectByRowid;
};

namespace Schema {

// Version of the schema this program writes; stored as PRAGMA user_version.
constexpr int kVersion = 4;
// Marks a file as ours; stored as PRAGMA application_id ("VORL").
constexpr int kApplicationId = 0x564F524C;
// Characters a Text column holds at most.
constexpr int kMaxTextLength = 255;

// A table or saved query by its name (without brackets); throws std::logic_error when unknown.
const SourceDef& source(std::string_view name);
const std::vector<const SourceDef*>& tables();
const std::vector<const SourceDef*>& views();

// The earliest (`earliest`) or latest of an event's eight date-times, as an SQL expression on
// the T_Event row named `alias` (empty: unqualified). In the file dates are stored as
// "yyyy-MM-dd HH:mm:ss" and compare as text; a missing one stands in as "9" for the earliest and
// "" for the latest, so an event without any date spans from "9" to "" and overlaps nothing. On
// the server such an event spans from null to null. The indexes of spanIndexStatements() (and
// of the server's schema) serve queries that use exactly these expressions.
std::string eventSpanEdge(std::string_view alias, bool earliest);
std::string eventSpanEdge(std::string_view alias, bool earliest, Jet::Dialect dialect);
// The length of an event's span in days, the same way.
std::string eventSpanLength(std::string_view alias);
std::string eventSpanLength(std::string_view alias, Jet::Dialect dialect);
// "CREATE INDEX IF NOT EXISTS" on the span's begin and on its length.
std::vector<std::string> spanIndexStatements();

// "CREATE TABLE ..." of one table as a new database gets it, for upgrade steps.
std::string createTableStatement(std::string_view name);
// The same with only its first `columnCount` columns: the table as an older version made it,
// for the step that created it, so that a later step can add the rest.
std::string createTableStatement(std::string_view name, int columnCount);

// Every statement that creates the schema of a new database, in order.
std::vector<std::string> createStatements();

// The unique keys beside the primary keys, and the indexes: one list for both engines.
struct UniqueKeyDef {
    const char* table;
    const char* name;
    const char* columns; // quoted, comma-separated
};
const std::vector<UniqueKeyDef>& uniqueKeys();
struct IndexDef {
    const char* table;
    const char* columns; // quoted, comma-separated
};
const std::vector<IndexDef>& indexes();

// The program's calendar bookkeeping, beside the tables above: "X_Kalender" holds the one
// identifier of the band's calendars, "X_Kalender_Event" per event its change counter, the
// checksum of its exported fields and when that last changed. Part of every new file and added
// by the upgrade to version 3; the open-time check requires the tables.
const std::vector<const char*>& calendarTables();
std::vector<std::string> calendarStatements();

// What turns a file of schema version `from` into one of version from + 1, for example
// "ALTER TABLE ... ADD COLUMN ...", which keeps every row.
struct UpgradeStep {
    int from;
    std::vector<std::string> statements;
};

// The steps from every older version to kVersion, in order. A file of version 0 (written
// before the version was counted) has the schema of version 1.
const std::vector<UpgradeStep>& upgradeSteps();

// Brings an open file of an older version up to kVersion: runs every step from its version on
// and sets user_version, all in one transaction, so a failed step leaves the file as it was.
// `from` is the version read at opening; it is read again inside the transaction in case
// another program upgraded the file meanwhile. Throws CDaoException.
void upgrade(CDatabase& db, int from);
// The same with the given steps up to the given version.
void upgrade(CDatabase& db, int from, const std::vector<UpgradeStep>& steps, int to);

} // namespace Schema
