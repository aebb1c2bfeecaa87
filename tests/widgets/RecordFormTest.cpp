// What every form of one row does alike, tested once: it holds no lock on the database while it
// is open, and it reads and writes its row by its key.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "data/CDatabase.h"
#include "events/CEventDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "support/TestDatabase.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class RecordFormTest : public ::testing::Test {
protected:
    RecordFormTest() : profile(QDir(database.dir()).filePath(QStringLiteral("Kavio.ini"))) {
        database.exec(
            "INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma) VALUES (7, 0, 'Kulturamt')");
        database.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName) VALUES (5, 'Huber')");
        database.exec("INSERT INTO T_Event (EventID, ELocation, VeranstalterID, EBeginn, EEnde) "
                      "VALUES (3, 'Rheinforum', 7, '2027-05-01 20:00:00', "
                      "'2027-05-01 23:00:00')");
    }

    // Another program writes to the file while the form is open: it must not wait for the form.
    void expectOthersCanWrite(const char* what) {
        CDatabase other;
        other.open(database.databasePath());
        EXPECT_NO_THROW(other.execute("UPDATE T_Event SET EArt = 'Konzert'; "
                                      "UPDATE T_Stamm_Musiker SET MOrt = 'Köln'; "
                                      "UPDATE T_Stamm_ExtFirma SET Ort = 'Bonn'"))
            << what;
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
};

TEST_F(RecordFormTest, OpenFormsLeaveTheDatabaseToOtherWriters) {
    {
        CEventDlg form(database.db(), profile, 3);
        ASSERT_TRUE(form.isReady());
        EXPECT_EQ(form.eventId(), 3);
        expectOthersCanWrite("event form");
    }
    {
        CExtFirmaDlg form(database.db(), profile, 0, 7);
        ASSERT_TRUE(form.isReady());
        expectOthersCanWrite("firm form");
    }
    {
        CMusikerDlg form(database.db(), profile, database.dir(), 5);
        ASSERT_TRUE(form.isReady());
        expectOthersCanWrite("musician form");
    }
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

} // namespace
