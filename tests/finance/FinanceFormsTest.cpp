// The finance forms as a user meets them: the overview's budget saved and shown again as typed,
// a cost form opened from the menu although its button is disabled, a changed payment date that
// asks before closing, a booking that keeps its cents, the merchandise totals; the personnel list
// driven by keys, the overnight amount that follows the planning, the costs not yet booked, the
// details of "Kosten buchen" and the sales positions that keep their article.
#include "core/CProfileFile.h"
#include "core/FinanceModel.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "finance/CFanartikelDlg.h"
#include "finance/CFinanzenDlg.h"
#include "finance/CKostenBuchenDlg.h"
#include "finance/CKostenDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;

class FinanceFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation, EGageVereinb, EfMWST) "
                      "VALUES (8, 'Halle', 500, 0)");
        context.eventId = 8;
    }
    QLineEdit* overviewField(CFinanzenDlg& form, const char* name) {
        return form.findChild<QLineEdit*>(QString::fromUtf8(name));
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PlanningContext context;
};

TEST_F(FinanceFormsTest, BudgetTypedSavedAndReopenedShowsTheTypedFigure) {
    for (int inclusive : {1, 0}) {
        for (bool includesVat : {true, false}) {
            Settings::writeInt(profile, Settings::MwStInkl, inclusive);
            database.exec(includesVat ? "UPDATE T_Event SET EfMWST = -1, EGageBezahlt = NULL"
                                      : "UPDATE T_Event SET EfMWST = 0, EGageBezahlt = NULL");
            {
                CFinanzenDlg form(database.db(), profile, 8);
                form.show();
                QLineEdit* budget = overviewField(form, "editBudgetGesamt");
                budget->selectAll();
                QTest::keyClicks(budget, QStringLiteral("1000"));
                messages.queueAnswer(Answer::Yes);
                FormTest::click(form, "&Ende");
                EXPECT_EQ(form.result(), QDialog::Accepted);
            }
            CFinanzenDlg reopened(database.db(), profile, 8);
            EXPECT_EQ(overviewField(reopened, "editBudgetGesamt")->text(),
                      QStringLiteral("1000,00"))
                << "inclusive " << inclusive << ", EfMWST " << includesVat;
        }
    }
}

TEST_F(FinanceFormsTest, OverviewShowsAreasWarningAndHireButtons) {
    // PA present, light hired: only "&LA..." is enabled; planning incomplete: the warning shows.
    database.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES "
                  "(8, 3, NULL, -1), (8, 4, 7, 0)");
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST, MwSt_Satz) VALUES (8, 6, 17, 0, 58, 1, 1), "
                  "(8, 2, 13, 0, 100, 1, 1)");
    CFinanzenDlg form(database.db(), profile, 8);
    form.show();
    EXPECT_FALSE(form.areaButton(2)->isEnabled());
    EXPECT_TRUE(form.areaButton(3)->isEnabled());
    EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("labelWarnung"))->isVisible());
    EXPECT_EQ(overviewField(form, "editKostenSonst")->text(), QStringLiteral("58,00"));
    EXPECT_EQ(overviewField(form, "editKostenPA")->text(), QStringLiteral("0,00"));
    // The agreed fee is net: 500 + 16 %.
    EXPECT_EQ(overviewField(form, "editBudgetGesamt")->text(), QStringLiteral("580,00"));
    EXPECT_EQ(overviewField(form, "editBudgetRest")->text(), QStringLiteral("522,00"));
    EXPECT_NE(form.findChild<QGroupBox*>(QStringLiteral("groupVerplant"))
                  ->title()
                  .indexOf(QStringLiteral("inkl. MwSt.")),
              -1);
}

TEST_F(FinanceFormsTest, MenuAreasOpenTheirCostFormEvenWithTheButtonDisabled) {
    for (const auto& [area, title] :
         {std::pair<int, const char*>{2, "Kosten PA"}, {3, "Kosten Lichtanlage"}}) {
        QString shown;
        FormTest::onNextModal([&shown](QDialog& dialog) {
            shown = dialog.windowTitle();
            dialog.reject();
        });
        EXPECT_EQ(CFinanzenDlg::showModal(database.db(), profile, 8, area, nullptr),
                  QDialog::Accepted);
        EXPECT_EQ(shown, QString::fromUtf8(title));
    }
}

