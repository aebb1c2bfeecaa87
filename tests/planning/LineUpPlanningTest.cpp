// The line-up form: how its two lists are filled and ordered, moving musicians by button and by
// drag and drop, the standard line-up, and what a save writes and deletes.
#include "core/CProfileFile.h"
#include "core/LineUp.h"
#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "planning/CEventPlanDlg.h"
#include "planning/CLineUpList.h"
#include "planning/CPlanBesetzungDlg.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"
#include "widgets/Pictures.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = MessageService::Answer;

class LineUpPlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (12, 'Halle'), "
                      "(13, 'Zelt')");
        database.exec("INSERT INTO T_Stamm_Instrument (InstrumentID, Instrument, Kurz, fDeleted) "
                      "VALUES (1, 'Gitarre', 'Git', 0), (2, 'Bass', 'Bass', 0), "
                      "(3, 'Gesang', 'Voc', 0), (4, 'Schlagzeug', 'Dr', 0)");
        // Anna sings; Bert plays guitar and sings in his third slot; Dora sings in two slots;
        // Emil drums and sings; Fritz sings but was deleted.
        database.exec(
            "INSERT INTO T_Stamm_Musiker (MusikerID, MVorname, MName, MInstID1, MInstID2, "
            "MInstID3, fDeleted) VALUES (1, 'Anna', 'Alt', 3, NULL, NULL, 0), "
            "(2, 'Bert', 'Bauer', 1, 0, 3, 0), (4, 'Dora', 'Dorn', 3, 3, NULL, 0), "
            "(5, 'Emil', 'Eck', 4, 3, NULL, 0), (6, 'Fritz', 'Flach', 3, NULL, NULL, -1)");
        context.eventId = 12;
        context.location = QStringLiteral("Halle");
    }

    std::unique_ptr<CPlanBesetzungDlg> open() {
        auto form = std::make_unique<CPlanBesetzungDlg>(database.db(), profile, context);
        form->show();
        return form;
    }
    static CLineUpList& musicians(CPlanBesetzungDlg& form) {
        return *form.findChild<CLineUpList*>(QStringLiteral("listMusiker"));
    }
    static CLineUpList& lineUp(CPlanBesetzungDlg& form) {
        return *form.findChild<CLineUpList*>(QStringLiteral("listBesetzung"));
    }
    // The rows of a list as "instruments|name".
    static QStringList rows(const CLineUpList& list) {
        QStringList shown;
        for (int index = 0; index < list.topLevelItemCount(); ++index)
            shown << list.topLevelItem(index)->text(0) + u'|' + list.topLevelItem(index)->text(1);
        return shown;
    }
    // Clicks the first row that shows the musician's name.
    static void clickRow(CLineUpList& list, const char* name) {
        for (int index = 0; index < list.topLevelItemCount(); ++index) {
            QTreeWidgetItem* row = list.topLevelItem(index);
            if (row->text(1) == QString::fromUtf8(name)) {
                QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list.visualItemRect(row).center());
                return;
            }
        }
        FAIL() << "no row " << name;
    }
    static void chooseInstrument(CPlanBesetzungDlg& form, const char* name) {
        auto* choice = form.findChild<CPickList*>(QStringLiteral("listInstrument"));
        const int row = choice->findText(QString::fromUtf8(name));
        ASSERT_GE(row, 0) << name;
        choice->setCurrentIndex(row);
    }
    // Drops the row of `from` on `to` as a drag from one list to the other does.
    static bool drag(CLineUpList& from, const char* name, CLineUpList& to) {
        clickRow(from, name);
        std::unique_ptr<QMimeData> data(from.dragData());
        if (!data)
            return false;
        const QPointF at = to.viewport()->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(to.viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(to.viewport(), &move);
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(to.viewport(), &drop);
        return drop.isAccepted();
    }
    void saveAndClose(CPlanBesetzungDlg& form, Answer complete = Answer::Yes) {
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(complete);
        FormTest::click(form, "&Ende");
    }
    QString storedLineUp(int event) {
        return database.db().queryText(
            "SELECT group_concat(MusikerID, ',') FROM (SELECT MusikerID FROM T_Event_Besetzung "
            "WHERE EventID = " +
            std::to_string(event) + " ORDER BY MusikerID)");
    }
    void stay(int event, int person, int function, const char* arrival) {
        database.exec(("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion, HotelID, "
                       "Anreise) VALUES (" +
                       std::to_string(event) + ", " + std::to_string(person) + ", " +
                       std::to_string(function) + ", 1, '" + arrival + "')")
                          .c_str());
    }
    void book(int event, int group, int centre, int id) {
        database.exec(("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID) "
                       "VALUES (" +
                       std::to_string(event) + ", " + std::to_string(group) + ", " +
                       std::to_string(centre) + ", " + std::to_string(id) + ")")
                          .c_str());
    }
    // Every insert, update and delete on the line-up table from now on.
    void logLineUpWrites() {
        database.exec("CREATE TABLE WriteLog (Action TEXT)");
        for (const char* action : {"INSERT", "UPDATE", "DELETE"})
            database.exec((std::string("CREATE TRIGGER Log") + action + " AFTER " + action +
                           " ON T_Event_Besetzung BEGIN INSERT INTO WriteLog VALUES ('" + action +
                           "'); END")
                              .c_str());
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
    PlanningContext context;
};

TEST(LineUpRules, InstrumentTextKeepsTheSeparatorOfAnEmptySlotButNoTrailingOnes) {
    EXPECT_EQ(LineUp::instrumentText({"Git", "", "Voc", "", "", ""}), QStringLiteral("Git, , Voc"));
    EXPECT_EQ(LineUp::instrumentText({"", "Bass", "", "", "", ""}), QStringLiteral(", Bass"));
    EXPECT_EQ(LineUp::instrumentText({"", "", "", "", "", ""}), QString());
    EXPECT_EQ(LineUp::musicianName(QStringLiteral("Anna"), QStringLiteral("Alt")),
              QStringLiteral("Anna Alt"));
}

TEST_F(LineUpPlanningTest, ListsShowWhoIsNotInTheLineUpOrderedBySlotThenInstruments) {
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 5)");
    auto form = open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Besetzung planen"));
    EXPECT_EQ(rows(lineUp(*form)), QStringList{"Dr, Voc|Emil Eck"});
    // All instruments: by instrument text, whatever the case; Emil and the deleted Fritz never.
    EXPECT_EQ(rows(musicians(*form)),
              (QStringList{"Git, , Voc|Bert Bauer", "Voc|Anna Alt", "Voc, Voc|Dora Dorn"}));
    EXPECT_EQ(musicians(*form).headerItem()->text(0), QStringLiteral("Instrumente"));
    EXPECT_EQ(musicians(*form).headerItem()->text(1), QStringLiteral("Musiker"));
    auto* choice = form->findChild<CPickList*>(QStringLiteral("listInstrument"));
    EXPECT_EQ(choice->currentText(), QStringLiteral("<Alle Anzeigen>"));
    EXPECT_EQ(choice->text(1, 0), QStringLiteral("Bass")); // instruments by name

    // Singers: slot 1 before slot 2 before slot 3, so Bert comes last although "Git" sorts
    // first; Dora once per slot.
    chooseInstrument(*form, "Gesang");
    EXPECT_EQ(rows(musicians(*form)), (QStringList{"Voc|Anna Alt", "Voc, Voc|Dora Dorn",
                                                   "Voc, Voc|Dora Dorn", "Git, , Voc|Bert Bauer"}));

    // Moving one of Dora's rows takes both: she enters the line-up once.
    EXPECT_FALSE(FormTest::button(*form, "-->")->isEnabled());
    clickRow(musicians(*form), "Dora Dorn");
    EXPECT_TRUE(FormTest::button(*form, "-->")->isEnabled());
    FormTest::click(*form, "-->");
    EXPECT_EQ(rows(musicians(*form)), (QStringList{"Voc|Anna Alt", "Git, , Voc|Bert Bauer"}));
    EXPECT_EQ(rows(lineUp(*form)), (QStringList{"Dr, Voc|Emil Eck", "Voc, Voc|Dora Dorn"}));
    EXPECT_FALSE(FormTest::button(*form, "-->")->isEnabled());
    EXPECT_TRUE(FormTest::button(*form, "<--")->isEnabled());
    EXPECT_EQ(lineUp(*form).selectedKey(), 4);

    // Taking Emil out lists him again under the chosen instrument, in his slot.
    clickRow(lineUp(*form), "Emil Eck");
    FormTest::click(*form, "<--");
    EXPECT_EQ(rows(lineUp(*form)), QStringList{"Voc, Voc|Dora Dorn"});
    EXPECT_EQ(rows(musicians(*form)),
              (QStringList{"Voc|Anna Alt", "Dr, Voc|Emil Eck", "Git, , Voc|Bert Bauer"}));
    EXPECT_FALSE(FormTest::button(*form, "<--")->isEnabled());
    chooseInstrument(*form, "<Alle Anzeigen>");
    EXPECT_FALSE(rows(musicians(*form)).contains(QStringLiteral("Voc, Voc|Dora Dorn")));

    // Nothing is written before the form saves.
    EXPECT_EQ(storedLineUp(12), QStringLiteral("5"));
    saveAndClose(*form);
    EXPECT_EQ(storedLineUp(12), QStringLiteral("4"));
}

