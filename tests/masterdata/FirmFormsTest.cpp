// The firm form and the contact person form as a user meets them: business and private mode,
// what a save stores for each mode, the refusals, contacts added, listed and deleted, the list
// widths in Kavio.ini, and the main window's firm lists opening the form.
#include "app/FormRegistry.h"
#include "app/MainWindowSupport.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"
#include "widgets/CReportList.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
using Answer = MessageService::Answer;
using Icon = MessageService::Icon;

const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);
const QString kFirmOrName = QStringLiteral("Bitte \"Firma\" oder \"Name\"  eingegeben.");

QStringList rows(CExtFirmaDlg& form) {
    QStringList texts;
    auto* list = form.findChild<CReportList*>();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QStringList columns;
        for (int column = 0; column < list->columnCount(); ++column)
            columns << list->topLevelItem(row)->text(column);
        texts << columns.join(u'|');
    }
    return texts;
}

class FirmFormsTest : public ::testing::Test {
protected:
    // Columns of a row as SQLite quotes them (NULL, 'text' or a number), joined by "|".
    QString stored(const char* table, const char* columns, const QString& where) {
        QStringList quoted;
        for (const QString& column : QString::fromLatin1(columns).split(QStringLiteral(", ")))
            quoted << QStringLiteral("quote(%1)").arg(column);
        return database.db().queryText(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(quoted.join(QStringLiteral("||'|'||")), QLatin1String(table), where)
                .toStdString());
    }
    QString firm(const char* column) {
        return stored("T_Stamm_ExtFirma", column, QStringLiteral("1=1"));
    }
    QString contact(const char* column, const QString& where) {
        return stored("T_Stamm_ExtAnsprech", column, where);
    }

    void show(QDialog& form) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Answers yes to the save question and returns the form's result.
    int saveAndClose(CFormDialog& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
        return form.result();
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(FirmFormsTest, NewFirmOfEachKindClosedUntouchedWritesNothing) {
    const char* titles[] = {"Veranstalter", "Technik",      "Backline",
                            "PA Verleiher", "LA Verleiher", "Kfz Verleiher"};
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        CExtFirmaDlg form(database.db(), profile, kind, -1);
        show(form);
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(titles[kind]));
        EXPECT_EQ(button(form, "&Fahrzeuge...")->isVisible(), kind == 5);
        EXPECT_TRUE(button(form, "&Ende")->isDefault());
        EXPECT_TRUE(button<QRadioButton>(form, "Gewerbe")->isChecked());
        EXPECT_FALSE(field(form, "Name")->isEnabled());
        EXPECT_FALSE(field(form, "Geb.-Datum")->isVisible());
        EXPECT_EQ(form.findChild<QComboBox*>()->currentText(), QStringLiteral("Herr"));
        click(form, "&Ende");
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 0);
}

TEST_F(FirmFormsTest, SwitchingModesRestoresTheTextsOfEachMode) {
    CExtFirmaDlg form(database.db(), profile, 0, -1);
    show(form);
    type(form, "Firma", "Kulturamt");
    click(form, "Privat");
    EXPECT_TRUE(field(form, "Firma")->text().isEmpty());
    EXPECT_FALSE(field(form, "Firma")->isEnabled());
    EXPECT_TRUE(field(form, "Geb.-Datum")->isVisible());
    type(form, "Name", "Huber");
    type(form, "Vorname", "Sepp");

    click(form, "Gewerbe");
    EXPECT_EQ(field(form, "Firma")->text(), QStringLiteral("Kulturamt"));
    EXPECT_TRUE(field(form, "Name")->text().isEmpty());
    EXPECT_TRUE(field(form, "Vorname")->text().isEmpty());
    EXPECT_FALSE(field(form, "Geb.-Datum")->isVisible());

    click(form, "Privat");
    EXPECT_EQ(field(form, "Name")->text(), QStringLiteral("Huber"));
    EXPECT_EQ(field(form, "Vorname")->text(), QStringLiteral("Sepp"));
    EXPECT_TRUE(field(form, "Firma")->text().isEmpty());
}

