#include "FinanceModel.h"

#include "FieldRules.h"
#include "Settings.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"
#include "data/CRecordset.h"
#include "data/RecordSets.h"
#include "data/SqlText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

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

double roundToCent(double amount) {
    // A float amount such as 39.665f reads back as 39.66499…; a nudge of far less than a cent
    // keeps the half-cent where the user typed it.
    const double cents = amount * 100.0;
    const double rounded = std::round(cents + (cents >= 0 ? 1e-6 : -1e-6));
    return rounded / 100.0 + 0.0; // + 0.0 turns -0 into 0
}

double bookingAmount(double amount, bool includesVat, std::optional<int> rateCode,
                     const BaseData& base, VatMode mode) {
    return roundToCent(displayAmount(amount, includesVat, rateCode, base, mode));
}

double bookingAmount(const CRecordset& booking, const BaseData& base, VatMode mode) {
    return roundToCent(displayAmount(booking, base, mode));
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
    return AreaCosts{personnel, pa, light, transport, overnight, expenses}.area(costGroup);
}

namespace {

using Stays = std::vector<std::pair<QDate, QDate>>;

void addStay(Stays& stays, const CRecordset& row) {
    stays.emplace_back(row.getDate("Anreise").date(), row.getDate("Abreise").date());
}

} // namespace

// The summaries come from one statement over the chosen events, so their figures are read from
// one snapshot of the database without a transaction of their own. Every row names its event in
// column 1; column 0 tells the rows apart:
//   0  the event's paid fee, agreed fee and the fee's VAT flag;
//   1  the first PA (3) or light (4) assignment: kind, "present" flag;
//   2  the first overnight booking of the overnight cost centre: "organiser pays" flag;
//   3  each booking outside the overnight group with an amount: group, amount, VAT flag, rate;
//   4  each stay: hotel, room, and in columns 6 and 7 arrival and departure;
//   5  each room with a price: hotel, room, price.
// "First" is the row entered first, the one with the lowest row number. Dates have columns of
// their own and the first row names the kind of each column: a column holds values of one kind.
// Single columns go through float as the record sets read them, so the sums agree with the
// amounts the forms show.
std::string summaryQuery(Jet::Dialect dialect, const std::string& events) {
    const std::string in = " WHERE \"EventID\" IN (" + events + ")";
    const std::string overnight = std::to_string(int(Overnight));
    return "SELECT 0, \"EventID\", \"EGageBezahlt\", \"EGageVereinb\", \"EfMWST\", "
           "CAST(NULL AS integer), CAST(NULL AS timestamp), CAST(NULL AS timestamp) FROM "
           "\"T_Event\"" +
           in + " UNION ALL " +
           SqlText::firstOfGroups(dialect,
                                  "1, \"EventID\", \"Art\", \"bVorhanden\", " +
                                      SqlText::firstRowNumber(dialect) + ", NULL, NULL, NULL",
                                  "\"T_Event_ExtFirma\"" + in + " AND \"Art\" IN (3, 4)",
                                  "\"EventID\", \"Art\"") +
           " UNION ALL " +
           SqlText::firstOfGroups(
               dialect,
               "2, \"EventID\", \"fZahltVeranstalter\", " + SqlText::firstRowNumber(dialect) +
                   ", NULL, NULL, NULL, NULL",
               "\"T_Event_Finanzen\"" + in + " AND \"Kostengruppe\" = " + overnight +
                   " AND \"Kostenstelle\" = " + std::to_string(int(CentreOvernight)),
               "\"EventID\"") +
           " UNION ALL SELECT 3, \"EventID\", \"Kostengruppe\", \"Auszahlung\", \"fMWST\", "
           "\"MwSt_Satz\", NULL, NULL FROM \"T_Event_Finanzen\"" +
           in + " AND \"Kostengruppe\" <> " + overnight +
           " AND \"Auszahlung\" IS NOT NULL"
           " UNION ALL SELECT 4, \"EventID\", \"HotelID\", \"ZimmerNr\", NULL, NULL, \"Anreise\", "
           "\"Abreise\" FROM \"T_Event_Uebernachtung\"" +
           in +
           " UNION ALL SELECT 5, \"EventID\", \"HotelID\", \"ZimmerNr\", \"Preis\", NULL, NULL, "
           "NULL FROM \"T_Event_Uebernachtung_Zimmer\"" +
           in + " AND \"Preis\" IS NOT NULL";
}