TEST_F(LineUpPlanningTest, DraggingMovesARowBothWaysAndOnlyBetweenTheTwoLists) {
    auto form = open();
    EXPECT_TRUE(drag(musicians(*form), "Anna Alt", lineUp(*form)));
    EXPECT_EQ(rows(lineUp(*form)), QStringList{"Voc|Anna Alt"});
    EXPECT_FALSE(rows(musicians(*form)).contains(QStringLiteral("Voc|Anna Alt")));

    // A row dropped back on its own list is refused and stays where it is.
    EXPECT_FALSE(drag(lineUp(*form), "Anna Alt", lineUp(*form)));
    EXPECT_FALSE(drag(musicians(*form), "Bert Bauer", musicians(*form)));
    EXPECT_EQ(rows(lineUp(*form)), QStringList{"Voc|Anna Alt"});

    EXPECT_TRUE(drag(lineUp(*form), "Anna Alt", musicians(*form)));
    EXPECT_TRUE(rows(lineUp(*form)).isEmpty());
    EXPECT_EQ(rows(musicians(*form)), (QStringList{"Dr, Voc|Emil Eck", "Git, , Voc|Bert Bauer",
                                                   "Voc|Anna Alt", "Voc, Voc|Dora Dorn"}));

    // Foreign data is refused.
    QMimeData text;
    text.setText(QStringLiteral("1"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(lineUp(*form).viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());

    // A drop counts as a change.
    EXPECT_TRUE(form->isChanged());
}

TEST_F(LineUpPlanningTest, RemovingAMusicianDeletesExactlyHisRowsOfThisEvent) {
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 1), (12, 2), "
                  "(12, 4), (13, 1)");
    // Anna's stays and fee at this event go; her stay at event 13, the stay of a technician firm
    // that happens to carry her number, a backliner booking with her number and Bert's rows stay.
    stay(12, 1, 0, "2024-06-20 00:00:00");
    stay(12, 1, 0, "2024-06-21 00:00:00");
    stay(12, 1, 1, "2024-06-20 00:00:00");
    stay(12, 2, 0, "2024-06-20 00:00:00");
    stay(13, 1, 0, "2024-06-20 00:00:00");
    book(12, 1, 10, 1);
    book(12, 1, 11, 1);
    book(12, 1, 10, 2);
    book(13, 1, 10, 1);

    auto form = open();
    EXPECT_EQ(rows(lineUp(*form)),
              (QStringList{"Git, , Voc|Bert Bauer", "Voc|Anna Alt", "Voc, Voc|Dora Dorn"}));
    clickRow(lineUp(*form), "Anna Alt");
    FormTest::click(*form, "<--");
    saveAndClose(*form, Answer::No);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(messages.texts().at(1), QStringLiteral("Ist die Planung Besetzung abgeschlossen?"));

    EXPECT_EQ(storedLineUp(12), QStringLiteral("2,4"));
    EXPECT_EQ(storedLineUp(13), QStringLiteral("1"));
    EXPECT_EQ(database.count("T_Event_Uebernachtung", "PersonID = 1 AND EventID = 12"), 1);
    EXPECT_EQ(database.count("T_Event_Uebernachtung", "PersonID = 1 AND Funktion = 1"), 1);
    EXPECT_EQ(database.count("T_Event_Uebernachtung"), 3);
    EXPECT_EQ(database.count("T_Event_Finanzen", "EventID = 12 AND Kostenstelle = 10 AND ID = 1"),
              0);
    EXPECT_EQ(database.count("T_Event_Finanzen"), 3);
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Besetzung = 1"), 1);
}