TEST_F(FinanceFormsTest, CostFormRatesDefaultAndAChangedPaymentDateAsksBeforeClosing) {
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST, MwSt_Satz, Zahlungsart, ZahlungGegen) "
                  "VALUES (8, 3, 14, 0, 200, 1, 1, 1, 1)");
    CKostenFirmaDlg form(database.db(), profile, CKostenFirmaDlg::kLight, context,
                         Finance::VatMode::Inclusive, nullptr);
    form.show();
    // Without base data the rates read 16 % and 7 %.
    FormTest::button<QRadioButton>(form, "16 %");
    FormTest::button<QRadioButton>(form, "7 %");
    EXPECT_EQ(FormTest::field(form, "Betrag")->text(), QStringLiteral("200"));
    EXPECT_EQ(FormTest::field(form, "MWST Betrag")->text(), QStringLiteral("27,59"));
    FormTest::type(form, "bezahlt am", QStringLiteral("01.02.25"));
    messages.queueAnswer(Answer::Cancel);
    FormTest::click(form, "&Ende");
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts().first(), QString::fromUtf8(CFormDialog::kSaveQuestion));
    EXPECT_TRUE(form.isVisible());
    // Saved with yes: the date is stored and the completion question is asked.
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(database.db().queryText("SELECT ZDatum FROM T_Event_Finanzen"),
              QStringLiteral("2025-02-01 00:00:00"));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("Ist die Abrechnung LA Verleiher abgeschlossen?"));
    EXPECT_EQ(database.db().queryText("SELECT Stat_Fin_LA FROM T_Event_Status"),
              QStringLiteral("2"));
}

TEST_F(FinanceFormsTest, LiveBudgetFollowsTheTypedAmount) {
    CKostenFirmaDlg form(database.db(), profile, CKostenFirmaDlg::kLight, context,
                         Finance::VatMode::Inclusive, nullptr);
    form.show();
    EXPECT_EQ(FormTest::field(form, "Budget Rest")->text(), QStringLiteral("580,00"));
    FormTest::type(form, "Betrag", QStringLiteral("100"));
    EXPECT_EQ(FormTest::field(form, "Summe Sachkosten")->text(), QStringLiteral("100,00"));
    EXPECT_EQ(FormTest::field(form, "Budget Rest")->text(), QStringLiteral("480,00"));
    // Net at rate 1: shown with VAT.
    FormTest::click(form, "inkl. MwSt");
    EXPECT_EQ(FormTest::field(form, "Budget Rest")->text(), QStringLiteral("464,00"));
}

