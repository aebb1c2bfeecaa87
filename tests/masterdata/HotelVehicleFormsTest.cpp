// The hotel list and form, and the vehicles of a car-hire firm, as a user meets them: the order
// of the hotel list, what a save stores, the refusals, deleting and what is selected afterwards,
// the firm a vehicle belongs to, and the menu command that opens the hotels.
#include "app/CMainMenu.h"
#include "app/MainWindowSupport.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CFahrzeugDlg.h"
#include "masterdata/CFahrzeugeDlg.h"
#include "masterdata/CHotelListeDlg.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"
#include "widgets/CReportList.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPlainTextEdit>

namespace {

using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
using Answer = MessageService::Answer;
using Icon = MessageService::Icon;

const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);
const QString kInvalid = QStringLiteral("Ungültige Eingabe!");

// The rows of a dialog's list, columns joined by "|", and the selected row's first column.
QStringList rows(QWidget& dialog) {
    auto* list = dialog.findChild<CReportList*>();
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QStringList columns;
        for (int column = 0; column < list->columnCount(); ++column)
            columns << list->topLevelItem(row)->text(column);
        texts << columns.join(u'|');
    }
    return texts;
}
QString selected(QWidget& dialog) {
    return dialog.findChild<CReportList*>()->selectedText(0);
}
void clickRow(QWidget& dialog, int index) {
    FormTest::clickRow(*dialog.findChild<CReportList*>(), index);
}

class HotelVehicleFormsTest : public ::testing::Test {
protected:
    // Columns of the rows the condition finds, as SQLite quotes them, joined by "|".
    QString stored(const char* table, const char* columns, const char* where) {
        return database.db().queryText(std::string("SELECT group_concat(") + columns +
                                       ", ';') FROM (SELECT * FROM " + table + " WHERE " + where +
                                       " ORDER BY rowid)");
    }
    void show(QDialog& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    // Answers yes to the save question.
    void saveAndClose(QWidget& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(HotelVehicleFormsTest, HotelListShowsTheNamesFromZToAAndDeletingOnlyFlags) {
    database.exec("INSERT INTO T_Stamm_Hotel (HotelID, Name, PLZ, Ort, Strasse, fDeleted) VALUES "
                  "(1, 'Krone', '84028', 'Landshut', 'Altstadt 1', 0), "
                  "(2, 'Adler', NULL, 'Moosburg', NULL, 0), (3, 'Zur Post', NULL, NULL, NULL, 0), "
                  "(4, 'Bären', NULL, NULL, NULL, -1), (5, 'Ährenhof', NULL, NULL, NULL, 0)");
    CHotelListeDlg list(database.db(), profile);
    show(list);
    EXPECT_EQ(list.windowTitle(), QStringLiteral("Hotel / Pension"));
    ASSERT_EQ(rows(list), (QStringList{"Zur Post|||", "Krone|84028|Landshut|Altstadt 1",
                                       "Ährenhof|||", "Adler||Moosburg|"}));
    EXPECT_FALSE(button(list, "Hotel &bearbeiten...")->isEnabled());
    EXPECT_FALSE(button(list, "Hotel l&öschen")->isEnabled());

    // "No" keeps the hotel; "Yes" flags it, and the row now in its place is selected.
    clickRow(list, 1);
    messages.queueAnswer(Answer::No);
    click(list, "Hotel l&öschen");
    EXPECT_EQ(rows(list).size(), 4);
    messages.queueAnswer(Answer::Yes);
    click(list, "Hotel l&öschen");
    EXPECT_EQ(messages.texts(),
              QStringList(2, QStringLiteral("Soll \"Krone\" wirklich gelöscht werden?")));
    EXPECT_EQ(rows(list), (QStringList{"Zur Post|||", "Ährenhof|||", "Adler||Moosburg|"}));
    EXPECT_EQ(selected(list), QStringLiteral("Ährenhof"));
    EXPECT_EQ(stored("T_Stamm_Hotel", "fDeleted", "HotelID=1"), "-1");

    // The last row deleted: the new last row is selected.
    clickRow(list, 2);
    messages.queueAnswer(Answer::Yes);
    click(list, "Hotel l&öschen");
    EXPECT_EQ(selected(list), QStringLiteral("Ährenhof"));
    EXPECT_TRUE(button(list, "Hotel l&öschen")->isEnabled());
    EXPECT_EQ(database.count("T_Stamm_Hotel"), 5);
}

TEST_F(HotelVehicleFormsTest, NewHotelNeedsANameAndIsSelectedOnceStored) {
    CHotelListeDlg list(database.db(), profile);
    show(list);
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Hotel / Pension"));
        type(form, "Strasse", "Marktplatz 3");
        saveAndClose(form);
        EXPECT_EQ(messages.texts(), (QStringList{kQuestion, kInvalid}));
        EXPECT_EQ(messages.messages().at(1).icon, Icon::Exclamation);
        EXPECT_EQ(form.focusWidget(), field(form, "Hotel / Pension"));
        EXPECT_TRUE(form.isVisible());

        type(form, "Hotel / Pension", "Gasthof \"Lamm\"");
        type(form, "PLZ / Ort", "84028");
        QTest::keyClicks(form.findChild<QLineEdit*>(QStringLiteral("editOrt")), "Landshut");
        type(form, "Handy", "0170 1");
        QTest::keyClicks(field<QPlainTextEdit>(form, "Bemerkungen (Preise, Anz. Betten, ...)"),
                         "DZ 80");
        saveAndClose(form);
    });
    click(list, "&Neues Hotel...");
    EXPECT_EQ(rows(list), QStringList{"Gasthof \"Lamm\"|84028|Landshut|Marktplatz 3"});
    EXPECT_EQ(selected(list), QStringLiteral("Gasthof \"Lamm\""));
    EXPECT_EQ(stored("T_Stamm_Hotel", "quote(Telm)||quote(Bemerkungen)||fDeleted", "1"),
              "'0170 1''DZ 80'0");

    // Edited by a double click: the same row, changed in place.
    database.exec("INSERT INTO T_Stamm_Hotel (Name, fDeleted) VALUES ('Adler', 0)");
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(field(form, "Telefon")->text(), QString());
        type(form, "Telefon", "0871 2");
        saveAndClose(form);
    });
    auto* hotels = list.findChild<CReportList*>();
    Q_EMIT hotels->itemDoubleClicked(hotels->topLevelItem(0), 0);
    EXPECT_EQ(selected(list), QStringLiteral("Gasthof \"Lamm\""));
    EXPECT_EQ(stored("T_Stamm_Hotel", "quote(Tel)", "Name LIKE 'Gasthof%'"), "'0871 2'");
    EXPECT_EQ(database.count("T_Stamm_Hotel"), 2);

    hotels->header()->resizeSection(0, 201);
    click(list, "&Ende");
    EXPECT_EQ(leading(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("Hotellist"))),
              leading(scaledWidths("159,48,135,197", *hotels, {{0, 201}})));
}