TEST_F(LineUpPlanningTest, AFailedRemovalKeepsAllOfThatMusiciansRowsAndTheFormOpen) {
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 1), (12, 2)");
    stay(12, 1, 0, "2024-06-20 00:00:00");
    stay(12, 2, 0, "2024-06-20 00:00:00");
    book(12, 1, 10, 1);
    book(12, 1, 10, 2);
    // Anna's fee cannot be deleted.
    database.exec("CREATE TRIGGER KeepFee BEFORE DELETE ON T_Event_Finanzen WHEN OLD.ID = 1 "
                  "BEGIN SELECT RAISE(ABORT, 'Buchung gesperrt'); END");

    auto form = open();
    clickRow(lineUp(*form), "Anna Alt");
    FormTest::click(*form, "<--");
    clickRow(lineUp(*form), "Bert Bauer");
    FormTest::click(*form, "<--");
    messages.queueAnswer(Answer::Yes);
    FormTest::click(*form, "&Ende");

    // Bert is gone with his stay and fee; Anna keeps her line-up row, stay and fee together.
    EXPECT_EQ(storedLineUp(12), QStringLiteral("1"));
    EXPECT_EQ(database.count("T_Event_Uebernachtung", "PersonID = 1"), 1);
    EXPECT_EQ(database.count("T_Event_Finanzen", "ID = 1"), 1);
    EXPECT_EQ(database.count("T_Event_Uebernachtung", "PersonID = 2"), 0);
    EXPECT_EQ(database.count("T_Event_Finanzen", "ID = 2"), 0);
    // The error is shown, no status is asked or written, and the form stays open as it was.
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
    EXPECT_TRUE(messages.texts().at(1).contains(QStringLiteral("Buchung gesperrt")));
    EXPECT_EQ(database.count("T_Event_Status"), 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(rows(lineUp(*form)).isEmpty());

    // Once the booking may go, saving again completes the removal.
    database.exec("DROP TRIGGER KeepFee");
    saveAndClose(*form);
    EXPECT_EQ(storedLineUp(12), QString());
    EXPECT_EQ(database.count("T_Event_Finanzen"), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(LineUpPlanningTest, StatusClickedAloneIsWrittenWithoutQuestionOrLineUpWrites) {
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 1)");
    logLineUpWrites();
    auto form = open();
    FormTest::button<QRadioButton>(*form, "abgeschlossen")->click();
    messages.queueAnswer(Answer::Yes);
    FormTest::click(*form, "&Ende");
    EXPECT_EQ(messages.texts().size(), 1); // only the save question
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Besetzung = 2"), 1);
    EXPECT_EQ(database.count("WriteLog"), 0);

    // Unchanged, the form closes at once and writes nothing.
    auto again = open();
    EXPECT_TRUE(again->findChild<QRadioButton*>(QStringLiteral("radioAbgeschlossen"))->isChecked());
    FormTest::click(*again, "&Ende");
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_FALSE(again->isVisible());
}

TEST_F(LineUpPlanningTest, StandardLineUpIsStoredOnlyAfterAChangeAndReplacesTheEventsOnLoad) {
    // Without the placeholder event, "festlegen" creates it, and without a move stores no rows.
    database.exec("DELETE FROM T_Event WHERE EventID = 0");
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 1), (12, 2)");
    stay(12, 1, 0, "2024-06-20 00:00:00");
    {
        auto form = open();
        FormTest::click(*form, "Besetzung als Standard &festlegen");
        EXPECT_EQ(database.db().queryText("SELECT ELocation || '|' || VeranstalterID || '|' || "
                                          "VAnsprechID FROM T_Event WHERE EventID = 0"),
                  QStringLiteral("Standard|0|0"));
        EXPECT_EQ(database.count("T_Event_Besetzung", "EventID = 0"), 0);

        // After a move the whole list becomes the standard: Bert and Dora.
        clickRow(lineUp(*form), "Anna Alt");
        FormTest::click(*form, "<--");
        clickRow(musicians(*form), "Dora Dorn");
        FormTest::click(*form, "-->");
        FormTest::click(*form, "Besetzung als Standard &festlegen");
        EXPECT_EQ(storedLineUp(0), QStringLiteral("2,4"));
        EXPECT_EQ(database.count("T_Event", "EventID = 0"), 1);
        // The event itself is still as stored, and so is its status; nothing was asked.
        EXPECT_EQ(storedLineUp(12), QStringLiteral("1,2"));
        EXPECT_EQ(database.count("T_Event_Status"), 0);
        EXPECT_TRUE(messages.texts().isEmpty());
        // Closing without saving keeps it that way.
        messages.queueAnswer(Answer::No);
        FormTest::click(*form, "&Ende");
        EXPECT_EQ(storedLineUp(12), QStringLiteral("1,2"));
    }

    // Loading the standard replaces the list; saving removes Anna with her stay.
    auto form = open();
    FormTest::click(*form, "&Standard Besetzung wählen");
    EXPECT_EQ(rows(lineUp(*form)), (QStringList{"Git, , Voc|Bert Bauer", "Voc, Voc|Dora Dorn"}));
    EXPECT_EQ(rows(musicians(*form)), (QStringList{"Dr, Voc|Emil Eck", "Voc|Anna Alt"}));
    saveAndClose(*form);
    EXPECT_EQ(storedLineUp(12), QStringLiteral("2,4"));
    EXPECT_EQ(database.count("T_Event_Uebernachtung"), 0);
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Besetzung = 2"), 1);
    EXPECT_EQ(storedLineUp(0), QStringLiteral("2,4"));
}

