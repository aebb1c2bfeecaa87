// Filters opened again and again with other values, as a list does for each of its rows. The
// connection keeps what it learnt from the first of a kind; every later one must still find
// what a fresh connection finds and be refused where a fresh connection refuses it.
#include "data/CDaoException.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"
#include "support/EngineDatabase.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

QDateTime day(int year, int month, int dayOfMonth, int hour = 0, int minute = 0) {
    return QDateTime(QDate(year, month, dayOfMonth), QTime(hour, minute), Qt::UTC);
}

// The keys of the rows a filter finds, in the order of the sort.
std::vector<int> keys(CRecordset& set, std::string_view key, const QString& filter,
                      const QString& sort) {
    set.open(filter, sort);
    std::vector<int> found;
    for (; !set.atEnd(); set.moveNext())
        found.push_back(set.getLong(key));
    return found;
}

// The refusal of an open as code and message; code 0 when the open succeeded.
std::pair<int, QString> refusal(const std::function<void()>& open) {
    try {
        open();
    } catch (const CDaoException& e) {
        return {e.code(), e.description()};
    }
    return {0, QString()};
}

class RepeatedFilterTest : public OnBothEngines {
protected:
    RepeatedFilterTest() {
        struct Row {
            int art;
            const char* firma;
            QDateTime born;
            bool deleted;
        } rows[] = {
            {0, "Stadthalle", day(1975, 3, 4), false},
            {0, "Festzelt", day(1980, 1, 1, 12, 30), true},
            {1, "Tom \"T\" Studio", day(1999, 12, 31), false},
            {1, "Café Müller", QDateTime(), false},
            {2, "o'Brien", day(1980, 1, 1), false},
        };
        for (const Row& row : rows) {
            CSetStammExtFirma firm(t.db());
            firm.open(QStringLiteral("[ExtID]<0"));
            firm.addNew();
            firm.setInt("Art", row.art);
            firm.setText("Firma", QString::fromUtf8(row.firma));
            if (row.born.isValid())
                firm.setDate("GebDate", row.born);
            firm.setBool("fDeleted", row.deleted);
            firm.update();
            firm.moveToBookmark(firm.lastModified());
            m_firmKeys.push_back(firm.getLong("ExtID"));
        }
        for (const double fee : {1.1, 2.5, 3.3, -0.1}) {
            CSetEvent event(t.db());
            event.open(QStringLiteral("[EventID]<0"));
            event.addNew();
            event.setSingle("EGageVereinb", fee);
            event.update();
        }
    }

    // The same filter on a connection of its own, which has seen no other filter.
    template <class Set>
    std::vector<int> keysOnFreshConnection(std::string_view key, const QString& filter,
                                           const QString& sort) {
        CDatabase fresh;
        t.openAgain(fresh);
        Set set(fresh);
        return keys(set, key, filter, sort);
    }

    std::vector<int> m_firmKeys; // in the order added
};