TEST_F(FinanceFormsTest, ExpensesPositionKeepsItsCentsAndRefusesAMissingPurpose) {
    std::int32_t key = -1;
    {
        CSpesenBuchenDlg form(database.db(), context, -1);
        form.show();
        FormTest::type(form, "Betrag", QStringLiteral("12,34"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts().last(), QStringLiteral("Bitte \"Verwendung\" eingeben."));
        EXPECT_TRUE(form.isVisible());
        FormTest::type(form, "Verwendung", QStringLiteral("Taxi"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Accepted);
        key = form.key();
    }
    ASSERT_GT(key, 0);
    CSpesenBuchenDlg again(database.db(), context, key);
    EXPECT_EQ(FormTest::field(again, "Betrag")->text(), QStringLiteral("12,34"));
    EXPECT_EQ(FormTest::field(again, "Verwendung")->text(), QStringLiteral("Taxi"));
    CFinanzenDlg overview(database.db(), profile, 8);
    EXPECT_EQ(overviewField(overview, "editKostenSonst")->text(), QStringLiteral("12,34"));
}

TEST_F(FinanceFormsTest, OvernightCostsOpenThePlanningAndShowTheRoomsBookedThere) {
    database.exec("INSERT INTO T_Stamm_Hotel (HotelID, Name) VALUES (3, 'Post')");
    CKostenHotelDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    auto* rooms = form.findChild<QTreeWidget*>(QStringLiteral("listZimmer"));
    ASSERT_EQ(rooms->topLevelItemCount(), 0);
    QString opened;
    FormTest::onNextModal([this, &opened](QDialog& dialog) {
        opened = dialog.windowTitle();
        database.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, "
                      "Preis) VALUES (8, 3, 12, 60)");
        dialog.reject();
    });
    FormTest::click(form, "&Buchungen bearbeiten...");
    EXPECT_EQ(opened, QStringLiteral("Übernachtungen planen"));
    ASSERT_EQ(rooms->topLevelItemCount(), 1);
    EXPECT_EQ(rooms->topLevelItem(0)->text(0), QStringLiteral("Post"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(FinanceFormsTest, MerchandiseTotalsCountMissingValuesAsZero) {
    database.exec("INSERT INTO T_Event_Merchandising (EventID, Artikelgruppe, Artikel, Menge, "
                  "Preis) VALUES (8, 'SHIRTS', 'Tour', 3, 12.5), (8, 'CD', 'Live', NULL, 10), "
                  "(8, 'CD', 'Studio', 2, NULL)");
    CFanartikelDlg form(database.db(), profile, database.dir(), context);
    form.show();
    EXPECT_EQ(FormTest::field(form, "Summe")->text(), QStringLiteral("37,50"));
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("listPositionen"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(4), QStringLiteral("0,00"));
    EXPECT_EQ(list->topLevelItem(2)->text(4), QStringLiteral("37,50"));
}

TEST_F(FinanceFormsTest, MerchandisePositionStoredWithACommaPrice) {
    database.exec(
        "INSERT INTO T_Stamm_Artikelgruppe (Artikelgruppe, Kategorie) VALUES ('SHIRTS', 1)");
    database.exec("INSERT INTO T_Stamm_Artikel (ArtikelID, Artikelgruppe, Artikel, Preis1, Preis2) "
                  "VALUES (4, 'SHIRTS', 'Tour', 15, 0)");
    CFanartikelDetailDlg form(database.db(), profile, database.dir(), context, -1);
    form.show();
    FormTest::type(form, "Menge", QStringLiteral("0"));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Ungültige Eingabe!"));
    FormTest::type(form, "Menge", QStringLiteral("2"), true);
    EXPECT_EQ(FormTest::field(form, "Gesamt")->text(), QStringLiteral("30,00"));
    auto* price = form.findChild<QComboBox*>(QStringLiteral("comboPreis"));
    price->lineEdit()->selectAll();
    QTest::keyClicks(price->lineEdit(), QStringLiteral("12,5"));
    EXPECT_EQ(FormTest::field(form, "Gesamt")->text(), QStringLiteral("25,00"));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(database.db().queryText("SELECT Artikelgruppe || '/' || Artikel || '/' || Menge || "
                                      "'/' || Preis FROM T_Event_Merchandising"),
              QStringLiteral("SHIRTS/Tour/2/12.5"));
}

// --- personnel ----------------------------------------------------------------------------

class PersonnelFormTest : public FinanceFormsTest {
protected:
    void SetUp() override {
        FinanceFormsTest::SetUp();
        database.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, MVorname, MBank) VALUES "
                      "(1, 'Berg', 'Anna', 'Raiffeisenbank Kranichtal-Oberwiesbrunn eG'), "
                      "(2, 'Zoller', NULL, NULL)");
        database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (8, 1), (8, 2)");
        database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                      "Auszahlung, fMWST, MwSt_Satz) VALUES (8, 1, 10, 2, 75, 1, 1)");
    }
    // The personnel bookings as "musician:amount".
    QString bookings() {
        return database.db().queryText(
            "SELECT group_concat(ID || ':' || Auszahlung, ' ') FROM (SELECT * FROM "
            "T_Event_Finanzen WHERE Kostengruppe = 1 ORDER BY ID)");
    }
};

TEST_F(PersonnelFormTest, ArrowKeysSwitchTheBookingShownAndSaveItToItsPerson) {
    CKostenPersonalDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("listPersonal"));
    // A name without its first name has no dangling comma; the bank shows its beginning.
    EXPECT_EQ(FormTest::listRows(*list), QStringLiteral("[Berg, Anna|Musiker],* Zoller|Musiker"));
    EXPECT_EQ(FormTest::field(form, "Kreditinstitut")->cursorPosition(), 0);
    EXPECT_EQ(FormTest::field(form, "Auszahlung")->text(), QString());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(FormTest::field(form, "Auszahlung")->text(), QStringLiteral("75"));
    FormTest::type(form, "Auszahlung", QStringLiteral("80"), true);
    // Leaving the edited booking asks; yes stores it for the person it belongs to.
    messages.queueAnswer(Answer::Yes);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(CFormDialog::kSaveQuestion)});
    EXPECT_EQ(bookings(), QStringLiteral("2:80.0"));
    EXPECT_EQ(FormTest::field(form, "Auszahlung")->text(), QString());
    // Cancel keeps the person whose booking is edited.
    FormTest::type(form, "Auszahlung", QStringLiteral("50"));
    messages.queueAnswer(Answer::Cancel);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    EXPECT_EQ(FormTest::field(form, "Auszahlung")->text(), QStringLiteral("50"));
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::No);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(bookings(), QStringLiteral("1:50.0 2:80.0"));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("Ist die Abrechnung Personal abgeschlossen?"));
    EXPECT_EQ(database.db().queryText("SELECT Stat_Fin_Personal FROM T_Event_Status"),
              QStringLiteral("1"));
}