namespace {

double single(const CQuery& row, int column) {
    return double(row.getSingle(column));
}

std::optional<double> optionalSingle(const CQuery& row, int column) {
    return row.isNull(column) ? std::nullopt : std::optional<double>(single(row, column));
}

bool flagOf(const CQuery& row, int column) {
    return row.getInt64(column) != 0;
}

QDate storedDate(const CQuery& row, int column) {
    return row.getDate(column).date();
}

void bind(CQuery& query, const std::vector<QVariant>& parameters) {
    for (size_t i = 0; i < parameters.size(); ++i) {
        const int index = int(i) + 1;
        const QVariant& value = parameters[i];
        if (value.typeId() == QMetaType::QString)
            query.bindText(index, value.toString());
        else
            query.bindInt(index, value.toLongLong());
    }
}

// What one event's rows add up to before the hire and overnight rules are applied.
struct EventRows {
    BudgetSummary summary;
    double paHire = 0;
    double lightHire = 0;
    bool paCounts = true;
    bool lightCounts = true;
    std::map<std::pair<std::int32_t, int>, Stays> stays;                // by hotel and room
    std::vector<std::pair<std::pair<std::int32_t, int>, double>> rooms; // prices
};

BudgetSummary finish(EventRows& rows, double rate1, VatMode mode) {
    BudgetSummary& summary = rows.summary;
    // PA and light hire count only while the band hires them: an assignment marked as present
    // (bVorhanden) costs nothing.
    summary.pa = rows.paCounts ? rows.paHire : 0;
    summary.light = rows.lightCounts ? rows.lightHire : 0;
    // Room prices are gross at rate 1; rooms are added in the order of hotel and room.
    std::stable_sort(rows.rooms.begin(), rows.rooms.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, price] : rows.rooms) {
        const auto found = rows.stays.find(key);
        if (found == rows.stays.end())
            continue;
        const double gross = roomTotal(roomNights(found->second), price);
        summary.overnight +=
            mode == VatMode::Inclusive ? gross : roundToCent(gross * 100 / (rate1 + 100));
    }
    summary.material = summary.expenses + summary.pa + summary.light + summary.transport;
    if (!summary.organiserPays)
        summary.material += summary.overnight;
    summary.costs = summary.personnel + summary.material;
    return summary;
}

