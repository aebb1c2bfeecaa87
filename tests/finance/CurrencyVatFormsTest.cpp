// The currency form and the VAT form as a user meets them: what they show when they open, what
// "&Ende" stores in T_Grunddaten and Kavio.ini for each answer, and which input they refuse.
#include "app/ShellTestSupport.h"
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/RecordSets.h"
#include "finance/CMwStDlg.h"
#include "finance/CWaehrungDlg.h"
#include "support/TestDatabase.h"

#include "support/FormTestSupport.h"
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using FormTest::button;
using FormTest::field;
using Answer = MessageService::Answer;

const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);

QPushButton* ende(QWidget& form) {
    return button<QPushButton>(form, "&Ende");
}

// Replaces a field's text key by key. QTest::keyClicks knows only ASCII keys, so each
// character goes as the text of a key event: "€" is typed like any other letter.
void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

struct BaseData {
    QString shortName;
    QString longName;
    QString unionNo;
    bool unionNoNull = false;
    float rate1 = 0;
    float rate2 = 0;
};

class CurrencyVatFormsTest : public ::testing::Test {
protected:
    void insert(const char* shortName, const char* longName, const char* unionNo, const char* rate1,
                const char* rate2) {
        const std::string sql = std::string("INSERT INTO T_Grunddaten (Waehrungkurz, Waehrunglang, "
                                            "Union_No, MWST_Satz1, MWST_Satz2) VALUES (") +
                                shortName + ", " + longName + ", " + unionNo + ", " + rate1 + ", " +
                                rate2 + ")";
        database.exec(sql.c_str());
    }

    QList<BaseData> baseData() {
        QList<BaseData> rows;
        CSetGrunddaten set(database.db());
        for (set.open(); !set.atEnd(); set.moveNext()) {
            rows.append({set.getText("Waehrungkurz"), set.getText("Waehrunglang"),
                         set.getText("Union_No"), set.isNull("Union_No"),
                         set.getSingle("MWST_Satz1"), set.getSingle("MWST_Satz2")});
        }
        return rows;
    }

    void open(QDialog& form) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QString storedMode() const {
        return profile.readText(QStringLiteral("OPTIONS"), QStringLiteral("MwStInkl"),
                                QStringLiteral("(fehlt)"));
    }

    TestDatabase database;
    CProfileFile profile{QDir(database.dir()).filePath(QStringLiteral("Kavio.ini"))};
    MessageRecorder messages;
};

// --- currency form -------------------------------------------------------------------------

TEST_F(CurrencyVatFormsTest, CurrencyFormShowsTheStoredTexts) {
    {
        CWaehrungDlg form(database.db());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Währung"));
        EXPECT_TRUE(field(form, "Währung")->text().isEmpty());
        EXPECT_TRUE(field(form, "Abkürzung")->text().isEmpty());
        EXPECT_TRUE(ende(form)->isDefault());
    }
    insert("'€'", "NULL", "'DE123'", "16", "7");
    CWaehrungDlg form(database.db());
    EXPECT_TRUE(field(form, "Währung")->text().isEmpty());
    EXPECT_EQ(field(form, "Abkürzung")->text(), QStringLiteral("€"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(CurrencyVatFormsTest, CurrencyFormOnEmptyTableCreatesTheRecordWithRates16And7) {
    CWaehrungDlg form(database.db());
    open(form);
    retype(field(form, "Währung"), QStringLiteral("Schweizer Franken"));
    retype(field(form, "Abkürzung"), QStringLiteral("CHF"));
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    const QList<BaseData> rows = baseData();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].longName, QStringLiteral("Schweizer Franken"));
    EXPECT_EQ(rows[0].shortName, QStringLiteral("CHF"));
    EXPECT_FLOAT_EQ(rows[0].rate1, 16);
    EXPECT_FLOAT_EQ(rows[0].rate2, 7);
    EXPECT_FALSE(rows[0].unionNoNull);
    EXPECT_TRUE(rows[0].unionNo.isEmpty());
}

TEST_F(CurrencyVatFormsTest, CurrencyFormChangesOnlyTheTextsOfTheFirstRecord) {
    insert("'€'", "'Euro'", "'DE123'", "19", "7.5");
    insert("'$'", "'Dollar'", "'US1'", "5", "5");
    CWaehrungDlg form(database.db());
    open(form);
    EXPECT_EQ(field(form, "Währung")->text(), QStringLiteral("Euro"));
    retype(field(form, "Abkürzung"), QStringLiteral("EUR"));
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    EXPECT_EQ(form.result(), QDialog::Accepted);
    const QList<BaseData> rows = baseData();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].shortName, QStringLiteral("EUR"));
    EXPECT_EQ(rows[0].longName, QStringLiteral("Euro"));
    EXPECT_EQ(rows[0].unionNo, QStringLiteral("DE123"));
    EXPECT_FLOAT_EQ(rows[0].rate1, 19);
    EXPECT_FLOAT_EQ(rows[0].rate2, 7.5);
    EXPECT_EQ(rows[1].shortName, QStringLiteral("$"));
    EXPECT_EQ(rows[1].longName, QStringLiteral("Dollar"));
}

