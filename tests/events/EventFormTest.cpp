// The event form as a user meets it: a new event's defaults, the refusals and where they leave
// the focus, the fee and its paid part, flagged organisers and contacts and those made or edited
// from the form, the hand-over to planning, and the main window's event list opening the form.
#include "app/MainWindowSupport.h"
#include "events/CEventDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

using FormTest::onNextModal;
using Answer = MessageService::Answer;
using TimePlan::Time;

template <class Widget = QWidget> Widget* child(QWidget& form, const char* name) {
    if (auto* found = form.findChild<Widget*>(QLatin1String(name)))
        return found;
    throw std::runtime_error(std::string("no widget ") + name);
}
void click(QWidget& form, const char* name) {
    QTest::mouseClick(child<QAbstractButton>(form, name), Qt::LeftButton);
}
// Replaces a field's text as a user does.
void retype(QWidget& form, const char* name, const char* text) {
    auto* field = child<QLineEdit>(form, name);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, QLatin1String(text));
}
// Chooses a pick list's row with the arrow keys.
void choose(QWidget& form, const char* list, std::int32_t key) {
    auto* pick = child<CPickList>(form, list);
    for (int step = 0; step < pick->rowCount() && pick->selectedData() != key; ++step)
        QTest::keyClick(pick, Qt::Key_Down);
}

class EventFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma, Name, Vorname, "
                      "Anrede, PLZ, Ort, fDeleted) VALUES (3, 0, 0, 'Kulturamt', NULL, NULL, 0, "
                      "'53111', 'Bonn', 0), (4, 0, -1, NULL, 'Albers', 'Anna', 1, NULL, NULL, -1)");
        database.exec("INSERT INTO T_Stamm_ExtAnsprech (APID, ExtID, Art, APName, APTel, fDeleted) "
                      "VALUES (7, 4, 0, 'Meier', '089 1', -1), (8, 4, 0, 'Bauer', NULL, 0), "
                      "(9, 4, 0, 'Alt', NULL, -1)");
    }
    // Event 12 on 20.06.2024 with a new event's times of day and the given columns.
    void addEvent(const QString& columns, const QString& values) {
        database.exec(QStringLiteral(
                          "INSERT INTO T_Event (EventID, ELocation, EBeginn, EEnde, ETAufbauVon, "
                          "ETAufbauBis, ESCheckVon, ESCheckBis, ETAbbauVon, ETAbbauBis, %1) VALUES "
                          "(12, 'Halle', '2024-06-20 20:00:00', '2024-06-20 22:00:00', '2024-06-20 "
                          "16:00:00', '2024-06-20 18:00:00', '2024-06-20 18:00:00', '2024-06-20 "
                          "19:00:00', '2024-06-20 22:00:00', '2024-06-20 23:00:00', %2)")
                          .arg(columns, values)
                          .toUtf8()
                          .constData());
    }
    QString stored(const char* expression, int eventId = 12) {
        return database.db().queryText(QStringLiteral("SELECT %1 FROM T_Event WHERE EventID=%2")
                                           .arg(expression)
                                           .arg(eventId)
                                           .toStdString());
    }
    // A new event on 20.06.2024 with organiser and location.
    void fillNewEvent(CEventDlg& form) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        choose(form, "listVeranstalter", 3);
        retype(form, "editLocation", "Rheinforum");
        retype(form, "editBeginnDatum", "20062024");
    }
    int saveAndClose(CEventDlg& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "buttonEnde");
        return form.result();
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(EventFormTest, NewEventStartsReservedAndItsDefaultTimesPassOnTheBeginsDate) {
    CEventDlg form(database.db(), profile, -1);
    EXPECT_TRUE(child<QRadioButton>(form, "radioReserviert")->isChecked());
    EXPECT_FALSE(child<QPushButton>(form, "buttonBearbeitenVeranstalter")->isEnabled());
    EXPECT_EQ(child<QLabel>(form, "labelWaehrungGage")->text(), QStringLiteral("€"));
    EXPECT_EQ(child<CPickList>(form, "listVeranstalter")->rowCount(), 1); // live organisers
    fillNewEvent(form);
    EXPECT_EQ(child<QLineEdit>(form, "editVOrt")->text(), QStringLiteral("53111 Bonn"));
    EXPECT_TRUE(child<QPushButton>(form, "buttonBearbeitenVeranstalter")->isEnabled());
    retype(form, "editGage", "1.200,50");
    ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(CFormDialog::kSaveQuestion)});
    // The begin's date moved every other date; the times of day stayed.
    EXPECT_EQ(stored("Status||'|'||VeranstalterID||'|'||quote(VAnsprechID)||'|'||EEnde||'|'||"
                     "ETAufbauVon||'|'||ETAbbauBis||'|'||round(EGageVereinb, 2)||'|'||"
                     "quote(EGageBezahlt)",
                     form.eventId()),
              QStringLiteral("1|3|NULL|2024-06-20 22:00:00|2024-06-20 16:00:00|"
                             "2024-06-20 23:00:00|1.2|NULL"));
}