TEST_F(LineUpPlanningTest, HubOpensTheFormAndShowsWhatItStoredWhenItCloses) {
    CEventPlanDlg hub(database.db(), profile, context);
    QPushButton* button = hub.areaButton(0);
    const auto colourOf = [](const QPushButton& area) {
        return area.icon().pixmap(16, 16).toImage();
    };
    EXPECT_EQ(colourOf(*button), Pictures::statusIcon(0).pixmap(16, 16).toImage());
    QString title;
    FormTest::onNextModal([&](QDialog& form) {
        title = form.windowTitle();
        FormTest::button<QRadioButton>(form, "abgeschlossen")->click();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Besetzung planen"));
    EXPECT_EQ(colourOf(*button), Pictures::statusIcon(2).pixmap(16, 16).toImage());
}

TEST_F(LineUpPlanningTest, ALineUpThatCannotBeReadIsNeverShownForSaving) {
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 1)");
    database.exec("DROP VIEW A_Event_Besetzung");
    CPlanBesetzungDlg form(database.db(), profile, context);
    EXPECT_FALSE(form.isReady());
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().icon, MessageService::Icon::Stop);

    // The hub does not show it either, and the stored line-up stays.
    CEventPlanDlg hub(database.db(), profile, context);
    messages.clear();
    QTest::mouseClick(hub.areaButton(0), Qt::LeftButton);
    EXPECT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(storedLineUp(12), QStringLiteral("1"));
}

