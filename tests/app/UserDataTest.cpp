// The band's own data, the login at start-up and the change of password, as the user meets
// them; and the birthday reminder that greets the user once the main window is there.
#include "MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "app/FormRegistry.h"
#include "core/Credentials.h"
#include "core/UserProfile.h"
#include "reminder/CGeburtstagDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "views/CBenutzerDlg.h"
#include "views/CLoginDlg.h"
#include "views/CPasswortDlg.h"
#include "widgets/StartupProbe.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

namespace {

using FormTest::button;
using FormTest::field;
using Answer = MessageService::Answer;

const QString kRefused =
    QStringLiteral("Sie sind zur Benutzung von Vorlanto nicht berechtigt.\nAuf Wiedersehen.");
const QString kChanged = QStringLiteral("Passwort wurde geändert.");
const QString kNotAllowed = QStringLiteral("Sie sind nicht berechtigt, das Passwort zu ändern.");
const QString kMismatch = QStringLiteral("Passwort stimmt nicht überein.");

struct UserRow {
    QString user, password, band;
    bool userNull = false, passwordNull = false;
    bool operator==(const UserRow& other) const {
        return user == other.user && password == other.password && band == other.band &&
               userNull == other.userNull && passwordNull == other.passwordNull;
    }
};
std::ostream& operator<<(std::ostream& out, const UserRow& row) {
    return out << (row.userNull ? "null" : row.user.toStdString()) << "/"
               << (row.passwordNull ? "null" : row.password.toStdString()) << "/"
               << row.band.toStdString();
}

QList<UserRow> userRows(CDatabase& db) {
    QList<UserRow> rows;
    CSetUser set(db);
    for (set.open(); !set.atEnd(); set.moveNext())
        rows.append({set.getText("Benutzer"), set.getText("Passwort"), set.getText("Band"),
                     set.isNull("Benutzer"), set.isNull("Passwort")});
    return rows;
}

void addUser(CDatabase& db, const QString& user, const QString& password) {
    CSetUser set(db);
    set.open();
    set.addNew();
    set.setText("Benutzer", user);
    set.setText("Passwort", password);
    set.setText("Band", QStringLiteral("Kapelle"));
    set.update();
}

// Types into a password field of an open dialog and presses "&OK".
void typeAndOk(QDialog& dialog, std::initializer_list<std::pair<const char*, QString>> fields) {
    for (const auto& [label, text] : fields)
        FormTest::type(dialog, label, text, true);
    FormTest::click(dialog, "&OK");
}

// ---- the login form ------------------------------------------------------------------------

class LoginFormTest : public ::testing::Test {
protected:
    int login(const QString& user, const QString& password) {
        CLoginDlg form(database.db());
        form.show();
        FormTest::type(form, "Benutzername", user);
        FormTest::type(form, "Passwort", password);
        typedPassword = field(form, "Passwort")->text();
        FormTest::click(form, "&OK");
        typed = form.credentials();
        // A refused entry keeps the form open for another try.
        return form.isVisible() ? int(QDialog::Rejected) : form.result();
    }

    TestDatabase database;
    MessageRecorder messages;
    QString typedPassword;
    Credentials typed;
};

TEST_F(LoginFormTest, NameAndPasswordAreTrimmedAndThePasswordIsLowerCase) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    CLoginDlg form(database.db());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vorlanto 2.0"));
    EXPECT_EQ(field(form, "Passwort")->echoMode(), QLineEdit::Password);

    EXPECT_EQ(login(QStringLiteral("  chef "), QStringLiteral("  demo  ")), QDialog::Accepted);
    EXPECT_EQ(typed.user, QStringLiteral("chef"));
    EXPECT_EQ(typed.password, QStringLiteral("demo"));

    EXPECT_EQ(login(QStringLiteral("chef"), QStringLiteral("DeMO")), QDialog::Accepted);
    EXPECT_EQ(typedPassword, QStringLiteral("demo"));

    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(LoginFormTest, AWrongEntryGetsTwoMoreTriesThenTheFormIsRefused) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    const QString again = QStringLiteral(
        "Benutzername oder Passwort sind nicht richtig. Bitte versuchen Sie es noch einmal.");
    {
        // Wrong twice, right the third time.
        CLoginDlg form(database.db());
        form.show();
        typeAndOk(form,
                  {{"Benutzername", QStringLiteral("chef")}, {"Passwort", QStringLiteral("dem")}});
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(field(form, "Passwort")->text().isEmpty());
        EXPECT_EQ(field(form, "Benutzername")->text(), QStringLiteral("chef"));
        typeAndOk(form,
                  {{"Benutzername", QStringLiteral("otto")}, {"Passwort", QStringLiteral("demo")}});
        EXPECT_TRUE(form.isVisible());
        typeAndOk(form,
                  {{"Benutzername", QStringLiteral("chef")}, {"Passwort", QStringLiteral("demo")}});
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(messages.texts(), QStringList(2, again));
    }
    messages.clear();
    {
        CLoginDlg form(database.db());
        form.show();
        for (int attempt = 0; attempt < CLoginDlg::kTries; ++attempt)
            typeAndOk(form, {{"Passwort", QString()}});
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(messages.texts(), QStringList(CLoginDlg::kTries - 1, again));
    }
}

