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

// Replaces every row of the server database, which holds the schema already, by the rows of the
// database file (opened and, when older, upgraded): in one transaction every table is emptied,
// the file's rows are copied in with their keys, the keys go on after the highest and the
// figures of both sides are compared. The tables, groups, rights and triggers stay as they are;
// the noted changes (who changed a row last) are emptied with the rows they named. Refused while
// another program is connected to the database (checked again once the tables are locked), and
// with a German message when this login may not empty the tables (only their owner may).
void replaceServerData(const QString& filePath, PgConnection& server);

// How many other programs are connected to the same server database: its client connections
// other than this one (the server's own workers are not counted).
int otherConnections(PgConnection& server);
// "Mit der Datenbank auf dem Server ist noch ein anderes Programm verbunden" (or "sind noch N
// andere Programme"), without the full stop, for the refusals that count them.
QString othersConnectedText(int others);

// The figures of every table, in the schema's order.
std::vector<TableFigures> figuresOfFile(const QString& filePath);
std::vector<TableFigures> figuresOfServer(PgConnection& server);

} // namespace ServerMove
