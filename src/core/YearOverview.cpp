#include "YearOverview.h"

#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"
#include "data/SqlText.h"

#include <QDate>
#include <QLocale>

#include <cmath>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace YearOverview {

namespace {

using Finance::BudgetSummary;

// The events of the year, by the day they begin.
const char* const kYearEvents =
    "SELECT \"EventID\" FROM \"T_Event\" WHERE \"EBeginn\" >= ?1 AND \"EBeginn\" < ?2 AND "
    "\"EventID\" > 0";

QVariant yearStart(int year) {
    return QString::number(year).rightJustified(4, QLatin1Char('0')) + QStringLiteral("-01-01");
}

} // namespace

bool countsMoney(int status) {
    return status == 2 || status == 4;
}

bool isProspective(int status) {
    return status == 0 || status == 1;
}

int Figures::gigCount() const {
    int count = 0;
    for (int gigsOfStatus : gigs)
        count += gigsOfStatus;
    return count;
}

void Figures::add(const Figures& other) {
    for (int i = 0; i < kStatuses; ++i)
        gigs[size_t(i)] += other.gigs[size_t(i)];
    fees += other.fees;
    prospective += other.prospective;
    for (int i = 0; i < kAreas; ++i)
        areas[size_t(i)] += other.areas[size_t(i)];
    costs += other.costs;
}

void Figures::add(int status, const BudgetSummary& summary) {
    if (status >= 0 && status < kStatuses)
        ++gigs[size_t(status)];
    // Each figure is rounded to the cent as the event's overview shows it, so that the months
    // are the sums of what the forms print.
    if (isProspective(status))
        prospective += Finance::roundToCent(summary.total);
    if (!countsMoney(status))
        return;
    fees += Finance::roundToCent(summary.total);
    for (int group = 1; group <= kAreas; ++group)
        areas[size_t(group - 1)] += Finance::roundToCent(summary.area(group));
    costs += Finance::roundToCent(summary.costs);
}

std::array<double, 12> Year::runningBalance() const {
    std::array<double, 12> running{};
    double sum = 0;
    for (int i = 0; i < 12; ++i)
        running[size_t(i)] = sum += months[size_t(i)].balance();
    return running;
}

std::string monthsQuery(Jet::Dialect dialect) {
    return "SELECT \"EventID\", " + SqlText::monthOf(dialect, "\"EBeginn\"") +
           ", coalesce(\"Status\", 1) FROM \"T_Event\" WHERE \"EBeginn\" >= ?1 AND "
           "\"EBeginn\" < ?2 AND \"EventID\" > 0";
}

namespace {

// The month (1 to 12) and status of each event of the year.
using MonthAndStatus = std::map<std::int32_t, std::pair<int, int>>;

MonthAndStatus monthsAndStatuses(CDatabase& db, int year) {
    CQuery query(db, monthsQuery(db.dialect()));
    query.bindText(1, yearStart(year).toString());
    query.bindText(2, yearStart(year + 1).toString());
    MonthAndStatus result;
    while (query.next())
        result[query.getLong(0)] = {query.getLong(1), query.getLong(2)};
    return result;
}

} // namespace

std::map<std::int32_t, BudgetSummary> summaries(CDatabase& db, int year, const BaseData& base,
                                                Finance::VatMode mode) {
    return BudgetSummary::computeAll(db, kYearEvents, {yearStart(year), yearStart(year + 1)}, base,
                                     mode);
}

Year compute(CDatabase& db, int year, const BaseData& base, Finance::VatMode mode) {
    Year result;
    result.year = year;
    // Both reads in one transaction, so the months and the money agree.
    const CDbReadSnapshot snapshot(db);
    const MonthAndStatus monthAndStatus = monthsAndStatuses(db, year);
    const std::map<std::int32_t, BudgetSummary> money = summaries(db, year, base, mode);
    for (const auto& [event, place] : monthAndStatus) {
        const auto [month, status] = place;
        const auto found = money.find(event);
        if (month >= 1 && month <= 12)
            result.months[size_t(month - 1)].add(status, found == money.end() ? BudgetSummary()
                                                                              : found->second);
    }
    for (const Figures& month : result.months)
        result.total.add(month);
    return result;
}

QString monthName(int month) {
    static const char* const names[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

QStringList tableHeader(int year) {
    const QString previous = QString::number(year - 1);
    return {QStringLiteral("Monat"),
            QStringLiteral("angefr."),
            QStringLiteral("reserv."),
            QStringLiteral("gebucht"),
            QStringLiteral("abges."),
            QStringLiteral("fakt."),
            QStringLiteral("Gagen"),
            QStringLiteral("in Aussicht"),
            QStringLiteral("Personal"),
            QStringLiteral("PA"),
            QStringLiteral("LA"),
            QStringLiteral("Transport"),
            QStringLiteral("Übern."),
            QStringLiteral("Spesen"),
            QStringLiteral("Kosten"),
            QStringLiteral("Saldo"),
            QStringLiteral("Gigs ") + previous,
            QStringLiteral("Gagen ") + previous,
            QStringLiteral("Kosten ") + previous,
            QStringLiteral("Saldo ") + previous};
}

std::vector<QStringList> tableRows(const Year& year, const Year& previous) {
    std::vector<QStringList> rows;
    const auto row = [&rows](const QString& label, const Figures& now, const Figures& before) {
        QStringList cells{label};
        for (int gigs : now.gigs)
            cells << QString::number(gigs);
        cells << groupedAmount(now.fees) << groupedAmount(now.prospective);
        for (double area : now.areas)
            cells << groupedAmount(area);
        cells << groupedAmount(now.costs) << groupedAmount(now.balance())
              << QString::number(before.gigCount()) << groupedAmount(before.fees)
              << groupedAmount(before.costs) << groupedAmount(before.balance());
        rows.push_back(cells);
    };
    for (int month = 1; month <= 12; ++month)
        row(monthName(month), year.months[size_t(month - 1)], previous.months[size_t(month - 1)]);
    row(QStringLiteral("Summe"), year.total, previous.total);
    return rows;
}

bool isCountColumn(int column) {
    // The five statuses, and the year before's gigs.
    return (column >= 1 && column <= kStatuses) || column == kStatuses + kAreas + 5;
}

QString statusNote() {
    return QStringLiteral("Gagen und Kosten: gebuchte und fakturierte Gigs. In Aussicht: Gagen "
                          "angefragter und reservierter Gigs. Abgesagte Gigs zählen nicht.");
}

QString groupedAmount(double amount) {
    amount = Finance::roundToCent(amount);
    if (std::fabs(amount) < 0.005)
        amount = 0;
    return QLocale(QLocale::German, QLocale::Germany).toString(amount, 'f', 2);
}

} // namespace YearOverview
