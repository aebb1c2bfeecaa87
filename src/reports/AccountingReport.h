#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "core/UserProfile.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CDatabase;
class CRecordset;

// The accounting statement ("Abrechnung") of one event: the event's data, then a table of the
// income (fee, merchandise sales) and of what each cost group booked, all amounts including VAT,
// with their totals and the balance. It settles what was booked and paid, so it adds up the
// gross amounts of the bookings, not the budget figures of the finance overview.
namespace AccountingReport {

// One row of the table. A row with no texts and no amounts is an empty spacer row.
struct Row {
    QString group;              // "Rubrik": the label on a group's first row
    QString description;        // "Art der Aufwendungen"
    std::optional<double> rate; // VAT rate in percent
    std::optional<double> income;
    std::optional<double> expense;
};

struct Statement {
    std::vector<Row> rows;
    double income = 0;
    double expenses = 0;
    // What the plan holds and no booking covers yet, including VAT (the finance model's rule).
    Finance::AreaCosts unbooked;

    double balance() const { return income - expenses; }
};

// The cost type of a transport booking (Kostenart 1 to 5); any other value is "Sonstiges".
QString vehicleCostName(int costKind);
// An amount as the table prints it: two decimals with a point; never "-0.00".
QString amountText(double amount);
// "Noch nicht gebucht: Übernachtungen 89.50, Transport 12.00": each area with an amount the plan
// holds and no booking covers; empty when there is none.
QString unbookedLine(const Finance::AreaCosts& unbooked);

// The rows of the statement of the event `event` stands on. A name that cannot be looked up is
// shown as a database error and leaves its description empty. Throws CDaoException when the
// sales or the bookings cannot be read.
Statement read(CDatabase& db, const CRecordset& event, const BaseData& base);

// Renders the statement. The table continues on further pages, its head repeated, when it is
// longer than the page. A database error is shown (MessageService) and leaves the report
// without pages.
Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics);

} // namespace AccountingReport
