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

// The change table: per row (table and row number) who changed it last and when. Written by
// the server itself on every insert, update and delete.
constexpr const char* kChangeTable = "X_Aenderung";
constexpr const char* kChangeFunction = "X_Aenderung_melden";
// The channel on which every change is told to the running programs, as "<table> <key>": the
// table's own key, the event of a row that belongs to one, or else the row number.
constexpr const char* kChannel = "vorlanto";

// Every statement that creates the schema in an empty database, in order: the tables, keys,
// views and deletion rules, then the change tracking.
std::vector<std::string> createStatements();
// The two parts of that; a move fills the tables before the changes are tracked.
std::vector<std::string> schemaStatements();
std::vector<std::string> trackingStatements();

// The indexes on an event's span, its earliest date-time and its length, that the double-booking
// check finds its events with; the server's form of the file's.
std::vector<std::string> spanIndexStatements();

// The two groups of people of the band database named `database`: full access, and read-only
// (a musician who looks at gigs and set lists). A person's login role is a member of one.
std::string fullAccessGroup(const std::string& database);
std::string readAccessGroup(const std::string& database);
// Makes both groups when missing and gives them their rights on every table; the server then
// refuses any write of the read-only group. For a database whose schema exists.
std::vector<std::string> accessStatements(const std::string& database);

} // namespace ServerSchema