TEST_P(RepeatedFilterTest, OtherValuesOfAKnownFilterFindWhatAFreshConnectionFinds) {
    // Each group shares everything but its values; the first opens a filter of a new kind.
    const std::vector<std::vector<const char*>> firmGroups = {
        {"[Art]=0 AND [ExtID]=1", "[Art]=1 AND [ExtID]=3", "[Art]=0 AND [ExtID]=3",
         "[Art]=2 AND [ExtID]=5"},
        {"[Firma]=\"Stadthalle\"", "[Firma]='Festzelt'", "[Firma]=\"Tom \"\"T\"\" Studio\"",
         "[Firma]='o''Brien'", "[Firma]=\"café müller\""},
        {"[GebDate]<#3/4/1980#", "[GebDate]<#1/1/1980 12:30#", "[GebDate]<#01/01/2000 00:00:01#"},
        {"[ExtID]>-1", "[ExtID]>-3", "[ExtID]>2"},
        {"[ExtID]>1.5", "[ExtID]>3.0"},
        {"[fDeleted]=False AND ([Art]=0 OR [Art]=2)", "[fDeleted]=True AND ([Art]=0 OR [Art]=1)"},
        {"", ""},
    };
    for (const char* sort : {"[ExtID]", "[Firma] DESC"}) {
        for (const auto& group : firmGroups) {
            for (const char* filter : group) {
                CSetStammExtFirma firms(t.db());
                EXPECT_EQ(keys(firms, "ExtID", filter, sort),
                          keysOnFreshConnection<CSetStammExtFirma>("ExtID", filter, sort))
                    << filter << " sorted by " << sort;
            }
        }
    }
    // Amounts compared with a Single column are rounded the way the column holds them, on
    // every later open as on the first.
    for (const char* filter : {"[EGageVereinb]=2.5", "[EGageVereinb]=1.1", "[EGageVereinb]=3.3",
                               "[EGageVereinb]=-0.1", "[EGageVereinb]=3"}) {
        CSetEvent events(t.db());
        const std::vector<int> found = keys(events, "EventID", filter, "[EventID]");
        EXPECT_EQ(found, keysOnFreshConnection<CSetEvent>("EventID", filter, "[EventID]"))
            << filter;
        EXPECT_EQ(found.size(), QString::fromUtf8(filter).endsWith("=3") ? 0u : 1u) << filter;
    }
}

TEST_P(RepeatedFilterTest, BadValuesInAKnownFilterAreRefusedAsOnAFreshConnection) {
    const struct {
        const char* known;
        const char* bad;
    } cases[] = {
        {"[Art]=0", "[Art]=99999999999999999999"},
        {"[Art]=0", "[Art]=1x"},
        {"[Art]=0", "[Art]=-x"},
        {"[Art]=0", "[Art]=1.2.3"},
        {"[GebDate]=#03/01/2026#", "[GebDate]=#02/30/2026#"},
        {"[GebDate]=#03/01/2026#", "[GebDate]=#03/01/2026"},
        {"[Firma]=\"a\"", "[Firma]=\"a"},
        {"[Firma]=\"a\"", "[Firma]=\"a\"\""},
    };
    for (const auto& c : cases) {
        CSetStammExtFirma firms(t.db());
        ASSERT_EQ(refusal([&] { firms.open(QString::fromUtf8(c.known)); }).first, 0) << c.known;
        const auto refused = refusal([&] { firms.open(QString::fromUtf8(c.bad)); });
        EXPECT_NE(refused.first, 0) << c.bad;
        EXPECT_FALSE(firms.isOpen()) << c.bad;

        CDatabase fresh;
        t.openAgain(fresh);
        CSetStammExtFirma firmsOnFresh(fresh);
        EXPECT_EQ(refused, refusal([&] { firmsOnFresh.open(QString::fromUtf8(c.bad)); })) << c.bad;
    }
    // What was refused left nothing behind: the known filter still works.
    CSetStammExtFirma firms(t.db());
    EXPECT_EQ(keys(firms, "ExtID", "[Art]=0", "[ExtID]"),
              (std::vector<int>{m_firmKeys[0], m_firmKeys[1]}));
}

TEST_P(RepeatedFilterTest, AFilterKnownOnOneSourceIsTranslatedAgainForAnother) {
    CSetStammExtFirma firms(t.db());
    EXPECT_EQ(keys(firms, "ExtID", "[Art]=1", "[ExtID]"),
              (std::vector<int>{m_firmKeys[2], m_firmKeys[3]}));
    // The booking table has the column too, and no row yet.
    CSetEventExtFirma bookings(t.db());
    EXPECT_TRUE(keys(bookings, "ExtID", "[Art]=1", "[ExtID]").empty());
    // The events have no such column: refused there, whatever the firms made of it.
    CSetEvent events(t.db());
    EXPECT_EQ(refusal([&] { events.open(QStringLiteral("[Art]=1")); }).first,
              CDaoException::UnknownField);
    EXPECT_EQ(refusal([&] { events.open(QString(), QStringLiteral("[Firma]")); }).first,
              CDaoException::UnknownField);
}

