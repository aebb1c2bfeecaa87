// The birthday reminder as the user meets it: who is listed for which "today", in which order
// and at which age, what "&Details..." opens, and the reminder's setting.
#include "core/BirthdayReminder.h"
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/RecordSets.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "reminder/CErinnerungDlg.h"
#include "reminder/CGeburtstagDlg.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using FormTest::button;
using FormTest::field;
using Answer = MessageService::Answer;

class BirthdayReminderTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile.setPath(QDir(database.dir()).filePath(QStringLiteral("Kavio.ini")));
    }

    static QDateTime day(int y, int m, int d) {
        return QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC);
    }

    std::int32_t musician(const char* name, const char* firstName, const QDateTime& birth,
                          bool deleted = false) {
        CSetStammMusiker set(database.db());
        set.open();
        set.addNew();
        set.setText("MName", QString::fromUtf8(name));
        set.setText("MVorname", QString::fromUtf8(firstName));
        if (birth.isValid())
            set.setDate("MGeb", birth);
        set.setBool("fDeleted", deleted);
        set.update();
        set.moveToBookmark(set.lastModified());
        return set.getLong("MusikerID");
    }
    std::int32_t firm(int kind, bool privat, const char* firmName, const char* name,
                      const QDateTime& birth) {
        CSetStammExtFirma set(database.db());
        set.open();
        set.addNew();
        set.setInt("Art", kind);
        set.setBool("fPrivat", privat);
        set.setText("Firma", QString::fromUtf8(firmName));
        set.setText("Name", QString::fromUtf8(name));
        set.setText("Vorname", QStringLiteral("Vera"));
        if (birth.isValid())
            set.setDate("GebDate", birth);
        set.update();
        set.moveToBookmark(set.lastModified());
        return set.getLong("ExtID");
    }
    std::int32_t contact(int kind, std::int32_t extId, const char* name, const QDateTime& birth) {
        CSetStammExtAnsprech set(database.db());
        set.open();
        set.addNew();
        set.setInt("Art", kind);
        set.setLong("ExtID", extId);
        set.setText("APName", QString::fromUtf8(name));
        set.setText("APVorname", QStringLiteral("Carl"));
        set.setDate("APGebDate", birth);
        set.update();
        set.moveToBookmark(set.lastModified());
        return set.getLong("APID");
    }

    // The rows the reminder shows for that day, each as its visible columns.
    std::vector<QStringList> shown(const QDate& today) {
        CGeburtstagDlg form(database.db(), profile, database.dir(), today);
        auto* list = form.findChild<QTreeWidget*>();
        std::vector<QStringList> rows;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QStringList texts;
            for (int column = CGeburtstagDlg::ColBirthDate; column <= CGeburtstagDlg::ColAge;
                 ++column)
                texts << list->topLevelItem(row)->text(column);
            rows.push_back(texts);
        }
        return rows;
    }
    static QStringList row(const char* date, const char* function, const char* name,
                           const char* firm, const char* age) {
        return {QString::fromUtf8(date), QString::fromUtf8(function), QString::fromUtf8(name),
                QString::fromUtf8(firm), QString::fromUtf8(age)};
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
};