TEST_F(EventFormTest, RefusalsKeepTheFormOpenWithTheFocusOnTheFieldToCorrect) {
    const auto setEnd = [](CEventDlg& f, const char* date, QTime time) {
        retype(f, "editEndeDatum", date);
        f.timeField(Time::Ende)->setTime(time);
    };
    const struct {
        std::function<void(CEventDlg&)> change;
        const char* message;
        const char* focus;
    } cases[] = {
        {[](CEventDlg& f) { retype(f, "editLocation", ""); }, "Bitte \"Location\" eingeben.",
         "editLocation"},
        {[](CEventDlg& f) { retype(f, "editGage", "viel"); }, "Geben Sie bitte eine Zahl ein.",
         "editGage"},
        {[&](CEventDlg& f) {
             setEnd(f, "20.06.2024", {20, 0});
         },
         "Ende des Events muß später als der Beginn des Events sein.", "timeEnde"},
        {[&](CEventDlg& f) {
             setEnd(f, "19.06.2024", {23, 0});
         },
         "Ende des Events muß später als der Beginn des Events sein.", "editEndeDatum"},
        // The zero date-time is no end, whatever the begin.
        {[&](CEventDlg& f) {
             setEnd(f, "30.12.1899", {0, 0});
         },
         "Geben Sie bitte ein Datum und/oder eine Zeit ein.", "editEndeDatum"},
        {[](CEventDlg& f) { retype(f, "editAufbauVonDatum", ""); },
         "Geben Sie bitte ein Datum und/oder eine Zeit ein.", "editAufbauVonDatum"},
        {[](CEventDlg& f) { child<CPickList>(f, "listVeranstalter")->setCurrentIndex(-1); },
         "Ungültige Eingabe!", "listVeranstalter"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.focus);
        CEventDlg form(database.db(), profile, -1);
        fillNewEvent(form);
        each.change(form);
        messages.clear();
        EXPECT_EQ(saveAndClose(form), QDialog::Rejected);
        EXPECT_EQ(messages.texts().value(1), QString::fromUtf8(each.message));
        EXPECT_EQ(messages.messages().value(1).icon, MessageService::Icon::Stop);
        EXPECT_EQ(form.focusWidget(), child(form, each.focus));
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(database.count("T_Event", "EventID > 0"), 0);
}

TEST_F(EventFormTest, ANewAgreedFeeClearsThePaidFee) {
    const struct {
        const char* fee;   // stored before, with 400 paid
        const char* typed; // nullptr: the fee is left alone and the status changed instead
        const char* stored;
    } cases[] = {{"500", nullptr, "500.0|400.0"},
                 {"500", "600", "600.0|NULL"},
                 {"500", "0", "0.0|NULL"},
                 {"500", "", "NULL|NULL"},
                 // Shown as "12,35": saved unchanged, the fee is neither rounded nor new.
                 {"12.345", nullptr, "12.345|400.0"}};
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.fee) + " " + (each.typed ? each.typed : "unchanged"));
        database.exec("DELETE FROM T_Event WHERE EventID = 12");
        addEvent("EGageVereinb, EGageBezahlt, VeranstalterID",
                 QStringLiteral("%1, 400, 3").arg(QLatin1String(each.fee)));
        CEventDlg form(database.db(), profile, 12);
        form.show();
        if (each.typed)
            retype(form, "editGage", each.typed);
        else
            click(form, "radioGebucht");
        ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
        EXPECT_EQ(stored("quote(round(EGageVereinb, 3))||'|'||quote(EGageBezahlt)"), each.stored);
    }
}

