#pragma once

#include "BaseData.h"
#include "data/JetFilter.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CDatabase;
class CProfileFile;
class CRecordset;

// The money of an event: the codes of its bookings (T_Event_Finanzen), the VAT arithmetic of an
// amount, and the budget summary every finance form shows. Every amount is rounded to the cent
// before it is summed (bookingAmount(), roomTotal()), so each sum is that of the amounts shown.
namespace Finance {

// Accounting areas (column Kostengruppe), in the order of the overview's buttons.
enum CostGroup {
    Personnel = 1,
    PAHire = 2,
    LightHire = 3,
    Transport = 4,
    Overnight = 5,
    Expenses = 6,
};
// Cost centres (column Kostenstelle).
enum CostCentre {
    CentreMusician = 10,
    CentreBackliner = 11,
    CentreTechnician = 12,
    CentrePA = 13,
    CentreLight = 14,
    CentreTransport = 15,
    CentreOvernight = 16,
    CentreExpenses = 17,
};

// The area's name in "Ist die Abrechnung %s abgeschlossen?" (group 1 to 6).
QString areaName(int costGroup);

// How budget figures are shown: including VAT (settings OPTIONS/MwStInkl = 1) or without.
enum class VatMode { Inclusive, Exclusive };
// " inkl. MwSt." or " ohne MwSt.", the suffix of every caption that shows budget figures.
QString modeSuffix(VatMode mode);
// The mode the settings file asks for (OPTIONS/MwStInkl, 0 = without VAT).
VatMode vatMode(const CProfileFile& profile);
// The mode text itself: "inkl. MwSt." or "ohne MwSt.".
QString modeText(VatMode mode);

// The rate of a booking's MwSt_Satz: 2 is rate 2, 1 and null are rate 1. Other values have no
// rate (nullopt).
std::optional<double> rateOf(std::optional<int> rateCode, const BaseData& base);

// A booking's amount as the mode shows it. `includesVat` is fMWST, `rateCode` MwSt_Satz.
// An amount whose code names no rate is shown as entered.
double displayAmount(double amount, bool includesVat, std::optional<int> rateCode,
                     const BaseData& base, VatMode mode);
// The same for a booking row of T_Event_Finanzen; a null Auszahlung counts 0.
double displayAmount(const CRecordset& booking, const BaseData& base, VatMode mode);
// The gross amount of a booking (what the accounting statement adds up).
double grossAmount(const CRecordset& booking, const BaseData& base);

// The VAT part of an entered amount at rate `rate`: r × x / (r + 100) when the amount includes
// VAT, r × x / 100 otherwise.
double vatPart(double amount, double rate, bool includesVat);
// An entered amount converted into the display mode (the live budget of the cost forms).
double enteredDisplayAmount(double amount, bool includesVat, double rate, VatMode mode);

// An amount rounded to the cent, halves away from zero. Every figure that is summed is rounded
// first, so that a total is always the sum of the amounts printed above it.
double roundToCent(double amount);

// What one booking adds to any sum (overview, cost forms, statement, year overview, tool): its
// display amount rounded to the cent.
double bookingAmount(double amount, bool includesVat, std::optional<int> rateCode,
                     const BaseData& base, VatMode mode);
// The same for a booking row of T_Event_Finanzen; a null Auszahlung counts 0.
double bookingAmount(const CRecordset& booking, const BaseData& base, VatMode mode);

// "%.2f" with a German decimal comma: 1234.5 gives "1234,50".
QString formatAmount(double amount);
// An amount typed with a comma or a point; empty or unreadable text gives nullopt.
std::optional<double> parseAmount(const QString& text);

// The nights a room is occupied, from the stays of the room (arrival, departure) in any order:
// nights shared by several persons count once, and a stay lying inside another adds nothing.
int roomNights(std::vector<std::pair<QDate, QDate>> stays);

// The fee of an event as "Budget Gesamt" shows it. `paid` is EGageBezahlt, `agreed`
// EGageVereinb, `includesVat` EfMWST, `rate1` VAT rate 1. A paid fee above 0 wins over the
// agreed one.
double budgetTotal(std::optional<double> paid, std::optional<double> agreed, bool includesVat,
                   double rate1, VatMode mode);
// What "Budget Gesamt" stores in EGageBezahlt for a typed figure, so that budgetTotal() shows the
// figure again.
double budgetToStore(double typed, bool includesVat, double rate1, VatMode mode);

// The budget summary of one event, in the display mode.
struct BudgetSummary {
    double total = 0;     // "Budget Gesamt"
    double personnel = 0; // "Personal" / "Summe Personalkosten"
    double material = 0;  // "Summe Sachkosten"
    double costs = 0;     // "Summe Kosten"
    double pa = 0;        // "PA"
    double light = 0;     // "LA"
    double transport = 0; // "Transport"
    double overnight = 0; // "Übernachtungen"
    double expenses = 0;  // "Spesen / Sonstiges"
    bool organiserPays = false;

