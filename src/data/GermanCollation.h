#pragma once

struct sqlite3;

// German, case-insensitive text order as the filters and sort strings use it:
// umlauts sort with their base letter ("Ärzte" beside "Arzte"), "ß" as "ss", case is ignored.
// Two texts compare equal only when they differ in case alone.
namespace GermanCollation {

constexpr const char* kName = "VORLANTO_DE";

int compare(const char* a, int lengthA, const char* b, int lengthB);

// Registers the collation on one connection.
void install(sqlite3* db);

} // namespace GermanCollation
