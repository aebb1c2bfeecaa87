#include "FinanceModel.h"

#include "FieldRules.h"
#include "Settings.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"
#include "data/RecordSets.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>

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

std::optional<double> optionalSingle(const CRecordset& row, const char* column) {
    if (row.isNull(column))
        return std::nullopt;
    return double(row.getSingle(column));
}

// Reads the steps of the summary from one snapshot of the file: the figures agree with each
// other, and the file is locked once instead of once per step. Inside a transaction of the
// caller nothing is needed.
class ReadSnapshot {
public:
    explicit ReadSnapshot(CDatabase& db) : m_db(db), m_own(db.transactionDepth() == 0) {
        if (m_own) {
            m_db.execute("BEGIN DEFERRED");
            ++m_db.transactionDepth();
        }
    }
    ~ReadSnapshot() {
        if (!m_own)
            return;
        --m_db.transactionDepth();
        try {
            m_db.execute("COMMIT");
        } catch (const std::exception&) {
            // Nothing was written; ending the read cannot lose anything.
        }
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    CDatabase& m_db;
    const bool m_own;
};

using RoomKey = std::pair<std::int32_t, int>;
using Stays = std::vector<std::pair<QDate, QDate>>;

void addStay(Stays& stays, const CRecordset& row) {
    stays.emplace_back(row.getDate("Anreise").date(), row.getDate("Abreise").date());
}

} // namespace

BudgetSummary BudgetSummary::compute(CDatabase& db, std::int32_t eventId, const BaseData& base,
                                     VatMode mode) {
    const ReadSnapshot snapshot(db);
    BudgetSummary summary;
    const double rate1 = base.vatRate1;
    const long event = long(eventId);

    {
        CSetEvent row(db);
        row.open(QString::asprintf("[EventID]=%ld", event));
        if (!row.atEnd())
            summary.total = budgetTotal(optionalSingle(row, "EGageBezahlt"),
                                        optionalSingle(row, "EGageVereinb"), row.getBool("EfMWST"),
                                        rate1, mode);
    }

    // PA and light hire count only while the band hires them: an assignment marked as present
    // (bVorhanden) costs nothing. The first assignment of each kind decides.
    bool paCounts = true;
    bool lightCounts = true;
    {
        bool paSeen = false;
        bool lightSeen = false;
        CSetEventExtFirma row(db);
        for (row.open(QString::asprintf("[EventID]=%ld AND ([Art]=3 OR [Art]=4)", event));
             !row.atEnd(); row.moveNext()) {
            const int kind = row.getInt("Art");
            if (kind == 3 && !paSeen) {
                paSeen = true;
                paCounts = !row.getBool("bVorhanden");
            } else if (kind == 4 && !lightSeen) {
                lightSeen = true;
                lightCounts = !row.getBool("bVorhanden");
            }
        }
    }

    {
        bool flagSeen = false;
        CSetEventFinanzen row(db);
        row.open(QString::asprintf("[EventID]=%ld", event));
        // Columns by index: the loop runs over every booking of the event.
        const int groupColumn = row.columnIndex("Kostengruppe");
        const int centreColumn = row.columnIndex("Kostenstelle");
        const int amountColumn = row.columnIndex("Auszahlung");
        const int vatColumn = row.columnIndex("fMWST");
        const int rateColumn = row.columnIndex("MwSt_Satz");
        const int organiserColumn = row.columnIndex("fZahltVeranstalter");
        for (; !row.atEnd(); row.moveNext()) {
            const int group = row.getInt(groupColumn);
            if (group == Overnight) {
                if (!flagSeen && row.getInt(centreColumn) == CentreOvernight) {
                    flagSeen = true;
                    summary.organiserPays = row.getBool(organiserColumn);
                }
                continue;
            }
            if (row.isNull(amountColumn))
                continue;
            const std::optional<int> rateCode =
                row.isNull(rateColumn) ? std::nullopt : std::optional<int>(row.getInt(rateColumn));
            const double amount = displayAmount(row.getSingle(amountColumn),
                                                row.getInt(vatColumn) != 0, rateCode, base, mode);
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
        }
    }

    // Room prices are gross at rate 1. The stays of all rooms are read at once.
    std::map<RoomKey, Stays> stays;
    {
        CSetEventNacht row(db);
        row.open(QString::asprintf("[EventID]=%ld", event));
        const int hotelColumn = row.columnIndex("HotelID");
        const int roomColumn = row.columnIndex("ZimmerNr");
        const int arrivalColumn = row.columnIndex("Anreise");
        const int departureColumn = row.columnIndex("Abreise");
        for (; !row.atEnd(); row.moveNext())
            stays[{row.getLong(hotelColumn), row.getInt(roomColumn)}].emplace_back(
                row.getDate(arrivalColumn).date(), row.getDate(departureColumn).date());
    }
    {
        CSetNachtZimmer row(db);
        for (row.open(QString::asprintf("[EventID]=%ld", event),
                      QStringLiteral("[HotelID], [ZimmerNr]"));
             !row.atEnd(); row.moveNext()) {
            if (row.isNull("Preis"))
                continue;
            const auto found = stays.find({row.getLong("HotelID"), row.getInt("ZimmerNr")});
            if (found == stays.end())
                continue;
            const double price = row.getSingle("Preis");
            const double gross = roomNights(found->second) * price;
            summary.overnight += mode == VatMode::Inclusive ? gross : gross * 100 / (rate1 + 100);
        }
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