TEST_F(HotelVehicleFormsTest, VehicleListShowsTheFirmAndItsLiveVehiclesByType) {
    database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma, Name, Vorname, Tel, "
                  "Telm) VALUES (4, 5, -1, NULL, 'Zellner', 'Anton', '0871 5', '0170 5')");
    database.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (Art, ExtID, Typ, Kennzeichen, Sitzpl, "
                  "ZulGewicht, fDeleted) VALUES (5, 4, 'Sprinter', 'LA-Z 1', 9, 3.5, 0), "
                  "(5, 4, 'Anhänger', NULL, 0, 0, 0), (5, 4, 'Bus alt', NULL, 9, 3, -1), "
                  "(5, 9, 'Fremder Bus', NULL, 9, 3, 0)");
    CFahrzeugeDlg list(database.db(), profile, 4);
    ASSERT_TRUE(list.isReady());
    show(list);
    EXPECT_EQ(field(list, "Name")->text(), QStringLiteral("Zellner, Anton"));
    EXPECT_EQ(field(list, "Art")->text(), QStringLiteral("Privat"));
    EXPECT_EQ(field(list, "Handy")->text(), QStringLiteral("0170 5"));
    EXPECT_TRUE(field(list, "Tel.")->isReadOnly());
    ASSERT_EQ(rows(list), (QStringList{"Anhänger|||", "Sprinter|3,5|9|LA-Z 1"}));

    // Edited: weight and seats cleared, the row stays selected after the list is read again.
    clickRow(list, 1);
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(field(form, "zul. Gesamtgewicht")->text(), QStringLiteral("3,50"));
        EXPECT_EQ(field(form, "Sitzplätze")->text(), QStringLiteral("9"));
        // Only digits go into the seats.
        type(form, "Sitzplätze", "x-1", true);
        EXPECT_EQ(field(form, "Sitzplätze")->text(), QStringLiteral("1"));
        type(form, "zul. Gesamtgewicht", "", true);
        type(form, "Kennzeichen", "", true);
        saveAndClose(form);
    });
    click(list, "Fahrzeug &bearbeiten...");
    EXPECT_EQ(rows(list), (QStringList{"Anhänger|||", "Sprinter||1|"}));
    EXPECT_EQ(selected(list), QStringLiteral("Sprinter"));
    EXPECT_EQ(stored("T_Stamm_KfzVerleiher_Kfz", "quote(ZulGewicht)||quote(Kennzeichen)||Sitzpl",
                     "Typ='Sprinter'"),
              "NULLNULL1");

    messages.queueAnswer(Answer::Yes);
    click(list, "Fahrzeug &löschen");
    EXPECT_EQ(messages.texts(),
              (QStringList{kQuestion, "Soll \"Sprinter\" wirklich gelöscht werden?"}));
    EXPECT_EQ(rows(list), QStringList{"Anhänger|||"});
    EXPECT_EQ(stored("T_Stamm_KfzVerleiher_Kfz", "fDeleted", "Typ='Sprinter'"), "-1");
}