void addRow(EventRows& rows, const CQuery& row, const BaseData& base, VatMode mode) {
    BudgetSummary& summary = rows.summary;
    switch (row.getLong(0)) {
    case 0:
        summary.total = roundToCent(budgetTotal(optionalSingle(row, 2), optionalSingle(row, 3),
                                                flagOf(row, 4), base.vatRate1, mode));
        break;
    case 1:
        (row.getLong(2) == 3 ? rows.paCounts : rows.lightCounts) = !flagOf(row, 3);
        break;
    case 2:
        summary.organiserPays = flagOf(row, 2);
        break;
    case 3: {
        const std::optional<int> rateCode =
            row.isNull(5) ? std::nullopt : std::optional<int>(row.getLong(5));
        const double amount = bookingAmount(single(row, 3), flagOf(row, 4), rateCode, base, mode);
        switch (row.getLong(2)) {
        case Personnel:
            summary.personnel += amount;
            break;
        case PAHire:
            rows.paHire += amount;
            break;
        case LightHire:
            rows.lightHire += amount;
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
    case 4:
        rows.stays[{row.getLong(2), row.getLong(3)}].emplace_back(storedDate(row, 6),
                                                                  storedDate(row, 7));
        break;
    case 5:
        rows.rooms.emplace_back(std::pair{row.getLong(2), row.getLong(3)}, single(row, 4));
        break;
    default:
        break;
    }
}

} // namespace

std::map<std::int32_t, BudgetSummary>
BudgetSummary::computeAll(CDatabase& db, const std::string& events,
                          const std::vector<QVariant>& parameters, const BaseData& base,
                          VatMode mode) {
    CQuery query(db, summaryQuery(db.dialect(), events));
    bind(query, parameters);
    std::map<std::int32_t, EventRows> byEvent;
    // Rows of one event come together; remembering the last one spares most look-ups.
    std::int32_t lastEvent = 0;
    EventRows* last = nullptr;
    while (query.next()) {
        const std::int32_t event = query.getLong(1);
        if (!last || event != lastEvent) {
            last = &byEvent[event];
            lastEvent = event;
        }
        addRow(*last, query, base, mode);
    }
    std::map<std::int32_t, BudgetSummary> summaries;
    for (auto& [event, rows] : byEvent)
        summaries.emplace_hint(summaries.end(), event, finish(rows, base.vatRate1, mode));
    return summaries;
}

BudgetSummary BudgetSummary::compute(CDatabase& db, std::int32_t eventId, const BaseData& base,
                                     VatMode mode) {
    std::map<std::int32_t, BudgetSummary> summaries =
        computeAll(db, "?1", {QVariant(eventId)}, base, mode);
    const auto found = summaries.find(eventId);
    return found == summaries.end() ? BudgetSummary() : found->second;
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

double roomTotal(int nights, double price) {
    return roundToCent(nights * price);
}

double overnightTotal(CDatabase& db, std::int32_t eventId) {
    double total = 0;
    CSetNachtZimmer rooms(db);
    for (rooms.open(QString::asprintf("[EventID]=%ld", long(eventId)),
                    QStringLiteral("[HotelID], [ZimmerNr]"));
         !rooms.atEnd(); rooms.moveNext()) {
        if (rooms.isNull("Preis"))
            continue;
        total +=
            roomTotal(roomNights(db, eventId, rooms.getLong("HotelID"), rooms.getInt("ZimmerNr")),
                      rooms.getSingle("Preis"));
    }
    return roundToCent(total);
}

namespace {

QString overnightBookingFilter(std::int32_t eventId) {
    return QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d",
                             long(eventId), int(Overnight), int(CentreOvernight));
}

} // namespace

void updateOvernightBooking(CDatabase& db, std::int32_t eventId) {
    CSetEventFinanzen bookings(db);
    bookings.open(overnightBookingFilter(eventId));
    if (bookings.atEnd())
        return;
    const double total = overnightTotal(db, eventId);
    for (; !bookings.atEnd(); bookings.moveNext()) {
        // A booking that holds the total already is left untouched.
        if (!bookings.isNull("Auszahlung") && bookings.getLong("fMWST") != 0 &&
            float(bookings.getSingle("Auszahlung")) == float(total))
            continue;
        bookings.edit();
        bookings.setSingle("Auszahlung", total);
        bookings.setLong("fMWST", 1);
        try {
            bookings.update();
        } catch (...) {
            bookings.cancelUpdate();
            throw;
        }
    }
}

namespace {

double AreaCosts::*areaMember(int costGroup) {
    static double AreaCosts::*const members[] = {&AreaCosts::personnel, &AreaCosts::pa,
                                                 &AreaCosts::light,     &AreaCosts::transport,
                                                 &AreaCosts::overnight, &AreaCosts::expenses};
    return costGroup >= Personnel && costGroup <= Expenses ? members[costGroup - 1] : nullptr;
}

} // namespace

double AreaCosts::area(int costGroup) const {
    double AreaCosts::*member = areaMember(costGroup);
    return member ? this->*member : 0;
}

void AreaCosts::setArea(int costGroup, double amount) {
    if (double AreaCosts::*member = areaMember(costGroup))
        this->*member = amount;
}

namespace {

// The overnight booking's amount as the mode shows it: the rooms' gross total at rate 1.
double overnightDisplay(double gross, const BaseData& base, VatMode mode) {
    return roundToCent(enteredDisplayAmount(gross, true, base.vatRate1, mode));
}

// What bookedCosts() reads, and whether the event has an overnight booking at all.
struct Bookings {
    AreaCosts booked;
    bool overnightBooked = false;
    double overnightGross = 0;
    // By area: its first booking says that the organiser pays it.
    std::map<int, bool> organiserPays;
};

Bookings readBookings(CDatabase& db, std::int32_t eventId, const BaseData& base, VatMode mode) {
    Bookings result;
    std::map<int, bool>& organiserPays = result.organiserPays;
    CSetEventFinanzen bookings(db);
    for (bookings.open(QString::asprintf("[EventID]=%ld", long(eventId)),
                       QStringLiteral("[FinanzID]"));
         !bookings.atEnd(); bookings.moveNext()) {
        const int group = bookings.getInt("Kostengruppe");
        if (group < Personnel || group > Expenses)
            continue;
        // The overnight stays have one booking, in their own cost centre.
        if (group == Overnight && bookings.getLong("Kostenstelle") != CentreOvernight)
            continue;
        const bool first = !organiserPays.count(group);
        if (first)
            organiserPays[group] = bookings.getBool("fZahltVeranstalter");
        if (group == Overnight) {
            if (!first)
                continue;
            result.overnightBooked = true;
            result.overnightGross =
                bookings.isNull("Auszahlung") ? 0.0 : roundToCent(bookings.getSingle("Auszahlung"));
            result.booked.overnight = overnightDisplay(result.overnightGross, base, mode);
            continue;
        }
        if (!bookings.isNull("Auszahlung"))
            result.booked.setArea(group,
                                  result.booked.area(group) + bookingAmount(bookings, base, mode));
    }
    // What the organiser pays is not the band's cost.
    for (int group : {PAHire, LightHire, Transport, Overnight}) {
        if (organiserPays[group])
            result.booked.setArea(group, 0);
    }
    return result;
}

} // namespace

AreaCosts bookedCosts(CDatabase& db, std::int32_t eventId, const BaseData& base, VatMode mode) {
    return readBookings(db, eventId, base, mode).booked;
}

UnbookedCosts unbookedCosts(CDatabase& db, std::int32_t eventId, const BaseData& base,
                            VatMode mode) {
    const BudgetSummary planned = BudgetSummary::compute(db, eventId, base, mode);
    Bookings bookings = readBookings(db, eventId, base, mode);
    UnbookedCosts unbooked;
    for (int group : {Personnel, PAHire, LightHire, Transport, Expenses}) {
        // What the organiser pays, the band does not book.
        const bool organiserPays =
            group != Personnel && group != Expenses && bookings.organiserPays[group];
        if (!organiserPays)
            unbooked.setArea(group, std::max(0.0, roundToCent(planned.area(group) -
                                                              bookings.booked.area(group))));
    }
    if (bookings.organiserPays[Overnight])
        unbooked.overnight = 0;
    else if (!bookings.overnightBooked)
        unbooked.overnight = planned.overnight;
    else
        unbooked.overnight = overnightDisplay(
            std::max(0.0, roundToCent(overnightTotal(db, eventId) - bookings.overnightGross)), base,
            mode);
    return unbooked;
}

double merchandiseTotal(std::optional<std::int32_t> quantity, std::optional<double> price) {
    return double(quantity.value_or(0)) * price.value_or(0.0);
}

} // namespace Finance
