// The GEMA district offices as a user meets them: offices known by their name, names with
// quotes stored and found exactly, renaming, the refusals, deleting, and the menu command.
#include "app/CMainMenu.h"
#include "app/MainWindowSupport.h"
#include "masterdata/CGemaBezirkDlg.h"
#include "masterdata/CGemaBezirkeDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CReportList.h"

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
// Enters a text the way a paste does: keyClicks knows no letters beyond ASCII.
void enter(QWidget& form, const char* label, const QString& text, bool replace = false) {
    QLineEdit* edit = field(form, label);
    if (replace)
        edit->selectAll();
    edit->insert(text);
}
QString selected(QWidget& dialog) {
    return dialog.findChild<CReportList*>()->selectedText(0);
}

class GemaOfficeFormsTest : public ::testing::Test {
protected:
    QString names() {
        return database.db().queryText(
            "SELECT group_concat(Bezirksdirektion, ';') FROM (SELECT Bezirksdirektion FROM "
            "T_Stamm_Gema_Bezirk ORDER BY rowid)");
    }
    void show(QDialog& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    void saveAndClose(QWidget& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(GemaOfficeFormsTest, NamesWithQuotesAreStoredFoundRenamedAndDeletedExactly) {
    database.exec("INSERT INTO T_Stamm_Gema_Bezirk (Bezirksdirektion, Strasse, PLZ, Ort) VALUES "
                  "('Nord', 'Am Hafen 1', '20999', 'Hamburg'), ('Ost', NULL, NULL, 'Dresden')");
    CGemaBezirkeDlg list(database.db(), profile);
    show(list);
    EXPECT_EQ(list.windowTitle(), QStringLiteral("GEMA Bezirksdirektionen"));
    // Without a postcode the town follows a blank.
    ASSERT_EQ(rows(list), (QStringList{"Nord|Am Hafen 1|20999 Hamburg", "Ost|| Dresden"}));

    const QString quoted = QStringLiteral("Bezirk \"Süd\" – Musik's");
    onNextModal([this, &quoted](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("GEMA Bezirksdirektion"));
        enter(form, "Bezirksdirektion", quoted);
        type(form, "Telefon 2", "089 2");
        QTest::keyClicks(field<QPlainTextEdit>(form, "Zuständigkeitsbereich"), "Bayern");
        saveAndClose(form);
    });
    click(list, "&Neuer Bezirk...");
    EXPECT_EQ(names(), QStringLiteral("Nord;Ost;") + quoted);
    EXPECT_EQ(selected(list), quoted);

    // Opened again by its name, renamed: still selected, the same row.
    onNextModal([this, &quoted](QDialog& form) {
        EXPECT_EQ(field(form, "Bezirksdirektion")->text(), quoted);
        EXPECT_EQ(field(form, "Telefon 2")->text(), QStringLiteral("089 2"));
        EXPECT_EQ(field<QPlainTextEdit>(form, "Zuständigkeitsbereich")->toPlainText(),
                  QStringLiteral("Bayern"));
        enter(form, "Bezirksdirektion", QStringLiteral("\"A\" Süd"), true);
        saveAndClose(form);
    });
    click(list, "Bezirk &bearbeiten...");
    EXPECT_EQ(names(), QStringLiteral("Nord;Ost;\"A\" Süd"));
    EXPECT_EQ(selected(list), QStringLiteral("\"A\" Süd"));
    EXPECT_EQ(rows(list).first(), QStringLiteral("\"A\" Süd|| "));
    EXPECT_EQ(database.count("T_Stamm_Gema_Bezirk", "Tel2 = '089 2'"), 1);

    messages.clear();
    messages.queueAnswer(Answer::Yes);
    click(list, "Bezirk &löschen");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Soll \"\"A\" Süd\" wirklich gelöscht werden?")});
    EXPECT_EQ(names(), QStringLiteral("Nord;Ost"));
    // The first row went: the row now first is selected.
    EXPECT_EQ(rows(list).size(), 2);
    EXPECT_EQ(selected(list), QStringLiteral("Nord"));
}

TEST_F(GemaOfficeFormsTest, RefusesAnOfficeWithoutNameOrWithATakenName) {
    database.exec("INSERT INTO T_Stamm_Gema_Bezirk (Bezirksdirektion) VALUES ('Mitte')");
    CGemaBezirkDlg form(database.db(), QString());
    ASSERT_TRUE(form.isReady());
    show(form);
    enter(form, "Strasse", QStringLiteral("Taktstraße 5"));
    saveAndClose(form);
    EXPECT_EQ(messages.texts(), (QStringList{kQuestion, QStringLiteral("Ungültige Eingabe!")}));
    EXPECT_EQ(messages.messages().at(1).icon, Icon::Exclamation);
    EXPECT_EQ(form.focusWidget(), field(form, "Bezirksdirektion"));

    // A second office of the same name: the database's refusal, the input kept.
    messages.clear();
    type(form, "Bezirksdirektion", "mitte");
    saveAndClose(form);
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, Icon::Stop);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(field(form, "Strasse")->text(), QStringLiteral("Taktstraße 5"));
    EXPECT_EQ(database.count("T_Stamm_Gema_Bezirk"), 1);

    // Another name: stored as a new office; the existing one is untouched.
    type(form, "Bezirksdirektion", "Mitte-West", true);
    saveAndClose(form);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.officeName(), QStringLiteral("Mitte-West"));
    EXPECT_EQ(database.count("T_Stamm_Gema_Bezirk", "Strasse IS NULL"), 1);
    EXPECT_EQ(database.count("T_Stamm_Gema_Bezirk"), 2);
}

class GemaMenuTest : public RunningProgramTest {};

TEST_F(GemaMenuTest, MenuCommandOpensTheOfficeList) {
    QAction* offices = frame->mainMenu()->action(CMainMenu::GemaOffices);
    ASSERT_TRUE(offices->isEnabled());
    QString title;
    onNextModal([&title](QDialog& list) {
        title = list.windowTitle();
        click(list, "&Ende");
    });
    offices->trigger();
    EXPECT_EQ(title, QStringLiteral("GEMA Bezirksdirektionen"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