TEST_F(PersonnelFormTest, AStatusClickedAloneStoresNoBooking) {
    CKostenPersonalDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("listPersonal"));
    FormTest::click(form, "begonnen");
    // The status belongs to the form: changing the person asks nothing.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(messages.texts().isEmpty());
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(CFormDialog::kSaveQuestion)});
    EXPECT_EQ(bookings(), QStringLiteral("2:75.0"));
    EXPECT_EQ(database.db().queryText("SELECT Stat_Fin_Personal FROM T_Event_Status"),
              QStringLiteral("1"));
}

TEST_F(PersonnelFormTest, EscapeAfterASaveClosesWithoutTheCompletionQuestion) {
    CKostenPersonalDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("listPersonal"));
    FormTest::type(form, "Auszahlung", QStringLiteral("40"));
    // Paid against the receipt, the personnel form still stores its number.
    FormTest::type(form, "Nr.", QStringLiteral("U-7"));
    messages.queueAnswer(Answer::Yes);
    FormTest::clickRow(*list, 1);
    EXPECT_EQ(bookings(), QStringLiteral("1:40.0 2:75.0"));
    EXPECT_EQ(database.db().queryText("SELECT RechnungNr FROM T_Event_Finanzen WHERE ID = 1"),
              QStringLiteral("U-7"));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(database.count("T_Event_Status"), 0);
}

// --- light, PA, overnight, transport, expenses ----------------------------------------------