TEST_F(FirmFormsTest, SavesNullsByModeAndReadsBirthDatesOfSixOrEightCharacters) {
    const char* const dates[][2] = {{"150390", "'1990-03-15 00:00:00'"},
                                    {"01011985", "'1985-01-01 00:00:00'"},
                                    {"05.06.77", "'1977-06-05 00:00:00'"}};
    for (const auto& date : dates) {
        SCOPED_TRACE(date[0]);
        database.exec("DELETE FROM T_Stamm_ExtFirma");
        CExtFirmaDlg form(database.db(), profile, 1, -1);
        show(form);
        type(form, "Firma", "Schall GmbH");
        click(form, "Privat");
        type(form, "Name", "Huber");
        type(form, "Geb.-Datum", date[0]);
        ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
        EXPECT_EQ(firm("GebDate"), QLatin1String(date[1]));
        EXPECT_EQ(form.extId(), firm("ExtID").toInt());
    }
    EXPECT_EQ(firm("fPrivat, Art, Firma, Name, Vorname"), "-1|1|NULL|'Huber'|NULL");

    // Opened again and switched to business: no firm name (a private firm keeps none), and
    // the personal name is not stored for a business.
    CExtFirmaDlg form(database.db(), profile, 1, firm("ExtID").toInt());
    show(form);
    EXPECT_TRUE(button<QRadioButton>(form, "Privat")->isChecked());
    EXPECT_EQ(field(form, "Geb.-Datum")->text(), QStringLiteral("05.06.1977"));
    click(form, "Gewerbe");
    EXPECT_TRUE(field(form, "Firma")->text().isEmpty());
    type(form, "Firma", "Schall KG");
    ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 1);
    EXPECT_EQ(firm("fPrivat, Firma, Name, Vorname"), "0|'Schall KG'|NULL|NULL");
}

TEST_F(FirmFormsTest, RefusesAFirmWithoutNameWithTheFocusOnTheModesField) {
    CExtFirmaDlg form(database.db(), profile, 0, -1);
    show(form);
    click(form, "Privat");
    type(form, "Name", "Huber");
    click(form, "Gewerbe");
    EXPECT_EQ(saveAndClose(form), QDialog::Rejected);
    ASSERT_EQ(messages.texts(), (QStringList{kQuestion, kFirmOrName}));
    EXPECT_EQ(messages.messages().at(1).icon, Icon::Exclamation);
    EXPECT_EQ(form.focusWidget(), field(form, "Firma"));
    EXPECT_TRUE(form.isVisible());

    click(form, "Privat");
    field(form, "Name")->clear();
    messages.clear();
    saveAndClose(form);
    EXPECT_EQ(messages.texts(), (QStringList{kQuestion, kFirmOrName}));
    EXPECT_EQ(form.focusWidget(), field(form, "Name"));
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 0);
}

TEST_F(FirmFormsTest, NewContactOnANewFirmSavesTheFirmFirst) {
    CExtFirmaDlg form(database.db(), profile, 0, -1);
    show(form);
    // Declining the save question leaves everything as it was.
    type(form, "Firma", "Kulturamt");
    messages.queueAnswer(Answer::No);
    click(form, "&Neuer Ansprechpartner...");
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 0);

    messages.queueAnswer(Answer::Yes);
    onNextModal([this](QDialog& contact) {
        EXPECT_EQ(contact.windowTitle(), QStringLiteral("Ansprechpartner"));
        type(contact, "Name", "Huber");
        type(contact, "Vorname", "Sepp");
        type(contact, "Tel.", "0871 123");
        messages.queueAnswer(Answer::Yes);
        click(contact, "&Ende");
    });
    click(form, "&Neuer Ansprechpartner...");
    EXPECT_EQ(messages.texts(), (QStringList{kQuestion, kQuestion, kQuestion}));
    const std::int32_t key = firm("ExtID").toInt();
    EXPECT_EQ(form.extId(), key);
    EXPECT_EQ(rows(form), QStringList{QStringLiteral("Sepp Huber|0871 123|||")});
    const QString huber = QStringLiteral("APName='Huber'");
    EXPECT_EQ(contact("ExtID, Art", huber), QStringLiteral("%1|0").arg(key));

    // Nothing changed since: "&Ende" closes without asking, as accepted.
    messages.clear();
    click(form, "&Ende");
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 1);
}

