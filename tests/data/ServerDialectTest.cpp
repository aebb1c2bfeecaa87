// SQL and values as a PostgreSQL server is told them: the file's parameters renumbered, texts
// compared and sorted without regard to case, empty values sorted first, Single values as the
// decimals the user typed.
#include "data/ServerDialect.h"
#include "data/JetFilter.h"
#include "data/Schema.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerDialectTest, ParametersAreNumberedAsTheFileNumbersThem) {
    EXPECT_EQ(ServerDialect::placeholders("a = ? AND b = ?"), "a = $1 AND b = $2");
    EXPECT_EQ(ServerDialect::placeholders("a = ?2 OR b = ?1 OR c = ?"),
              "a = $2 OR b = $1 OR c = $3");
    // Inside texts and names a question mark is just a character.
    EXPECT_EQ(ServerDialect::placeholders(R"(SELECT '?', "x?" FROM t WHERE y = ?)"),
              R"(SELECT '?', "x?" FROM t WHERE y = $1)");
    EXPECT_EQ(ServerDialect::placeholders("SELECT 'it''s ?' WHERE z = ?"),
              "SELECT 'it''s ?' WHERE z = $1");
}

TEST(ServerDialectTest, FiltersAndSortsInTheServersWords) {
    const SourceDef& firms = Schema::source("T_Stamm_ExtFirma");
    const Jet::Translation filter = Jet::translateFilter(
        QStringLiteral("[Firma]=\"Müller\" AND [fDeleted]=False"), firms, Jet::Dialect::Server);
    EXPECT_EQ(filter.sql, R"(((lower("Firma") = lower(?)) AND ("fDeleted" = 0)))");
    ASSERT_EQ(filter.parameters.size(), 1u);
    EXPECT_EQ(ServerDialect::parameterText(filter.parameters[0]), "Müller");
    EXPECT_EQ(
        Jet::translateSort(QStringLiteral("[Firma] DESC, [Art]"), firms, Jet::Dialect::Server),
        R"(lower("Firma") DESC NULLS LAST, "Art" NULLS FIRST, rowid)");

    // A number compared with a Single column is the float the column holds, said as the user
    // wrote it.
    const Jet::Translation amount = Jet::translateFilter(
        QStringLiteral("[EGageVereinb]>1500.3"), Schema::source("T_Event"), Jet::Dialect::Server);
    ASSERT_EQ(amount.parameters.size(), 1u);
    EXPECT_EQ(ServerDialect::parameterText(amount.parameters[0]), "1500.3");
    EXPECT_EQ(ServerDialect::singleText(double(0.1f)), "0.1");
}

} // namespace
