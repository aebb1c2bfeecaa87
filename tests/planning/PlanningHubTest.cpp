// The planning status of an event: the hub's icons before and after an area's status is
// written, what stored values read as, and the planning forms' status group with its question.
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "planning/CEventPlanDlg.h"
#include "planning/CPlanningStatusGroup.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/Pictures.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Answer = MessageService::Answer;

class PlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation, EEnde) "
                      "VALUES (12, 'Halle', '2024-06-21 01:30:00')");
    }
    // The icon of each area's button: r red, y yellow, g green.
    static QString colours(const CEventPlanDlg& hub) {
        QString shown;
        for (int area = 0; area < PlanningStatus::kPlanningAreas; ++area) {
            const QImage icon = hub.areaButton(area)->icon().pixmap(16, 16).toImage();
            QChar colour = u'?';
            for (int index = 0; index < 3; ++index) {
                if (icon == Pictures::statusIcon(index).pixmap(16, 16).toImage())
                    colour = QLatin1String("ryg").at(index);
            }
            shown += colour;
        }
        return shown;
    }
    QString stored(const char* columns) {
        return database.db().queryText(std::string("SELECT ") + columns +
                                       " FROM T_Event_Status WHERE EventID = 12");
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
};

TEST_F(PlanningTest, HubShowsEachAreasStatusAgainAfterItsFormCloses) {
    CEventPlanDlg hub(database.db(), profile, *PlanningContext::read(database.db(), 12));
    EXPECT_EQ(hub.findChild<QLineEdit*>(QStringLiteral("editEndeDatum"))->text() + u' ' +
                  hub.findChild<QLineEdit*>(QStringLiteral("editEndeZeit"))->text(),
              QStringLiteral("21.06.24 01:30"));
    EXPECT_EQ(colours(hub), QStringLiteral("rrrrrrrr"));
    EXPECT_EQ(PlanningStatus::read(database.db(), 12).planningImage(), 0);

    // The first status written creates the row; the other areas read as open.
    PlanningStatus::writeArea(database.db(), 12, "Stat_Plan_Nacht", 2);
    EXPECT_EQ(stored("quote(Stat_Plan_Besetzung)||Stat_Plan_Nacht"), QStringLiteral("NULL2"));
    // The overnight form opens and closes unchanged.
    QString opened;
    FormTest::onNextModal([&opened](QDialog& form) {
        opened = form.windowTitle();
        FormTest::click(form, "&Ende");
    });
    QTest::mouseClick(hub.areaButton(6), Qt::LeftButton);
    EXPECT_EQ(opened, QStringLiteral("Übernachtungen planen"));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(colours(hub), QStringLiteral("rrrrrrgr"));
    EXPECT_EQ(PlanningStatus::read(database.db(), 12).planningImage(), 1);

    // A stored 3 reads as open; a second area goes into the same row.
    database.exec("UPDATE T_Event_Status SET Stat_Plan_Besetzung = 3");
    PlanningStatus::writeArea(database.db(), 12, "Stat_Plan_PA", 1);
    EXPECT_EQ(database.count("T_Event_Status"), 1);
    hub.showStatusIcons();
    EXPECT_EQ(colours(hub), QStringLiteral("rrryrrgr"));
    EXPECT_EQ(PlanningStatus::readArea(database.db(), 12, "Stat_Plan_Besetzung"), 0);
    database.exec("UPDATE T_Event_Status SET Stat_Plan_PA = 0, Stat_Plan_Nacht = 0");
    EXPECT_EQ(PlanningStatus::read(database.db(), 12).planningImage(), 0);
}

TEST_F(PlanningTest, StatusGroupAsksOnlyWhenTheUserLeftTheStatusAlone) {
    const QString question = QStringLiteral("Ist die Planung PA Verleiher abgeschlossen?");
    const struct {
        const char* clicked; // nullptr: no radio button clicked
        bool planningSaved;
        Answer answer;
        const char* stored; // "": no status row written
    } cases[] = {
        {nullptr, true, Answer::Yes, "2"},      {nullptr, true, Answer::No, "1"},
        {nullptr, false, Answer::Yes, ""},      {"radioAbgeschlossen", false, Answer::No, "2"},
        {"radioOffen", true, Answer::Yes, "0"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.clicked ? each.clicked : "untouched") +
                     (each.planningSaved ? ", saved" : ""));
        database.exec("DELETE FROM T_Event_Status");
        database.exec("INSERT INTO T_Event_Status (EventID, Stat_Plan_PA) VALUES (13, 2)");
        CPlanningStatusGroup group;
        group.load(database.db(), 12, 3);
        group.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
        if (each.clicked)
            QTest::mouseClick(group.findChild<QRadioButton*>(QLatin1String(each.clicked)),
                              Qt::LeftButton);
        messages.clear();
        messages.queueAnswer(each.answer);
        EXPECT_TRUE(group.store(each.planningSaved));
        const bool asked = !each.clicked && each.planningSaved;
        EXPECT_EQ(messages.texts(), asked ? QStringList{question} : QStringList{});
        EXPECT_EQ(stored("Stat_Plan_PA"), QLatin1String(each.stored));
    }
}

} // namespace