TEST(ClosedConnection, NamesAWrongFilterBeforeItself) {
    CDatabase closed;
    CSetStammExtFirma firms(closed);
    EXPECT_EQ(refusal([&] { firms.open(QStringLiteral("[Unbekannt]=1")); }).first,
              CDaoException::UnknownField);
    EXPECT_EQ(refusal([&] { firms.open(QString(), QStringLiteral("[Firma] DROP")); }).first,
              CDaoException::FilterSyntax);
    EXPECT_EQ(refusal([&] { firms.open(QStringLiteral("[Art]=1")); }).first,
              CDaoException::CannotOpen);
    EXPECT_FALSE(firms.isOpen());
}

// --- splitting a filter into its shape and values ----------------------------------------

TEST(FilterLiterals, FiltersDifferingOnlyInValuesShareTheirShape) {
    Jet::Literals a;
    Jet::Literals b;
    ASSERT_TRUE(Jet::splitLiterals("[Art]=1 AND [Firma]=\"x\" AND [GebDate]<#1/2/2000#", a));
    ASSERT_TRUE(
        Jet::splitLiterals("[Art]=22 AND [Firma]='y z' AND [GebDate]<#12/31/1999 8:15#", b));
    EXPECT_EQ(a.shape, b.shape);
    // Whatever kind of value or its sign is part of the shape; so are names with digits.
    const char* const distinct[] = {"[Art]=1",          "[Art]=1.5", "[Art]=-1", "[Art]=\"1\"",
                                    "[Art]=#1/1/2000#", "Art1=1",    "[Art1]=1", "[Art]= 1"};
    for (const char* first : distinct) {
        for (const char* second : distinct) {
            if (first == second)
                continue;
            ASSERT_TRUE(Jet::splitLiterals(first, a)) << first;
            ASSERT_TRUE(Jet::splitLiterals(second, b)) << second;
            EXPECT_NE(a.shape, b.shape) << first << " / " << second;
        }
    }
}

TEST(FilterLiterals, ValuesAreWhatTheTranslationBinds) {
    const SourceDef& firms = Schema::source("T_Stamm_ExtFirma");
    const char* const filters[] = {
        "[Art]=3 AND [ExtID]=1234",
        "[ExtID]>-12 OR [ExtID]<- 7",
        "[Art]=2.25",
        "[Firma]=\"Tom \"\"T\"\" Studio\" OR [Firma]='o''Brien' OR [Name]=\"\"",
        "[Firma]=\"Straße [1] #2 -3\"",
        "[GebDate]>=#2/29/2024# AND [GebDate]<#3/1/2024 23:59:59#",
        "NOT ([fDeleted]=True) AND fPrivat AND [Art]<>007",
        "",
    };
    for (const char* filter : filters) {
        Jet::Literals literals;
        ASSERT_TRUE(Jet::splitLiterals(filter, literals)) << filter;
        const Jet::Translation translation = Jet::translateFilter(filter, firms);
        ASSERT_EQ(literals.values.size(), translation.parameters.size()) << filter;
        for (size_t i = 0; i < literals.values.size(); ++i) {
            const Jet::Parameter& value = literals.values[i];
            const Jet::Parameter& bound = translation.parameters[i];
            EXPECT_EQ(value.kind, bound.kind) << filter << " #" << i;
            EXPECT_EQ(value.integer, bound.integer) << filter << " #" << i;
            EXPECT_EQ(value.real, bound.real) << filter << " #" << i;
            EXPECT_EQ(value.text, bound.text) << filter << " #" << i;
        }
    }
}

TEST(FilterLiterals, FiltersThatCannotBeSplitAreLeftToTheTranslation) {
    for (const char* filter :
         {"[Firma]=\"offen", "[GebDate]=#1/1/2000", "[GebDate]=#2/30/2026#", "[Art]=1x",
          "[Art]=99999999999999999999", "[Art]=0;", "[Art", "[Ar\x01t]=1"}) {
        Jet::Literals literals;
        EXPECT_FALSE(Jet::splitLiterals(filter, literals)) << filter;
    }
}

INSTANTIATE_ON_BOTH_ENGINES(RepeatedFilterTest);

} // namespace