TEST_F(LoginFormTest, QuotesAndBracketsAreComparedAsTextAndNeverWidenTheCheck) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    addUser(database.db(), QStringLiteral("o'neil"), QStringLiteral("a\"b];c"));
    for (const char* password : {"x\" OR \"1\"=\"1", "\" OR [Passwort] Is Not Null OR \"", "demo\"",
                                 "demo]", "demo;", "demo'"}) {
        SCOPED_TRACE(password);
        EXPECT_EQ(login(QStringLiteral("chef"), QString::fromUtf8(password)), QDialog::Rejected);
    }
    EXPECT_EQ(login(QStringLiteral("chef\" OR \"1\"=\"1"), QStringLiteral("demo")),
              QDialog::Rejected);
    // Such characters are just as good in a password as any other.
    EXPECT_EQ(login(QStringLiteral("o'neil"), QStringLiteral("a\"b];c")), QDialog::Accepted);
    // Each refusal only asked for another try.
    EXPECT_EQ(messages.texts().size(), 7);
    for (const QString& text : messages.texts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("Benutzername oder Passwort")))
            << text.toStdString();
}

// ---- the password change --------------------------------------------------------------------

class PasswordFormTest : public ::testing::Test {
protected:
    // Runs "Passwort ändern" as the menu does; `act` works on the open form.
    int change(std::function<void(QDialog&)> act) {
        FormTest::onNextModal(std::move(act));
        return CPasswortDlg::changePassword(database.db(), current);
    }

    TestDatabase database;
    MessageRecorder messages;
    Credentials current{QStringLiteral("chef"), QStringLiteral("demo")};
};

TEST_F(PasswordFormTest, WrongOldPasswordIsRefusedAndNothingIsWritten) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    // The old password is compared as typed: upper case is not the same.
    for (const char* old : {"falsch", "DEMO", ""}) {
        messages.clear();
        EXPECT_EQ(change([&](QDialog& form) {
                      EXPECT_EQ(form.windowTitle(), QStringLiteral("Passwort ändern"));
                      typeAndOk(form, {{"Altes Passwort", QString::fromUtf8(old)},
                                       {"Neues Passwort", QStringLiteral("neu")}});
                  }),
                  QDialog::Rejected);
        EXPECT_EQ(messages.texts(), QStringList{kNotAllowed});
        EXPECT_EQ(messages.messages().first().icon, MessageService::Icon::Stop);
    }
    EXPECT_EQ(current.password, QStringLiteral("demo"));
    EXPECT_EQ(userRows(database.db()),
              (QList<UserRow>{{QStringLiteral("chef"), QStringLiteral("demo"), "Kapelle"}}));
}

TEST_F(PasswordFormTest, MismatchedConfirmationKeepsTheFormOpen) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    EXPECT_EQ(change([&](QDialog& form) {
                  FormTest::onNextModal([](QDialog& confirm) {
                      EXPECT_EQ(confirm.windowTitle(), QStringLiteral("Sicherheitsabfrage"));
                      typeAndOk(confirm, {{"Neues Passwort", QStringLiteral("anders")}});
                  });
                  typeAndOk(form, {{"Altes Passwort", QStringLiteral(" demo ")},
                                   {"Neues Passwort", QStringLiteral("neu")}});
                  EXPECT_TRUE(form.isVisible());
                  EXPECT_EQ(messages.texts(), QStringList{kMismatch});
                  // Cancelling the confirmation also leaves the form open.
                  FormTest::onNextModal(
                      [](QDialog& confirm) { FormTest::click(confirm, "&Abbrechen"); });
                  FormTest::click(form, "&OK");
                  EXPECT_TRUE(form.isVisible());
                  FormTest::click(form, "&Abbrechen");
              }),
              QDialog::Rejected);
    EXPECT_EQ(messages.texts(), QStringList{kMismatch});
    EXPECT_EQ(current.password, QStringLiteral("demo"));
    EXPECT_EQ(userRows(database.db()),
              (QList<UserRow>{{QStringLiteral("chef"), QStringLiteral("demo"), "Kapelle"}}));
}

