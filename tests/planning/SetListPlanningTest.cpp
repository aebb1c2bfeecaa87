// The set-list planning form as a user meets it: songs copied, dragged and moved between sets,
// stored and shown again; a set-list copy edited without touching the song list; deleting and
// emptying the set list; the status; the print buttons; and the hub that opens the form.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "planning/CDragRowList.h"
#include "planning/CEventPlanDlg.h"
#include "planning/CPlanSetlisteDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = MessageService::Answer;
using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);

class SetListPlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, EArt, ELocation, EBeginn) VALUES "
                      "(12, 'Hochzeit', 'Halle', '2024-06-21 19:30:00'), (13, 'Ball', 'Zelt', "
                      "'2024-07-01 20:00:00')");
        database.exec("INSERT INTO T_Stamm_Songliste (SongID, Titel, Tonart, Tempo, Bemerkungen, "
                      "Interpret, GemaWerkNr, Komponist) VALUES "
                      "(1, 'Walzer', 'Es-Dur', 84, 'langsam', 'Band', '11-1', 'Brandl'), "
                      "(2, 'Polka', 'B-Dur', 132, NULL, NULL, NULL, NULL), "
                      "(3, 'Marsch', 'F-Dur', NULL, NULL, NULL, NULL, NULL), "
                      "(4, 'Ländler', 'G-Dur', 108, NULL, NULL, NULL, NULL)");
        context = *PlanningContext::read(database.db(), 12);
    }

    std::unique_ptr<CPlanSetlisteDlg> open() {
        auto form = std::make_unique<CPlanSetlisteDlg>(database.db(), profile, context);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    static CDragRowList* songList(QWidget& form) {
        return form.findChild<CDragRowList*>(QStringLiteral("listSongs"));
    }
    static CDragRowList* setList(QWidget& form) {
        return form.findChild<CDragRowList*>(QStringLiteral("listSetliste"));
    }
    // Column 0 of every row of a list, joined by blanks.
    static QString titles(CDragRowList* list) {
        QStringList texts;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            texts << list->topLevelItem(row)->text(0);
        return texts.join(u' ');
    }
    static void clickRow(CDragRowList* list, int row) { FormTest::clickRow(*list, row); }
    // Drops row `sourceRow` of `source` on row `targetRow` of `target` (-1: below the last row),
    // as the mouse does at the end of a drag.
    static void drag(CDragRowList* source, int sourceRow, CDragRowList* target, int targetRow) {
        QMimeData data;
        data.setData(QString::fromLatin1(CDragRowList::kMimeType),
                     QStringLiteral("%1:%2").arg(source->objectName()).arg(sourceRow).toUtf8());
        const QPoint place = targetRow >= 0
                                 ? target->visualItemRect(target->topLevelItem(targetRow)).center()
                                 : QPoint(10, target->viewport()->height() - 3);
        QDragEnterEvent enter(place, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(place), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &drop);
    }
    // "&Ende" with yes, the completion question answered as given.
    void saveAndClose(CPlanSetlisteDlg& form, Answer complete = Answer::Yes) {
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(complete);
        click(form, "&Ende");
    }
    // The stored songs of event 12 in order: "1.1 Walzer, 1.2 Polka, 2.1 Marsch".
    QString stored() {
        return database.db().queryText(
            "SELECT group_concat(SetNr || '.' || LfdNr || ' ' || Titel, ', ') FROM (SELECT * "
            "FROM A_Event_Setliste WHERE EventID = 12 ORDER BY SetNr, LfdNr)");
    }
    QString songMaster() {
        return database.db().queryText(
            "SELECT group_concat(SongID || ' ' || Titel || ' ' || Tonart || ' ' || "
            "ifnull(Tempo, '-'), ', ') FROM (SELECT * FROM T_Stamm_Songliste ORDER BY SongID)");
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PlanningContext context;
};

TEST_F(SetListPlanningTest, SongOrderWithinAndAcrossSetsSurvivesDragsSaveAndReopen) {
    {
        auto form = open();
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Setlisten erstellen"));
        // The song list in the order of titles, the set list with set 1 alone.
        EXPECT_EQ(titles(songList(*form)), QStringLiteral("Ländler Marsch Polka Walzer"));
        EXPECT_EQ(titles(setList(*form)), QStringLiteral("Set 1"));
        for (const char* caption : {"-->", "<--", "Song &bearbeiten...", "Song bearbei&ten..."})
            EXPECT_FALSE(button(*form, caption)->isEnabled()) << caption;
        EXPECT_FALSE(button(*form, "Songliste &drucken...")->isVisible());

        // Walzer and Polka by "-->", a new set, Marsch dragged onto set 2's header.
        clickRow(songList(*form), 3);
        EXPECT_TRUE(button(*form, "-->")->isEnabled());
        click(*form, "-->");
        clickRow(songList(*form), 2);
        click(*form, "-->");
        click(*form, "&Neues Set");
        drag(songList(*form), 1, setList(*form), 3);
        EXPECT_EQ(titles(setList(*form)), QStringLiteral("Set 1 Walzer Polka Set 2 Marsch"));
        // The first row cannot go: neither "<--" nor dragged away.
        clickRow(setList(*form), 0);
        EXPECT_FALSE(button(*form, "<--")->isEnabled());
        drag(setList(*form), 0, songList(*form), 1);
        // Marsch dragged onto set 1's header: first in set 1, never above it.
        drag(setList(*form), 4, setList(*form), 0);
        EXPECT_EQ(titles(setList(*form)), QStringLiteral("Set 1 Marsch Walzer Polka Set 2"));
        // Walzer dragged below the last row: the end of set 2.
        drag(setList(*form), 2, setList(*form), -1);
        // Ländler dropped on Marsch goes after it.
        drag(songList(*form), 0, setList(*form), 1);
        EXPECT_EQ(titles(setList(*form)),
                  QStringLiteral("Set 1 Marsch Ländler Polka Set 2 Walzer"));
        saveAndClose(*form);
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(
            messages.texts(),
            (QStringList{kQuestion, QStringLiteral("Ist die Planung Setliste abgeschlossen?")}));
    }
    EXPECT_EQ(stored(), QStringLiteral("1.1 Marsch, 1.2 Ländler, 1.3 Polka, 2.1 Walzer"));
    EXPECT_EQ(database.db().queryText("SELECT Bezeichnung FROM T_Event_Setliste"),
              QStringLiteral("Hochzeit_21.06.24"));
    EXPECT_EQ(database.db().queryText("SELECT quote(Tempo) FROM T_Event_Setliste_Songs WHERE "
                                      "Titel = 'Marsch'"),
              QStringLiteral("NULL"));
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Setliste = 2"), 1);

    // Reopened: the same order; moving set 2's header up joins Polka to set 2.
    {
        auto form = open();
        EXPECT_EQ(titles(setList(*form)),
                  QStringLiteral("Set 1 Marsch Ländler Polka Set 2 Walzer"));
        EXPECT_EQ(setList(*form)->topLevelItem(5)->text(2), QStringLiteral("84"));
        EXPECT_EQ(setList(*form)->topLevelItem(5)->text(5), QStringLiteral("11-1"));
        EXPECT_TRUE(button<QRadioButton>(*form, "abgeschlossen")->isChecked());
        drag(setList(*form), 4, setList(*form), 3);
        EXPECT_EQ(titles(setList(*form)),
                  QStringLiteral("Set 1 Marsch Ländler Set 2 Polka Walzer"));
        // A new set 3, then set 2's header removed: its songs join set 1.
        click(*form, "&Neues Set");
        clickRow(setList(*form), 3);
        click(*form, "<--");
        EXPECT_EQ(titles(setList(*form)),
                  QStringLiteral("Set 1 Marsch Ländler Polka Walzer Set 2"));
        // Polka dragged back onto the song list leaves the set list.
        drag(setList(*form), 3, songList(*form), 0);
        messages.clear();
        saveAndClose(*form, Answer::No);
        // The status was not touched: the question is asked again.
        EXPECT_EQ(messages.texts().size(), 2);
    }
    EXPECT_EQ(stored(), QStringLiteral("1.1 Marsch, 1.2 Ländler, 1.3 Walzer"));
    EXPECT_EQ(database.count("T_Event_Setliste"), 1);
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Setliste = 1"), 1);
}

TEST_F(SetListPlanningTest, EditedCopyChangesOnlyThisSetList) {
    const QString master = songMaster();
    auto form = open();
    clickRow(songList(*form), 3); // Walzer
    click(*form, "-->");
    // Headers are not edited.
    clickRow(setList(*form), 0);
    EXPECT_FALSE(button(*form, "Song bearbei&ten...")->isEnabled());
    clickRow(setList(*form), 1);
    ASSERT_TRUE(button(*form, "Song bearbei&ten...")->isEnabled());
    onNextModal([](QDialog& song) {
        EXPECT_EQ(song.windowTitle(), QStringLiteral("Song bearbeiten"));
        EXPECT_EQ(field(song, "Tonart")->text(), QStringLiteral("Es-Dur"));
        type(song, "Tonart", QStringLiteral("F-Dur"), true);
        type(song, "Tempo", QString(), true);
        click(song, "&Ende");
    });
    click(*form, "Song bearbei&ten...");
    EXPECT_EQ(setList(*form)->topLevelItem(1)->text(1), QStringLiteral("F-Dur"));
    EXPECT_EQ(setList(*form)->topLevelItem(1)->text(3), QStringLiteral("langsam"));
    saveAndClose(*form);
    EXPECT_EQ(database.db().queryText("SELECT Tonart || ' ' || quote(Tempo) || ' ' || Komponist "
                                      "FROM T_Event_Setliste_Songs"),
              QStringLiteral("F-Dur NULL Brandl"));
    EXPECT_EQ(songMaster(), master);
}

TEST_F(SetListPlanningTest, EditingTheSongListShowsItsSongsAgain) {
    auto form = open();
    // Renamed in the song form, Polka moves to its new place and stays selected.
    clickRow(songList(*form), 2);
    onNextModal([this](QDialog& song) {
        type(song, "Titel", QStringLiteral("Zwiefacher"), true);
        messages.queueAnswer(Answer::Yes);
        click(song, "&Ende");
    });
    click(*form, "Song &bearbeiten...");
    EXPECT_EQ(titles(songList(*form)), QStringLiteral("Ländler Marsch Walzer Zwiefacher"));
    EXPECT_EQ(songList(*form)->selectedKey(), 2);
    // A song deleted in the song list is gone from the left list too.
    onNextModal([this](QDialog& songs) {
        EXPECT_EQ(songs.windowTitle(), QStringLiteral("Songliste"));
        QTest::mouseClick(songs.findChild<CReportList*>()->viewport(), Qt::LeftButton,
                          Qt::NoModifier,
                          songs.findChild<CReportList*>()
                              ->visualItemRect(songs.findChild<CReportList*>()->topLevelItem(0))
                              .center());
        messages.queueAnswer(Answer::Yes);
        click(songs, "Song l&öschen");
        click(songs, "&Ende");
    });
    click(*form, "S&ongliste bearbeiten...");
    EXPECT_EQ(titles(songList(*form)), QStringLiteral("Marsch Walzer Zwiefacher"));
    // Nothing of the set list changed: "&Ende" closes without a question.
    messages.clear();
    click(*form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(database.count("T_Event_Setliste"), 0);
}

TEST_F(SetListPlanningTest, DeletingOrEmptyingTheSetListLeavesNoSongRows) {
    database.exec("INSERT INTO T_Event_Setliste (SetlisteID, EventID, Bezeichnung) VALUES "
                  "(5, 12, 'alt'), (6, 13, 'Ball')");
    database.exec("INSERT INTO T_Event_Setliste_Songs (SetlisteID, SetNr, LfdNr, Titel) VALUES "
                  "(5, 1, 1, 'Walzer'), (5, 3, 1, 'Polka'), (6, 1, 1, 'Marsch')");
    {
        auto form = open();
        // Set 2 is empty but keeps its header.
        EXPECT_EQ(titles(setList(*form)), QStringLiteral("Set 1 Walzer Set 2 Set 3 Polka"));
        // Removing every song and saving deletes the stored set list; the form stays open.
        clickRow(setList(*form), 1);
        click(*form, "<--");
        clickRow(setList(*form), 3);
        click(*form, "<--");
        messages.queueAnswer(Answer::Yes);
        click(*form, "&Ende");
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(messages.texts().size(), 2);
        EXPECT_EQ(messages.messages().last().icon, MessageService::Icon::Exclamation);
        EXPECT_EQ(database.count("T_Event_Setliste", "EventID = 12"), 0);
        EXPECT_EQ(database.count("T_Event_Setliste_Songs", "SetlisteID = 5"), 0);
        // Nothing is left to save: "&Ende" now closes without asking again.
        messages.clear();
        click(*form, "&Ende");
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(messages.texts().isEmpty());
    }
    database.exec("INSERT INTO T_Event_Setliste (SetlisteID, EventID) VALUES (7, 12)");
    database.exec("INSERT INTO T_Event_Setliste_Songs (SetlisteID, SetNr, LfdNr, Titel) VALUES "
                  "(7, 1, 1, 'Walzer')");
    auto form = open();
    // "Nein" keeps it; "Ja" deletes it at once, songs included, and the form shows set 1.
    click(*form, "Setliste &löschen");
    EXPECT_EQ(database.count("T_Event_Setliste_Songs", "SetlisteID = 7"), 1);
    messages.queueAnswer(Answer::Yes);
    click(*form, "Setliste &löschen");
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("Soll wirklich die gesamte Setliste gelöscht werden?"));
    EXPECT_EQ(database.count("T_Event_Setliste", "EventID = 12"), 0);
    EXPECT_EQ(database.count("T_Event_Setliste_Songs", "SetlisteID = 7"), 0);
    EXPECT_EQ(titles(setList(*form)), QStringLiteral("Set 1"));
    // The other event's set list is untouched.
    EXPECT_EQ(database.count("T_Event_Setliste_Songs", "SetlisteID = 6"), 1);
    messages.clear();
    click(*form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(SetListPlanningTest, PrintButtonsOfferToSaveThenHandOver) {
    auto form = open();
    // Unchanged: straight to the GEMA form.
    QString gemaTitle;
    onNextModal([&gemaTitle](QDialog& gema) {
        gemaTitle = gema.windowTitle();
        gema.reject();
    });
    click(*form, "&GEMA-Liste drucken...");
    EXPECT_EQ(gemaTitle, QStringLiteral("Druck GEMA-Liste"));
    EXPECT_TRUE(messages.texts().isEmpty());

    clickRow(songList(*form), 0);
    click(*form, "-->");
    messages.clear();
    messages.queueAnswer(Answer::Cancel);
    click(*form, "&Setliste drucken...");
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(database.count("T_Event_Setliste_Songs"), 0);

    messages.clear();
    messages.queueAnswer(Answer::Yes);
    messages.queueAnswer(Answer::No);
    // The stored set list opens in the print preview.
    QString previewTitle;
    onNextModal([&previewTitle](QDialog& preview) {
        previewTitle = preview.windowTitle();
        preview.reject();
    });
    click(*form, "&Setliste drucken...");
    EXPECT_EQ(previewTitle, QStringLiteral("Druckvorschau"));
    EXPECT_EQ(messages.texts(),
              (QStringList{kQuestion, QStringLiteral("Ist die Planung Setliste abgeschlossen?")}));
    EXPECT_EQ(stored(), QStringLiteral("1.1 Ländler"));
    // Saved: closing asks nothing more.
    messages.clear();
    click(*form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(SetListPlanningTest, StatusAloneIsWrittenWithoutQuestionAndTheHubOpensTheForm) {
    CEventPlanDlg hub(database.db(), profile, context);
    onNextModal([this](QDialog& dialog) {
        ASSERT_EQ(dialog.windowTitle(), QStringLiteral("Setlisten erstellen"));
        QTest::mouseClick(button<QRadioButton>(dialog, "begonnen"), Qt::LeftButton);
        messages.queueAnswer(Answer::Yes);
        click(dialog, "&Ende");
    });
    click(hub, "&Setliste...");
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(database.count("T_Event_Status", "EventID = 12 AND Stat_Plan_Setliste = 1"), 1);
    EXPECT_EQ(database.count("T_Event_Setliste"), 0);
}

TEST_F(SetListPlanningTest, SetListThatCannotBeReadIsNeitherShownNorSavedOver) {
    database.exec("INSERT INTO T_Event_Setliste (SetlisteID, EventID) VALUES (5, 12)");
    database.exec("INSERT INTO T_Event_Setliste_Songs (SetlisteID, SetNr, LfdNr, Titel) VALUES "
                  "(5, 1, 1, 'Walzer')");
    database.exec("DROP VIEW A_Event_Setliste");
    CEventPlanDlg hub(database.db(), profile, context);
    click(hub, "&Setliste...");
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().icon, MessageService::Icon::Stop);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(database.count("T_Event_Setliste_Songs", "SetlisteID = 5"), 1);
}

} // namespace