TEST_F(EventFormTest, KeepsAnInvoicedStatusAndAFlaggedOrganiserAndContact) {
    addEvent("Status, VeranstalterID, VAnsprechID", "4, 4, 7");
    CEventDlg form(database.db(), profile, 12);
    form.show();
    EXPECT_EQ(child<CPickList>(form, "listVeranstalter")->currentText(), "Albers, Anna");
    EXPECT_EQ(child<QLineEdit>(form, "editVAnrede")->text(), QStringLiteral("Frau"));
    // The blank row, the live contact and the flagged one in use; not the other flagged one.
    EXPECT_EQ(child<CPickList>(form, "listAnsprech")->rowCount(), 3);
    EXPECT_EQ(child<CPickList>(form, "listAnsprech")->currentText(), QStringLiteral("Meier"));
    EXPECT_EQ(child<QLineEdit>(form, "editAPTel")->text(), QStringLiteral("089 1"));
    retype(form, "editArt", "Gala");
    ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
    EXPECT_EQ(stored("Status||'|'||VeranstalterID||'|'||VAnsprechID||'|'||EArt"), "4|4|7|Gala");
}

TEST_F(EventFormTest, OrganisersAndContactsMadeOrEditedHereAreChosenAgain) {
    database.exec("INSERT INTO T_Stamm_ExtAnsprech (APID, ExtID, Art, APName, fDeleted) "
                  "VALUES (20, 3, 0, 'Adam', 0)");
    CEventDlg form(database.db(), profile, -1);
    fillNewEvent(form);
    auto* organisers = child<CPickList>(form, "listVeranstalter");
    auto* contacts = child<CPickList>(form, "listAnsprech");
    const auto answerWithFirm = [&](const char* name, bool replace) {
        onNextModal([=](QDialog& firm) {
            EXPECT_EQ(firm.windowTitle(), QStringLiteral("Veranstalter"));
            FormTest::type(firm, "Firma", QString::fromUtf8(name), replace);
            messages.queueAnswer(Answer::Yes);
            FormTest::click(firm, "&Ende");
        });
    };

    // A new organiser, listed after the one chosen before, is the one chosen now.
    answerWithFirm("Zirkus Aurora", false);
    click(form, "buttonNeuVeranstalter");
    const std::int32_t circus = database.db()
                                    .queryText("SELECT ExtID FROM T_Stamm_ExtFirma "
                                               "WHERE Firma = 'Zirkus Aurora'")
                                    .toInt();
    ASSERT_GT(circus, 0);
    EXPECT_EQ(organisers->rowCount(), 2);
    EXPECT_EQ(organisers->selectedData(), circus);
    EXPECT_EQ(organisers->currentText(), QStringLiteral("Zirkus Aurora"));

    // A new contact of the chosen organiser, listed after the other one, is chosen.
    QTest::keyClick(organisers, Qt::Key_Up);
    ASSERT_EQ(organisers->selectedData(), 3);
    onNextModal([&](QDialog& contact) {
        EXPECT_EQ(contact.windowTitle(), QStringLiteral("Ansprechpartner"));
        FormTest::type(contact, "Name", QStringLiteral("Zeller"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(contact, "&Ende");
    });
    click(form, "buttonNeuAnsprech");
    const std::int32_t zeller =
        database.db()
            .queryText("SELECT APID FROM T_Stamm_ExtAnsprech WHERE APName = 'Zeller'")
            .toInt();
    ASSERT_GT(zeller, 0);
    EXPECT_EQ(contacts->selectedData(), zeller);
    EXPECT_EQ(contacts->currentText(), QStringLiteral("Zeller"));

    // The organiser renamed so that it moves to the top stays chosen, with its contact.
    answerWithFirm("Amt Kultur", true);
    click(form, "buttonBearbeitenVeranstalter");
    EXPECT_EQ(organisers->selectedData(), 3);
    EXPECT_EQ(organisers->currentText(), QStringLiteral("Amt Kultur"));
    EXPECT_EQ(contacts->selectedData(), zeller);

    ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
    EXPECT_EQ(stored("VeranstalterID||'|'||VAnsprechID", form.eventId()),
              QStringLiteral("3|%1").arg(zeller));
}

TEST_F(EventFormTest, PlanningTakesOnlyAStoredEvent) {
    CEventDlg form(database.db(), profile, -1);
    fillNewEvent(form);
    messages.queueAnswer(Answer::No);
    click(form, "buttonPlanung");
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.planningContext());

    messages.queueAnswer(Answer::Yes);
    click(form, "buttonPlanung");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_TRUE(form.planningContext());
    EXPECT_EQ(form.planningContext()->eventId, form.eventId());
    EXPECT_EQ(form.planningContext()->location, QStringLiteral("Rheinforum"));
}

TEST_F(EventFormTest, ChangesMadeElsewhereMeanwhileAreNeverOverwrittenUnasked) {
    const QString conflict = QStringLiteral(
        "Der Datensatz wurde inzwischen geändert: Location, Gage. Ihre Änderungen: Eventart.");
    const struct {
        Answer answer;
        const char* stored; // type, location, fee, paid fee after the second save
    } cases[] = {
        // The stored fee and location come into the form; the type typed stays and is saved.
        {Answer::Yes, "Hochzeit|Aula|1800.0|400.0"},
        // The form's values are written over the other program's.
        {Answer::No, "Hochzeit|Halle|1500.0|400.0"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.answer == Answer::Yes ? "take the stored values" : "write over them");
        database.exec("DELETE FROM T_Event WHERE EventID = 12");
        addEvent("EArt, EGageVereinb, EGageBezahlt, VeranstalterID, Status",
                 "'Gala', 1500, 400, 3, 1");
        CEventDlg form(database.db(), profile, 12);
        form.show();
        retype(form, "editArt", "Hochzeit");
        {
            CDatabase other; // a second program on the same file
            other.open(database.databasePath());
            other.execute("UPDATE T_Event SET EGageVereinb = 1800, ELocation = 'Aula' "
                          "WHERE EventID = 12");
        }
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(each.answer);
        click(form, "buttonEnde");
        ASSERT_EQ(messages.texts().size(), 2);
        EXPECT_TRUE(messages.texts()[1].startsWith(conflict)) << messages.texts()[1].toStdString();
        EXPECT_EQ(messages.messages()[1].buttons, MessageService::Buttons::YesNoCancel);
        if (each.answer == Answer::Yes) {
            // Nothing written yet: the user sees the merged values and saves them himself.
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(stored("EArt||'|'||ELocation"), QStringLiteral("Gala|Aula"));
            EXPECT_EQ(child<QLineEdit>(form, "editLocation")->text(), QStringLiteral("Aula"));
            EXPECT_EQ(child<QLineEdit>(form, "editGage")->text(), QStringLiteral("1800"));
            EXPECT_EQ(child<QLineEdit>(form, "editArt")->text(), QStringLiteral("Hochzeit"));
            EXPECT_TRUE(form.isChanged());
            messages.clear();
            ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
            EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(CFormDialog::kSaveQuestion)});
        } else {
            EXPECT_EQ(form.result(), QDialog::Accepted);
        }
        EXPECT_EQ(stored("EArt||'|'||ELocation||'|'||EGageVereinb||'|'||EGageBezahlt"),
                  QString::fromUtf8(each.stored));
    }
}