TEST_F(PasswordFormTest, ConfirmedPasswordIsStoredInLowerCase) {
    addUser(database.db(), QStringLiteral("chef"), QStringLiteral("demo"));
    addUser(database.db(), QStringLiteral("otto"), QStringLiteral("demo"));
    EXPECT_EQ(change([&](QDialog& form) {
                  FormTest::onNextModal([](QDialog& confirm) {
                      typeAndOk(confirm, {{"Neues Passwort", QStringLiteral("  NEU  ")}});
                  });
                  typeAndOk(form, {{"Altes Passwort", QStringLiteral("demo")},
                                   {"Neues Passwort", QStringLiteral("Neu ")}});
              }),
              QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{kChanged});
    EXPECT_EQ(messages.messages().first().icon, MessageService::Icon::Information);
    EXPECT_EQ(current.password, QStringLiteral("neu"));
    // Only the current user's row changes.
    EXPECT_EQ(userRows(database.db()),
              (QList<UserRow>{{QStringLiteral("chef"), QStringLiteral("neu"), "Kapelle"},
                              {QStringLiteral("otto"), QStringLiteral("demo"), "Kapelle"}}));
}

TEST_F(PasswordFormTest, WithoutAMatchingRowNothingChangesAndTheUserIsTold) {
    addUser(database.db(), QStringLiteral("otto"), QStringLiteral("demo"));
    EXPECT_EQ(change([&](QDialog& form) {
                  FormTest::onNextModal([](QDialog& confirm) {
                      typeAndOk(confirm, {{"Neues Passwort", QStringLiteral("neu")}});
                  });
                  typeAndOk(form, {{"Altes Passwort", QStringLiteral("demo")},
                                   {"Neues Passwort", QStringLiteral("neu")}});
              }),
              QDialog::Rejected);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().startsWith(
        QStringLiteral("Das Passwort konnte nicht geändert werden")))
        << messages.texts().first().toStdString();
    EXPECT_FALSE(messages.texts().contains(kChanged));
    EXPECT_EQ(current.password, QStringLiteral("demo"));
    EXPECT_EQ(userRows(database.db()),
              (QList<UserRow>{{QStringLiteral("otto"), QStringLiteral("demo"), "Kapelle"}}));
}

TEST_F(PasswordFormTest, FirstPasswordWithoutAnyUserRowCreatesIt) {
    current = {};
    EXPECT_EQ(change([&](QDialog& form) {
                  FormTest::onNextModal([](QDialog& confirm) {
                      typeAndOk(confirm, {{"Neues Passwort", QStringLiteral("erst")}});
                  });
                  typeAndOk(form, {{"Neues Passwort", QStringLiteral("erst")}});
              }),
              QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{kChanged});
    const QList<UserRow> rows = userRows(database.db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().userNull);
    EXPECT_EQ(rows.first().password, QStringLiteral("erst"));
    EXPECT_TRUE(Credentials::loginRequired(database.db()));
    EXPECT_TRUE(Credentials::match(database.db(), QString(), QStringLiteral("erst")));
}

// ---- the user data form ---------------------------------------------------------------------