TEST_F(HotelVehicleFormsTest, NewCarHireFirmsVehicleIsStoredWithTheFirmsKey) {
    CExtFirmaDlg firm(database.db(), profile, 5, -1);
    show(firm);
    type(firm, "Firma", "Autohaus Rolle");
    messages.queueAnswer(Answer::Yes);
    onNextModal([this](QDialog& list) {
        EXPECT_EQ(field(list, "Art")->text(), QStringLiteral("Gewerbe"));
        onNextModal([this](QDialog& form) {
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Fahrzeuge"));
            type(form, "Kennzeichen", "LA-R 7");
            saveAndClose(form);
            EXPECT_EQ(messages.texts().last(), kInvalid);
            EXPECT_EQ(form.focusWidget(), field(form, "KFZ Typ"));
            type(form, "KFZ Typ", "Kleinbus");
            type(form, "zul. Gesamtgewicht", "3,2");
            type(form, "Sitzplätze", "9");
            form.findChild<QCheckBox*>()->click();
            saveAndClose(form);
        });
        click(list, "&Neues Fahrzeug...");
        EXPECT_EQ(rows(list), QStringList{"Kleinbus|3,2|9|LA-R 7"});
        EXPECT_EQ(selected(list), QStringLiteral("Kleinbus"));
        click(list, "&Ende");
    });
    click(firm, "&Fahrzeuge...");
    ASSERT_GT(firm.extId(), 0);
    const std::string key = std::to_string(firm.extId());
    EXPECT_EQ(stored("T_Stamm_KfzVerleiher_Kfz", "Art||'|'||ExtID||'|'||Kupplung", "1"),
              QString::fromStdString("5|" + key + "|-1"));
}

TEST_F(HotelVehicleFormsTest, NoVehicleIsStoredWithoutAStoredFirm) {
    // No list for an unsaved firm (key -1) or a firm of another kind.
    database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma) VALUES (3, 1, 'Technik')");
    for (std::int32_t extId : {-1, 3}) {
        CFahrzeugeDlg list(database.db(), profile, extId);
        EXPECT_FALSE(list.isReady());
    }
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().first().icon, Icon::Stop);

    // The form on its own refuses to store a vehicle without a firm, and keeps the input.
    messages.clear();
    CFahrzeugDlg form(database.db(), -1, -1);
    show(form);
    type(form, "KFZ Typ", "Kleinbus");
    saveAndClose(form);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(field(form, "KFZ Typ")->text(), QStringLiteral("Kleinbus"));
    EXPECT_EQ(database.count("T_Stamm_KfzVerleiher_Kfz"), 0);
}

// --- from the main window ----------------------------------------------------------------

class HotelMenuTest : public RunningProgramTest {};

TEST_F(HotelMenuTest, MenuCommandOpensTheHotelList) {
    QAction* hotels = frame->mainMenu()->action(CMainMenu::Hotels);
    ASSERT_TRUE(hotels->isEnabled());
    QString title;
    onNextModal([&title](QDialog& list) {
        title = list.windowTitle();
        click(list, "&Ende");
    });
    hotels->trigger();
    EXPECT_EQ(title, QStringLiteral("Hotel / Pension"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
