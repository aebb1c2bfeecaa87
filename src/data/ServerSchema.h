#pragma once

#include <string>
#include <vector>

// The schema of a band database kept on a PostgreSQL server.
namespace ServerSchema {

// German sorting for every text column. It compares case-sensitively; the translated SQL
// compares texts through lower() where the file engine ignores case.
constexpr const char* kCollation = "de-DE-x-icu";
// The table that marks a database as ours and holds its schema version, as a file holds them in
// its header.
constexpr const char* kVersionTable = "X_Vorlanto";

// Every statement that creates the schema in an empty database, in order.
std::vector<std::string> createStatements();

} // namespace ServerSchema
