// Overnight planning: the reservation form's refusals and defaults, what it stores for the stay
// and its room, the persons and reservations the list form shows, deleting a stay with its room
// and how the list form settles the status when it closes.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "planning/CPlanReservierungDlg.h"
#include "planning/CPlanUebernachtungDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"
#include "widgets/CReportList.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;
const QString kSaveQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);
const QString kComplete = QStringLiteral("Ist die Planung Übernachtung abgeschlossen?");

class OvernightPlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation, EBeginn, EEnde) VALUES "
                      "(12, 'Festzelt', '2026-08-15 19:00:00', '2026-08-16 00:30:00')");
        // The technician firm has the same key as a musician: the function tells them apart.
        database.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, MVorname) VALUES "
                      "(7, 'Huber', 'Anna'), (8, 'Maier', 'Max'), (9, 'Zach', 'Udo')");
        database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 7), "
                      "(12, 8)");
        database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma, fDeleted) VALUES "
                      "(7, 1, 'Tonstudio Klang', 0), (20, 2, 'Backline Roth', -1)");
        database.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID) VALUES (12, 1, 7), "
                      "(12, 2, 20)");
        database.exec("INSERT INTO T_Stamm_Hotel (HotelID, Name, Ort, Strasse, Tel) VALUES "
                      "(3, 'Sonnenhang', 'Oberwiesbrunn', 'Hangweg 2', '08761 1'), "
                      "(4, 'Seeblick', 'Lindenfeld', 'Seeweg 8', '089 2')");
        event.eventId = 12;
    }

    void stay(int person, int function, int hotel, int room, const char* arrival,
              const char* remark = "") {
        database.exec((std::string("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, "
                                   "Funktion, HotelID, ZimmerNr, Anreise, Abreise, "
                                   "Bemerkungen) VALUES (12, ") +
                       std::to_string(person) + ", " + std::to_string(function) + ", " +
                       std::to_string(hotel) + ", " + std::to_string(room) + ", '" + arrival +
                       "', '2026-08-16 11:00:00', '" + remark + "')")
                          .c_str());
    }
    void room(int hotel, int number, const char* price) {
        database.exec((std::string("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, "
                                   "ZimmerNr, Preis) VALUES (12, ") +
                       std::to_string(hotel) + ", " + std::to_string(number) + ", " + price + ")")
                          .c_str());
    }
    // The rooms of the event as "hotel/number:price".
    QString rooms() {
        return database.db().queryText(
            "SELECT group_concat(HotelID || '/' || ZimmerNr || ':' || COALESCE(Preis, '-'), ' ') "
            "FROM (SELECT * FROM T_Event_Uebernachtung_Zimmer WHERE EventID = 12 "
            "ORDER BY HotelID, ZimmerNr)");
    }
    // The stays of the event as "person/function@hotel/room arrival".
    QString stays() {
        return database.db().queryText(
            "SELECT group_concat(PersonID || '/' || Funktion || '@' || HotelID || '/' || "
            "COALESCE(ZimmerNr, '-') || ' ' || Anreise, ', ') FROM (SELECT * FROM "
            "T_Event_Uebernachtung WHERE EventID = 12 ORDER BY PersonID, Funktion, Anreise)");
    }

    // Picks the row of a pick list by its text, as a user does.
    static void pick(QWidget& form, const char* list, const QString& text) {
        auto* combo = form.findChild<CPickList*>(QString::fromUtf8(list));
        const int row = combo->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        combo->setCurrentIndex(row);
        Q_EMIT combo->activated(row);
    }
    // Saves the form with "&Ende" and yes.
    void save(QWidget& form) {
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
    }
    static QStringList rowTexts(QTreeWidget& list) {
        QStringList rows;
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            QStringList texts;
            for (int column = 0; column < list.columnCount(); ++column)
                texts << list.topLevelItem(row)->text(column);
            rows << texts.join(u'|');
        }
        return rows;
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PlanningContext event;
};