TEST_F(LineUpPlanningTest, ThePlaceholderEventIsInNoEventList) {
    ASSERT_EQ(database.count("T_Event", "EventID = 0"), 1);
    for (int kind :
         {ListKind::Events, ListKind::Accounting, ListKind::Merchandise, ListKind::Print}) {
        QList<std::int32_t> keys;
        for (const ListRow& row : loadListRows(database.db(), kind))
            keys << row.key;
        EXPECT_EQ(keys, (QList<std::int32_t>{13, 12})) << kind;
    }
}

TEST_F(LineUpPlanningTest, ColumnWidthsComeFromTheirKeysAndAreWrittenBackOnClose) {
    profile.writeText(QStringLiteral("LIST_COLS"), QStringLiteral("PlanCast2"),
                      QStringLiteral("90,150"));
    auto form = open();
    EXPECT_EQ(QString::number(musicians(*form).columnWidth(0)),
              leading(scaledWidths("118,178", musicians(*form))));
    EXPECT_EQ(lineUp(*form).columnWidth(0), 90);
    musicians(*form).setColumnWidth(1, 200);
    form->reject();
    // The last column stretches to the list's edge: it is stored at least as wide as set.
    const QStringList cast1 =
        profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("PlanCast1")).split(u',');
    ASSERT_EQ(cast1.size(), 2);
    EXPECT_EQ(cast1[0], leading(scaledWidths("118,178", musicians(*form))));
    EXPECT_GE(cast1[1].toInt(), 200);
    EXPECT_EQ(leading(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("PlanCast2"))),
              QStringLiteral("90"));
}

} // namespace

TEST_F(LineUpPlanningTest, AMusicianPlannedElsewhereAtTheSameTimeIsWarnedOfBeforeSaving) {
    database.exec("UPDATE T_Event SET EBeginn = '2024-06-20 20:00:00', EEnde = '2024-06-20 "
                  "23:00:00' WHERE EventID IN (12, 13)");
    database.exec("UPDATE T_Event SET EArt = 'Hochzeit', EOrt = 'Bonn' WHERE EventID = 13");
    database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (13, 1)");
    auto form = open();
    clickRow(musicians(*form), "Anna Alt");
    FormTest::click(*form, "-->");

    // "No" to the warning: nothing is stored and the form stays open with its list.
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::No);
    FormTest::click(*form, "&Ende");
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts().at(1),
              QStringLiteral("Achtung: Anna Alt ist am 20.06.2024 bereits für Hochzeit, Zelt Bonn "
                             "eingeplant.\n\nTrotzdem speichern?"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(storedLineUp(12), QString());

    // "Yes" saves anyway.
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(*form, "&Ende");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(storedLineUp(12), QStringLiteral("1"));
}
