#include "FinanceModel.h"

#include "FieldRules.h"
#include "Settings.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"
#include "data/RecordSets.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include <sqlite3.h>

namespace Finance {

QString areaName(int costGroup) {
    switch (costGroup) {
    case Personnel:
        return QStringLiteral("Personal");
    case PAHire:
        return QStringLiteral("PA Verleiher");
    case LightHire:
        return QStringLiteral("LA Verleiher");
    case Transport:
        return QStringLiteral("Transport");
    case Overnight:
        return QStringLiteral("Übernachtung");
    case Expenses:
        return QStringLiteral("Spesen/Sonstiges");
    default:
        return QString();
    }
}

QString modeText(VatMode mode) {
    return mode == VatMode::Inclusive ? QStringLiteral("inkl. MwSt.")
                                      : QStringLiteral("ohne MwSt.");
}

VatMode vatMode(const CProfileFile& profile) {
    return Settings::readInt(profile, Settings::MwStInkl) == 0 ? VatMode::Exclusive
                                                               : VatMode::Inclusive;
}

QString modeSuffix(VatMode mode) {
    return QLatin1Char(' ') + modeText(mode);
}

std::optional<double> rateOf(std::optional<int> rateCode, const BaseData& base) {
    if (!rateCode || *rateCode == 1)
        return base.vatRate1;
    if (*rateCode == 2)
        return base.vatRate2;
    return std::nullopt;
}

double displayAmount(double amount, bool includesVat, std::optional<int> rateCode,
                     const BaseData& base, VatMode mode) {
    const std::optional<double> rate = rateOf(rateCode, base);
    if (!rate)
        return amount;
    return enteredDisplayAmount(amount, includesVat, *rate, mode);
}

double displayAmount(const CRecordset& booking, const BaseData& base, VatMode mode) {
    const double amount = booking.isNull("Auszahlung") ? 0.0 : booking.getSingle("Auszahlung");
    const std::optional<int> rateCode = booking.isNull("MwSt_Satz")
                                            ? std::nullopt
                                            : std::optional<int>(booking.getInt("MwSt_Satz"));
    // fMWST counts as set when it is neither null nor 0.
    return displayAmount(amount, booking.getLong("fMWST") != 0, rateCode, base, mode);
}

double grossAmount(const CRecordset& booking, const BaseData& base) {
    return displayAmount(booking, base, VatMode::Inclusive);
}

double vatPart(double amount, double rate, bool includesVat) {
    return includesVat ? rate * amount / (rate + 100) : rate * amount / 100;
}

double enteredDisplayAmount(double amount, bool includesVat, double rate, VatMode mode) {
    if (mode == VatMode::Inclusive)
        return includesVat ? amount : amount * (rate + 100) / 100;
    return includesVat ? amount * 100 / (rate + 100) : amount;
}

QString formatAmount(double amount) {
    // Rounding noise below half a cent must not show as "-0,00".
    if (std::fabs(amount) < 0.005)
        amount = 0;
    return QString::asprintf("%.2f", amount).replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<double> parseAmount(const QString& text) {
    bool ok = false;
    const std::optional<double> value = FieldRules::parseDecimal(text, &ok);
    return ok ? value : std::nullopt;
}

int roomNights(std::vector<std::pair<QDate, QDate>> stays) {
    std::sort(stays.begin(), stays.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    int nights = 0;
    // The latest departure so far: a night before it is counted already.
    QDate occupiedUntil;
    for (const auto& [arrival, departure] : stays) {
        if (!arrival.isValid() || !departure.isValid())
            continue;
        const QDate from =
            occupiedUntil.isValid() && occupiedUntil > arrival ? occupiedUntil : arrival;
        if (departure > from)
            nights += int(from.daysTo(departure));
        if (!occupiedUntil.isValid() || departure > occupiedUntil)
            occupiedUntil = departure;
    }
    return nights;
}

double budgetTotal(std::optional<double> paid, std::optional<double> agreed, bool includesVat,
                   double rate1, VatMode mode) {
    if (paid && *paid > 0) {
        if (mode == VatMode::Inclusive)
            return *paid;
        return includesVat ? *paid * 100 / (rate1 + 100) : *paid;
    }
    if (!agreed)
        return 0;
    return enteredDisplayAmount(*agreed, includesVat, rate1, mode);
}

double budgetToStore(double typed, bool includesVat, double rate1, VatMode mode) {
    // The inverse of budgetTotal() for a paid fee.
    if (mode == VatMode::Inclusive || !includesVat)
        return typed;
    return typed * (rate1 + 100) / 100;
}

double BudgetSummary::area(int costGroup) const {
    switch (costGroup) {
    case Personnel:
        return personnel;
    case PAHire:
        return pa;
    case LightHire:
        return light;
    case Transport:
        return transport;
    case Overnight:
        return overnight;
    case Expenses:
        return expenses;
    default:
        return 0;
    }
}

namespace {

using Stays = std::vector<std::pair<QDate, QDate>>;

void addStay(Stays& stays, const CRecordset& row) {
    stays.emplace_back(row.getDate("Anreise").date(), row.getDate("Abreise").date());
}

// The whole summary comes from one statement, so its figures are read from one snapshot of the
// file without a transaction of their own. Its rows, told apart by the first column:
//   0  one row: paid fee, agreed fee, VAT flag of the fee, the first PA and the first light
//      assignment's "present" flag, the first overnight booking's "organiser pays" flag;
//   1  each booking outside the overnight group with an amount: group, amount, VAT flag, rate;
//   2  each stay: hotel, room, arrival, departure;
//   3  each room with a price: hotel, room, price.
// Single columns go through float as the record sets read them, so the sums agree with the
// amounts the forms show.
std::string summarySql() {
    const std::string overnight = std::to_string(int(Overnight));
    const std::string centre = std::to_string(int(CentreOvernight));
    return "SELECT 0, (SELECT \"EGageBezahlt\" FROM \"T_Event\" WHERE \"EventID\" = ?1), "
           "(SELECT \"EGageVereinb\" FROM \"T_Event\" WHERE \"EventID\" = ?1), "
           "(SELECT \"EfMWST\" FROM \"T_Event\" WHERE \"EventID\" = ?1), "
           "(SELECT \"bVorhanden\" FROM \"T_Event_ExtFirma\" WHERE \"EventID\" = ?1 AND "
           "\"Art\" = 3 ORDER BY rowid LIMIT 1), "
           "(SELECT \"bVorhanden\" FROM \"T_Event_ExtFirma\" WHERE \"EventID\" = ?1 AND "
           "\"Art\" = 4 ORDER BY rowid LIMIT 1), "
           "(SELECT \"fZahltVeranstalter\" FROM \"T_Event_Finanzen\" WHERE \"EventID\" = ?1 AND "
           "\"Kostengruppe\" = " +
           overnight + " AND \"Kostenstelle\" = " + centre +
           " ORDER BY rowid LIMIT 1) "
           "UNION ALL SELECT 1, \"Kostengruppe\", \"Auszahlung\", \"fMWST\", \"MwSt_Satz\", "
           "NULL, NULL FROM \"T_Event_Finanzen\" WHERE \"EventID\" = ?1 AND "
           "\"Kostengruppe\" <> " +
           overnight +
           " AND \"Auszahlung\" IS NOT NULL "
           "UNION ALL SELECT 2, \"HotelID\", \"ZimmerNr\", \"Anreise\", \"Abreise\", NULL, NULL "
           "FROM \"T_Event_Uebernachtung\" WHERE \"EventID\" = ?1 "
           "UNION ALL SELECT 3, \"HotelID\", \"ZimmerNr\", \"Preis\", NULL, NULL, NULL "
           "FROM \"T_Event_Uebernachtung_Zimmer\" WHERE \"EventID\" = ?1 AND \"Preis\" IS NOT NULL";
}

std::optional<double> optionalSingle(sqlite3_stmt* row, int column) {
    if (sqlite3_column_type(row, column) == SQLITE_NULL)
        return std::nullopt;
    return double(float(sqlite3_column_double(row, column)));
}

bool flagOf(sqlite3_stmt* row, int column) {
    return sqlite3_column_int64(row, column) != 0;
}

QDate storedDate(sqlite3_stmt* row, int column) {
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    return text ? parseStoredDate(text, sqlite3_column_bytes(row, column)).date() : QDate();
}

using RoomKey = std::pair<std::int32_t, int>;

} // namespace

BudgetSummary BudgetSummary::compute(CDatabase& db, std::int32_t eventId, const BaseData& base,
                                     VatMode mode) {
    static const std::string sql = summarySql();
    BudgetSummary summary;
    const double rate1 = base.vatRate1;
    // PA and light hire count only while the band hires them: an assignment marked as present
    // (bVorhanden) costs nothing. The first assignment of each kind decides.
    bool paCounts = true;
    bool lightCounts = true;
    std::map<RoomKey, Stays> stays;
    std::vector<std::pair<RoomKey, double>> rooms;

    CachedStatement statement = db.prepare(sql);
    sqlite3_stmt* row = statement.get();
    sqlite3_bind_int(row, 1, eventId);
    int rc;
    while ((rc = sqlite3_step(row)) == SQLITE_ROW) {
        switch (sqlite3_column_int(row, 0)) {
        case 0:
            summary.total = budgetTotal(optionalSingle(row, 1), optionalSingle(row, 2),
                                        flagOf(row, 3), rate1, mode);
            paCounts = !flagOf(row, 4);
            lightCounts = !flagOf(row, 5);
            summary.organiserPays = flagOf(row, 6);
            break;
        case 1: {
            const int group = sqlite3_column_int(row, 1);
            const std::optional<int> rateCode =
                sqlite3_column_type(row, 4) == SQLITE_NULL
                    ? std::nullopt
                    : std::optional<int>(sqlite3_column_int(row, 4));
            const double amount =
                displayAmount(*optionalSingle(row, 2), flagOf(row, 3), rateCode, base, mode);
            switch (group) {
            case Personnel:
                summary.personnel += amount;
                break;
            case PAHire:
                if (paCounts)
                    summary.pa += amount;
                break;
            case LightHire:
                if (lightCounts)
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
            break;
        }
        case 2:
            stays[{sqlite3_column_int(row, 1), sqlite3_column_int(row, 2)}].emplace_back(
                storedDate(row, 3), storedDate(row, 4));
            break;
        case 3:
            rooms.emplace_back(RoomKey{sqlite3_column_int(row, 1), sqlite3_column_int(row, 2)},
                               *optionalSingle(row, 3));
            break;
        default:
            break;
        }
    }
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(db.handle(), rc);

    // Room prices are gross at rate 1; rooms are added in the order of hotel and room.
    std::stable_sort(rooms.begin(), rooms.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, price] : rooms) {
        const auto found = stays.find(key);
        if (found == stays.end())
            continue;
        const double gross = roomNights(found->second) * price;
        summary.overnight += mode == VatMode::Inclusive ? gross : gross * 100 / (rate1 + 100);
    }

    summary.material = summary.expenses + summary.pa + summary.light + summary.transport;
    if (!summary.organiserPays)
        summary.material += summary.overnight;
    summary.costs = summary.personnel + summary.material;
    return summary;
}

int roomNights(CDatabase& db, std::int32_t eventId, std::int32_t hotelId, int roomNumber) {
    Stays stays;
    CSetEventNacht row(db);
    for (row.open(QString::asprintf("[EventID]=%ld AND [HotelID]=%ld AND [ZimmerNr]=%d",
                                    long(eventId), long(hotelId), roomNumber),
                  QStringLiteral("[Anreise]"));
         !row.atEnd(); row.moveNext())
        addStay(stays, row);
    return roomNights(std::move(stays));
}

double merchandiseTotal(std::optional<std::int32_t> quantity, std::optional<double> price) {
    return double(quantity.value_or(0)) * price.value_or(0.0);
}

} // namespace Finance
