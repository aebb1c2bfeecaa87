#pragma once

#include "FinanceModel.h"

#include "data/JetFilter.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <QStringList>

class CDatabase;

// The figures of a year per month: the gigs by status and, from the finance model, fees and
// costs. An event belongs to the month in which it begins. Only booked and invoiced gigs bring
// money: their budget summaries add up to exactly what the accounting forms show. The fees of
// requested and reserved gigs are shown apart as "in Aussicht"; cancelled gigs add no money.
// The summaries of a whole year are read with one query per table instead of a handful per
// event.
namespace YearOverview {

constexpr int kStatuses = 5; // angefragt, reserviert, gebucht, abgesagt, fakturiert
constexpr int kAreas = 6;    // Personal, PA, LA, Transport, Übernachtung, Spesen

// Whether a gig of this status brings its fee and costs into the year's money: booked (2) and
// invoiced (4) gigs do; requested, reserved and cancelled ones do not.
bool countsMoney(int status);
// Whether the fee of a gig of this status is still only in prospect (requested 0, reserved 1).
bool isProspective(int status);

struct Figures {
    std::array<int, kStatuses> gigs{};
    double fees = 0;                    // "Gagen": booked and invoiced gigs
    double prospective = 0;             // "in Aussicht": fees of requested and reserved gigs
    std::array<double, kAreas> areas{}; // by cost group 1 to 6
    double costs = 0;                   // "Summe Kosten"

    int gigCount() const;
    double balance() const { return fees - costs; }
    void add(const Figures& other);
    void add(int status, const Finance::BudgetSummary& summary);
};

struct Year {
    int year = 0;
    std::array<Figures, 12> months;
    Figures total;

    // The balance from January up to and including each month.
    std::array<double, 12> runningBalance() const;
    bool isEmpty() const { return total.gigCount() == 0; }
};

// The budget summary of every event beginning in the year, by EventID. Equal to
// Finance::BudgetSummary::compute() for each of them. Throws CDaoException.
std::map<std::int32_t, Finance::BudgetSummary>
summaries(CDatabase& db, int year, const BaseData& base, Finance::VatMode mode);

// The year's figures. Throws CDaoException.
Year compute(CDatabase& db, int year, const BaseData& base, Finance::VatMode mode);
// The events beginning in [?1, ?2) (yyyy-MM-dd) with the month they begin in and their status.
std::string monthsQuery(Jet::Dialect dialect);

// "Jan" ... "Dez".
QString monthName(int month);

// The table the form and the page show: one row per month and "Summe", the year's gigs by
// status, fees, the six cost areas, costs and balance, then the year before's gigs, fees, costs
// and balance. Amounts in German number format ("12.345,67").
QStringList tableHeader(int year);
std::vector<QStringList> tableRows(const Year& year, const Year& previous);
// The columns of tableHeader() that hold counts of gigs (all others but the first hold amounts).
bool isCountColumn(int column);
// The note under the table: which gigs the money counts.
QString statusNote();
// An amount as the table shows it: "1.234.567,89", never "-0,00".
QString groupedAmount(double amount);

} // namespace YearOverview