TEST_F(FinanceFormsTest, HireWithoutAssignmentBooksItsPartyKeyAndAReceiptStoresNoNumber) {
    for (const auto* hire : {&CKostenFirmaDlg::kLight, &CKostenFirmaDlg::kPA}) {
        CKostenFirmaDlg form(database.db(), profile, *hire, context, Finance::VatMode::Inclusive,
                             nullptr);
        form.show();
        FormTest::type(form, "Betrag", QStringLiteral("100"));
        FormTest::click(form, "Rechnung");
        FormTest::type(form, "Nr.", QStringLiteral("R-1"));
        FormTest::type(form, "Datum", QStringLiteral("010225"));
        FormTest::click(form, "Beleg");
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    // Light hire without an assignment books party 0, PA hire -1; neither keeps a number or a
    // date for a receipt.
    EXPECT_EQ(database.db().queryText(
                  "SELECT group_concat(Kostengruppe || '/' || ID || '/' || COALESCE(RechnungNr, "
                  "'-') || '/' || COALESCE(RDatum, '-'), ' ') FROM (SELECT * FROM "
                  "T_Event_Finanzen ORDER BY Kostengruppe)"),
              QStringLiteral("2/-1/-/- 3/0/-/-"));
}

TEST_F(FinanceFormsTest, ExpensesAskForCompletionOnlyAfterAChange) {
    {
        CKostenListeDlg form(database.db(), profile, Finance::Expenses, context,
                             Finance::VatMode::Inclusive, nullptr);
        form.show();
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(database.count("T_Event_Status"), 0);
    }
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST, MwSt_Satz, Verwendung) VALUES (8, 6, 17, 0, 20, 1, 1, "
                  "'Taxi')");
    CKostenListeDlg form(database.db(), profile, Finance::Expenses, context,
                         Finance::VatMode::Inclusive, nullptr);
    form.show();
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "Position &Löschen");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Soll \"20,00\" wirklich gelöscht werden?"));
    EXPECT_EQ(database.count("T_Event_Finanzen"), 0);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("Ist die Abrechnung Spesen/Sonstiges abgeschlossen?"));
    EXPECT_EQ(database.db().queryText("SELECT Stat_Fin_Sonst FROM T_Event_Status"),
              QStringLiteral("2"));
}

class OvernightCostsTest : public FinanceFormsTest {
protected:
    void SetUp() override {
        FinanceFormsTest::SetUp();
        database.exec("UPDATE T_Event SET EBeginn = '2026-08-15 19:00:00', "
                      "EEnde = '2026-08-16 00:30:00' WHERE EventID = 8");
        database.exec("INSERT INTO T_Stamm_Hotel (HotelID, Name) VALUES (3, 'Post')");
        database.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, MVorname) VALUES "
                      "(1, 'Berg', 'Anna'), (2, 'Zoller', 'Max')");
        database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (8, 1), (8, 2)");
        database.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, "
                      "Preis) VALUES (8, 3, 12, 60), (8, 3, 14, 89.5)");
        database.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion, HotelID, "
                      "ZimmerNr, Anreise, Abreise) VALUES "
                      "(8, 1, 0, 3, 12, '2026-08-15 14:00:00', '2026-08-16 11:00:00'), "
                      "(8, 2, 0, 3, 14, '2026-08-15 14:00:00', '2026-08-16 11:00:00')");
    }
    QString overnightBooking() {
        return database.db().queryText(
            "SELECT Auszahlung || '/' || fZahltVeranstalter || '/' || COALESCE(ZDatum, '-') || "
            "'/' || COALESCE(RechnungNr, '-') || '/' || COALESCE(Zahlungsart, '-') FROM "
            "T_Event_Finanzen WHERE Kostengruppe = 5");
    }
};

TEST_F(OvernightCostsTest, RoomsNotYetBookedShowInTheOverviewUntilTheyAreBooked) {
    {
        CFinanzenDlg overview(database.db(), profile, 8);
        EXPECT_EQ(overviewField(overview, "editKostenNacht")->text(), QStringLiteral("149,50"));
        EXPECT_EQ(overviewField(overview, "editNichtGebucht")->text(), QStringLiteral("149,50"));
        EXPECT_EQ(overviewField(overview, "editSummeKosten")->text(), QStringLiteral("149,50"));
    }
    {
        CKostenHotelDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
        form.show();
        EXPECT_EQ(FormTest::field(form, "Preis ges.")->text(), QStringLiteral("149,50"));
        FormTest::click(form, "Übernachtungskosten trägt Veranstalter");
        FormTest::click(form, "Übernachtungskosten trägt Veranstalter");
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
    }
    EXPECT_TRUE(overnightBooking().startsWith(QStringLiteral("149.5/0/")));
    CFinanzenDlg overview(database.db(), profile, 8);
    EXPECT_EQ(overviewField(overview, "editNichtGebucht")->text(), QStringLiteral("0,00"));
}

