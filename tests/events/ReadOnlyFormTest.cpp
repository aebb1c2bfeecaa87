// The event form on a database that may only be read (a program started beside a running one;
// a read-only login on the server works the same way), and on a server connection that breaks
// while the user types: one message, the input stays, and the next save after the server is
// back stores it.
#include "core/CProfileFile.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/OthersChanges.h"
#include "data/CDaoException.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/ServerAccess.h"
#include "data/ServerSchema.h"
#include "events/CEventDlg.h"
#include "masterdata/CHotelListeDlg.h"
#include "support/FormTestSupport.h"
#include "support/PgTestServer.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

using Answer = MessageService::Answer;

template <class Widget = QWidget> Widget* child(QWidget& form, const char* name) {
    auto* found = form.findChild<Widget*>(QLatin1String(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// What the user may still change on the shown form, as "kind:name" of each control.
QStringList editableControls(QWidget& form) {
    QStringList editable;
    for (QLineEdit* edit : form.findChildren<QLineEdit*>()) {
        if (edit->isEnabled() && !edit->isReadOnly() && !edit->objectName().isEmpty())
            editable << QStringLiteral("edit:") + edit->objectName();
    }
    for (QAbstractSpinBox* box : form.findChildren<QAbstractSpinBox*>()) {
        if (box->isEnabled() && !box->isReadOnly())
            editable << QStringLiteral("time:") + box->objectName();
    }
    for (QComboBox* box : form.findChildren<QComboBox*>()) {
        if (box->isEnabled())
            editable << QStringLiteral("list:") + box->objectName();
    }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        if (button->isEnabled() && button->isCheckable())
            editable << QStringLiteral("choice:") + button->objectName();
    }
    return editable;
}

// A person working on a band database on the server.
class ServerFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.uri().isEmpty());
        PgConnection admin(server.uri().toStdString());
        for (const std::string& statement : ServerSchema::createStatements())
            admin.execute(statement);
        for (const std::string& statement :
             ServerSchema::accessStatements(server.name().toStdString()))
            admin.execute(statement);
        ServerAccess::addPerson(admin, writer, QStringLiteral("Schreib123"), false);
        CDatabase band;
        band.openServer(server.uri().toStdString());
        fillDemoData(band);
    }
    void TearDown() override {
        // Login roles live beside the database; the test's goes with it.
        PgTestServer::query(PgTestServer::uri(),
                            QStringLiteral("DROP ROLE IF EXISTS \"%1\"").arg(writer));
    }
    void open(CDatabase& db) {
        db.openServer(server.uri().toStdString(), writer, QStringLiteral("Schreib123"));
    }
    // Runs SQL as the server's superuser.
    void asAdmin(const QString& sql) { PgTestServer::query(server.uri(), sql); }
    // Ends the writer's connections; with `keepOut` the writer cannot log in again.
    void dropWriter(bool keepOut) {
        if (keepOut)
            asAdmin(QStringLiteral("ALTER ROLE \"%1\" NOLOGIN").arg(writer));
        asAdmin(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "usename = '%1'")
                    .arg(writer));
    }
    QString storedLocation(std::int32_t event) {
        return PgTestServer::query(server.uri(),
                                   QStringLiteral("SELECT \"ELocation\" FROM \"T_Event\" WHERE "
                                                  "\"EventID\" = %1")
                                       .arg(event))
            .value(0);
    }
    int lossMessages() const {
        return int(messages.texts().count(CDaoException::connectionLostText()));
    }

    PgTestDatabase server;
    const QString writer = server.name() + QStringLiteral("_schreiber");
    QTemporaryDir dir;
    CProfileFile profile{dir.path() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(ServerFormTest, ALostConnectionIsToldOnceAndTheInputIsSavedOnceTheServerIsBack) {
    CDatabase db;
    open(db);
    OthersChanges others(db);
    CEventDlg form(db, profile, 1);
    form.show();
    FormTest::type(form, "Location", QStringLiteral("Stadthalle Nord"), true);

    // The server ends the connection and keeps the person out for a while.
    dropWriter(true);
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(lossMessages(), 1);
    // Every further try fails the same way and says nothing more: saving, reading a list,
    // the tellings of others' changes.
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    for (int refresh = 0; refresh < 3; ++refresh) {
        try {
            CSetEvent events(db);
            events.open();
            ADD_FAILURE() << "a list was read without a connection";
        } catch (const CDaoException& error) {
            EXPECT_EQ(error.code(), CDaoException::ConnectionLost);
            MessageService::stop(nullptr, error.description());
        }
    }
    QTest::qWait(50);
    EXPECT_EQ(lossMessages(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(db.connectionLost());
    // The form still holds what was typed.
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "editLocation")->text(), QStringLiteral("Stadthalle Nord"));
    EXPECT_NE(storedLocation(1), QStringLiteral("Stadthalle Nord"));

    // Back again: the next save connects anew and stores the input.
    asAdmin(QStringLiteral("ALTER ROLE \"%1\" LOGIN").arg(writer));
    messages.queueAnswer(Answer::Yes);
    FormTest::click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(db.connectionLost());
    EXPECT_EQ(storedLocation(1), QStringLiteral("Stadthalle Nord"));
    // What others save is told again on the new connection.
    QSignalSpy told(&ChangeNotifier::instance(), &ChangeNotifier::changed);
    asAdmin(QStringLiteral("UPDATE \"T_Event\" SET \"EOrt\" = 'Bonn' WHERE \"EventID\" = 2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 8000));

    // A later loss is a new one and is told again; the server being there, the next statement
    // works at once.
    dropWriter(false);
    try {
        CSetEvent events(db);
        events.open();
        ADD_FAILURE() << "the ended connection was used";
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
    }
    EXPECT_EQ(lossMessages(), 2);
    CSetEvent events(db);
    events.open(QStringLiteral("[EventID]=1"));
    EXPECT_EQ(events.getText("ELocation"), QStringLiteral("Stadthalle Nord"));
}

TEST(ReadOnlySessionTest, AProgramBesideARunningOneShowsItsFormsReadOnly) {
    TestDatabase database;
    fillDemoData(database.db());
    CProfileFile profile(database.dir() + QStringLiteral("/Kavio.ini"));
    MessageRecorder messages;
    {
        // Before: the fields and choices of the event take input.
        CEventDlg editable(database.db(), profile, 1);
        editable.show();
        const QStringList controls = editableControls(editable);
        for (const char* control :
             {"edit:editLocation", "edit:editGage", "list:listVeranstalter", "choice:radioGebucht"})
            EXPECT_TRUE(controls.contains(QLatin1String(control))) << control;
    }
    database.db().setReadOnlySession();
    EXPECT_TRUE(database.db().isReadOnly());

    CEventDlg form(database.db(), profile, 1);
    form.show();
    EXPECT_FALSE(child<QLineEdit>(form, "editLocation")->text().isEmpty());
    EXPECT_EQ(editableControls(form), QStringList());
    EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral(" (schreibgeschützt)")));
    // "Ende" closes without asking, even when the program itself changed a field.
    child<QLineEdit>(form, "editLocation")->setText(QStringLiteral("Anderswo"));
    child<QLineEdit>(form, "editLocation")->setModified(true);
    FormTest::click(form, "&Ende");
    EXPECT_FALSE(form.isVisible());

    // A list of master data: its rows open, nothing is added or deleted.
    CHotelListeDlg hotels(database.db(), profile);
    hotels.show();
    for (QAbstractButton* button : hotels.findChildren<QAbstractButton*>()) {
        const QString caption = button->text().remove(u'&');
        if (caption.startsWith(QStringLiteral("Neue")) ||
            caption.contains(QStringLiteral("lösch"))) {
            EXPECT_FALSE(button->isEnabled()) << caption.toStdString();
        } else if (caption == QStringLiteral("Ende")) {
            EXPECT_TRUE(button->isEnabled());
        }
    }
    // The engine refuses a write too.
    try {
        database.db().execute("UPDATE T_Event SET ELocation = 'Anderswo' WHERE EventID = 1");
        ADD_FAILURE() << "the read-only session wrote";
    } catch (const CDaoException&) {
    }
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

} // namespace
