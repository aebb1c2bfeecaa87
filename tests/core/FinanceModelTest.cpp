// The money of an event without any window: display amounts in both VAT modes, the budget
// summary of an event with its fee rules, hire assignments, rooms and the organiser's flag, the
// nights of a room and the budget figure stored so that it reads back as typed; each amount
// rounded to the cent before it is summed; the overnight booking that follows its rooms; and what
// the plan holds that no booking covers.
#include "core/FinanceModel.h"
#include "data/CRecordset.h"
#include "data/RecordSets.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Finance::BudgetSummary;
using Finance::VatMode;

QDate day(int d) {
    return QDate(2025, 6, d);
}

TEST(FinanceAmountTest, DisplayAmountInBothModesWithEveryRateCode) {
    BaseData base; // 16 % and 7 %
    // Net 100 at rate 1 shows 116 with VAT; gross 116 shows 100 without.
    EXPECT_DOUBLE_EQ(Finance::displayAmount(100, false, 1, base, VatMode::Inclusive), 116);
    EXPECT_DOUBLE_EQ(Finance::displayAmount(116, true, 1, base, VatMode::Exclusive), 100);
    // Entered as the mode shows it: unchanged.
    EXPECT_DOUBLE_EQ(Finance::displayAmount(116, true, 2, base, VatMode::Inclusive), 116);
    EXPECT_DOUBLE_EQ(Finance::displayAmount(100, false, 2, base, VatMode::Exclusive), 100);
    // Rate 2, and a null rate that counts as rate 1.
    EXPECT_DOUBLE_EQ(Finance::displayAmount(100, false, 2, base, VatMode::Inclusive), 107);
    EXPECT_DOUBLE_EQ(Finance::displayAmount(100, false, std::nullopt, base, VatMode::Inclusive),
                     116);
    // A code naming no rate leaves the amount as entered.
    EXPECT_DOUBLE_EQ(Finance::displayAmount(100, false, 5, base, VatMode::Inclusive), 100);
}

TEST(FinanceAmountTest, VatPartFormattingAndReading) {
    EXPECT_DOUBLE_EQ(Finance::vatPart(116, 16, true), 16);
    EXPECT_DOUBLE_EQ(Finance::vatPart(100, 16, false), 16);
    EXPECT_EQ(Finance::formatAmount(Finance::vatPart(10, 7, true)), QStringLiteral("0,65"));
    EXPECT_EQ(Finance::formatAmount(1234.5), QStringLiteral("1234,50"));
    EXPECT_EQ(Finance::formatAmount(-0.0000001), QStringLiteral("0,00"));
    EXPECT_EQ(Finance::parseAmount(QStringLiteral("12,34")), 12.34);
    EXPECT_EQ(Finance::parseAmount(QStringLiteral("12.34")), 12.34);
    EXPECT_EQ(Finance::parseAmount(QString()), std::nullopt);
    EXPECT_EQ(Finance::modeSuffix(VatMode::Exclusive), QStringLiteral(" ohne MwSt."));
}

TEST(FinanceAmountTest, NightsOfARoomCountEveryOccupiedNightOnce) {
    // One person.
    EXPECT_EQ(Finance::roomNights({{day(1), day(3)}}), 2);
    // Two persons sharing the room on overlapping dates.
    EXPECT_EQ(Finance::roomNights({{day(1), day(4)}, {day(2), day(6)}}), 5);
    // One after the other, and with a gap.
    EXPECT_EQ(Finance::roomNights({{day(1), day(3)}, {day(3), day(5)}}), 4);
    EXPECT_EQ(Finance::roomNights({{day(1), day(3)}, {day(5), day(7)}}), 4);
    // A stay inside another adds nothing (it never takes nights away), in either order.
    EXPECT_EQ(Finance::roomNights({{day(1), day(5)}, {day(2), day(3)}}), 4);
    EXPECT_EQ(Finance::roomNights({{day(2), day(3)}, {day(1), day(5)}, {day(4), day(8)}}), 7);
    // Stays without dates count nothing.
    EXPECT_EQ(Finance::roomNights({{QDate(), day(3)}, {day(1), day(2)}}), 1);
}

TEST(FinanceAmountTest, BudgetFigureReadsBackAsTypedInEveryModeAndVatSetting) {
    const double rate1 = 19;
    for (VatMode mode : {VatMode::Inclusive, VatMode::Exclusive}) {
        for (bool includesVat : {true, false}) {
            const double stored = Finance::budgetToStore(1000, includesVat, rate1, mode);
            // Stored in the single-precision column, then shown again.
            const double shown =
                Finance::budgetTotal(double(float(stored)), std::nullopt, includesVat, rate1, mode);
            EXPECT_EQ(Finance::formatAmount(shown), QStringLiteral("1000,00"))
                << (mode == VatMode::Inclusive) << includesVat;
        }
    }
}