TEST_F(OvernightPlanningTest, ANewStayStartsFromTheEventAndIsReadBackInOrder) {
    CPlanReservierungDlg form(database.db(), 12, -1, 0, QDateTime());
    form.show();
    // Arrival on the event's first day, departure the day after its end, both at nine.
    EXPECT_EQ(FormTest::field(form, "Anreise")->text(), QStringLiteral("15.08.2026"));
    EXPECT_EQ(FormTest::field(form, "Abreise")->text(), QStringLiteral("17.08.2026"));
    EXPECT_EQ(form.findChild<QTimeEdit*>(QStringLiteral("timeAnreise"))->time(), QTime(9, 0));
    // The persons: the line-up, then the technician; the deleted backliner is not offered.
    auto* persons = form.findChild<CPickList*>(QStringLiteral("listPerson"));
    QStringList offered;
    for (int row = 0; row < persons->rowCount(); ++row)
        offered << persons->text(row, 0) + u'|' + persons->text(row, 1);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Huber, Anna|Musiker"),
                                    QStringLiteral("Maier, Max|Musiker"),
                                    QStringLiteral("Tonstudio Klang|Techniker")}));

    // Departure on the day of arrival: refused first, whatever else is missing.
    FormTest::type(form, "Abreise", QStringLiteral("15.08.2026"), true);
    save(form);
    EXPECT_EQ(messages.texts(),
              (QStringList{kSaveQuestion,
                           QString::fromUtf8(CPlanReservierungDlg::kDepartureBeforeArrival)}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(FormTest::field(form, "Abreise")->text(), QStringLiteral("15.08.2026"));

    // Then person, hotel and room number, in this order.
    FormTest::type(form, "Abreise", QStringLiteral("16.08.2026"), true);
    const char* const refusals[] = {"Wählen Sie bitte eine Person aus der Liste.",
                                    "Wählen Sie bitte ein Hotel aus der Liste.",
                                    "Bitte \"ZimmerNr.\" eingeben."};
    for (const char* refusal : refusals) {
        messages.clear();
        save(form);
        EXPECT_EQ(messages.texts(), (QStringList{kSaveQuestion, QString::fromUtf8(refusal)}));
        if (refusal == refusals[0])
            pick(form, "listPerson", QStringLiteral("Maier, Max"));
        else if (refusal == refusals[1])
            pick(form, "listHotel", QStringLiteral("Sonnenhang, Oberwiesbrunn"));
    }
    EXPECT_EQ(FormTest::field(form, "Straße")->text(), QStringLiteral("Hangweg 2"));
    EXPECT_EQ(database.count("T_Event_Uebernachtung"), 0);

    FormTest::type(form, "Zimmer Nr.", QStringLiteral("4"));
    FormTest::type(form, "Preis pro Übern.", QStringLiteral("48,5"));
    messages.clear();
    save(form);
    EXPECT_TRUE(messages.texts() == QStringList{kSaveQuestion});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(stays(), QStringLiteral("8/0@3/4 2026-08-15 09:00:00"));
    EXPECT_EQ(rooms(), QStringLiteral("3/4:48.5"));
    EXPECT_EQ(form.stayKey().person, 8);
}

TEST_F(OvernightPlanningTest, OnePersonMayStayTwiceButNotTwiceFromTheSameMoment) {
    stay(7, 0, 3, 1, "2026-08-15 09:00:00");
    room(3, 1, "52");
    const auto book = [this](const char* arrival) {
        auto form = std::make_unique<CPlanReservierungDlg>(database.db(), 12, -1, 0, QDateTime());
        form->show();
        pick(*form, "listPerson", QStringLiteral("Huber, Anna"));
        pick(*form, "listHotel", QStringLiteral("Sonnenhang, Oberwiesbrunn"));
        FormTest::type(*form, "Zimmer Nr.", QStringLiteral("1"));
        FormTest::type(*form, "Anreise", QString::fromUtf8(arrival), true);
        FormTest::type(*form, "Abreise", QStringLiteral("18.08.2026"), true);
        messages.clear();
        save(*form);
        return form;
    };
    auto second = book("16.08.2026");
    EXPECT_EQ(second->result(), QDialog::Accepted);
    auto third = book("15.08.2026");
    EXPECT_EQ(
        messages.texts(),
        (QStringList{kSaveQuestion, QString::fromUtf8(CPlanReservierungDlg::kAlreadyBooked)}));
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(FormTest::field(*third, "Abreise")->text(), QStringLiteral("18.08.2026"));
    EXPECT_EQ(stays(), QStringLiteral("7/0@3/1 2026-08-15 09:00:00, 7/0@3/1 2026-08-16 09:00:00"));
    EXPECT_EQ(rooms(), QStringLiteral("3/1:52.0"));
}

TEST_F(OvernightPlanningTest, AMusicianAndATechnicianWithTheSameKeyStayApart) {
    stay(7, 0, 3, 1, "2026-08-15 14:00:00", "Anna");
    stay(7, 1, 3, 2, "2026-08-15 14:00:00", "Technik");
    room(3, 1, "52");
    room(3, 2, "38");
    CPlanUebernachtungDlg list(database.db(), profile, event);
    list.show();
    auto* reservations = list.findChild<CReportList*>();
    ASSERT_EQ(reservations->topLevelItemCount(), 2);
    EXPECT_EQ(rowTexts(*reservations),
              (QStringList{QStringLiteral("Anna Huber|Sonnenhang|1|15.08.26 14:00|16.08.26 11:00"),
                           QStringLiteral("Tonstudio Klang|Sonnenhang|2|15.08.26 14:00|16.08.26 "
                                          "11:00")}));
    // The technician's stay opens as his, and saving changes only his.
    reservations->setCurrentItem(reservations->topLevelItem(1));
    QString person;
    FormTest::onNextModal([&](QDialog& form) {
        person = form.findChild<CPickList*>(QStringLiteral("listPerson"))->currentText();
        EXPECT_EQ(form.findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("Technik"));
        EXPECT_EQ(FormTest::field(form, "Zimmer Nr.")->text(), QStringLiteral("2"));
        FormTest::type(form, "Zimmer Nr.", QStringLiteral("3"), true);
        save(form);
    });
    FormTest::click(list, "Reservierung &bearbeiten...");
    EXPECT_EQ(person, QStringLiteral("Tonstudio Klang"));
    EXPECT_EQ(stays(), QStringLiteral("7/0@3/1 2026-08-15 14:00:00, 7/1@3/3 2026-08-15 14:00:00"));
    EXPECT_EQ(database.db().queryText("SELECT group_concat(Bemerkungen, ',') FROM "
                                      "(SELECT * FROM T_Event_Uebernachtung ORDER BY Funktion)"),
              QStringLiteral("Anna,Technik"));
    // The technician's old room is free now, its price gone with him into the new one; the
    // musician's is not touched.
    EXPECT_EQ(rooms(), QStringLiteral("3/1:52.0 3/3:38.0"));
    // The stay just saved is selected again.
    EXPECT_EQ(reservations->currentItem()->text(2), QStringLiteral("3"));
}

TEST_F(OvernightPlanningTest, ASecondGuestKeepsTheRoomsPriceUnlessOneIsTyped) {
    stay(7, 0, 3, 1, "2026-08-15 14:00:00");
    // A price with more decimals than the form shows.
    room(3, 1, "49.999");
    const QString price = rooms();
    {
        CPlanReservierungDlg form(database.db(), 12, -1, 0, QDateTime());
        form.show();
        pick(form, "listPerson", QStringLiteral("Maier, Max"));
        pick(form, "listHotel", QStringLiteral("Sonnenhang, Oberwiesbrunn"));
        FormTest::type(form, "Zimmer Nr.", QStringLiteral("1"));
        // The room's price and guest as stored.
        EXPECT_EQ(FormTest::field(form, "Preis pro Übern.")->text(), QStringLiteral("50,00"));
        EXPECT_EQ(FormTest::field(form, "Anz. Pers.")->text(), QStringLiteral("1"));
        save(form);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(rooms(), price);
    EXPECT_EQ(database.count("T_Event_Uebernachtung", "ZimmerNr = 1"), 2);
    {
        // A price typed is the room's new price, for every guest.
        CPlanReservierungDlg form(database.db(), 12, 8, 0,
                                  QDateTime(QDate(2026, 8, 15), QTime(9, 0), Qt::UTC));
        form.show();
        EXPECT_EQ(FormTest::field(form, "Anz. Pers.")->text(), QStringLiteral("2"));
        FormTest::type(form, "Preis pro Übern.", QStringLiteral("60"), true);
        save(form);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(rooms(), QStringLiteral("3/1:60.0"));
}

TEST_F(OvernightPlanningTest, ARoomPriceChangedMeanwhileIsNeverOverwrittenUnasked) {
    const struct {
        Answer answer;
        const char* rooms; // after the form closed
    } cases[] = {
        // The stored price comes into the form; the remark typed stays and is saved.
        {Answer::Yes, "3/1:55.0"},
        // The price typed is written over the other program's.
        {Answer::No, "3/1:60.0"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.answer == Answer::Yes ? "take the stored price" : "write over it");
        database.exec("DELETE FROM T_Event_Uebernachtung; DELETE FROM "
                      "T_Event_Uebernachtung_Zimmer");
        stay(7, 0, 3, 1, "2026-08-15 14:00:00");
        room(3, 1, "50");
        CPlanReservierungDlg form(database.db(), 12, 7, 0,
                                  QDateTime(QDate(2026, 8, 15), QTime(14, 0), Qt::UTC));
        form.show();
        auto* remark = form.findChild<QPlainTextEdit*>(QStringLiteral("editBemerkungen"));
        QTest::keyClicks(remark, QStringLiteral("spaet"));
        FormTest::type(form, "Preis pro Übern.", QStringLiteral("60"), true);
        {
            CDatabase other; // a second program on the same file
            other.open(database.databasePath());
            other.execute("UPDATE T_Event_Uebernachtung_Zimmer SET Preis = 55");
        }
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        messages.queueAnswer(each.answer);
        FormTest::click(form, "&Ende");
        ASSERT_EQ(messages.texts().size(), 2);
        EXPECT_TRUE(messages.texts()[1].startsWith(
            QStringLiteral("Der Datensatz wurde inzwischen geändert: Preis pro Übern. Ihre "
                           "Änderungen: Preis pro Übern.\n")))
            << messages.texts()[1].toStdString();
        if (each.answer == Answer::Yes) {
            // Nothing written: neither the remark nor the price.
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(rooms(), QStringLiteral("3/1:55.0"));
            EXPECT_EQ(database.count("T_Event_Uebernachtung", "Bemerkungen = 'spaet'"), 0);
            EXPECT_EQ(FormTest::field(form, "Preis pro Übern.")->text(), QStringLiteral("55,00"));
            EXPECT_EQ(remark->toPlainText(), QStringLiteral("spaet"));
            messages.clear();
            save(form);
            EXPECT_EQ(messages.texts(), QStringList{kSaveQuestion});
        }
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(rooms(), QString::fromUtf8(each.rooms));
        EXPECT_EQ(database.count("T_Event_Uebernachtung", "Bemerkungen = 'spaet'"), 1);
    }
}

TEST_F(OvernightPlanningTest, MovingAStayReleasesTheRoomItLeaves) {
    stay(7, 0, 3, 1, "2026-08-15 14:00:00");
    stay(8, 0, 3, 2, "2026-08-15 14:00:00");
    stay(9, 0, 3, 2, "2026-08-15 14:00:00");
    room(3, 1, "52");
    room(3, 2, "70");
    CPlanReservierungDlg form(database.db(), 12, 7, 0,
                              QDateTime(QDate(2026, 8, 15), QTime(14, 0), Qt::UTC));
    form.show();
    // To a room nobody is booked into: the price shown goes with the guest.
    EXPECT_EQ(FormTest::field(form, "Preis pro Übern.")->text(), QStringLiteral("52,00"));
    FormTest::type(form, "Zimmer Nr.", QStringLiteral("5"), true);
    EXPECT_EQ(FormTest::field(form, "Preis pro Übern.")->text(), QStringLiteral("52,00"));
    EXPECT_EQ(FormTest::field(form, "Anz. Pers.")->text(), QStringLiteral("0"));
    messages.queueAnswer(Answer::Yes);
    form.onEnde();
    EXPECT_EQ(rooms(), QStringLiteral("3/2:70.0 3/5:52.0"));
    // A price typed for the new room is its price.
    form.show();
    FormTest::type(form, "Zimmer Nr.", QStringLiteral("6"), true);
    FormTest::type(form, "Preis pro Übern.", QStringLiteral("45"), true);
    messages.queueAnswer(Answer::Yes);
    form.onEnde();
    EXPECT_EQ(rooms(), QStringLiteral("3/2:70.0 3/6:45.0"));
    // To the same number of another hotel: a room of its own at the price shown, the old one
    // released.
    form.show();
    pick(form, "listHotel", QStringLiteral("Seeblick, Lindenfeld"));
    EXPECT_EQ(FormTest::field(form, "Straße")->text(), QStringLiteral("Seeweg 8"));
    messages.queueAnswer(Answer::Yes);
    form.onEnde();
    EXPECT_EQ(rooms(), QStringLiteral("3/2:70.0 4/6:45.0"));
    // Into a room where others stay: it shows and keeps that room's price, and the room left is
    // kept for those still in it.
    CPlanReservierungDlg other(database.db(), 12, 8, 0,
                               QDateTime(QDate(2026, 8, 15), QTime(14, 0), Qt::UTC));
    other.show();
    pick(other, "listHotel", QStringLiteral("Seeblick, Lindenfeld"));
    FormTest::type(other, "Zimmer Nr.", QStringLiteral("6"), true);
    EXPECT_EQ(FormTest::field(other, "Preis pro Übern.")->text(), QStringLiteral("45,00"));
    save(other);
    EXPECT_EQ(rooms(), QStringLiteral("3/2:70.0 4/6:45.0"));
    EXPECT_EQ(stays(), QStringLiteral("7/0@4/6 2026-08-15 14:00:00, 8/0@4/6 2026-08-15 14:00:00, "
                                      "9/0@3/2 2026-08-15 14:00:00"));
}

TEST_F(OvernightPlanningTest, SavingAStayKeepsTheOvernightBookingWithItsRooms) {
    stay(7, 0, 3, 1, "2026-08-15 14:00:00");
    room(3, 1, "52");
    // A booking that still holds an old amount.
    database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                  "Auszahlung, fMWST) VALUES (12, 5, 16, 0, 10, 1)");
    CPlanReservierungDlg form(database.db(), 12, 7, 0,
                              QDateTime(QDate(2026, 8, 15), QTime(14, 0), Qt::UTC));
    form.show();
    FormTest::type(form, "Zimmer Nr.", QStringLiteral("2"), true);
    FormTest::type(form, "Preis pro Übern.", QStringLiteral("60,5"), true);
    save(form);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(database.db().queryText("SELECT Auszahlung FROM T_Event_Finanzen"),
              QStringLiteral("60.5"));
}

TEST_F(OvernightPlanningTest, DeletingTheLastStayOfARoomDeletesTheRoom) {
    // The technician arrived at a moment with seconds: the list's minutes do not find it.
    stay(7, 0, 3, 1, "2026-08-15 14:00:00");
    stay(8, 0, 3, 1, "2026-08-15 14:00:00");
    stay(7, 1, 3, 2, "2026-08-15 14:00:30");
    room(3, 1, "52");
    room(3, 2, "38");
    CPlanUebernachtungDlg list(database.db(), profile, event);
    list.show();
    auto* reservations = list.findChild<CReportList*>();
    ASSERT_EQ(reservations->topLevelItemCount(), 3);
    reservations->setCurrentItem(reservations->topLevelItem(2));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(list, "Reservierung &löschen");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Soll Reservierung \"Tonstudio Klang\" wirklich gelöscht "
                                         "werden?")});
    EXPECT_EQ(rooms(), QStringLiteral("3/1:52.0"));
    EXPECT_EQ(database.count("T_Event_Uebernachtung"), 2);

    // One of two guests leaves: the room stays with its price.
    reservations->setCurrentItem(reservations->topLevelItem(0));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(list, "Reservierung &löschen");
    EXPECT_EQ(rooms(), QStringLiteral("3/1:52.0"));
    EXPECT_EQ(stays(), QStringLiteral("8/0@3/1 2026-08-15 14:00:00"));
    // Answering no deletes nothing.
    messages.queueAnswer(Answer::No);
    FormTest::click(list, "Reservierung &löschen");
    EXPECT_EQ(database.count("T_Event_Uebernachtung"), 1);
}

