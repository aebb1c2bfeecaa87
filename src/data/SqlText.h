#pragma once

#include "JetFilter.h"

#include <string>
#include <vector>

// Pieces of SQL that the two engines say differently: the SQLite file keeps date-times as texts
// "yyyy-MM-dd HH:mm:ss", the PostgreSQL server as timestamp(0); lists of keys arrive as one JSON
// parameter. Code above the data layer builds its statements from these pieces and the SQL both
// engines understand, and never asks which engine it talks to.
namespace SqlText {

// The earliest and the latest of several stored date-times, leaving out those not set. When none
// is set the result is no date-time: "9" and "" in the file (so that its span indexes stay as
// they are), null on the server; either way "earliest <= latest" does not hold for it.
std::string earliestMoment(Jet::Dialect dialect, const std::vector<std::string>& values);
std::string latestMoment(Jet::Dialect dialect, const std::vector<std::string>& values);

// The days (with their fraction) from date-time `from` to date-time `to`; negative when `to`
// is earlier.
std::string daysBetween(Jet::Dialect dialect, const std::string& from, const std::string& to);
// The date-time `days` days (with their fraction) before date-time `moment`, as comparable with
// a stored date-time.
std::string daysBefore(Jet::Dialect dialect, const std::string& moment, const std::string& days);

// The day of a date-time (or of a parameter "yyyy-MM-dd"), `later` days on; comparable with
// another day of this function.
std::string dayOf(Jet::Dialect dialect, const std::string& moment, int later = 0);
// The month (1 to 12) of a date-time, as a whole number.
std::string monthOf(Jet::Dialect dialect, const std::string& moment);

// A condition as the number 1 when it holds and 0 otherwise (also when it is null): the server
// returns conditions as truth values, which read as no number.
std::string asNumber(const std::string& condition);

// The whole numbers of a JSON array "[1,2,3]" bound to parameter ?N, as a subquery for IN.
std::string keysIn(Jet::Dialect dialect, int parameter);
// The pairs of a JSON array "[[1,0],[7,2]]" bound to parameter ?N as a subquery with the
// columns "id" and "fn".
std::string keyPairsIn(Jet::Dialect dialect, int parameter);

// Of the rows of `fromWhere` ("<table> WHERE ..."), one per group of `groupBy`: the one entered
// first. `select` is read from that row and may name its row number as firstRowNumber(). A
// complete SELECT that can stand in a UNION ALL.
std::string firstOfGroups(Jet::Dialect dialect, const std::string& select,
                          const std::string& fromWhere, const std::string& groupBy);
std::string firstRowNumber(Jet::Dialect dialect);

// Makes the connection refuse every write until it ends.
std::string readOnlySession(Jet::Dialect dialect);

// The statement `build` makes for the dialect, made once per dialect and kept. Each call site
// passes a lambda of its own, so each keeps its own pair of statements.
template <typename Build> const std::string& once(Jet::Dialect dialect, Build build) {
    static const std::string file = build(Jet::Dialect::File);
    static const std::string server = build(Jet::Dialect::Server);
    return dialect == Jet::Dialect::Server ? server : file;
}

} // namespace SqlText