TEST_F(EventFormTest, CancellingTheConflictQuestionWritesNothingAndKeepsTheInput) {
    addEvent("EArt, EGageVereinb, VeranstalterID, Status", "'Gala', 1500, 3, 1");
    CEventDlg form(database.db(), profile, 12);
    form.show();
    retype(form, "editGage", "1600");
    CDatabase other;
    other.open(database.databasePath());
    other.execute("UPDATE T_Event SET EGageVereinb = 1800 WHERE EventID = 12");
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::Cancel);
    click(form, "buttonEnde");
    ASSERT_EQ(messages.texts().size(), 2);
    // Both changed the fee: it is named on both sides, the emptied paid fee with it.
    EXPECT_TRUE(messages.texts()[1].startsWith(
        QStringLiteral("Der Datensatz wurde inzwischen geändert: Gage. Ihre Änderungen: Gage.")))
        << messages.texts()[1].toStdString();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "editGage")->text(), QStringLiteral("1600"));
    EXPECT_EQ(stored("EGageVereinb"), QStringLiteral("1800.0"));
}

class EventFormFromListTest : public RunningProgramTest {};

TEST_F(EventFormFromListTest, EventListCreatesEditsAndPlansEvents) {
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}});
    frame->navigate(1, 0);
    onNextModal([&](QDialog& form) {
        choose(form, "listVeranstalter", office);
        retype(form, "editLocation", "Rheinforum");
        messages.queueAnswer(Answer::Yes);
        click(form, "buttonEnde");
    });
    QTest::mouseClick(list().newButton(), Qt::LeftButton);
    ASSERT_EQ(column(3) + column(4), QStringList({"Kulturamt", "Rheinforum"}));
    // The new event is the one chosen, ready for the next command.
    EXPECT_EQ(list().selectedKey(), keys().first());

    clickEntry(keys().first());
    onNextModal([&](QDialog& form) {
        retype(form, "editLocation", "Stadthalle");
        // Saved, then the planning hub follows the form.
        messages.queueAnswer(Answer::Yes);
        onNextModal([](QDialog& hub) {
            EXPECT_EQ(hub.windowTitle(), QStringLiteral("Event planen"));
            click(hub, "buttonEnde");
        });
        click(form, "buttonPlanung");
    });
    QTest::mouseClick(list().editButton(), Qt::LeftButton);
    EXPECT_EQ(column(4), QStringList{QStringLiteral("Stadthalle")});
}

