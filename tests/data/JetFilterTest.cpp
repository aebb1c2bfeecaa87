// Filters and sort strings as the forms write them, run through real record sets on a fresh
// database: which rows come back, in which order, and which strings are refused.
#include "data/JetFilter.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "support/EngineDatabase.h"
#include "support/QStringPrinting.h"

#include <QRegularExpression>
#include <QStringList>

#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace {

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

// Opens the record set and reads one text column of every row, in order.
QStringList read(CRecordset& rs, const QString& filter, const QString& sort,
                 std::string_view column) {
    rs.open(filter, sort);
    QStringList values;
    for (; !rs.atEnd(); rs.moveNext())
        values << rs.getText(column);
    return values;
}

// Writes the pending new row and returns its AutoNumber key.
long insertAndKey(CRecordset& rs, std::string_view key) {
    rs.update();
    rs.moveToBookmark(rs.lastModified());
    return rs.getLong(key);
}

// The refusal must come from this program (engine code 0), never from the engine, and carry a
// German message for the user.
void expectRefused(const std::function<void()>& action, int code, const QString& input) {
    static const QRegularExpression german(
        QStringLiteral("\\b(der|die|das|dem|den|im|ist|nicht|kein|Feld|Filter|Sortierung)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    try {
        action();
        ADD_FAILURE() << "accepted: " << input.toStdString();
    } catch (const CDaoException& e) {
        EXPECT_EQ(e.code(), code) << input.toStdString();
        EXPECT_EQ(e.engineCode(), 0) << "reached the engine: " << input.toStdString();
        EXPECT_TRUE(german.match(e.description()).hasMatch())
            << input.toStdString() << " -> " << e.description().toStdString();
    }
}

// --- events ---------------------------------------------------------------------------------

class JetFilterEvents : public OnBothEngines {
protected:
    long addEvent(const QString& location, const QDateTime& begin, int status = 0) {
        CSetEvent rs(t.db());
        rs.open(QStringLiteral("[EventID]<0"));
        rs.addNew();
        rs.setText("ELocation", location);
        rs.setDate("EBeginn", begin);
        rs.setInt("Status", status);
        return insertAndKey(rs, "EventID");
    }
    QStringList locations(const QString& filter,
                          const QString& sort = QStringLiteral("[EBeginn]")) {
        CSetEvent rs(t.db());
        return read(rs, filter, sort, "ELocation");
    }
};

TEST_P(JetFilterEvents, KeyFiltersAndThePlaceholderEvent) {
    const long first = addEvent("Stadtfest", at(2026, 6, 1, 18));
    const long second = addEvent("Hochzeit", at(2026, 6, 2, 18));
    EXPECT_EQ(locations("[EventID]=0"), QStringList{"Standard"});
    EXPECT_EQ(locations("[EventID]>0"), (QStringList{"Stadtfest", "Hochzeit"}));
    EXPECT_EQ(locations(QStringLiteral("[EventID]=%1").arg(second)), QStringList{"Hochzeit"});
    EXPECT_EQ(locations(QStringLiteral("[EventID]= %1").arg(first)), QStringList{"Stadtfest"});
    EXPECT_EQ(locations("").size(), 3);
}

TEST_P(JetFilterEvents, FilterMatchingNothingIsAtEndAtOnce) {
    addEvent("Stadtfest", at(2026, 6, 1, 18));
    CSetEvent rs(t.db());
    rs.open("[EventID]>0 AND [ELocation]=\"Nirgendwo\"");
    EXPECT_TRUE(rs.isOpen());
    EXPECT_TRUE(rs.atEnd());
}

TEST_P(JetFilterEvents, StatusAlternativesWithinADateRange) {
    addEvent("offen im Mai", at(2026, 5, 10, 20), 0);
    addEvent("begonnen im Mai", at(2026, 5, 11, 20), 1);
    addEvent("abgeschlossen im Mai", at(2026, 5, 12, 20), 2);
    addEvent("offen im April", at(2026, 4, 30, 23), 0);
    addEvent("abgeschlossen im Juni", at(2026, 6, 1), 2);
    EXPECT_EQ(locations("([Status]=0 OR [Status]=2) AND [EBeginn]>#04/30/2026  23:59:59# AND "
                        "[EBeginn]<#06/01/2026 00:00:00#"),
              (QStringList{"offen im Mai", "abgeschlossen im Mai"}));
}

TEST_P(JetFilterEvents, DayRangeCoversWholeDaysOnly) {
    const struct {
        const char* location;
        QDateTime begin;
        bool inMarch;
    } cases[] = {
        {"letzte Sekunde Februar", at(2026, 2, 28, 23, 59, 59), false},
        {"1. März Mitternacht", at(2026, 3, 1), true},
        {"Mitte März", at(2026, 3, 15, 20), true},
        {"31. März spät", at(2026, 3, 31, 23, 30), true},
        {"letzte Sekunde März", at(2026, 3, 31, 23, 59, 59), true},
        {"1. April Mitternacht", at(2026, 4, 1), false},
    };
    QStringList expected;
    for (const auto& c : cases) {
        addEvent(c.location, c.begin);
        if (c.inMarch)
            expected << c.location;
    }
    EXPECT_EQ(locations(Jet::dayRangeFilter("EBeginn", QDate(2026, 3, 1), QDate(2026, 3, 31))),
              expected);
}

TEST_P(JetFilterEvents, DayRangeInALeapYear) {
    addEvent("31. Januar spät", at(2028, 1, 31, 23, 59, 59));
    addEvent("28. Februar", at(2028, 2, 28, 12));
    addEvent("29. Februar", at(2028, 2, 29, 23));
    addEvent("1. März", at(2028, 3, 1));
    EXPECT_EQ(locations(Jet::dayRangeFilter("EBeginn", QDate(2028, 2, 1), QDate(2028, 2, 29))),
              (QStringList{"28. Februar", "29. Februar"}));
    EXPECT_EQ(locations(Jet::dayRangeFilter("EBeginn", QDate(2028, 3, 1), QDate(2028, 3, 31))),
              QStringList{"1. März"});
    EXPECT_EQ(locations("[EBeginn]>#02/29/2028 00:00:00#"),
              (QStringList{"29. Februar", "1. März"}));
}

TEST(JetFilterDayRange, TextHasTheDayBeforeAndTheDayAfter) {
    const struct {
        QDate first, last;
        const char* expected;
    } cases[] = {
        {QDate(2026, 3, 1), QDate(2026, 3, 31),
         "[EBeginn]>#02/28/2026  23:59:59# AND [EBeginn]<#04/01/2026 00:00:00#"},
        {QDate(2028, 3, 1), QDate(2028, 3, 31),
         "[EBeginn]>#02/29/2028  23:59:59# AND [EBeginn]<#04/01/2028 00:00:00#"},
        {QDate(2027, 1, 1), QDate(2027, 12, 31),
         "[EBeginn]>#12/31/2026  23:59:59# AND [EBeginn]<#01/01/2028 00:00:00#"},
        {QDate(2026, 7, 4), QDate(2026, 7, 4),
         "[EBeginn]>#07/03/2026  23:59:59# AND [EBeginn]<#07/05/2026 00:00:00#"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Jet::dayRangeFilter("EBeginn", c.first, c.last), QString::fromUtf8(c.expected));
}

TEST_P(JetFilterEvents, ExactMomentMatchesThatSecondOnly) {
    addEvent("eine Sekunde früher", at(2026, 3, 14, 19, 59, 59));
    addEvent("genau", at(2026, 3, 14, 20));
    addEvent("eine Sekunde später", at(2026, 3, 14, 20, 0, 1));
    addEvent("Mitternacht", at(2026, 3, 14));
    addEvent("am Tag danach", at(2026, 3, 15, 20));
    const QString literal = Jet::dateTimeLiteral(at(2026, 3, 14, 20));
    EXPECT_EQ(literal, "#03/14/2026 20:00:00#");
    EXPECT_EQ(locations("[EBeginn]=" + literal), QStringList{"genau"});
    // Short forms: one-digit month and day, date only (midnight), time without seconds.
    EXPECT_EQ(locations("[EBeginn]=#3/14/2026#"), QStringList{"Mitternacht"});
    EXPECT_EQ(locations("[EBeginn]=#3/14/2026 20:00#"), QStringList{"genau"});
}

TEST_P(JetFilterEvents, SortByDate) {
    addEvent("Mitte", at(2026, 5, 1));
    addEvent("neu", at(2026, 9, 1));
    addEvent("alt", at(2025, 12, 31, 23, 59, 59));
    const QStringList oldestFirst{"alt", "Mitte", "neu"};
    const QStringList newestFirst{"neu", "Mitte", "alt"};
    EXPECT_EQ(locations("[EventID]>0", "[EBeginn] DESC"), newestFirst);
    EXPECT_EQ(locations("[EventID]>0", "[ebeginn] desc"), newestFirst);
    EXPECT_EQ(locations("[EventID]>0", "[EBeginn] ASC"), oldestFirst);
    EXPECT_EQ(locations("[EventID]>0", "[EBeginn]"), oldestFirst);
}

// --- firms ----------------------------------------------------------------------------------

struct Firm {
    int art = 0;
    QString firma; // null: left empty (a private person)
    bool deleted = false;
    bool privat = false;
    QString name;
    QString vorname;
};

class JetFilterFirms : public OnBothEngines {
protected:
    long addFirm(const Firm& firm) {
        CSetStammExtFirma rs(t.db());
        rs.open(QStringLiteral("[ExtID]<0"));
        rs.addNew();
        rs.setInt("Art", firm.art);
        rs.setBool("fDeleted", firm.deleted);
        rs.setBool("fPrivat", firm.privat);
        if (!firm.firma.isNull())
            rs.setText("Firma", firm.firma);
        if (!firm.name.isNull())
            rs.setText("Name", firm.name);
        if (!firm.vorname.isNull())
            rs.setText("Vorname", firm.vorname);
        return insertAndKey(rs, "ExtID");
    }
    long addFirm(int art, const QString& firma, bool deleted = false) {
        Firm firm;
        firm.art = art;
        firm.firma = firma;
        firm.deleted = deleted;
        return addFirm(firm);
    }
    QStringList firms(const QString& filter, const QString& sort = QStringLiteral("[Firma]")) {
        CSetStammExtFirma rs(t.db());
        return read(rs, filter, sort, "Firma");
    }
};

TEST_P(JetFilterFirms, KindAndKey) {
    const long hall = addFirm(0, "Stadthalle");
    addFirm(0, "Festzelt");
    addFirm(1, "Tonstudio");
    EXPECT_EQ(firms(QStringLiteral("[Art]=%1 AND [ExtID]=%2").arg(0).arg(hall)),
              QStringList{"Stadthalle"});
    EXPECT_TRUE(firms(QStringLiteral("[Art]=%1 AND [ExtID]=%2").arg(1).arg(hall)).isEmpty());
    EXPECT_EQ(firms("[Art]=0"), (QStringList{"Festzelt", "Stadthalle"}));
}

TEST_P(JetFilterFirms, DeletedFlagInAnySpelling) {
    addFirm(0, "Aktiv");
    addFirm(0, "Gelöscht", true);
    const QStringList live{"Aktiv"}, flagged{"Gelöscht"};
    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {"[fDeleted]=False", live},     {"[fDeleted]=false", live},
        {"[fDeleted]=FALSE", live},     {"[fDeleted]=True", flagged},
        {"[fDeleted]=true", flagged},   {"[fDeleted]=tRuE", flagged},
        {"[fDeleted]", flagged},        {"NOT [fDeleted]", live},
        {"[fDeleted]<>False", flagged}, {"[fdeleted]=false and [art]=0", live},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firms(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

TEST_P(JetFilterFirms, LiveFirmsPlusTheOneInUse) {
    addFirm(0, "Aktiv");
    const long inUse = addFirm(0, "Gelöscht, aber gebucht", true);
    addFirm(0, "Gelöscht, ungenutzt", true);
    addFirm(1, "Andere Art");
    const QString filter = QStringLiteral("[Art]=%1 AND ([fDeleted]=False OR [ExtID]=%2)");
    EXPECT_EQ(firms(filter.arg(0).arg(inUse)), (QStringList{"Aktiv", "Gelöscht, aber gebucht"}));
    EXPECT_EQ(firms(filter.arg(0).arg(-1)), QStringList{"Aktiv"});
    EXPECT_EQ(firms(filter.arg(1).arg(inUse)), QStringList{"Andere Art"});
}

TEST_P(JetFilterFirms, NullIsNotTheEmptyText) {
    Firm withFirstName, emptyFirstName, noFirstName;
    withFirstName.firma = "mit Vorname";
    withFirstName.vorname = "Anna";
    emptyFirstName.firma = "leerer Vorname";
    emptyFirstName.vorname = "";
    noFirstName.firma = "ohne Vorname";
    for (const Firm& f : {withFirstName, emptyFirstName, noFirstName})
        addFirm(f);
    EXPECT_EQ(firms("[Vorname] Is Null"), QStringList{"ohne Vorname"});
    EXPECT_EQ(firms("[Vorname] is not null"), (QStringList{"leerer Vorname", "mit Vorname"}));
    EXPECT_EQ(firms("NOT [Vorname] IS NULL AND [Vorname]=\"\""), QStringList{"leerer Vorname"});
    EXPECT_EQ(firms("[GebDate] Is Null").size(), 3);
}

TEST_P(JetFilterFirms, BusinessFirmsFirstThenByFirmAndName) {
    // A true fPrivat is stored as -1, so "[fPrivat] DESC" puts business firms (0) first.
    const Firm rows[] = {
        {0, "Zeltverleih Nord", false, false, {}, {}}, {0, {}, false, true, "Becker", "Anna"},
        {0, "Autohaus Ärmel", false, false, {}, {}},   {0, {}, false, true, "Adler", "Zoe"},
        {0, {}, false, true, "Adler", "Bert"},
    };
    for (const Firm& f : rows)
        addFirm(f);
    CSetStammExtFirma rs(t.db());
    rs.open("[Art]=0 AND [fDeleted]=False", "[fPrivat] DESC, [Firma], [Name], [Vorname]");
    QStringList shown;
    for (; !rs.atEnd(); rs.moveNext())
        shown << (rs.getBool("fPrivat") ? rs.getText("Name") + ", " + rs.getText("Vorname")
                                        : rs.getText("Firma"));
    EXPECT_EQ(shown, (QStringList{"Autohaus Ärmel", "Zeltverleih Nord", "Adler, Bert", "Adler, Zoe",
                                  "Becker, Anna"}));
}

TEST_P(JetFilterFirms, TextComparisonIgnoresCaseOnly) {
    for (const char* name : {"Anna", "Ärzte", "Straße", "Strasse", "Bob's"})
        addFirm(0, QString::fromUtf8(name));
    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {"[Firma]=\"anna\"", {"Anna"}},
        {"\"ANNA\"=[Firma]", {"Anna"}},
        {"[Firma]=\"ÄRZTE\"", {"Ärzte"}},
        {"[Firma]=\"Arzte\"", {}},
        {"[Firma]=\"Straße\"", {"Straße"}},
        {"[Firma]=\"STRASSE\"", {"Strasse"}},
        {"[Firma]='bob''s'", {"Bob's"}},
        {"[Firma]<\"B\"", {"Anna", "Ärzte"}},
        {"[Firma]>=\"s\"", {"Strasse", "Straße"}},
        {"[Firma]<>\"ANNA\" AND [Firma]<>\"BOB'S\"", {"Ärzte", "Strasse", "Straße"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firms(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

TEST_P(JetFilterFirms, SortFollowsGermanDictionaryOrder) {
    const char* stored[] = {"Zander", "Maßband", "Arm",   "Öl",   "Ärger", "Mast", "Bauer",
                            "anton",  "Otto",    "Masse", "Ofen", "Arzt",  "Ärzte"};
    for (const char* name : stored)
        addFirm(0, QString::fromUtf8(name));
    const QStringList german{"anton", "Ärger", "Arm",  "Arzt", "Ärzte", "Bauer", "Maßband",
                             "Masse", "Mast",  "Ofen", "Öl",   "Otto",  "Zander"};
    EXPECT_EQ(firms("", "[Firma]"), german);
    QStringList reversed(german.rbegin(), german.rend());
    EXPECT_EQ(firms("", "[Firma] DESC"), reversed);
}

TEST_P(JetFilterFirms, QuotedNamesAreFoundExactly) {
    const QStringList names{"Bob's \"Bar\"]; DROP TABLE x --", "Bob's", "Bob's \"Bar\"",
                            "x\" OR \"1\"=\"1", "Café ; --"};
    for (const QString& name : names)
        addFirm(0, name);
    for (const QString& name : names)
        EXPECT_EQ(firms("[Firma]=" + Jet::quoted(name)), QStringList{name}) << name.toStdString();
    EXPECT_TRUE(firms("[Firma]=" + Jet::quoted("nobody\" OR \"1\"=\"1")).isEmpty());
    EXPECT_TRUE(firms("[Firma]=" + Jet::quoted("\") OR (\"\"=\"")).isEmpty());
    EXPECT_EQ(Jet::quoted("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(Jet::quoted(""), "\"\"");
    EXPECT_EQ(t.count("T_Stamm_ExtFirma"), names.size());
}

// Every refusal happens before the engine sees anything, and the data stays as it was.
TEST_P(JetFilterFirms, MalformedFiltersAreRefused) {
    addFirm(0, "Stadthalle");
    const struct {
        const char* filter;
        int code;
    } cases[] = {
        {"[Unbekannt]=1", CDaoException::UnknownField},
        {"Unbekannt=1", CDaoException::UnknownField},
        {"[Firma]=Stadthalle", CDaoException::UnknownField},
        {"[Firma\" OR 1=1 --]=1", CDaoException::UnknownField},
        {"[Firma]=\"Stadthalle", CDaoException::FilterSyntax},
        {"[Firma=\"Stadthalle\"", CDaoException::FilterSyntax},
        {"[Firma]]=\"x\"", CDaoException::FilterSyntax},
        {"[Art]=0;", CDaoException::FilterSyntax},
        {"[Art]=0; DROP TABLE \"T_Event\"", CDaoException::FilterSyntax},
        {"[Art]=0 --", CDaoException::FilterSyntax},
        {"[Art]=0 -- Kommentar", CDaoException::FilterSyntax},
        {"[Art]=0 /* x */", CDaoException::FilterSyntax},
        {"[Art]=0 AND", CDaoException::FilterSyntax},
        {"[Art]=", CDaoException::FilterSyntax},
        {"[Art]=0 OR", CDaoException::FilterSyntax},
        {"([Art]=0", CDaoException::FilterSyntax},
        {"[Art]=0)", CDaoException::FilterSyntax},
        {"[Art] 0", CDaoException::FilterSyntax},
        {"[Art]", CDaoException::FilterSyntax},
        {"[Art]==0", CDaoException::FilterSyntax},
        {"[Art]=0 UNION SELECT 1", CDaoException::FilterSyntax},
        {"[Firma] LIKE \"S*\"", CDaoException::FilterSyntax},
        {"[Firma]=\"a\" || \"b\"", CDaoException::FilterSyntax},
        {"[Art]=1e3", CDaoException::FilterSyntax},
        {"[Art]=99999999999999999999", CDaoException::FilterSyntax},
        {"[GebDate]=#02/30/2026#", CDaoException::FilterSyntax},
        {"[GebDate]=#02/29/2027#", CDaoException::FilterSyntax},
        {"[GebDate]=#13/01/2026#", CDaoException::FilterSyntax},
        {"[GebDate]=#2026-03-01#", CDaoException::FilterSyntax},
        {"[GebDate]=#03/01/2026 24:00:00#", CDaoException::FilterSyntax},
        {"[GebDate]=#03/01/2026", CDaoException::FilterSyntax},
        {"[ExtID]=\"abc\"", CDaoException::TypeMismatch},
        {"[Firma]=5", CDaoException::TypeMismatch},
        {"[GebDate]=\"2026-03-01\"", CDaoException::TypeMismatch},
        {"[GebDate]=5", CDaoException::TypeMismatch},
        {"[fDeleted]=\"Ja\"", CDaoException::TypeMismatch},
        {"[Firma]=True", CDaoException::TypeMismatch},
    };
    for (const auto& c : cases) {
        const QString filter = QString::fromUtf8(c.filter);
        CSetStammExtFirma rs(t.db());
        expectRefused([&] { rs.open(filter); }, c.code, filter);
        EXPECT_FALSE(rs.isOpen()) << c.filter;
    }
    EXPECT_EQ(t.count("T_Stamm_ExtFirma"), 1);
    EXPECT_EQ(t.count("T_Event"), 1);
    EXPECT_EQ(firms("[Art]=0"), QStringList{"Stadthalle"});
}

TEST_P(JetFilterFirms, MalformedSortsAreRefused) {
    const struct {
        const char* sort;
        int code;
    } cases[] = {
        {"[Unbekannt]", CDaoException::UnknownField},
        {"[Firma], Unbekannt", CDaoException::UnknownField},
        {"[Firma] DROP", CDaoException::FilterSyntax},
        {"[Firma];", CDaoException::FilterSyntax},
        {"[Firma] --", CDaoException::FilterSyntax},
        {"[Firma],", CDaoException::FilterSyntax},
        {",[Firma]", CDaoException::FilterSyntax},
        {"[Firma] DESC DESC", CDaoException::FilterSyntax},
        {"[Firma] [Name]", CDaoException::FilterSyntax},
        {"[Firma] COLLATE BINARY", CDaoException::FilterSyntax},
        {"\"Firma\"", CDaoException::FilterSyntax},
        {"1", CDaoException::FilterSyntax},
        {"[Firma", CDaoException::FilterSyntax},
    };
    for (const auto& c : cases) {
        const QString sort = QString::fromUtf8(c.sort);
        CSetStammExtFirma rs(t.db());
        expectRefused([&] { rs.open(QString(), sort); }, c.code, sort);
    }
}

// --- numbers, precedence --------------------------------------------------------------------

class JetFilterSongs : public OnBothEngines {};

TEST_P(JetFilterSongs, ComparisonOperatorsAndPrecedence) {
    {
        CSetStammSongliste rs(t.db());
        rs.open("[SongID]<0");
        for (int tempo : {60, 90, 120, 150, -1}) {
            rs.addNew();
            if (tempo < 0) {
                rs.setText("Titel", "ohne");
            } else {
                rs.setText("Titel", QString::number(tempo));
                rs.setInt("Tempo", tempo);
            }
            rs.update();
        }
    }
    const struct {
        const char* filter;
        QStringList expected; // sorted by tempo, no tempo first
    } cases[] = {
        {"[Tempo]=90", {"90"}},
        {"[Tempo]<90", {"60"}},
        {"[Tempo]<=90", {"60", "90"}},
        {"[Tempo]>120", {"150"}},
        {"[Tempo]>=120", {"120", "150"}},
        {"[Tempo]<>90", {"60", "120", "150"}},
        {"[Tempo] <> 90", {"60", "120", "150"}},
        {"90<[Tempo]", {"120", "150"}},
        {"[Tempo]>-100 AND [Tempo]<70", {"60"}},
        {"[Tempo]>=90 and [Tempo]<=120", {"90", "120"}},
        {"[Tempo] Is Null", {"ohne"}},
        {"[Tempo] Is Not Null", {"60", "90", "120", "150"}},
        {"NOT ([Tempo]=60 OR [Tempo]=90)", {"120", "150"}},
        {"NOT [Tempo]=60", {"90", "120", "150"}},
        // AND binds tighter than OR.
        {"[Tempo]=60 OR [Tempo]=90 AND [Titel]=\"ohne\"", {"60"}},
        {"([Tempo]=60 OR [Tempo]=90) AND [Titel]=\"90\"", {"90"}},
        {"[Tempo]=60 OR ([Tempo]>100 AND ([Titel]=\"150\" OR [Titel]=\"x\"))", {"60", "150"}},
        {"[Tempo]=[Tempo]", {"60", "90", "120", "150"}},
    };
    for (const auto& c : cases) {
        CSetStammSongliste rs(t.db());
        EXPECT_EQ(read(rs, QString::fromUtf8(c.filter), "[Tempo]", "Titel"), c.expected)
            << c.filter;
    }
    CSetStammSongliste rs(t.db());
    EXPECT_EQ(read(rs, "[Tempo] Is Not Null", "[Titel] DESC", "Titel"),
              (QStringList{"90", "60", "150", "120"}));
}

// --- Single columns ----------------------------------------------------------------------

// Amounts are stored in single precision; a number typed into a filter means the amount that
// was entered, not the slightly different double of the same digits.
TEST_P(JetFilterEvents, NumbersComparedWithSingleColumnsMeanTheStoredAmount) {
    for (const auto& [location, fee] : {std::pair<const char*, double>{"eins-eins", 1.1},
                                        {"zwei-fuenf", 2.5},
                                        {"drei-drei", 3.3},
                                        {"gross", 16777217.0},
                                        {"negativ", -0.1}}) {
        CSetEvent rs(t.db());
        rs.open(QStringLiteral("[EventID]<0"));
        rs.addNew();
        rs.setText("ELocation", QString::fromUtf8(location));
        rs.setSingle("EGageVereinb", fee);
        rs.update();
    }
    const struct {
        const char* filter;
        QStringList expected; // sorted by the fee
    } cases[] = {
        {"[EGageVereinb]=1.1", {"eins-eins"}},
        {"[EGageVereinb]=3.3", {"drei-drei"}},
        {"[EGageVereinb]=-0.1", {"negativ"}},
        {"[EGageVereinb]<>1.1", {"negativ", "zwei-fuenf", "drei-drei", "gross"}},
        {"[EGageVereinb]<=1.1", {"negativ", "eins-eins"}},
        {"[EGageVereinb]<1.1", {"negativ"}},
        {"[EGageVereinb]>=3.3", {"drei-drei", "gross"}},
        {"[EGageVereinb]>3.3", {"gross"}},
        {"[EGageVereinb]>1.1 AND [EGageVereinb]<3.3", {"zwei-fuenf"}},
        // A whole number beyond single precision is stored rounded too.
        {"[EGageVereinb]=16777217", {"gross"}},
        {"[EGageVereinb]=1", {}},
        {"[EGageVereinb]=1.10001", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(locations(QString::fromUtf8(c.filter), "[EGageVereinb]"), c.expected) << c.filter;
}

// --- event links, saved queries, several sort columns ---------------------------------------

class JetFilterLinks : public OnBothEngines {};
class JetFilterSort : public OnBothEngines {};

TEST_P(JetFilterLinks, EventAndKindOnTableAndSavedQuery) {
    struct Link {
        long event;
        int art;
        const char* firma;
    };
    const Link links[] = {{7, 0, "Veranstalter A"}, {7, 1, "Technik B"}, {8, 0, "Veranstalter C"}};
    for (const Link& link : links) {
        CSetStammExtFirma firm(t.db());
        firm.open("[ExtID]<0");
        firm.addNew();
        firm.setInt("Art", link.art);
        firm.setText("Firma", link.firma);
        const long extId = insertAndKey(firm, "ExtID");
        CSetEventExtFirma rs(t.db());
        rs.open("[EventID]<0");
        rs.addNew();
        rs.setLong("EventID", link.event);
        rs.setInt("Art", link.art);
        rs.setLong("ExtID", extId);
        rs.setText("Bemerkungen", link.firma);
        rs.update();
    }
    const QString filter = QStringLiteral("[EventID]=%1 AND [Art]=%2");
    CSetEventExtFirma table(t.db());
    EXPECT_EQ(read(table, filter.arg(7).arg(0), "", "Bemerkungen"), QStringList{"Veranstalter A"});
    EXPECT_EQ(read(table, filter.arg(7).arg(1), "", "Bemerkungen"), QStringList{"Technik B"});
    EXPECT_TRUE(read(table, filter.arg(8).arg(1), "", "Bemerkungen").isEmpty());
    CSetAbfrEventExtFirma query(t.db());
    EXPECT_EQ(read(query, filter.arg(8).arg(0), "", "Firma"), QStringList{"Veranstalter C"});
    EXPECT_EQ(read(query, "[EventID]=7 AND [fDeleted]=False", "[Firma] DESC", "Firma"),
              (QStringList{"Veranstalter A", "Technik B"}));
}

TEST_P(JetFilterSort, SeveralColumnsWithOrWithoutBlanks) {
    {
        CSetEventFinanzen rs(t.db());
        rs.open("[FinanzID]<0");
        const struct {
            int kostenart;
            const char* rechnung;
        } rows[] = {{2, "R2"}, {1, "R9"}, {2, "R1"}, {1, "r3"}};
        for (const auto& row : rows) {
            rs.addNew();
            rs.setLong("EventID", 1);
            rs.setInt("Kostenart", row.kostenart);
            rs.setText("RechnungNr", row.rechnung);
            rs.setText("Verwendung", "");
            rs.update();
        }
    }
    const QStringList expected{"r3", "R9", "R1", "R2"};
    for (const char* sort : {"[Kostenart],[RechnungNr]", "[Kostenart], [RechnungNr]",
                             "  [Kostenart] ASC ,  [RechnungNr] asc  ", "Kostenart,RechnungNr"}) {
        CSetEventFinanzen rs(t.db());
        EXPECT_EQ(read(rs, "[EventID]=1", QString::fromUtf8(sort), "RechnungNr"), expected) << sort;
    }
    CSetEventFinanzen rs(t.db());
    EXPECT_EQ(read(rs, "", "[Kostenart] DESC, [RechnungNr] DESC", "RechnungNr"),
              (QStringList{"R2", "R1", "R9", "r3"}));
}

// --- translation ----------------------------------------------------------------------------

TEST(JetFilterTranslation, LiteralsTravelAsParametersNeverAsSql) {
    const SourceDef& firms = Schema::source("T_Stamm_ExtFirma");
    const QString evil = QStringLiteral("x'); DROP TABLE \"T_Event\"; --");
    const Jet::Translation translation = Jet::translateFilter(
        "[Firma]=" + Jet::quoted(evil) + " AND [Art]=3 AND [GebDate]<#3/4/2026 5:06#", firms);
    EXPECT_EQ(translation.sql.find("DROP"), std::string::npos) << translation.sql;
    EXPECT_EQ(translation.sql.find("2026"), std::string::npos) << translation.sql;
    ASSERT_EQ(translation.parameters.size(), 3u);
    EXPECT_EQ(translation.parameters[0].kind, Jet::Parameter::Kind::Text);
    EXPECT_EQ(translation.parameters[0].text, evil.toStdString());
    EXPECT_EQ(translation.parameters[1].kind, Jet::Parameter::Kind::Integer);
    EXPECT_EQ(translation.parameters[1].integer, 3);
    EXPECT_EQ(translation.parameters[2].kind, Jet::Parameter::Kind::Text);
    EXPECT_EQ(translation.parameters[2].text, "2026-03-04 05:06:00");
    EXPECT_TRUE(Jet::translateFilter("", firms).sql.empty());
    EXPECT_TRUE(Jet::translateFilter("   ", firms).parameters.empty());
}

} // namespace

TEST_P(JetFilterEvents, LongValueListsAndDeepNesting) {
    addEvent(QStringLiteral("Halle"), at(2026, 5, 1), 2);
    // A list of several hundred alternatives, as a selection of many events produces.
    QString alternatives = QStringLiteral("[Status]=7");
    for (int i = 0; i < 300; ++i)
        alternatives += QStringLiteral(" OR [Status]=%1").arg(i % 3 == 0 ? 9 : 2);
    EXPECT_EQ(locations(QStringLiteral("(%1) AND [EventID]>0").arg(alternatives)),
              QStringList{QStringLiteral("Halle")});

    const QString deep = QString(200, QLatin1Char('(')) + QStringLiteral("[Status]=2") +
                         QString(200, QLatin1Char(')'));
    CSetEvent rs(t.db());
    expectRefused([&] { rs.open(deep); }, CDaoException::FilterSyntax, deep);
}

// SQLite's parser takes only so much nesting, and its expression tree only so many levels; a
// filter beyond them is refused by this program with its own message, before SQLite sees it.
TEST_P(JetFilterEvents, FiltersBeyondWhatSQLiteTakesAreRefusedBeforehand) {
    addEvent(QStringLiteral("Halle"), at(2026, 5, 1), 2);
    auto repeated = [](const QString& piece, int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += piece;
        return text;
    };
    auto nots = [&](int count) { return repeated(QStringLiteral("NOT "), count) + "[Status]=2"; };
    auto brackets = [&](int count) {
        return repeated(QStringLiteral("("), count) + "[Status]=2" +
               repeated(QStringLiteral(")"), count);
    };
    // Alternatives each holding the next ones in brackets: "a OR (a OR (a ...))".
    auto nestedAlternatives = [&](int count) {
        return repeated(QStringLiteral("[Status]=7 OR ("), count) + "[Status]=2" +
               repeated(QStringLiteral(")"), count);
    };
    auto alternatives = [&](int count) {
        QString text = QStringLiteral("[Status]=2");
        for (int i = 1; i < count; ++i)
            text += QStringLiteral(" OR [Status]=%1").arg(i % 5 + 3);
        return text;
    };
    // Alternatives whose first term holds the next ones: "((a OR b ...) OR b ...)".
    auto nestedChains = [&](int count, int length) {
        const QString rest = repeated(QStringLiteral(" OR [Status]=9"), length - 1) + ")";
        return repeated(QStringLiteral("("), count) + "[Status]=2" + repeated(rest, count);
    };

    const QStringList hall{QStringLiteral("Halle")};
    const QStringList none;
    const struct {
        QString filter;
        QStringList expected;
    } accepted[] = {
        {nots(20), hall},          {nots(21), none},
        {brackets(40), hall},      {nestedAlternatives(10), hall},
        {alternatives(400), hall}, {nestedChains(3, 100), hall},
    };
    for (const auto& c : accepted) {
        CSetEvent rs(t.db());
        try {
            EXPECT_EQ(read(rs, c.filter, "[EBeginn]", "ELocation"), c.expected)
                << c.filter.left(60).toStdString();
        } catch (const CDaoException& e) {
            ADD_FAILURE() << c.filter.left(60).toStdString() << " -> "
                          << e.description().toStdString();
        }
    }
    for (const QString& filter :
         {nots(46), nots(60), brackets(91), brackets(120), nestedAlternatives(24),
          nestedAlternatives(40), alternatives(1000), alternatives(3000), nestedChains(4, 300)}) {
        CSetEvent rs(t.db());
        expectRefused([&] { rs.open(filter); }, CDaoException::FilterSyntax, filter.left(60));
        EXPECT_FALSE(rs.isOpen());
    }
    // The message shows the start of a long filter, not all of it.
    try {
        Jet::translateFilter(alternatives(1000), CSetEvent::definition());
        ADD_FAILURE() << "accepted";
    } catch (const CDaoException& e) {
        EXPECT_LT(e.description().size(), 400) << e.description().toStdString();
    }
}

INSTANTIATE_ON_BOTH_ENGINES(JetFilterEvents);
INSTANTIATE_ON_BOTH_ENGINES(JetFilterFirms);
INSTANTIATE_ON_BOTH_ENGINES(JetFilterSongs);
INSTANTIATE_ON_BOTH_ENGINES(JetFilterLinks);
INSTANTIATE_ON_BOTH_ENGINES(JetFilterSort);