TEST(UserDataFormTest, StoringIntoAnEmptyTableCreatesTheRowAndKeepsTheLogin) {
    TestDatabase database;
    MessageRecorder messages;
    {
        CBenutzerDlg form(database.db());
        ASSERT_TRUE(form.isReady());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Benutzerdaten"));
        auto* kind = field<QComboBox>(form, "Art der Besetzung");
        EXPECT_TRUE(kind->isEditable());
        EXPECT_EQ(kind->count(), 6);
        EXPECT_EQ(kind->itemText(0), QStringLiteral("Alleinunterhalter"));
        form.show();
        FormTest::type(form, "Bandname", QStringLiteral("Die Kraniche"));
        kind->setCurrentText(QStringLiteral("Tanzband"));
        FormTest::type(form, "Name", QStringLiteral("Brandl"));
        FormTest::type(form, "PLZ/Ort", QStringLiteral("84187"));
        form.findChild<QLineEdit*>(QStringLiteral("editOrt"))
            ->setText(QStringLiteral("Kranichtal"));
        FormTest::type(form, "EMail", QStringLiteral("post@kraniche.example"));
        // Cancel stays with what was typed; yes stores and closes.
        messages.queueAnswer(Answer::Cancel);
        FormTest::click(form, "&Ende");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(userRows(database.db()).isEmpty());
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    QList<UserRow> rows = userRows(database.db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first(), (UserRow{QString(), QString(), "Die Kraniche", true, true}));
    const UserProfile profile = UserProfile::load(database.db());
    EXPECT_EQ(profile.band, QStringLiteral("Die Kraniche"));
    EXPECT_EQ(profile.lineUpKind, QStringLiteral("Tanzband"));
    EXPECT_EQ(profile.name, QStringLiteral("Brandl"));
    EXPECT_EQ(profile.postcode, QStringLiteral("84187"));
    EXPECT_EQ(profile.town, QStringLiteral("Kranichtal"));
    EXPECT_EQ(profile.email, QStringLiteral("post@kraniche.example"));
    // A row made by the form has no name and password: that is the empty login.
    EXPECT_FALSE(Credentials::loginRequired(database.db()));
    EXPECT_TRUE(Credentials::match(database.db(), QString(), QString()));

    // The form opens with the stored row; saving it again keeps the login of a row.
    database.exec("UPDATE User SET Benutzer='chef', Passwort='demo'");
    {
        CBenutzerDlg form(database.db());
        EXPECT_EQ(field(form, "Bandname")->text(), QStringLiteral("Die Kraniche"));
        EXPECT_EQ(field<QComboBox>(form, "Art der Besetzung")->currentText(),
                  QStringLiteral("Tanzband"));
        form.show();
        FormTest::type(form, "Bandname", QStringLiteral("Neue Kraniche"), true);
        messages.queueAnswer(Answer::No);
        FormTest::click(form, "&Ende");
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(userRows(database.db()).first().band, QStringLiteral("Die Kraniche"));
    {
        CBenutzerDlg form(database.db());
        form.show();
        FormTest::type(form, "Bandname", QStringLiteral("Neue Kraniche"), true);
        messages.queueAnswer(Answer::Yes);
        FormTest::click(form, "&Ende");
    }
    EXPECT_EQ(userRows(database.db()),
              (QList<UserRow>{{QStringLiteral("chef"), QStringLiteral("demo"), "Neue Kraniche"}}));
}

// ---- start-up -------------------------------------------------------------------------------

class UserStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cwd.ok());
        createProgramDirectory(dir.path());
    }
    // Changes the database before the program starts.
    template <class Change> void beforeStart(Change change) {
        CDatabase db;
        db.open(QDir(dir.path()).filePath(QStringLiteral("Kavio.mde")));
        change(db);
        db.close();
    }
    // Whether a modal dialog opened during the start; it is closed.
    bool startShowsNoDialog(CKavioApp& app) {
        bool seen = false;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = true;
                qobject_cast<QDialog*>(modal)->reject();
            }
        });
        guard.start(20);
        EXPECT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();
        // Reminders come once the window has been painted.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !StartupProbe::pending(app.mainFrame()); }));
        return !seen;
    }

    QTemporaryDir dir;
    WorkingDirectory cwd{dir.path()};
    MessageRecorder messages;
};

