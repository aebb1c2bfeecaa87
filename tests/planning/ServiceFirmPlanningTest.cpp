// The four service-firm forms: what the assignment row holds after a save, the bookings that go
// when no firm is chosen, a deleted firm still assigned, firms and contacts made or edited from
// the form, a remark changed alone, equipment present, and the status written on its own.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "planning/CPlanFirmaDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;
using Area = CPlanFirmaDlg::ServiceArea;

class ServiceFirmPlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (12, 'Halle')");
        database.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (13, 'Zelt')");
        // Technicians 1 and 2 (2 deleted since), PA hire 3, light hire 4.
        database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma, fDeleted) VALUES "
                      "(1, 1, 'Schall GmbH', 0), (2, 1, 'Alt-Ton', -1), (3, 3, 'PA-Profi', 0), "
                      "(4, 4, 'Lichtblick', 0)");
        database.exec("INSERT INTO T_Stamm_ExtAnsprech (APID, Art, ExtID, APName, APVorname) "
                      "VALUES (21, 1, 1, 'Berger', 'Tom')");
        context.eventId = 12;
        context.location = QStringLiteral("Halle");
    }

    std::unique_ptr<CPlanFirmaDlg> open(const Area& area) {
        auto form = std::make_unique<CPlanFirmaDlg>(database.db(), profile, area, context);
        form->show();
        return form;
    }
    // Picks the row of a pick list by its text, as a user does.
    static void pick(CPlanFirmaDlg& form, const char* list, const QString& text) {
        auto* combo = form.findChild<CPickList*>(QString::fromUtf8(list));
        const int row = combo->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        combo->setCurrentIndex(row);
        Q_EMIT combo->activated(row);
    }
    // "&Ende" answered with yes, and the completion question with the given answer.
    void saveAndClose(CPlanFirmaDlg& form, Answer complete = Answer::Yes) {
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(complete);
        FormTest::click(form, "&Ende");
    }
    QString assignment(int kind) {
        return database.db().queryText(
            "SELECT quote(ExtID) || '|' || quote(AnsprechID) || '|' || quote(bVorhanden) FROM "
            "T_Event_ExtFirma WHERE EventID = 12 AND Art = " +
            std::to_string(kind));
    }
    void book(int event, int group, int centre) {
        database.exec(("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle) "
                       "VALUES (" +
                       std::to_string(event) + ", " + std::to_string(group) + ", " +
                       std::to_string(centre) + ")")
                          .c_str());
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PlanningContext context;
};

TEST_F(ServiceFirmPlanningTest, TechnicianWithContactThenNoFirmRemovesEveryTechnicianBooking) {
    {
        auto form = open(CPlanFirmaDlg::kTechnician);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Planung Techniker"));
        pick(*form, "listFirma", QStringLiteral("Schall GmbH"));
        pick(*form, "listAnsprech", QStringLiteral("Berger"));
        EXPECT_EQ(FormTest::field(*form, "Vorname")->text(), QStringLiteral("Tom"));
        saveAndClose(*form);
        EXPECT_EQ(form->result(), QDialog::Accepted);
    }
    // A technician form never writes the PA/light column.
    EXPECT_EQ(assignment(1), QStringLiteral("1|21|0"));
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Technik = 2"), 1);

    // Two bookings of the area (one from an earlier firm), one of another area, one of another
    // event: choosing no firm removes exactly the first two.
    book(12, 1, 12);
    book(12, 1, 12);
    book(12, 1, 11);
    book(13, 1, 12);
    {
        auto form = open(CPlanFirmaDlg::kTechnician);
        EXPECT_EQ(form->findChild<CPickList*>(QStringLiteral("listFirma"))->currentText(),
                  QStringLiteral("Schall GmbH"));
        pick(*form, "listFirma", QString());
        saveAndClose(*form, Answer::No);
    }
    EXPECT_EQ(assignment(1), QStringLiteral("NULL|NULL|0"));
    EXPECT_EQ(database.count("T_Event_Finanzen", "Kostengruppe = 1 AND Kostenstelle = 12"), 1);
    EXPECT_EQ(database.count("T_Event_Finanzen"), 2);
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Technik = 1"), 1);
}