TEST_F(FirmFormsTest, AFirmSavedForItsContactIsAcceptedHoweverTheFormCloses) {
    CExtFirmaDlg form(database.db(), profile, 1, -1);
    show(form);
    type(form, "Firma", "Tonwerk");
    messages.queueAnswer(Answer::Yes);
    onNextModal([](QDialog& contact) { QTest::keyClick(&contact, Qt::Key_Escape); });
    click(form, "&Neuer Ansprechpartner...");
    // The firm exists now: Escape must not hide it from the list that opened the form.
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.extId(), firm("ExtID").toInt());
}

TEST_F(FirmFormsTest, ListsContactsAndDeletingOneOnlyFlagsIt) {
    database.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma) "
                  "VALUES (7, 2, 0, 'Backline Bauer')");
    database.exec("INSERT INTO T_Stamm_ExtAnsprech (ExtID, Art, APName, APVorname, APTel, "
                  "APEmail, fDeleted) VALUES (7, 2, 'Meier', NULL, '089 1', 'm@x.de', 0), "
                  "(7, 2, 'Bauer', 'Lisa', NULL, NULL, 0), (7, 2, 'Alt', 'Otto', NULL, NULL, -1), "
                  "(8, 2, 'Fremd', 'Fritz', NULL, NULL, 0)");
    CExtFirmaDlg form(database.db(), profile, 2, 7);
    show(form);
    const QStringList expected{QStringLiteral("Lisa Bauer||||"),
                               QStringLiteral(" Meier|089 1|||m@x.de")};
    ASSERT_EQ(rows(form), expected);

    auto* list = form.findChild<CReportList*>();
    const QRect meier = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, meier.center());
    EXPECT_TRUE(button(form, "&Bearbeiten Ansprechpartner...")->isEnabled());
    EXPECT_TRUE(button(form, "&Löschen Ansprechpartner")->isEnabled());
    messages.queueAnswer(Answer::Yes);
    click(form, "&Löschen Ansprechpartner");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Soll \" Meier\" wirklich gelöscht werden?")});
    EXPECT_EQ(rows(form), QStringList{expected.first()});
    EXPECT_EQ(contact("fDeleted", QStringLiteral("APName='Meier'")), "-1");
    EXPECT_EQ(database.count("T_Stamm_ExtAnsprech"), 4);

    // Deleting a contact is no change of the firm.
    click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Rejected);
    CExtFirmaDlg again(database.db(), profile, 2, 7);
    EXPECT_EQ(rows(again), QStringList{expected.first()});
}

