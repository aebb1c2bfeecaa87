#pragma once

#include "FinanceModel.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include <QStringList>

class CDatabase;

// The figures of a year per month: the gigs by status and, from the finance model, fees and
// costs. An event belongs to the month in which it begins. Each event's money is its budget
// summary, so the months add up to exactly what the accounting forms show; the summaries of a
// whole year are read with one query per table instead of a handful per event.
namespace YearOverview {

constexpr int kStatuses = 5; // angefragt, reserviert, gebucht, abgesagt, fakturiert
constexpr int kAreas = 6;    // Personal, PA, LA, Transport, Übernachtung, Spesen

struct Figures {
    std::array<int, kStatuses> gigs{};
    double fees = 0;
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

// "Jan" ... "Dez".
QString monthName(int month);

// The table the form and the page show: one row per month and "Summe", the year's gigs by
// status, fees, the six cost areas, costs and balance, then the year before's gigs, fees, costs
// and balance. Amounts with a decimal comma.
QStringList tableHeader(int year);
std::vector<QStringList> tableRows(const Year& year, const Year& previous);

} // namespace YearOverview
