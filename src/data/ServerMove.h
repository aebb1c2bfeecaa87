#pragma once

#include <QString>

#include <string>
#include <vector>

class PgConnection;

// Moving a band database between a file and a PostgreSQL server, whole and checked: every row
// of every table arrives with its keys, and the counts and sums of both sides are compared
// before anything is committed. Throws CDaoException with a German reason; the target is then
// as it was.
namespace ServerMove {

// What a table holds, compared on both sides of a move: its rows, and per column the sum of
// its numbers, the count of its dates and the characters of its texts.
struct TableFigures {
    std::string table;
    long long rows = 0;
    std::vector<double> columns; // one figure per column, in the schema's binding order
};

// Copies the database file (opened and, when older, upgraded) into the server database, which
// must be empty: the schema with the change tracking, every row with its keys, the keys going
// on after the highest, and the two groups of people with their rights. All in one
// transaction on the server, which ends only when the figures of both sides agree.
void copyIntoServer(const QString& filePath, PgConnection& server);

// Writes a new database file at `filePath` (which must not exist) with every row of the server
// database, checked the same way. The file appears complete or not at all.
void copyIntoFile(PgConnection& server, const QString& filePath);

// The figures of every table, in the schema's order.
std::vector<TableFigures> figuresOfFile(const QString& filePath);
std::vector<TableFigures> figuresOfServer(PgConnection& server);

} // namespace ServerMove