TEST(FinanceAmountTest, MerchandiseTotalCountsMissingValuesAsZero) {
    EXPECT_DOUBLE_EQ(Finance::merchandiseTotal(3, 12.5), 37.5);
    EXPECT_DOUBLE_EQ(Finance::merchandiseTotal(std::nullopt, 12.5), 0);
    EXPECT_DOUBLE_EQ(Finance::merchandiseTotal(3, std::nullopt), 0);
}

class BudgetSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (5, 'Halle')");
    }
    void fee(const char* paid, const char* agreed, bool includesVat) {
        database.exec((std::string("UPDATE T_Event SET EGageBezahlt = ") + paid +
                       ", EGageVereinb = " + agreed + ", EfMWST = " + (includesVat ? "-1" : "0") +
                       " WHERE EventID = 5")
                          .c_str());
    }
    void book(int group, int centre, const char* amount, int includesVat, const char* rate) {
        database.exec((std::string("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, "
                                   "Kostenstelle, ID, Auszahlung, fMWST, MwSt_Satz) VALUES (5, ") +
                       std::to_string(group) + ", " + std::to_string(centre) + ", 0, " + amount +
                       ", " + std::to_string(includesVat) + ", " + rate + ")")
                          .c_str());
    }
    BudgetSummary compute(VatMode mode = VatMode::Inclusive) {
        return BudgetSummary::compute(database.db(), 5, BaseData::read(database.db()), mode);
    }

    TestDatabase database;
};

TEST_F(BudgetSummaryTest, FeeRulesInBothModes) {
    // No fee at all.
    EXPECT_DOUBLE_EQ(compute().total, 0);
    // A paid fee of 0 uses the agreed one (net, so VAT is added in the inclusive mode).
    fee("0", "1000", false);
    EXPECT_DOUBLE_EQ(compute().total, 1160);
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).total, 1000);
    // A paid fee is used as stored in the inclusive mode, also when it is net.
    fee("500", "1000", false);
    EXPECT_DOUBLE_EQ(compute().total, 500);
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).total, 500);
    // Gross: reduced by rate 1 in the exclusive mode.
    fee("1160", "1000", true);
    EXPECT_DOUBLE_EQ(compute().total, 1160);
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).total, 1000);
    fee("NULL", "1160", true);
    EXPECT_DOUBLE_EQ(compute().total, 1160);
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).total, 1000);
}

TEST_F(BudgetSummaryTest, AreasSumsAndRest) {
    fee("5000", "NULL", true);
    book(1, 10, "116", 1, "1");    // 116
    book(1, 12, "100", 0, "NULL"); // null rate: rate 1, 116
    book(1, 11, "NULL", 1, "1");   // no amount: skipped
    book(2, 13, "107", 1, "2");    // 107
    book(3, 14, "100", 0, "2");    // 107
    book(4, 15, "50", 1, "1");
    book(4, 15, "50", 1, "1");
    book(6, 17, "25.5", 1, "1");
    // Another event's booking counts nothing here.
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, "
                  "Auszahlung, fMWST) VALUES (6, 1, 10, 999, 1)");
    const BudgetSummary summary = compute();
    EXPECT_DOUBLE_EQ(summary.personnel, 232);
    EXPECT_DOUBLE_EQ(summary.pa, 107);
    EXPECT_DOUBLE_EQ(summary.light, 107);
    EXPECT_DOUBLE_EQ(summary.transport, 100);
    EXPECT_DOUBLE_EQ(summary.expenses, 25.5);
    EXPECT_DOUBLE_EQ(summary.material, 107 + 107 + 100 + 25.5);
    EXPECT_DOUBLE_EQ(summary.costs, 232 + 339.5);
    EXPECT_DOUBLE_EQ(summary.rest(), 5000 - 571.5);
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).personnel, 200);
}

TEST_F(BudgetSummaryTest, HireMarkedPresentCostsNothing) {
    book(2, 13, "100", 1, "1");
    book(3, 14, "200", 1, "1");
    database.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES "
                  "(5, 3, NULL, -1), (5, 4, 7, 0)");
    BudgetSummary summary = compute();
    EXPECT_DOUBLE_EQ(summary.pa, 0);
    EXPECT_DOUBLE_EQ(summary.light, 200);
    EXPECT_DOUBLE_EQ(summary.material, 200);
    database.exec("UPDATE T_Event_ExtFirma SET bVorhanden = 0 WHERE Art = 3");
    EXPECT_DOUBLE_EQ(compute().pa, 100);
}