TEST_F(FirmFormsTest, ContactListWidthsGoBackToKavioIniHoweverTheFormCloses) {
    const std::function<void(CExtFirmaDlg&)> closers[] = {
        [](CExtFirmaDlg& form) { QTest::keyClick(&form, Qt::Key_Escape); },
        [](CExtFirmaDlg& form) { form.close(); },
        [](CExtFirmaDlg& form) { click(form, "&Ende"); },
    };
    int width = 120;
    for (const auto& close : closers) {
        CExtFirmaDlg form(database.db(), profile, 3, -1);
        show(form);
        auto* list = form.findChild<CReportList*>();
        QHeaderView* header = list->header();
        EXPECT_EQ(QString::number(header->sectionSize(1)), scaledWidths("100", *list));
        header->resizeSection(0, ++width);
        close(form);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(
            leading(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("ExtCompany"))),
            leading(scaledWidths("89,100,70,70,132", *list, {{0, width}})));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(FirmFormsTest, VehiclesOfANewCarHireFirmSaveTheFirmFirst) {
    CExtFirmaDlg form(database.db(), profile, 5, -1);
    show(form);
    type(form, "Firma", "Autohaus Rolle");
    // Declined: no firm, and no vehicle list for a firm that does not exist.
    messages.queueAnswer(Answer::Cancel);
    click(form, "&Fahrzeuge...");
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(database.count("T_Stamm_ExtFirma"), 0);

    messages.queueAnswer(Answer::Yes);
    QString shownFirm;
    onNextModal([&shownFirm](QDialog& vehicles) {
        EXPECT_EQ(vehicles.windowTitle(), QStringLiteral("Fahrzeuge"));
        shownFirm = field(vehicles, "Name")->text();
        click(vehicles, "&Ende");
    });
    click(form, "&Fahrzeuge...");
    EXPECT_EQ(shownFirm, QStringLiteral("Autohaus Rolle"));
    EXPECT_EQ(firm("Firma, Art"), "'Autohaus Rolle'|5");
    EXPECT_EQ(form.extId(), firm("ExtID").toInt());
}

TEST_F(FirmFormsTest, ContactFormNeedsANameAndStoresTheContact) {
    CAnsprechDlg form(database.db(), 4, 12, -1);
    show(form);
    type(form, "Vorname", "Sepp");
    type(form, "Geb.-Datum", "010290");
    EXPECT_EQ(saveAndClose(form), QDialog::Rejected);
    EXPECT_EQ(messages.texts(),
              (QStringList{kQuestion, QStringLiteral("Bitte \"Name\" eingegeben.")}));
    EXPECT_EQ(messages.messages().at(1).icon, Icon::Exclamation);
    EXPECT_EQ(form.focusWidget(), field(form, "Name"));

    type(form, "Name", "Huber");
    form.findChild<QComboBox*>()->setCurrentIndex(1);
    ASSERT_EQ(saveAndClose(form), QDialog::Accepted);
    const QString row = QStringLiteral("APID=%1").arg(form.apId());
    EXPECT_EQ(contact("ExtID, Art, APAnrede, APGebDate, APTel", row),
              "12|4|1|'1990-02-01 00:00:00'|NULL");

    // Opened again: shown as stored, changed in place, unchanged closes as cancelled.
    CAnsprechDlg again(database.db(), 0, -1, form.apId());
    show(again);
    EXPECT_EQ(field(again, "Name")->text(), QStringLiteral("Huber"));
    EXPECT_EQ(field(again, "Geb.-Datum")->text(), QStringLiteral("01.02.1990"));
    EXPECT_EQ(again.findChild<QComboBox*>()->currentText(), QStringLiteral("Frau"));
    type(again, "Funktion / Position", "Technikerin");
    ASSERT_EQ(saveAndClose(again), QDialog::Accepted);
    EXPECT_EQ(database.count("T_Stamm_ExtAnsprech"), 1);
    EXPECT_EQ(contact("APFunktion, ExtID", row), "'Technikerin'|12");
}

TEST_F(FirmFormsTest, AFirmTableThatCannotBeReadKeepsTheFormUnshown) {
    database.exec("DROP TABLE T_Stamm_ExtFirma");
    CExtFirmaDlg form(database.db(), profile, 0, -1);
    EXPECT_FALSE(form.isReady());
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().icon, Icon::Stop);
}

// --- from the main window ----------------------------------------------------------------

class FirmFormsFromListsTest : public RunningProgramTest {};

TEST_F(FirmFormsFromListsTest, OrganiserListOpensTheFirmForm) {
    frame->navigate(0, 0);
    ASSERT_EQ(list().listKind(), 1);
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Veranstalter"));
        type(form, "Firma", "Kulturamt");
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
    });
    list().onNew();
    EXPECT_EQ(column(1), QStringList{QStringLiteral("Kulturamt")});

    const std::int32_t technician = addFirm(1, {{"Firma", QStringLiteral("Schall GmbH")}});
    onNextModal([](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Technik"));
        EXPECT_EQ(field(form, "Firma")->text(), QStringLiteral("Schall GmbH"));
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_EQ(frame->forms().openList(frame, 2, technician), QDialog::Rejected);
}

} // namespace