TEST_F(OvernightCostsTest, TheOrganiserPayingClearsThePaymentData) {
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST, ZDatum, RechnungNr, Zahlungsart, ZahlungGegen) VALUES "
                  "(8, 5, 16, 0, 149.5, 1, '2026-08-20 00:00:00', 'H-9', 2, 0)");
    CKostenHotelDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    FormTest::click(form, "Übernachtungskosten trägt Veranstalter");
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(overnightBooking(), QStringLiteral("149.5/-1/-/-/-"));
    // Paid by the organiser: nothing is left to book, and the costs leave the rooms out.
    CFinanzenDlg overview(database.db(), profile, 8);
    EXPECT_EQ(overviewField(overview, "editKostenNacht")->text(), QString());
    EXPECT_EQ(overviewField(overview, "editNichtGebucht")->text(), QStringLiteral("0,00"));
}

TEST_F(OvernightCostsTest, TheAmountFollowsThePlanningWithoutAnotherEdit) {
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST) VALUES (8, 5, 16, 0, 149.5, 1)");
    CKostenHotelDlg form(database.db(), profile, context, Finance::VatMode::Inclusive, nullptr);
    form.show();
    // In the planning, the stay in room 12 (the first row) is deleted.
    FormTest::onNextModal([this](QDialog& planning) {
        messages.queueAnswer(Answer::Yes);
        FormTest::click(planning, "Reservierung &löschen");
        messages.queueAnswer(Answer::No);
        FormTest::click(planning, "&Ende");
    });
    FormTest::click(form, "&Buchungen bearbeiten...");
    EXPECT_EQ(FormTest::field(form, "Preis ges.")->text(), QStringLiteral("89,50"));
    messages.clear();
    FormTest::click(form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_TRUE(overnightBooking().startsWith(QStringLiteral("89.5/")));
    CFinanzenDlg overview(database.db(), profile, 8);
    EXPECT_EQ(overviewField(overview, "editKostenNacht")->text(), QStringLiteral("89,50"));
    EXPECT_EQ(overviewField(overview, "editNichtGebucht")->text(), QStringLiteral("0,00"));
}

// --- the overview's area buttons --------------------------------------------------------------

TEST_F(FinanceFormsTest, AnAreaButtonWithTheBudgetChangedAsksFirst) {
    CFinanzenDlg form(database.db(), profile, 8);
    form.show();
    int opened = 0;
    form.setAreaOpener([&opened](int) {
        ++opened;
        return int(QDialog::Rejected);
    });
    QLineEdit* budget = overviewField(form, "editBudgetGesamt");
    const auto retype = [budget](const char* text) {
        budget->selectAll();
        QTest::keyClicks(budget, QString::fromUtf8(text));
    };
    const auto storedBudget = [this] {
        return database.db().queryText(
            "SELECT COALESCE(EGageBezahlt, '-') FROM T_Event WHERE EventID = 8");
    };
    retype("1000");
    messages.queueAnswer(Answer::Cancel);
    FormTest::click(form, "&Personal...");
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(storedBudget(), QStringLiteral("-"));
    // No: the cost form opens, the budget stays as stored.
    messages.queueAnswer(Answer::No);
    FormTest::click(form, "&Personal...");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(storedBudget(), QStringLiteral("-"));
    EXPECT_EQ(budget->text(), QStringLiteral("580,00"));
    // A budget that cannot be saved keeps the cost form shut.
    retype("zehn");
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Transport...");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Geben Sie bitte eine Zahl ein."));
    retype("900");
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Transport...");
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(storedBudget(), QStringLiteral("900.0"));
}

// --- "Kosten buchen" --------------------------------------------------------------------------