TEST_F(CurrencyVatFormsTest, CurrencyFormClosesPerAnswerAndSavesOnlyOnYes) {
    {
        // Nothing edited: closes as cancelled without a question, and creates no record.
        CWaehrungDlg form(database.db());
        open(form);
        QSignalSpy finished(&form, &QDialog::finished);
        ende(form)->click();
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        CWaehrungDlg form(database.db());
        open(form);
        retype(field(form, "Währung"), QStringLiteral("Euro"));
        messages.queueAnswer(Answer::No);
        ende(form)->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_FALSE(form.isVisible());
    }
    {
        CWaehrungDlg form(database.db());
        open(form);
        retype(field(form, "Abkürzung"), QStringLiteral("€"));
        messages.clear();
        messages.queueAnswer(Answer::Cancel);
        ende(form)->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(field(form, "Abkürzung")->text(), QStringLiteral("€"));

        // Escape leaves without the question, although the field is edited.
        QTest::keyClick(field(form, "Abkürzung"), Qt::Key_Escape);
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_EQ(database.count("T_Grunddaten"), 0);
}

TEST_F(CurrencyVatFormsTest, CurrencyFormShowsDatabaseErrorsAndKeepsTheInput) {
    insert("'€'", "'Euro'", "''", "16", "7");
    CWaehrungDlg form(database.db());
    open(form);
    const QString tooLong(256, QLatin1Char('W'));
    retype(field(form, "Währung"), tooLong);
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
    EXPECT_TRUE(messages.messages().at(1).text.contains(QStringLiteral("zu lang")))
        << messages.messages().at(1).text.toStdString();
    // The field is named as the form shows it, and the user is left in it.
    EXPECT_TRUE(messages.messages().at(1).text.contains(QStringLiteral("\"Währung\"")))
        << messages.messages().at(1).text.toStdString();
    EXPECT_EQ(form.focusWidget(), field(form, "Währung"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(field(form, "Währung")->text(), tooLong);
    ASSERT_EQ(baseData().size(), 1);
    EXPECT_EQ(baseData()[0].longName, QStringLiteral("Euro"));
}

// A row that cannot be read (another program holds the database locked) is not saved over: the
// form says so and is not ready, and even a forced save leaves the stored texts alone.
TEST_F(CurrencyVatFormsTest, CurrencyFormThatCouldNotReadItsRowNeverSavesOverIt) {
    insert("'€'", "'Euro'", "''", "16", "7");
    CDatabase other;
    other.open(database.databasePath());
    other.execute("BEGIN EXCLUSIVE");
    CWaehrungDlg broken(database.db());
    other.execute("ROLLBACK");

    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).icon, MessageService::Icon::Stop);
    EXPECT_FALSE(broken.isReady());
    retype(field(broken, "Abkürzung"), QStringLiteral("DM"));
    messages.clear();
    messages.queueAnswer(Answer::Yes);
    ende(broken)->click();
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
    ASSERT_EQ(baseData().size(), 1);
    EXPECT_EQ(baseData()[0].shortName, QStringLiteral("€"));
    EXPECT_EQ(baseData()[0].longName, QStringLiteral("Euro"));
}

// --- VAT form ------------------------------------------------------------------------------

TEST_F(CurrencyVatFormsTest, VatFormShowsWholeRatesAndTheDisplayMode) {
    {
        CMwStDlg form(database.db(), profile);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Mehrwertsteuer"));
        EXPECT_EQ(field(form, "MwSt - Satz 1")->text(), QStringLiteral("0"));
        EXPECT_EQ(field(form, "MwSt - Satz 2")->text(), QStringLiteral("0"));
        // No settings file: amounts with VAT.
        EXPECT_TRUE(button<QRadioButton>(form, "inkl. MwSt.")->isChecked());
        EXPECT_FALSE(button<QRadioButton>(form, "ohne MwSt.")->isChecked());
        const QGroupBox* group = form.findChild<QGroupBox*>();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QStringLiteral("Beträge anzeigen"));
        EXPECT_TRUE(group->isAncestorOf(button<QRadioButton>(form, "ohne MwSt.")));
        EXPECT_TRUE(ende(form)->isDefault());
    }
    insert("'€'", "'Euro'", "''", "19.9", "7.5");
    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 0));
    CMwStDlg form(database.db(), profile);
    EXPECT_EQ(field(form, "MwSt - Satz 1")->text(), QStringLiteral("19"));
    EXPECT_EQ(field(form, "MwSt - Satz 2")->text(), QStringLiteral("7"));
    EXPECT_FALSE(button<QRadioButton>(form, "inkl. MwSt.")->isChecked());
    EXPECT_TRUE(button<QRadioButton>(form, "ohne MwSt.")->isChecked());

    // Filling the form is no change: "&Ende" closes without a question.
    open(form);
    ende(form)->click();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