TEST_F(UserStartupTest, WithoutPasswordTheProgramStartsUnasked) {
    beforeStart([](CDatabase& db) { addUser(db, QStringLiteral("chef"), QString()); });
    CKavioApp app;
    EXPECT_TRUE(startShowsNoDialog(app));
    ASSERT_NE(app.mainFrame(), nullptr);
    EXPECT_EQ(app.credentials().user, QStringLiteral("chef"));
    EXPECT_EQ(app.credentials().password, QString());
    EXPECT_EQ(app.userProfile().band, QStringLiteral("Kapelle"));
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(UserStartupTest, RefusedLoginSaysGoodbyeAndEndsTheProgram) {
    beforeStart([](CDatabase& db) { addUser(db, QStringLiteral("chef"), QStringLiteral("demo")); });
    CKavioApp app;
    bool asked = false;
    FormTest::onNextModal([&](QDialog& login) {
        asked = qobject_cast<CLoginDlg*>(&login) != nullptr;
        for (int attempt = 0; attempt < CLoginDlg::kTries; ++attempt)
            typeAndOk(login, {{"Benutzername", QStringLiteral("chef")},
                              {"Passwort", QStringLiteral("x\" OR \"1\"=\"1")}});
    });
    EXPECT_FALSE(app.initInstance());
    EXPECT_TRUE(asked);
    EXPECT_EQ(app.mainFrame(), nullptr);
    ASSERT_EQ(messages.texts().size(), CLoginDlg::kTries);
    EXPECT_EQ(messages.texts().last(), kRefused);
}

TEST_F(UserStartupTest, PasswordSetOnANewDatabaseIsAskedForAtTheNextStart) {
    {
        CKavioApp app;
        EXPECT_TRUE(startShowsNoDialog(app));
        CMainFrame* frame = app.mainFrame();
        ASSERT_NE(frame, nullptr);
        // The band's data first: the row has no name and no password.
        FormTest::onNextModal([&](QDialog& form) {
            FormTest::type(form, "Bandname", QStringLiteral("Die Kraniche"));
            messages.queueAnswer(Answer::Yes);
            FormTest::click(form, "&Ende");
        });
        frame->mainMenu()->action(CMainMenu::UserData)->trigger();
        // The reports print what was just stored.
        EXPECT_EQ(app.userProfile().band, QStringLiteral("Die Kraniche"));
        messages.clear();

        QAction* changePassword = frame->mainMenu()->action(CMainMenu::ChangePassword);
        ASSERT_NE(changePassword, nullptr);
        EXPECT_EQ(changePassword->text(), QStringLiteral("&Passwort ändern..."));
        EXPECT_EQ(changePassword->statusTip(), QStringLiteral("Änderung des Passworts"));
        FormTest::onNextModal([&](QDialog& form) {
            FormTest::onNextModal([](QDialog& confirm) {
                typeAndOk(confirm, {{"Neues Passwort", QStringLiteral("geheim")}});
            });
            typeAndOk(form, {{"Neues Passwort", QStringLiteral("geheim")}});
        });
        changePassword->trigger();
        EXPECT_EQ(messages.texts(), QStringList{kChanged});
        EXPECT_EQ(app.credentials().password, QStringLiteral("geheim"));
        EXPECT_EQ(userRows(app.database()),
                  (QList<UserRow>{{QString(), QStringLiteral("geheim"), "Die Kraniche", true}}));
        app.exitInstance();
    }
    messages.clear();
    CKavioApp app;
    bool asked = false;
    FormTest::onNextModal([&](QDialog& login) {
        asked = qobject_cast<CLoginDlg*>(&login) != nullptr;
        typeAndOk(login, {{"Passwort", QStringLiteral(" GEHEIM ")}});
    });
    ASSERT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(asked);
    EXPECT_EQ(app.credentials().password, QStringLiteral("geheim"));
    EXPECT_EQ(app.userProfile().band, QStringLiteral("Die Kraniche"));
}

TEST_F(UserStartupTest, DueBirthdayIsShownOnceTheMainWindowIsThere) {
    beforeStart([](CDatabase& db) {
        CSetStammMusiker musician(db);
        musician.open();
        musician.addNew();
        musician.setText("MName", QStringLiteral("Huber"));
        musician.setText("MVorname", QStringLiteral("Anna"));
        musician.setDate("MGeb",
                         QDateTime(QDate::currentDate().addYears(-40), QTime(0, 0), Qt::UTC));
        musician.update();
    });
    {
        CKavioApp app;
        bool shown = false;
        FormTest::onNextModal([&](QDialog& reminder) {
            shown = qobject_cast<CGeburtstagDlg*>(&reminder) != nullptr;
            EXPECT_TRUE(app.mainFrame() && app.mainFrame()->isVisible());
            auto* list = reminder.findChild<QTreeWidget*>();
            ASSERT_EQ(list->topLevelItemCount(), 1);
            EXPECT_EQ(list->topLevelItem(0)->text(CGeburtstagDlg::ColName),
                      QStringLiteral("Huber, Anna"));
            EXPECT_EQ(list->topLevelItem(0)->text(CGeburtstagDlg::ColAge), QStringLiteral("40"));
            FormTest::click(reminder, "&Ende");
        });
        ASSERT_TRUE(app.initInstance());
        // The reminder waits until the main window has been painted.
        EXPECT_FALSE(shown);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }));
        // Switched off, the start is quiet; the menu still shows the list.
        ASSERT_TRUE(app.profile().writeText(QStringLiteral("OPTIONS"),
                                            QStringLiteral("BirthReminder"),
                                            QStringLiteral("0, 14, 14")));
        QAction* reminder = app.mainFrame()->mainMenu()->action(CMainMenu::BirthdayReminder);
        EXPECT_TRUE(reminder->isEnabled());
        EXPECT_TRUE(app.mainFrame()->mainMenu()->action(CMainMenu::ReminderOption)->isEnabled());
        bool listed = false;
        FormTest::onNextModal([&](QDialog& form) {
            listed = form.findChild<QTreeWidget*>()->topLevelItemCount() == 1;
            FormTest::click(form, "&Ende");
        });
        reminder->trigger();
        EXPECT_TRUE(listed);
    }
    CKavioApp app;
    EXPECT_TRUE(startShowsNoDialog(app));
}

} // namespace