TEST_F(FinanceFormsTest, TransportCostShowsTheFirmAndVehicleDetails) {
    database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Name, Vorname, Tel, Fax, "
                  "Telm, Email, Homepage) VALUES (5, 5, -1, 'Zellner', NULL, '0871 1', "
                  "'0871 2', '0170 3', 'z@example.org', "
                  "'https://www.autovermietung-zellner-kranichtal.example/fahrzeuge')");
    database.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, Art, ExtID, Typ, Kennzeichen, "
                  "Sitzpl, ZulGewicht, Kupplung) VALUES (9, 5, 5, 'Kleinbus', 'KRT-Z 1', 9, 3.5, "
                  "-1)");
    CKostenBuchenDlg form(database.db(), context, 9, 5, -1);
    const QStringList details = {FormTest::field(form, "KFZ von")->text(),
                                 FormTest::field(form, "Tel.")->text(),
                                 FormTest::field(form, "Fax")->text(),
                                 FormTest::field(form, "Handy")->text(),
                                 FormTest::field(form, "Art")->text(),
                                 FormTest::field(form, "EMail")->text(),
                                 FormTest::field(form, "KFZ Typ")->text(),
                                 FormTest::field(form, "Kennzeichen")->text(),
                                 FormTest::field(form, "Sitzplätze")->text(),
                                 FormTest::field(form, "zul. Gesamtgewicht")->text()};
    EXPECT_EQ(details, (QStringList{"Zellner", "0871 1", "0871 2", "0170 3", "Privat",
                                    "z@example.org", "Kleinbus", "KRT-Z 1", "9", "3,5"}));
    EXPECT_TRUE(FormTest::button<QCheckBox>(form, "Anhängerkupplung")->isChecked());
    QLineEdit* homepage = FormTest::field(form, "Homepage");
    EXPECT_TRUE(homepage->isReadOnly());
    EXPECT_EQ(homepage->cursorPosition(), 0);
}

// --- merchandise ------------------------------------------------------------------------------

class MerchandiseFormTest : public FinanceFormsTest {
protected:
    void SetUp() override {
        FinanceFormsTest::SetUp();
        database.exec("INSERT INTO T_Stamm_Artikelgruppe (Artikelgruppe, Kategorie) VALUES "
                      "('CAPS', 1), ('SHIRTS', 1)");
        database.exec(
            "INSERT INTO T_Stamm_Artikel (ArtikelID, Artikelgruppe, Artikel, Preis1, "
            "fDeleted) VALUES (4, 'SHIRTS', 'Tour', 15, 0), (5, 'SHIRTS', 'Logo', 12, 0), "
            "(6, 'CAPS', 'Basecap', 9, 0), (7, 'SHIRTS', 'Alt', 0, 0)");
    }
    QString positions() {
        return database.db().queryText(
            "SELECT group_concat(MerchID || ':' || COALESCE(ArtikelID, '-') || '/' || "
            "Artikelgruppe || '/' || Artikel || '/' || Menge || '/' || COALESCE(Preis, '-'), "
            "' ') FROM (SELECT * FROM T_Event_Merchandising ORDER BY MerchID)");
    }
    QComboBox* combo(QWidget& form, const char* name) {
        return form.findChild<QComboBox*>(QString::fromUtf8(name));
    }
};