TEST_F(BudgetSummaryTest, RoomsSharedNightsAndTheOrganiserPaying) {
    // Room 1 of hotel 3, 80 a night, shared by two persons on overlapping dates: nights 1 to 4.
    // Room 2 without a price counts nothing.
    database.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, Preis) "
                  "VALUES (5, 3, 1, 80), (5, 3, 2, NULL)");
    database.exec("INSERT INTO T_Event_Uebernachtung (EventID, HotelID, ZimmerNr, PersonID, "
                  "Funktion, Anreise, Abreise) VALUES "
                  "(5, 3, 1, 1, 0, '2025-06-01 00:00:00', '2025-06-03 00:00:00'), "
                  "(5, 3, 1, 2, 0, '2025-06-02 00:00:00', '2025-06-04 00:00:00'), "
                  "(5, 3, 2, 3, 0, '2025-06-01 00:00:00', '2025-06-04 00:00:00')");
    EXPECT_EQ(Finance::roomNights(database.db(), 5, 3, 1), 3);
    BudgetSummary summary = compute();
    EXPECT_DOUBLE_EQ(summary.overnight, 240);
    EXPECT_DOUBLE_EQ(summary.material, 240);
    // Without VAT the room's total is rounded to the cent like any amount that is summed.
    EXPECT_DOUBLE_EQ(compute(VatMode::Exclusive).overnight, 206.90);
    // The organiser pays: the overnight costs are left out of the costs.
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST, fZahltVeranstalter) VALUES (5, 5, 16, 0, 240, 1, -1)");
    summary = compute();
    EXPECT_TRUE(summary.organiserPays);
    EXPECT_DOUBLE_EQ(summary.material, 0);
    EXPECT_DOUBLE_EQ(summary.costs, 0);
}

TEST_F(BudgetSummaryTest, BaseDataDefaultsAndStoredRates) {
    const BaseData defaults = BaseData::read(database.db());
    EXPECT_DOUBLE_EQ(defaults.vatRate1, 16);
    EXPECT_DOUBLE_EQ(defaults.vatRate2, 7);
    database.exec("INSERT INTO T_Grunddaten (Waehrungkurz, Waehrunglang, MWST_Satz1, MWST_Satz2) "
                  "VALUES ('EUR', 'Euro', 19, 7)");
    book(1, 10, "100", 0, "NULL");
    EXPECT_DOUBLE_EQ(compute().personnel, 119);
}

TEST_F(BudgetSummaryTest, ASingleAmountKeepsItsCentsThroughTheColumn) {
    {
        CSetEventFinanzen row(database.db());
        row.open();
        row.addNew();
        row.setLong("EventID", 5);
        row.setInt("Kostengruppe", 6);
        row.setInt("Kostenstelle", 17);
        row.setSingle("Auszahlung", 12.34);
        row.setInt("fMWST", 1);
        row.setInt("MwSt_Satz", 1);
        row.update();
    }
    EXPECT_EQ(Finance::formatAmount(compute().expenses), QStringLiteral("12,34"));
}

TEST_F(BudgetSummaryTest, EachBookingIsRoundedToTheCentBeforeItIsSummed) {
    // Net 0.03 at 16 % is 0.0348 with VAT: each shows as 0.03, and three of them sum to 0.09,
    // not to the 0.10 of the unrounded sum.
    for (int i = 0; i < 3; ++i)
        book(6, 17, "0.03", 0, "1");
    book(1, 10, "0.03", 0, "1");
    const BudgetSummary summary = compute();
    EXPECT_EQ(Finance::formatAmount(summary.expenses), QStringLiteral("0,09"));
    EXPECT_EQ(Finance::formatAmount(summary.costs), QStringLiteral("0,12"));
    EXPECT_DOUBLE_EQ(Finance::bookingAmount(0.03, false, 1, BaseData(), VatMode::Inclusive), 0.03);
    const Finance::AreaCosts booked =
        Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive);
    EXPECT_EQ(Finance::formatAmount(booked.expenses), QStringLiteral("0,09"));
    EXPECT_EQ(Finance::formatAmount(booked.total()), QStringLiteral("0,12"));
}

