// Transport planning: the entry form's refusals and what it stores, deleting a planned vehicle
// with its bookings, and how the list form settles the status when it closes.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/TransportPlan.h"
#include "planning/CPlanTransportDlg.h"
#include "planning/CPlanTransportKfzDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"
#include "widgets/CReportList.h"

#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;
const QString kSaveQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);
const QString kComplete = QStringLiteral("Ist die Planung Kfz Verleiher abgeschlossen?");

class TransportPlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (12, 'Halle'), "
                      "(13, 'Zelt')");
        database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma) VALUES "
                      "(5, 5, 'Autovermietung Zellner')");
        database.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, Art, ExtID, Typ, Sitzpl, "
                      "ZulGewicht, Kennzeichen) VALUES (31, 5, 5, 'Kleinbus', 9, 3, 'KRT-1'), "
                      "(32, 5, 5, 'Kastenwagen', 3, 3.5, 'KRT-2')");
        event.eventId = 12;
    }

    // Picks the row of a pick list by its text, as a user does.
    static void pick(QWidget& form, const char* list, const QString& text) {
        auto* combo = form.findChild<CPickList*>(QString::fromUtf8(list));
        const int row = combo->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        combo->setCurrentIndex(row);
        Q_EMIT combo->activated(row);
    }
    QString planned() {
        return database.db().queryText(
            "SELECT group_concat(EventID || '/' || KfzID || '/' || COALESCE(Fahrer, ''), ' ') "
            "FROM (SELECT * FROM T_Event_Transport ORDER BY EventID, KfzID)");
    }
    void book(int event, int vehicle) {
        database.exec(("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID) "
                       "VALUES (" +
                       std::to_string(event) + ", 4, 15, " + std::to_string(vehicle) + ")")
                          .c_str());
    }
    int bookings(const char* where) { return database.count("T_Event_Finanzen", where); }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PlanningContext event;
};

TEST_F(TransportPlanningTest, SameVehicleTwiceIsRefusedAndTheInputKept) {
    database.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID, Fahrer) VALUES "
                  "(12, 5, 31, 'Max')");
    CPlanTransportKfzDlg form(database.db(), profile, 12, -1, -1);
    form.show();
    // Neither firm nor vehicle chosen: refused, nothing written.
    messages.queueAnswer(Answer::Yes);
    FormTest::type(form, "Fahrer", QStringLiteral("Eva"));
    FormTest::click(form, "&Ende");
    EXPECT_EQ(messages.texts(), (QStringList{kSaveQuestion, QStringLiteral("Ungültige Eingabe!")}));
    EXPECT_TRUE(form.isVisible());

    pick(form, "listVerleiher", QStringLiteral("Autovermietung Zellner"));
    pick(form, "listKfz", QStringLiteral("Kleinbus"));
    EXPECT_EQ(FormTest::field(form, "Kennzeichen")->text(), QStringLiteral("KRT-1"));
    messages.clear();
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(
        messages.texts(),
        (QStringList{kSaveQuestion, QString::fromUtf8(CPlanTransportKfzDlg::kAlreadyPlanned)}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(FormTest::field(form, "Fahrer")->text(), QStringLiteral("Eva"));
    EXPECT_EQ(planned(), QStringLiteral("12/31/Max"));

    // Another vehicle is planned, with its keys handed back.
    pick(form, "listKfz", QStringLiteral("Kastenwagen"));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.vehicle(), 32);
    EXPECT_EQ(planned(), QStringLiteral("12/31/Max 12/32/Eva"));
}

TEST_F(TransportPlanningTest, ChangingTheVehicleOfAnEntryMovesItWithItsBookings) {
    database.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID) VALUES (12, 5, 31)");
    book(12, 31);
    CPlanTransportKfzDlg form(database.db(), profile, 12, 5, 31);
    form.show();
    EXPECT_EQ(form.findChild<CPickList*>(QStringLiteral("listKfz"))->currentText(),
              QStringLiteral("Kleinbus"));
    pick(form, "listKfz", QStringLiteral("Kastenwagen"));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(planned(), QStringLiteral("12/32/"));
    EXPECT_EQ(bookings("ID = 32"), 1);
    EXPECT_EQ(bookings("ID = 31"), 0);
}

TEST_F(TransportPlanningTest, DeletingAPlannedVehicleDeletesOnlyItsBookings) {
    database.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID) VALUES "
                  "(12, 5, 31), (12, 5, 32), (13, 5, 31)");
    book(12, 31);
    book(12, 31);
    book(12, 32);
    book(13, 31);
    CPlanTransportDlg form(database.db(), profile, event);
    form.show();
    auto* list = form.findChild<CReportList*>();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->topLevelItem(0));
    const QString type = list->topLevelItem(0)->text(1);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "Transportmittel &löschen");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Soll \"%1\" wirklich gelöscht werden?").arg(type)});
    const int gone = type == QLatin1String("Kleinbus") ? 31 : 32;
    EXPECT_EQ(database.count("T_Event_Transport",
                             ("EventID = 12 AND KfzID = " + std::to_string(gone)).c_str()),
              0);
    EXPECT_EQ(bookings(("EventID = 12 AND ID = " + std::to_string(gone)).c_str()), 0);
    EXPECT_EQ(database.count("T_Event_Finanzen"), gone == 31 ? 2 : 3);
    EXPECT_EQ(bookings("EventID = 13"), 1);
    EXPECT_EQ(list->topLevelItemCount(), 1);
}

TEST_F(TransportPlanningTest, ClosingTheListSettlesTheStatusAsItsRuleSays) {
    const auto status = [this] {
        return database.db().queryText(
            "SELECT Stat_Plan_Transport FROM T_Event_Status WHERE EventID = 12");
    };
    {
        // An empty list: no editing, no deleting.
        CPlanTransportDlg form(database.db(), profile, event);
        form.show();
        EXPECT_FALSE(FormTest::button(form, "Transportmittel &bearbeiten...")->isEnabled());
        EXPECT_FALSE(FormTest::button(form, "Transportmittel &löschen")->isEnabled());
        // Only the status clicked: the save question, yes writes the button.
        FormTest::button<QRadioButton>(form, "begonnen")->click();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts(), QStringList{kSaveQuestion});
        EXPECT_EQ(status(), QStringLiteral("1"));
    }
    {
        // After an entry was deleted, only whether the planning is complete is asked; no keeps
        // the button the user clicked.
        database.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID) VALUES "
                      "(12, 5, 31)");
        CPlanTransportDlg form(database.db(), profile, event);
        form.show();
        FormTest::button<QRadioButton>(form, "offen")->click();
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "Transportmittel &löschen");
        messages.queueAnswer(Answer::No);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts().last(), kComplete);
        EXPECT_EQ(status(), QStringLiteral("0"));
    }
}

} // namespace