TEST_F(OvernightPlanningTest, PersonsWithAStayAreMarked) {
    stay(8, 0, 3, 1, "2026-08-15 14:00:00");
    CPlanUebernachtungDlg list(database.db(), profile, event);
    list.show();
    auto* persons = list.findChild<QTreeWidget*>(QStringLiteral("listPersonen"));
    EXPECT_EQ(rowTexts(*persons), (QStringList{QStringLiteral("Huber, Anna|Musiker"),
                                               QStringLiteral("* Maier, Max|Musiker"),
                                               QStringLiteral("Tonstudio Klang|Techniker")}));
    // Without a live technician firm nobody of the firm travels.
    database.exec("UPDATE T_Stamm_ExtFirma SET fDeleted = -1 WHERE ExtID = 7");
    CPlanUebernachtungDlg again(database.db(), profile, event);
    EXPECT_EQ(again.findChild<QTreeWidget*>(QStringLiteral("listPersonen"))->topLevelItemCount(),
              2);
}

TEST_F(OvernightPlanningTest, ANewStayStartsWithThePersonChosenInTheList) {
    stay(8, 0, 3, 1, "2026-08-15 14:00:00");
    CPlanUebernachtungDlg list(database.db(), profile, event);
    list.show();
    auto* persons = list.findChild<QTreeWidget*>(QStringLiteral("listPersonen"));
    // What the reservation form starts with when "&Neue Reservierung..." opens it.
    const auto startsWith = [&] {
        QString chosen;
        FormTest::onNextModal([&](QDialog& form) {
            chosen = form.findChild<CPickList*>(QStringLiteral("listPerson"))->currentText();
            form.reject();
        });
        FormTest::click(list, "&Neue Reservierung...");
        return chosen;
    };
    // Nobody chosen: nobody preset.
    EXPECT_EQ(startsWith(), QString());
    // The technician shares his key with Anna Huber; his function keeps him apart.
    FormTest::clickRow(*persons, 2);
    EXPECT_EQ(startsWith(), QStringLiteral("Tonstudio Klang"));
    FormTest::clickRow(*persons, 0);
    EXPECT_EQ(startsWith(), QStringLiteral("Huber, Anna"));

    // A stay saved for the chosen person marks her and leaves her chosen for the next one.
    FormTest::onNextModal([&](QDialog& form) {
        pick(form, "listHotel", QStringLiteral("Seeblick, Lindenfeld"));
        FormTest::type(form, "Zimmer Nr.", QStringLiteral("5"));
        save(form);
    });
    FormTest::click(list, "&Neue Reservierung...");
    EXPECT_EQ(stays(), QStringLiteral("7/0@4/5 2026-08-15 09:00:00, "
                                      "8/0@3/1 2026-08-15 14:00:00"));
    EXPECT_EQ(FormTest::listRows(*persons, 1),
              QStringLiteral("[* Huber, Anna],* Maier, Max,Tonstudio Klang"));
    EXPECT_EQ(startsWith(), QStringLiteral("Huber, Anna"));
}