// The typed rates are kept: the form creates the row, with the currency texts every amount label
// needs.
TEST_F(CurrencyVatFormsTest, VatFormOnEmptyTableCreatesTheRowWithTheTypedRates) {
    CMwStDlg form(database.db(), profile);
    open(form);
    retype(field(form, "MwSt - Satz 1"), QStringLiteral("19"));
    retype(field(form, "MwSt - Satz 2"), QStringLiteral("7"));
    QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const QList<BaseData> rows = baseData();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].shortName, QStringLiteral("€"));
    EXPECT_EQ(rows[0].longName, QStringLiteral("Euro"));
    EXPECT_EQ(rows[0].rate1, 19.0f);
    EXPECT_EQ(rows[0].rate2, 7.0f);
    EXPECT_EQ(storedMode(), QStringLiteral("0"));
}

TEST_F(CurrencyVatFormsTest, VatFormSavesAHalfRateBackAsWholeNumber) {
    insert("'€'", "'Euro'", "'DE123'", "19", "7.5");
    CMwStDlg form(database.db(), profile);
    open(form);
    EXPECT_EQ(field(form, "MwSt - Satz 2")->text(), QStringLiteral("7"));
    // A click on the radio button already chosen counts as a change too.
    QTest::mouseClick(button<QRadioButton>(form, "inkl. MwSt."), Qt::LeftButton);
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const QList<BaseData> rows = baseData();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_FLOAT_EQ(rows[0].rate1, 19);
    EXPECT_FLOAT_EQ(rows[0].rate2, 7);
    EXPECT_EQ(rows[0].shortName, QStringLiteral("€"));
    EXPECT_EQ(rows[0].unionNo, QStringLiteral("DE123"));
    EXPECT_EQ(storedMode(), QStringLiteral("1"));
}

TEST_F(CurrencyVatFormsTest, VatFormChangingOnlyTheModeKeepsTheRates) {
    insert("'€'", "'Euro'", "''", "16", "7");
    CMwStDlg form(database.db(), profile);
    open(form);
    QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const QList<BaseData> rows = baseData();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_FLOAT_EQ(rows[0].rate1, 16);
    EXPECT_FLOAT_EQ(rows[0].rate2, 7);
    EXPECT_EQ(storedMode(), QStringLiteral("0"));
}