TEST_F(ServiceFirmPlanningTest, DeletedFirmInUseStaysSelectedButIsNotEditedFromHere) {
    database.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID) VALUES (12, 1, 2)");
    auto form = open(CPlanFirmaDlg::kTechnician);
    auto* firms = form->findChild<CPickList*>(QStringLiteral("listFirma"));
    EXPECT_EQ(firms->currentText(), QStringLiteral("Alt-Ton"));
    EXPECT_FALSE(FormTest::button(*form, "Techniker &bearbeiten...")->isEnabled());
    EXPECT_FALSE(FormTest::button(*form, "Neuer Ansprech&partner...")->isEnabled());
    // Closing unchanged asks nothing and writes nothing.
    FormTest::click(*form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(ServiceFirmPlanningTest, PresentEquipmentAndHiredLightAreStoredAsYesAndNo) {
    book(12, 2, 13);
    {
        auto form = open(CPlanFirmaDlg::kPAHire);
        pick(*form, "listFirma", QStringLiteral("PA-Profi"));
        FormTest::button<QRadioButton>(*form, "PA vorhanden")->click();
        EXPECT_FALSE(form->findChild<CPickList*>(QStringLiteral("listFirma"))->isEnabled());
        saveAndClose(*form);
    }
    EXPECT_EQ(assignment(3), QStringLiteral("NULL|NULL|-1"));
    EXPECT_EQ(database.count("T_Event_Finanzen"), 0);
    {
        auto form = open(CPlanFirmaDlg::kLightHire);
        pick(*form, "listFirma", QStringLiteral("Lichtblick"));
        saveAndClose(*form);
    }
    EXPECT_EQ(assignment(4), QStringLiteral("4|NULL|0"));
}

TEST_F(ServiceFirmPlanningTest, FirmsAndContactsMadeOrEditedHereAreChosenAgain) {
    auto form = open(CPlanFirmaDlg::kTechnician);
    auto* firms = form->findChild<CPickList*>(QStringLiteral("listFirma"));
    auto* contacts = form->findChild<CPickList*>(QStringLiteral("listAnsprech"));
    // Answers the nested firm or contact form: types into the labelled field and saves.
    const auto answer = [&](const char* title, const char* label, const char* text) {
        FormTest::onNextModal([=](QDialog& nested) {
            EXPECT_EQ(nested.windowTitle(), QString::fromUtf8(title));
            FormTest::type(nested, label, QString::fromUtf8(text), true);
            messages.queueAnswer(Answer::Yes);
            FormTest::click(nested, "&Ende");
        });
    };
    const auto key = [&](const char* sql) { return database.db().queryText(sql).toInt(); };
    pick(*form, "listFirma", QStringLiteral("Schall GmbH"));

    // A new contact, listed after the firm's other one, is chosen with its details.
    answer("Ansprechpartner", "Name", "Zeller");
    FormTest::click(*form, "Neuer Ansprech&partner...");
    const std::int32_t zeller = key("SELECT APID FROM T_Stamm_ExtAnsprech WHERE APName='Zeller'");
    ASSERT_GT(zeller, 0);
    EXPECT_EQ(contacts->selectedData(), zeller);
    // The contact renamed so that it moves before the other one stays chosen.
    answer("Ansprechpartner", "Name", "Adler");
    FormTest::click(*form, "Ansprechpartner bea&rbeiten...");
    EXPECT_EQ(contacts->selectedData(), zeller);
    EXPECT_EQ(contacts->currentText(), QStringLiteral("Adler"));

    // The firm renamed keeps itself and its contact chosen.
    answer("Technik", "Firma", "Schall AG");
    FormTest::click(*form, "Techniker &bearbeiten...");
    EXPECT_EQ(firms->selectedData(), 1);
    EXPECT_EQ(firms->currentText(), QStringLiteral("Schall AG"));
    EXPECT_EQ(contacts->selectedData(), zeller);

    // A new firm, listed after the others, is chosen, without a contact.
    answer("Technik", "Firma", "Zeta Ton");
    FormTest::click(*form, "&Neuer Techniker...");
    const std::int32_t zeta = key("SELECT ExtID FROM T_Stamm_ExtFirma WHERE Firma='Zeta Ton'");
    ASSERT_GT(zeta, 0);
    EXPECT_EQ(firms->selectedData(), zeta);
    EXPECT_EQ(contacts->selectedData(0), 0);
    EXPECT_TRUE(FormTest::button(*form, "Techniker &bearbeiten...")->isEnabled());

    // What the buttons chose is what is stored.
    saveAndClose(*form);
    EXPECT_EQ(assignment(1), QStringLiteral("%1|NULL|0").arg(zeta));
}

TEST_F(ServiceFirmPlanningTest, ARemarkChangedAloneIsStored) {
    database.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, AnsprechID) "
                  "VALUES (12, 1, 1, 21)");
    const auto remark = [&] {
        return database.db().queryText(
            "SELECT Bemerkungen FROM T_Event_ExtFirma WHERE EventID = 12 AND Art = 1");
    };
    {
        auto form = open(CPlanFirmaDlg::kTechnician);
        auto* field = form->findChild<QPlainTextEdit*>(QStringLiteral("editBemerkung"));
        QTest::keyClicks(field, QStringLiteral("Kabel mitbringen"));
        saveAndClose(*form);
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(messages.texts().value(0), QString::fromUtf8(CFormDialog::kSaveQuestion));
    }
    EXPECT_EQ(remark(), QStringLiteral("Kabel mitbringen"));
    EXPECT_EQ(assignment(1), QStringLiteral("1|21|0"));
    // Shown again as stored.
    auto form = open(CPlanFirmaDlg::kTechnician);
    EXPECT_EQ(form->findChild<QPlainTextEdit*>(QStringLiteral("editBemerkung"))->toPlainText(),
              QStringLiteral("Kabel mitbringen"));
}

