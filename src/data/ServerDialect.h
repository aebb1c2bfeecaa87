#pragma once

#include "JetFilter.h"

#include <optional>
#include <string>
#include <string_view>

// How SQL and values written for the file engine are said to a PostgreSQL server.
namespace ServerDialect {

// SQLite's parameters "?" and "?NNN" as the server's "$N", outside quoted texts and names. A
// bare "?" takes the number after the highest one so far, as SQLite numbers it.
std::string placeholders(std::string_view sql);

// A Single value as the shortest decimal that gives the same float: what the user typed, as the
// server keeps it exactly.
std::string singleText(double value);

// A filter's value as the text bound for its parameter.
std::string parameterText(const Jet::Parameter& parameter);

} // namespace ServerDialect