TEST_F(CurrencyVatFormsTest, VatFormRefusesRatesOutside1To99) {
    insert("'€'", "'Euro'", "''", "16", "7");
    const QString outside =
        QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 99 ein.");
    const QString notWhole = QStringLiteral("Geben Sie bitte eine ganze Zahl ein.");
    struct Case {
        const char* field;
        const char* input;
        QString message;
    };
    const Case cases[] = {
        {"MwSt - Satz 1", "0", outside},     {"MwSt - Satz 1", "100", outside},
        {"MwSt - Satz 2", "0", outside},     {"MwSt - Satz 2", "100", outside},
        {"MwSt - Satz 1", "19,5", notWhole}, {"MwSt - Satz 2", "", notWhole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = \"" + c.input + "\"");
        CMwStDlg form(database.db(), profile);
        open(form);
        QLineEdit* rate = field(form, c.field);
        retype(rate, QString::fromLatin1(c.input));
        QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        ende(form)->click();

        ASSERT_EQ(messages.messages().size(), 2);
        EXPECT_EQ(messages.messages().at(0).text, kQuestion);
        EXPECT_EQ(messages.messages().at(1).text, c.message);
        EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.focusWidget(), rate);
        EXPECT_EQ(rate->text(), QString::fromLatin1(c.input));

        const QList<BaseData> rows = baseData();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_FLOAT_EQ(rows[0].rate1, 16);
        EXPECT_FLOAT_EQ(rows[0].rate2, 7);
        EXPECT_FALSE(QFile::exists(profile.path()));
    }
}

TEST_F(CurrencyVatFormsTest, VatFormClosesPerAnswerAndSavesOnlyOnYes) {
    insert("'€'", "'Euro'", "''", "16", "7");
    {
        CMwStDlg form(database.db(), profile);
        open(form);
        ende(form)->click();
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_FALSE(form.isVisible());
    }
    {
        CMwStDlg form(database.db(), profile);
        open(form);
        retype(field(form, "MwSt - Satz 1"), QStringLiteral("19"));
        QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
        messages.queueAnswer(Answer::No);
        ende(form)->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_FALSE(form.isVisible());
    }
    {
        CMwStDlg form(database.db(), profile);
        open(form);
        QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
        messages.clear();
        messages.queueAnswer(Answer::Cancel);
        ende(form)->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(button<QRadioButton>(form, "ohne MwSt.")->isChecked());

        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_FLOAT_EQ(baseData()[0].rate1, 16);
    EXPECT_FALSE(QFile::exists(profile.path()));
}

TEST_F(CurrencyVatFormsTest, VatFormDatabaseErrorKeepsFormOpenAndModeUnwritten) {
    insert("'€'", "'Euro'", "''", "16", "7");
    database.exec("CREATE TRIGGER lock_base BEFORE UPDATE ON T_Grunddaten "
                  "BEGIN SELECT RAISE(ABORT, 'Grunddaten gesperrt'); END");
    CMwStDlg form(database.db(), profile);
    open(form);
    retype(field(form, "MwSt - Satz 1"), QStringLiteral("19"));
    QTest::mouseClick(button<QRadioButton>(form, "ohne MwSt."), Qt::LeftButton);
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
    EXPECT_TRUE(messages.messages().at(1).text.contains(QStringLiteral("Grunddaten gesperrt")))
        << messages.messages().at(1).text.toStdString();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(field(form, "MwSt - Satz 1")->text(), QStringLiteral("19"));
    EXPECT_FLOAT_EQ(baseData()[0].rate1, 16);
    EXPECT_FALSE(QFile::exists(profile.path()));
}

TEST_F(CurrencyVatFormsTest, VatFormReportsASettingsFileThatCannotBeWritten) {
    QTemporaryDir settingsDir;
    CProfileFile locked(settingsDir.filePath(QStringLiteral("Kavio.ini")));
    WriteProtection protection(settingsDir.path());
    if (!protection.active())
        GTEST_SKIP() << "the folder cannot be write-protected here";

    CMwStDlg form(database.db(), locked);
    open(form);
    retype(field(form, "MwSt - Satz 1"), QStringLiteral("19"));
    retype(field(form, "MwSt - Satz 2"), QStringLiteral("7"));
    messages.queueAnswer(Answer::Yes);
    ende(form)->click();

    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
    EXPECT_TRUE(messages.messages().at(1).text.contains(locked.path()));
    EXPECT_TRUE(form.isVisible());
}

} // namespace