class OvernightBookingTest : public BudgetSummaryTest {
protected:
    void SetUp() override {
        BudgetSummaryTest::SetUp();
        // Room 1: two nights at 44.75; room 2: one night at 89.50.
        database.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, "
                      "Preis) VALUES (5, 3, 1, 44.75), (5, 3, 2, 89.5)");
        database.exec("INSERT INTO T_Event_Uebernachtung (EventID, HotelID, ZimmerNr, PersonID, "
                      "Funktion, Anreise, Abreise) VALUES "
                      "(5, 3, 1, 1, 0, '2025-06-01 14:00:00', '2025-06-03 11:00:00'), "
                      "(5, 3, 2, 2, 0, '2025-06-01 14:00:00', '2025-06-02 11:00:00')");
    }
    void overnightBooking(const char* amount, bool organiserPays = false) {
        database.exec((std::string("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, "
                                   "Kostenstelle, ID, Auszahlung, fMWST, fZahltVeranstalter) "
                                   "VALUES (5, 5, 16, 0, ") +
                       amount + ", 0, " + (organiserPays ? "-1" : "0") + ")")
                          .c_str());
    }
    QString bookedAmount() {
        return database.db().queryText("SELECT group_concat(COALESCE(Auszahlung, '-') || '/' || "
                                       "fMWST) FROM T_Event_Finanzen WHERE Kostengruppe = 5");
    }
    Finance::UnbookedCosts unbooked(VatMode mode = VatMode::Inclusive) {
        return Finance::unbookedCosts(database.db(), 5, BaseData::read(database.db()), mode);
    }
};

TEST_F(OvernightBookingTest, TheBookingFollowsItsRoomsOnlyWhenItExists) {
    EXPECT_DOUBLE_EQ(Finance::overnightTotal(database.db(), 5), 179);
    // No booking: none is made.
    Finance::updateOvernightBooking(database.db(), 5);
    EXPECT_EQ(bookedAmount(), QString());
    // A booking written without an amount takes the rooms' total, with VAT.
    overnightBooking("NULL");
    Finance::updateOvernightBooking(database.db(), 5);
    EXPECT_EQ(bookedAmount(), QStringLiteral("179.0/1"));
    database.exec("UPDATE T_Event_Uebernachtung_Zimmer SET Preis = 50 WHERE ZimmerNr = 2");
    Finance::updateOvernightBooking(database.db(), 5);
    EXPECT_EQ(bookedAmount(), QStringLiteral("139.5/1"));
}

TEST_F(OvernightBookingTest, RoomsWithoutABookingAreUnbooked) {
    // The overview counts the rooms; nothing of them is booked.
    EXPECT_DOUBLE_EQ(compute().overnight, 179);
    Finance::UnbookedCosts open = unbooked();
    EXPECT_DOUBLE_EQ(open.overnight, 179);
    EXPECT_DOUBLE_EQ(open.total(), 179);
    EXPECT_DOUBLE_EQ(unbooked(VatMode::Exclusive).overnight, compute(VatMode::Exclusive).overnight);
    // Booked in full: nothing open, and the booking holds the overview's figure.
    overnightBooking("179");
    EXPECT_DOUBLE_EQ(unbooked().total(), 0);
    EXPECT_DOUBLE_EQ(unbooked(VatMode::Exclusive).total(), 0);
    const Finance::AreaCosts booked =
        Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive);
    EXPECT_DOUBLE_EQ(booked.overnight, 179);
    EXPECT_DOUBLE_EQ(
        Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Exclusive).overnight, 154.31);
}

TEST_F(OvernightBookingTest, AStaleBookingLeavesTheRestUnbookedAndTheOrganiserLeavesNothing) {
    // Written before it followed its rooms: the second room is not covered.
    overnightBooking("89.5");
    EXPECT_DOUBLE_EQ(unbooked().overnight, 89.5);
    database.exec("DELETE FROM T_Event_Finanzen");
    overnightBooking("179", true);
    EXPECT_DOUBLE_EQ(unbooked().total(), 0);
    EXPECT_DOUBLE_EQ(
        Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive).overnight, 0);
}

TEST_F(BudgetSummaryTest, BookedAreasLeaveOutWhatTheOrganiserPays) {
    book(2, 13, "100", 1, "1");
    book(4, 15, "50", 1, "1");
    book(1, 10, "30", 1, "1");
    Finance::AreaCosts booked =
        Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive);
    EXPECT_DOUBLE_EQ(booked.pa, 100);
    EXPECT_DOUBLE_EQ(booked.transport, 50);
    database.exec("UPDATE T_Event_Finanzen SET fZahltVeranstalter = -1");
    booked = Finance::bookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive);
    EXPECT_DOUBLE_EQ(booked.pa, 0);
    EXPECT_DOUBLE_EQ(booked.transport, 0);
    // Personnel are always the band's.
    EXPECT_DOUBLE_EQ(booked.personnel, 30);
    // Bookings are what the overview counts for these areas: nothing is left unbooked.
    EXPECT_DOUBLE_EQ(
        Finance::unbookedCosts(database.db(), 5, BaseData(), VatMode::Inclusive).total(), 0);
}

} // namespace
