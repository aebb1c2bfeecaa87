#pragma once

#include "Schema.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Filter and sort strings are written in the small subset of Jet SQL the forms use and are
// translated here into the SQL of the engine. Every literal becomes a bound parameter: nothing a
// user typed is ever pasted into SQL. Whatever lies outside the subset is refused with a
// CDaoException.
namespace Jet {

// A value bound to one "?" of the translated SQL, in order.
struct Parameter {
    enum class Kind { Integer, Real, Text } kind;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string text;
    // Compared with a Single column: bound in single precision (see roundForSingle).
    bool single = false;
};

// A number compared with a Single column, rounded the way the column holds it; numbers beyond
// the single range stay as they are.
void roundForSingle(Parameter& parameter);

struct Translation {
    std::string sql; // without the words WHERE / ORDER BY
    std::vector<Parameter> parameters;
};

// The SQL the translation is written in: for the database file (SQLite, texts compared through
// the German collation) or for a PostgreSQL server (texts compared and sorted through lower(),
// the columns' German collation doing the rest). Both compare texts without regard to case.
enum class Dialect { File, Server };

// "[Art]=1 AND [fDeleted]=False" on the given source. Empty input gives empty output.
Translation translateFilter(const QString& filter, const SourceDef& source,
                            Dialect dialect = Dialect::File);
// "[fPrivat] DESC, [Firma], [Name]" on the given source. Empty input gives empty output.
std::string translateSort(const QString& sort, const SourceDef& source,
                          Dialect dialect = Dialect::File);

// A filter split into its shape, the text with each literal replaced by a mark of its kind, and
// the values of its literals in order, as translateFilter() binds them (before rounding for
// Single columns). Filters of one shape translate to the same SQL and differ only in these
// values. False when the filter cannot be split so (a literal that is not closed or not valid,
// a character outside the subset); translateFilter() says what is wrong with it.
struct Literals {
    QString shape;
    std::vector<Parameter> values;
};
bool splitLiterals(const QString& filter, Literals& literals);

// A text as a filter literal: in double quotes, each " inside doubled. Use it for every
// name or text that goes into a filter.
QString quoted(const QString& text);

// "#mm/dd/yyyy hh:mm:ss#" for an exact moment.
QString dateTimeLiteral(const QDateTime& moment);

// The whole days from first to last as a filter on a date column:
// "[col]>#<day before>  23:59:59# AND [col]<#<day after> 00:00:00#".
QString dayRangeFilter(const QString& column, const QDate& first, const QDate& last);

} // namespace Jet