TEST_F(BirthdayReminderTest, DefaultWindowListsTodayAndTheDaysAroundWithTheAge) {
    musician("Huber", "Anna", day(1986, 6, 15));
    musician("Maier", "Ben", day(1990, 6, 5));   // 10 days ago
    musician("Vogt", "Carla", day(1990, 6, 30)); // 15 days ahead
    musician("Alt", "Dora", day(1986, 6, 15), true);
    musician("Ohne", "Datum", QDateTime());

    const QDate today(2026, 6, 15);
    EXPECT_EQ(shown(today), (std::vector<QStringList>{
                                row("05.06.90", "Musiker", "Maier, Ben", "", "36"),
                                row("15.06.86", "Musiker", "Huber, Anna", "", "40"),
                            }));
    EXPECT_TRUE(BirthdayReminder::anyDue(database.db(), profile, today));
    EXPECT_FALSE(BirthdayReminder::anyDue(database.db(), profile, QDate(2026, 3, 1)));
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(BirthdayReminderTest, OnlyPrivateFirmsAndContactsWithTheirFirm) {
    firm(0, false, "Festzelt GmbH", "Wirt", day(1970, 6, 15));
    const std::int32_t privat = firm(1, true, "", "Klang", day(1975, 6, 16));
    const std::int32_t company = firm(3, false, "Beschallung AG", "", QDateTime());
    contact(3, company, "Ton", day(1980, 6, 17));
    contact(1, privat, "Helfer", day(1981, 6, 18));
    contact(4, 999, "Waise", day(1982, 6, 19)); // its firm is not there

    EXPECT_EQ(shown(QDate(2026, 6, 15)),
              (std::vector<QStringList>{
                  row("16.06.75", "Techniker", "Klang, Vera", "", "51"),
                  row("17.06.80", "PA Verleiher", "Ton, Carl", "Beschallung AG", "46"),
                  row("18.06.81", "Techniker", "Helfer, Carl", "Klang, Vera", "45"),
                  row("19.06.82", "LA Verleiher", "Waise, Carl", "", "44"),
              }));
}

TEST_F(BirthdayReminderTest, SameBirthdayIsOrderedByFunctionAndName) {
    musician("zeller", "Zoe", day(1990, 6, 20));
    firm(0, true, "", "Abel", day(1991, 6, 20));
    musician("Adam", "Axel", day(1992, 6, 20));
    contact(3, firm(3, false, "Boxen KG", "", QDateTime()), "Berg", day(1993, 6, 20));
    musician("Früh", "Fritz", day(1994, 6, 19));

    QStringList names;
    for (const QStringList& r : shown(QDate(2026, 6, 15)))
        names << r[2];
    EXPECT_EQ(names, (QStringList{"Früh, Fritz", "Adam, Axel", "zeller, Zoe", "Berg, Carl",
                                  "Abel, Vera"}));
}

TEST_F(BirthdayReminderTest, ZeroDaysSwitchesTheStartupReminderOffButListsTodaysBirthdays) {
    musician("Heute", "Hans", day(1980, 6, 15));
    musician("Gestern", "Gerd", day(1980, 6, 14));
    ASSERT_TRUE(profile.writeText(QStringLiteral("OPTIONS"), QStringLiteral("BirthReminder"),
                                  QStringLiteral("0,0,0")));
    EXPECT_FALSE(BirthdayReminder::anyDue(database.db(), profile, QDate(2026, 6, 15)));
    EXPECT_EQ(shown(QDate(2026, 6, 15)),
              (std::vector<QStringList>{row("15.06.80", "Musiker", "Heute, Hans", "", "46")}));
    EXPECT_FALSE(CGeburtstagDlg::remindAtStartup(database.db(), profile, database.dir(),
                                                 QDate(2026, 6, 15)));
}

TEST_F(BirthdayReminderTest, WindowAcrossTheYearEndRunsFromDecemberIntoJanuary) {
    musician("Januar", "Jan", day(1990, 1, 2));
    musician("Silvester", "Sil", day(1990, 12, 31));
    musician("Dreikoenig", "Drei", day(1990, 1, 6));
    ASSERT_TRUE(profile.writeText(QStringLiteral("OPTIONS"), QStringLiteral("BirthReminder"),
                                  QStringLiteral("1, 0, 9")));
    EXPECT_EQ(shown(QDate(2026, 12, 24)),
              (std::vector<QStringList>{
                  row("31.12.90", "Musiker", "Silvester, Sil", "", "36"),
                  row("02.01.90", "Musiker", "Januar, Jan", "", "37"),
              }));
    EXPECT_TRUE(BirthdayReminder::anyDue(database.db(), profile, QDate(2026, 12, 24)));
}

TEST_F(BirthdayReminderTest, TwentyNinthOfFebruaryIsRememberedInEveryYear) {
    musician("Schalt", "Tag", day(1988, 2, 29));
    ASSERT_TRUE(profile.writeText(QStringLiteral("OPTIONS"), QStringLiteral("BirthReminder"),
                                  QStringLiteral("1,0,0")));
    EXPECT_EQ(shown(QDate(2027, 2, 28)),
              (std::vector<QStringList>{row("29.02.88", "Musiker", "Schalt, Tag", "", "39")}));
    EXPECT_EQ(shown(QDate(2028, 2, 29)).size(), 1u);
    EXPECT_TRUE(shown(QDate(2028, 2, 28)).empty());
}

TEST_F(BirthdayReminderTest, DetailsOpensThePersonsFormAndWidthsAreKept) {
    const std::int32_t anna = musician("Huber", "Anna", day(1986, 6, 15));
    const std::int32_t privat = firm(2, true, "", "Roadie", day(1975, 6, 16));
    const std::int32_t apId = contact(2, privat, "Kontakt", day(1980, 6, 17));

    CGeburtstagDlg form(database.db(), profile, database.dir(), QDate(2026, 6, 15));
    form.show();
    auto* list = form.findChild<QTreeWidget*>();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    QPushButton* details = button(form, "&Details...");
    EXPECT_FALSE(details->isEnabled());

    const auto open = [&](int row, std::function<void(QDialog&)> check) {
        list->setCurrentItem(list->topLevelItem(row));
        ASSERT_TRUE(details->isEnabled());
        bool seen = false;
        FormTest::onNextModal([&](QDialog& dialog) {
            seen = true;
            check(dialog);
            dialog.reject();
        });
        QTest::mouseClick(details, Qt::LeftButton);
        EXPECT_TRUE(seen);
    };
    open(0, [&](QDialog& dialog) {
        auto* musicianForm = qobject_cast<CMusikerDlg*>(&dialog);
        ASSERT_NE(musicianForm, nullptr);
        EXPECT_EQ(musicianForm->musikerId(), anna);
    });
    open(1, [&](QDialog& dialog) {
        auto* firmForm = qobject_cast<CExtFirmaDlg*>(&dialog);
        ASSERT_NE(firmForm, nullptr);
        EXPECT_EQ(firmForm->extId(), privat);
        EXPECT_EQ(firmForm->firmKind(), 2);
    });
    open(2, [&](QDialog& dialog) {
        auto* contactForm = qobject_cast<CAnsprechDlg*>(&dialog);
        ASSERT_NE(contactForm, nullptr);
        EXPECT_EQ(contactForm->apId(), apId);
    });
    // The list still shows the three, with the one looked at still chosen.
    EXPECT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(2));

    FormTest::click(form, "&Ende");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(leading(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("BirthReminder"),
                                       QString())),
              leading(scaledWidths("0,0,0,82,78,148,163,44", *list)));
}

