// The finance forms as a user meets them: the overview's budget saved and shown again as typed,
// a cost form opened from the menu although its button is disabled, a changed payment date that
// asks before closing, a booking that keeps its cents, and the merchandise totals.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "finance/CFanartikelDlg.h"
#include "finance/CFinanzenDlg.h"
#include "finance/CKostenBuchenDlg.h"
#include "finance/CKostenDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QGroupBox>
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

} // namespace
