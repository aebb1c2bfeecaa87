#include "YearOverview.h"

#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QDate>

#include <sqlite3.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace YearOverview {

namespace {

using Finance::BudgetSummary;

// The events of the year; every other query joins them.
const char* const kYearEvents =
    "SELECT \"EventID\" FROM \"T_Event\" WHERE \"EBeginn\" >= ?1 AND \"EBeginn\" < ?2 AND "
    "\"EventID\" > 0";

// Runs a query bound to the year's range and hands each row to `row`.
template <class Row> void each(CDatabase& db, const std::string& sql, int year, Row&& row) {
    CachedStatement statement = db.prepare(sql);
    sqlite3_stmt* raw = statement.get();
    const QByteArray from = QByteArray::number(year) + "-01-01";
    const QByteArray to = QByteArray::number(year + 1) + "-01-01";
    sqlite3_bind_text(raw, 1, from.constData(), int(from.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, to.constData(), int(to.size()), SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        row(raw);
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(db.handle(), rc);
}

bool isNull(sqlite3_stmt* raw, int column) {
    return sqlite3_column_type(raw, column) == SQLITE_NULL;
}

// Amounts are single-precision columns: read them as the record sets do.
double single(sqlite3_stmt* raw, int column) {
    return double(float(sqlite3_column_double(raw, column)));
}

std::optional<double> optionalSingle(sqlite3_stmt* raw, int column) {
    return isNull(raw, column) ? std::nullopt : std::optional<double>(single(raw, column));
}

// A stored date-time "yyyy-MM-dd HH:mm:ss", read by hand: the stays of a year are many.
QDate storedDate(sqlite3_stmt* raw, int column) {
    if (isNull(raw, column) || sqlite3_column_bytes(raw, column) < 10)
        return QDate();
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, column));
    const auto number = [text](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

std::string joined(const char* table, const char* columns, const char* order) {
    return std::string("SELECT ") + columns + " FROM \"" + table +
           "\" AS t WHERE t.\"EventID\" IN (" + kYearEvents + ") ORDER BY " + order;
}

struct Hire {
    bool paSeen = false, lightSeen = false, paCounts = true, lightCounts = true;
    bool flagSeen = false;
};

} // namespace

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
    for (int i = 0; i < kAreas; ++i)
        areas[size_t(i)] += other.areas[size_t(i)];
    costs += other.costs;
}

void Figures::add(int status, const BudgetSummary& summary) {
    if (status >= 0 && status < kStatuses)
        ++gigs[size_t(status)];
    fees += summary.total;
    for (int group = 1; group <= kAreas; ++group)
        areas[size_t(group - 1)] += summary.area(group);
    costs += summary.costs;
}

std::array<double, 12> Year::runningBalance() const {
    std::array<double, 12> running{};
    double sum = 0;
    for (int i = 0; i < 12; ++i)
        running[size_t(i)] = sum += months[size_t(i)].balance();
    return running;
}

namespace {

// The month (1 to 12) and status of each event of the year.
using MonthAndStatus = std::map<std::int32_t, std::pair<int, int>>;

std::map<std::int32_t, BudgetSummary> readSummaries(CDatabase& db, int year, const BaseData& base,
                                                    Finance::VatMode mode,
                                                    MonthAndStatus* monthAndStatus) {
    using namespace Finance;
    std::map<std::int32_t, BudgetSummary> result;
    std::map<std::int32_t, Hire> hire;
    const double rate1 = base.vatRate1;
    // One read transaction, as the summary of one event does: the figures agree.
    const bool own = db.transactionDepth() == 0;
    if (own) {
        db.execute("BEGIN DEFERRED");
        ++db.transactionDepth();
    }
    struct End {
        CDatabase& db;
        bool own;
        ~End() {
            if (!own)
                return;
            --db.transactionDepth();
            try {
                db.execute("COMMIT");
            } catch (const std::exception&) {
                // Nothing was written.
            }
        }
    } end{db, own};

    each(
        db,
        "SELECT \"EventID\", \"EGageBezahlt\", \"EGageVereinb\", \"EfMWST\", "
        "CAST(substr(\"EBeginn\", 6, 2) AS INTEGER), coalesce(\"Status\", 1) FROM \"T_Event\" "
        "WHERE \"EBeginn\" >= ?1 AND \"EBeginn\" < ?2 AND \"EventID\" > 0",
        year, [&](sqlite3_stmt* raw) {
            const std::int32_t event = sqlite3_column_int(raw, 0);
            result[event].total = budgetTotal(optionalSingle(raw, 1), optionalSingle(raw, 2),
                                              sqlite3_column_int(raw, 3) != 0, rate1, mode);
            if (monthAndStatus)
                (*monthAndStatus)[event] = {sqlite3_column_int(raw, 4), sqlite3_column_int(raw, 5)};
        });

    // The first PA and light assignment of an event decides whether the band hires them.
    each(db,
         joined("T_Event_ExtFirma", "t.\"EventID\", t.\"Art\", t.\"bVorhanden\"",
                "t.\"EventID\", t.\"Art\", t.rowid"),
         year, [&](sqlite3_stmt* raw) {
             Hire& h = hire[sqlite3_column_int(raw, 0)];
             const int kind = sqlite3_column_int(raw, 1);
             const bool present = sqlite3_column_int(raw, 2) != 0;
             if (kind == 3 && !h.paSeen) {
                 h.paSeen = true;
                 h.paCounts = !present;
             } else if (kind == 4 && !h.lightSeen) {
                 h.lightSeen = true;
                 h.lightCounts = !present;
             }
         });

    each(db,
         joined("T_Event_Finanzen",
                "t.\"EventID\", t.\"Kostengruppe\", t.\"Kostenstelle\", t.\"Auszahlung\", "
                "t.\"fMWST\", t.\"MwSt_Satz\", t.\"fZahltVeranstalter\"",
                "t.\"EventID\", t.\"Kostengruppe\", t.\"Kostenstelle\", t.rowid"),
         year, [&](sqlite3_stmt* raw) {
             const std::int32_t event = sqlite3_column_int(raw, 0);
             const auto found = result.find(event);
             if (found == result.end())
                 return;
             BudgetSummary& summary = found->second;
             Hire& h = hire[event];
             const int group = sqlite3_column_int(raw, 1);
             if (group == Overnight) {
                 if (!h.flagSeen && sqlite3_column_int(raw, 2) == CentreOvernight) {
                     h.flagSeen = true;
                     summary.organiserPays = sqlite3_column_int(raw, 6) != 0;
                 }
                 return;
             }
             if (isNull(raw, 3))
                 return;
             const std::optional<int> rateCode =
                 isNull(raw, 5) ? std::nullopt : std::optional<int>(sqlite3_column_int(raw, 5));
             const double amount = displayAmount(single(raw, 3), sqlite3_column_int(raw, 4) != 0,
                                                 rateCode, base, mode);
             switch (group) {
             case Personnel:
                 summary.personnel += amount;
                 break;
             case PAHire:
                 if (h.paCounts)
                     summary.pa += amount;
                 break;
             case LightHire:
                 if (h.lightCounts)
                     summary.light += amount;
                 break;
             case Transport:
                 summary.transport += amount;
                 break;
             case Expenses:
                 summary.expenses += amount;
                 break;
             default:
                 break;
             }
         });

    // Room prices are gross at rate 1, for the nights the room is occupied.
    using RoomKey = std::pair<std::int32_t, std::pair<std::int32_t, int>>;
    std::map<RoomKey, std::vector<std::pair<QDate, QDate>>> stays;
    each(db,
         joined("T_Event_Uebernachtung",
                "t.\"EventID\", t.\"HotelID\", t.\"ZimmerNr\", t.\"Anreise\", t.\"Abreise\"",
                "t.\"EventID\""),
         year, [&](sqlite3_stmt* raw) {
             stays[{sqlite3_column_int(raw, 0),
                    {sqlite3_column_int(raw, 1), sqlite3_column_int(raw, 2)}}]
                 .emplace_back(storedDate(raw, 3), storedDate(raw, 4));
         });
    each(db,
         joined("T_Event_Uebernachtung_Zimmer",
                "t.\"EventID\", t.\"HotelID\", t.\"ZimmerNr\", t.\"Preis\"",
                "t.\"EventID\", t.\"HotelID\", t.\"ZimmerNr\""),
         year, [&](sqlite3_stmt* raw) {
             if (isNull(raw, 3))
                 return;
             const std::int32_t event = sqlite3_column_int(raw, 0);
             const auto summary = result.find(event);
             const auto found =
                 stays.find({event, {sqlite3_column_int(raw, 1), sqlite3_column_int(raw, 2)}});
             if (summary == result.end() || found == stays.end())
                 return;
             const double gross = roomNights(found->second) * single(raw, 3);
             summary->second.overnight +=
                 mode == VatMode::Inclusive ? gross : gross * 100 / (rate1 + 100);
         });

    for (auto& [event, summary] : result) {
        summary.material = summary.expenses + summary.pa + summary.light + summary.transport;
        if (!summary.organiserPays)
            summary.material += summary.overnight;
        summary.costs = summary.personnel + summary.material;
    }
    return result;
}

} // namespace

std::map<std::int32_t, BudgetSummary> summaries(CDatabase& db, int year, const BaseData& base,
                                                Finance::VatMode mode) {
    return readSummaries(db, year, base, mode, nullptr);
}

Year compute(CDatabase& db, int year, const BaseData& base, Finance::VatMode mode) {
    Year result;
    result.year = year;
    MonthAndStatus monthAndStatus;
    const std::map<std::int32_t, BudgetSummary> money =
        readSummaries(db, year, base, mode, &monthAndStatus);
    for (const auto& [event, summary] : money) {
        const auto [month, status] = monthAndStatus[event];
        if (month >= 1 && month <= 12)
            result.months[size_t(month - 1)].add(status, summary);
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
        cells << Finance::formatAmount(now.fees);
        for (double area : now.areas)
            cells << Finance::formatAmount(area);
        cells << Finance::formatAmount(now.costs) << Finance::formatAmount(now.balance())
              << QString::number(before.gigCount()) << Finance::formatAmount(before.fees)
              << Finance::formatAmount(before.costs) << Finance::formatAmount(before.balance());
        rows.push_back(cells);
    };
    for (int month = 1; month <= 12; ++month)
        row(monthName(month), year.months[size_t(month - 1)], previous.months[size_t(month - 1)]);
    row(QStringLiteral("Summe"), year.total, previous.total);
    return rows;
}

} // namespace YearOverview