TEST_F(BirthdayReminderTest, OptionFormStoresTheSettingOnlyWhenAskedTo) {
    const auto stored = [&] {
        return profile.readText(QStringLiteral("OPTIONS"), QStringLiteral("BirthReminder"),
                                QStringLiteral("(none)"));
    };
    {
        // Opens with the default; unchanged, "&Ende" asks nothing and stores nothing.
        CErinnerungDlg form(profile);
        EXPECT_TRUE(form.findChild<QCheckBox*>()->isChecked());
        EXPECT_EQ(field(form, "vorher")->text(), QStringLiteral("14"));
        EXPECT_EQ(field(form, "nachher")->text(), QStringLiteral("14"));
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(messages.messages().isEmpty());
        EXPECT_EQ(stored(), QStringLiteral("(none)"));
    }
    {
        // The check box alone counts as a change; "No" closes without storing.
        CErinnerungDlg form(profile);
        form.show();
        QTest::mouseClick(form.findChild<QCheckBox*>(), Qt::LeftButton);
        messages.queueAnswer(Answer::No);
        FormTest::click(form, "&Ende");
        EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(CFormDialog::kSaveQuestion)});
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(stored(), QStringLiteral("(none)"));
    }
    messages.clear();
    {
        CErinnerungDlg form(profile);
        form.show();
        FormTest::type(form, "vorher", QStringLiteral("x7"), true); // letters do not go in
        FormTest::type(form, "nachher", QString(), true);
        // Cancel stays; an empty field is refused and the form stays as typed.
        messages.queueAnswer(Answer::Cancel);
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(form.isVisible());
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(messages.texts().last(), QStringLiteral("Geben Sie bitte eine ganze Zahl ein."));
        EXPECT_EQ(field(form, "vorher")->text(), QStringLiteral("7"));
        EXPECT_EQ(stored(), QStringLiteral("(none)"));

        QTest::mouseClick(form.findChild<QCheckBox*>(), Qt::LeftButton);
        FormTest::type(form, "nachher", QStringLiteral("3"));
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(stored(), QStringLiteral("0, 7, 3"));
    // Read back unchanged although written with blanks.
    const BirthdayReminder::Setting setting = BirthdayReminder::Setting::read(profile);
    EXPECT_FALSE(setting.on);
    EXPECT_EQ(setting.daysBefore, 7);
    EXPECT_EQ(setting.daysAfter, 3);
    CErinnerungDlg again(profile);
    EXPECT_FALSE(again.findChild<QCheckBox*>()->isChecked());
    EXPECT_EQ(field(again, "vorher")->text(), QStringLiteral("7"));
}

TEST_F(BirthdayReminderTest, GemaNoteAtStartupFollowsItsSwitch) {
    // A gig five weeks ago whose report was never sent: due, one week left.
    database.exec("INSERT INTO T_Event (EventID, EArt, EBeginn, Status) VALUES "
                  "(1, 'Gig', '2026-05-11 20:00:00', 1)");
    const QDate today(2026, 6, 15);
    EXPECT_FALSE(CGeburtstagDlg::remindAtStartup(database.db(), profile, database.dir(), today));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(
        QStringLiteral("11.05.2026 Gig - GEMA-Meldung bis 22.06.2026 (noch 7 Tage)")));
    messages.clear();
    {
        CErinnerungDlg form(profile);
        form.show();
        auto* gema =
            FormTest::button<QCheckBox>(form, "Beim Start an fällige GEMA-Meldungen erinnern");
        EXPECT_TRUE(gema->isChecked());
        gema->click();
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(
        profile.readText(QStringLiteral("OPTIONS"), QStringLiteral("GemaReminder"), QString()),
        QStringLiteral("0"));
    // The birthday setting was written alongside, unchanged.
    EXPECT_TRUE(BirthdayReminder::Setting::read(profile).on);
    messages.clear();
    EXPECT_FALSE(CGeburtstagDlg::remindAtStartup(database.db(), profile, database.dir(), today));
    EXPECT_TRUE(messages.texts().isEmpty());
    CErinnerungDlg again(profile);
    EXPECT_FALSE(FormTest::button<QCheckBox>(again, "Beim Start an fällige GEMA-Meldungen "
                                                    "erinnern")
                     ->isChecked());
}

} // namespace