TEST_F(ServiceFirmPlanningTest, LightPresentNeedsNoHireAndIsShownAgain) {
    book(12, 3, 14);
    {
        auto form = open(CPlanFirmaDlg::kLightHire);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Planung Lichtanlage"));
        pick(*form, "listFirma", QStringLiteral("Lichtblick"));
        FormTest::button<QRadioButton>(*form, "LA vorhanden")->click();
        auto* firms = form->findChild<CPickList*>(QStringLiteral("listFirma"));
        EXPECT_EQ(firms->selectedData(0), 0);
        EXPECT_FALSE(firms->isEnabled());
        EXPECT_FALSE(FormTest::button(*form, "&Neuer LA-Verleiher...")->isEnabled());
        EXPECT_FALSE(FormTest::button(*form, "LA-Verleiher &bearbeiten...")->isEnabled());
        saveAndClose(*form);
    }
    // No hire firm, no hire bookings.
    EXPECT_EQ(assignment(4), QStringLiteral("NULL|NULL|-1"));
    EXPECT_EQ(database.count("T_Event_Finanzen"), 0);
    {
        auto form = open(CPlanFirmaDlg::kLightHire);
        EXPECT_TRUE(FormTest::button<QRadioButton>(*form, "LA vorhanden")->isChecked());
        EXPECT_FALSE(form->findChild<CPickList*>(QStringLiteral("listFirma"))->isEnabled());
        // Hired after all: the firm can be chosen again.
        FormTest::button<QRadioButton>(*form, "LA angemietet von:")->click();
        EXPECT_TRUE(form->findChild<CPickList*>(QStringLiteral("listFirma"))->isEnabled());
        pick(*form, "listFirma", QStringLiteral("Lichtblick"));
        saveAndClose(*form);
    }
    EXPECT_EQ(assignment(4), QStringLiteral("4|NULL|0"));
}

TEST_F(ServiceFirmPlanningTest, StatusClickedAloneIsWrittenWithoutQuestionOrAssignment) {
    auto form = open(CPlanFirmaDlg::kBackliner);
    FormTest::button<QRadioButton>(*form, "abgeschlossen")->click();
    messages.queueAnswer(Answer::Yes);
    FormTest::click(*form, "&Ende");
    EXPECT_EQ(messages.texts().size(), 1); // only the save question
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Backline = 2"), 1);
    EXPECT_EQ(database.count("T_Event_ExtFirma"), 0);
}

TEST_F(ServiceFirmPlanningTest, FormStaysUnsavedWhileTheStatusCouldNotBeWritten) {
    // The assignment can be written, the planning status not.
    database.exec("CREATE TRIGGER no_status BEFORE INSERT ON T_Event_Status "
                  "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    auto form = open(CPlanFirmaDlg::kTechnician);
    pick(*form, "listFirma", QStringLiteral("Schall GmbH"));
    FormTest::button<QRadioButton>(*form, "abgeschlossen")->click();
    messages.setFallbackAnswer(Answer::Yes);
    FormTest::click(*form, "&Ende");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(assignment(1), QStringLiteral("1|NULL|0"));
    EXPECT_EQ(database.count("T_Event_Status"), 0);
    EXPECT_TRUE(form->isChanged());

    // Once the status can be written, "&Ende" asks again and stores it.
    database.exec("DROP TRIGGER no_status");
    messages.clear();
    FormTest::click(*form, "&Ende");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(messages.texts().first(), QString::fromUtf8(CFormDialog::kSaveQuestion));
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Technik = 2"), 1);
}

} // namespace