    double rest() const { return total - costs; }
    // The costs of an area (cost group 1 to 6).
    double area(int costGroup) const;

    // Reads the event's fee, bookings, hire assignments and rooms afresh. Throws CDaoException.
    static BudgetSummary compute(CDatabase& db, std::int32_t eventId, const BaseData& base,
                                 VatMode mode);
    // The summaries of many events at once, by EventID, read in one statement: `events` is what
    // SQL's IN takes, a list or a select of the events' keys using the parameters ?1, ?2, … bound
    // from `parameters` (whole numbers or texts). An event without any row has no entry. Throws
    // CDaoException.
    static std::map<std::int32_t, BudgetSummary> computeAll(CDatabase& db,
                                                            const std::string& events,
                                                            const std::vector<QVariant>& parameters,
                                                            const BaseData& base, VatMode mode);
};

// The statement behind BudgetSummary::computeAll(), for the events `events` as it takes them.
// Rows as its comment in FinanceModel.cpp lists them.
std::string summaryQuery(Jet::Dialect dialect, const std::string& events);

// The nights of one room of an event, read from its overnight records. Throws CDaoException.
int roomNights(CDatabase& db, std::int32_t eventId, std::int32_t hotelId, int roomNumber);

// What a room costs for its stays: occupied nights × price per night, rounded to the cent. Room
// prices include VAT at rate 1.
double roomTotal(int nights, double price);
// The rooms of an event together: the sum of roomTotal() over its rooms with a price. This is
// the amount the overnight booking (group 5, centre 16) holds. Throws CDaoException.
double overnightTotal(CDatabase& db, std::int32_t eventId);
// Recomputes the amount of the event's overnight booking from its rooms (overnightTotal(), with
// VAT); an event without that booking keeps having none. Called wherever stays, rooms, prices or
// nights change, inside the transaction of that change. Throws CDaoException.
void updateOvernightBooking(CDatabase& db, std::int32_t eventId);

// An amount for each of the six accounting areas, in the display mode.
struct AreaCosts {
    double personnel = 0; // "Personal"
    double pa = 0;        // "PA"
    double light = 0;     // "LA"
    double transport = 0; // "Transport"
    double overnight = 0; // "Übernachtungen"
    double expenses = 0;  // "Spesen / Sonstiges"

    double total() const { return personnel + pa + light + transport + overnight + expenses; }
    // The amount of an area (cost group 1 to 6; 0 for another number).
    double area(int costGroup) const;
    void setArea(int costGroup, double amount);
};

// What the event's bookings hold per area, each booking rounded by bookingAmount() before it is
// summed. An area whose first booking says that the organiser pays (PA, light, transport,
// overnight stays) books nothing for the band, as on the accounting statement. The overnight
// booking counts its Auszahlung as including VAT at rate 1, whatever its VAT columns say, as the
// statement prints it. Throws CDaoException.
AreaCosts bookedCosts(CDatabase& db, std::int32_t eventId, const BaseData& base, VatMode mode);

// What the plan holds and no booking covers ("Noch nicht gebucht"), per area: the part of the
// overview's figure (BudgetSummary) that the bookings do not hold. Only the overnight stays have a
// plan of their own: without an overnight booking the whole room total is unbooked; with one, what
// the rooms cost beyond its amount (an amount written before the booking followed its rooms). When
// the organiser pays the rooms, nothing is unbooked. The other areas consist of their bookings and
// so are never unbooked; their members stay 0. Amounts are in the display mode, rounded to the
// cent; use VatMode::Inclusive for the accounting statement. Throws CDaoException.
using UnbookedCosts = AreaCosts;
UnbookedCosts unbookedCosts(CDatabase& db, std::int32_t eventId, const BaseData& base,
                            VatMode mode);

// The total of a merchandise position: quantity × unit price, a missing value counting 0.
double merchandiseTotal(std::optional<std::int32_t> quantity, std::optional<double> price);

} // namespace Finance