TEST_F(OvernightPlanningTest, ClosingTheListSettlesTheStatusAsItsRuleSays) {
    const auto status = [this] {
        return database.db().queryText(
            "SELECT Stat_Plan_Nacht FROM T_Event_Status WHERE EventID = 12");
    };
    {
        // Nothing done: closes without a word.
        CPlanUebernachtungDlg form(database.db(), profile, event);
        form.show();
        EXPECT_FALSE(FormTest::button(form, "Reservierung &löschen")->isEnabled());
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        // After a stay was deleted: whether the planning is complete; no writes "begonnen".
        stay(7, 0, 3, 1, "2026-08-15 14:00:00");
        CPlanUebernachtungDlg form(database.db(), profile, event);
        form.show();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "Reservierung &löschen");
        messages.clear();
        messages.queueAnswer(Answer::No);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts(), QStringList{kComplete});
        EXPECT_EQ(status(), QStringLiteral("1"));
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    {
        // The status clicked: the save question, also after a change; yes writes the button.
        stay(7, 0, 3, 1, "2026-08-15 14:00:00");
        CPlanUebernachtungDlg form(database.db(), profile, event);
        form.show();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "Reservierung &löschen");
        FormTest::button<QRadioButton>(form, "abgeschlossen")->click();
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts(), QStringList{kSaveQuestion});
        EXPECT_EQ(status(), QStringLiteral("2"));
    }
}

} // namespace