TEST_F(MerchandiseFormTest, EnterInThePriceBoxTakesTheTypedPriceAndAnEmptyPriceStoresZero) {
    {
        CFanartikelDetailDlg form(database.db(), profile, database.dir(), context, -1);
        form.show();
        // Bemerkung is not stored, so it cannot be typed into.
        EXPECT_TRUE(form.findChild<QPlainTextEdit*>(QStringLiteral("editBemerkung"))->isReadOnly());
        FormTest::type(form, "Menge", QStringLiteral("2"));
        QComboBox* price = combo(form, "comboPreis");
        price->lineEdit()->selectAll();
        QTest::keyClicks(price->lineEdit(), QStringLiteral("12,5"));
        QTest::keyClick(price->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(price->count(), 1);
        EXPECT_EQ(FormTest::field(form, "Gesamt")->text(), QStringLiteral("25,00"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    {
        // An article without a price, and none typed.
        CFanartikelDetailDlg form(database.db(), profile, database.dir(), context, -1);
        form.show();
        QComboBox* groups = combo(form, "comboGruppe");
        groups->setCurrentIndex(groups->findText(QStringLiteral("SHIRTS")));
        Q_EMIT groups->activated(groups->currentIndex());
        EXPECT_EQ(combo(form, "comboArtikel")->currentText(), QStringLiteral("Alt"));
        EXPECT_EQ(combo(form, "comboPreis")->count(), 0);
        FormTest::type(form, "Menge", QStringLiteral("1"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(positions(), QStringLiteral("1:6/CAPS/Basecap/2/12.5 2:7/SHIRTS/Alt/1/0.0"));
}

TEST_F(MerchandiseFormTest, EditingAPositionKeepsItsStoredArticle) {
    // "Tour" has moved to the caps; "Logo" was deleted; the group "HEMDEN" was renamed.
    database.exec("UPDATE T_Stamm_Artikel SET Artikelgruppe = 'CAPS' WHERE ArtikelID = 4");
    database.exec("UPDATE T_Stamm_Artikel SET fDeleted = -1 WHERE ArtikelID = 5");
    database.exec("INSERT INTO T_Event_Merchandising (MerchID, EventID, ArtikelID, Artikelgruppe, "
                  "Artikel, Menge, Preis) VALUES (1, 8, 4, 'SHIRTS', 'Tour', 3, 15), "
                  "(2, 8, 5, 'SHIRTS', 'Logo', 1, 12), (3, 8, 9, 'HEMDEN', 'Polo', 2, 20)");
    for (int key : {1, 2, 3}) {
        CFanartikelDetailDlg form(database.db(), profile, database.dir(), context, key);
        form.show();
        const QString stored = database.db().queryText(
            "SELECT Artikelgruppe || '/' || Artikel FROM T_Event_Merchandising WHERE MerchID = " +
            std::to_string(key));
        EXPECT_EQ(combo(form, "comboGruppe")->currentText() + u'/' +
                      combo(form, "comboArtikel")->currentText(),
                  stored);
        FormTest::type(form, "Menge", QStringLiteral("4"), true);
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(positions(), QStringLiteral("1:4/SHIRTS/Tour/4/15.0 2:5/SHIRTS/Logo/4/12.0 "
                                          "3:9/HEMDEN/Polo/4/20.0"));
    // The current groups are offered for a change: choosing one lists its articles.
    CFanartikelDetailDlg form(database.db(), profile, database.dir(), context, 1);
    QComboBox* groups = combo(form, "comboGruppe");
    EXPECT_EQ(groups->findText(QStringLiteral("CAPS")), 0);
    groups->setCurrentIndex(0);
    Q_EMIT groups->activated(0);
    EXPECT_EQ(combo(form, "comboArtikel")->count(), 2);
}

TEST_F(MerchandiseFormTest, DeletingAPositionRemovesItsRecord) {
    database.exec("INSERT INTO T_Event_Merchandising (MerchID, EventID, ArtikelID, Artikelgruppe, "
                  "Artikel, Menge, Preis) VALUES (1, 8, 4, 'SHIRTS', 'Tour', 3, 15), "
                  "(2, 8, 6, 'CAPS', 'Basecap', 1, 9)");
    CFanartikelDlg form(database.db(), profile, database.dir(), context);
    form.show();
    EXPECT_EQ(FormTest::field(form, "Summe")->text(), QStringLiteral("54,00"));
    messages.queueAnswer(Answer::No);
    FormTest::click(form, "Position &Löschen");
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("Soll \"1 * CAPS/Basecap\" wirklich gelöscht werden?"));
    EXPECT_EQ(database.count("T_Event_Merchandising"), 2);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "Position &Löschen");
    EXPECT_EQ(positions(), QStringLiteral("1:4/SHIRTS/Tour/3/15.0"));
    EXPECT_EQ(FormTest::field(form, "Summe")->text(), QStringLiteral("45,00"));
}

} // namespace