TEST_F(EventFormFromListTest, NewEventIsChosenAmongOthersAndNothingNewWithoutSaving) {
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}});
    addEvent({{"EBeginn", at(2030, 1, 1, 20, 0)}, {"ELocation", "Zukunft"}});
    addEvent({{"EBeginn", at(2020, 1, 1, 20, 0)}, {"ELocation", "Vergangen"}});
    frame->navigate(1, 0);
    clickEntry(keys().first());
    onNextModal([&](QDialog& form) {
        choose(form, "listVeranstalter", office);
        retype(form, "editLocation", "Saal");
        messages.queueAnswer(Answer::Yes);
        click(form, "buttonEnde");
    });
    QTest::mouseClick(list().newButton(), Qt::LeftButton);
    ASSERT_EQ(keys().size(), 3);
    EXPECT_EQ(list().selectedText(4), QStringLiteral("Saal"));
    const std::int32_t chosen = list().selectedKey();

    // Left without saving: nothing new, the choice stays.
    onNextModal([&](QDialog& form) {
        retype(form, "editLocation", "Nichts");
        messages.queueAnswer(Answer::No);
        click(form, "buttonEnde");
    });
    QTest::mouseClick(list().newButton(), Qt::LeftButton);
    EXPECT_EQ(keys().size(), 3);
    EXPECT_EQ(list().selectedKey(), chosen);
}

} // namespace
