// What another person saves on the band's server database reaches this program's change
// notifier within a second; what this program saves itself is not told back to it.
#include "core/OthersChanges.h"
#include "core/ChangeNotifier.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/ServerSchema.h"
#include "support/PgTestServer.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Topic = ChangeNotifier::Topic;

std::int32_t addEvent(CDatabase& db, const QString& place) {
    CSetEvent events(db);
    events.open(QStringLiteral("[EventID]=-1"));
    events.addNew();
    events.setText("EOrt", place);
    events.update();
    events.moveToBookmark(events.lastModified());
    return events.getLong("EventID");
}

// The notifications that arrive within the time, as (topic, key).
std::vector<std::pair<Topic, std::int32_t>> told(QSignalSpy& spy, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QTest::qWait(20);
    std::vector<std::pair<Topic, std::int32_t>> result;
    for (const QList<QVariant>& call : spy)
        result.emplace_back(call.at(0).value<Topic>(), call.at(1).toInt());
    spy.clear();
    return result;
}

TEST(OthersChangesTest, AnotherPersonsSaveReachesTheListsAndOwnSavesAreNotToldBack) {
    PgTestDatabase database;
    ASSERT_FALSE(database.uri().isEmpty());
    {
        PgConnection admin(database.uri().toStdString());
        for (const std::string& statement : ServerSchema::createStatements())
            admin.execute(statement);
    }
    CDatabase mine;
    mine.openServer(database.uri().toStdString());
    CDatabase theirs;
    theirs.openServer(database.uri().toStdString());
    OthersChanges watcher(mine);
    QSignalSpy spy(&ChangeNotifier::instance(), &ChangeNotifier::changed);

    // One save of theirs: the event with its line-up, in one transaction.
    std::int32_t event = 0;
    {
        CDbTransaction save(theirs);
        event = addEvent(theirs, QStringLiteral("Regen"));
        CSetEventBesetzung lineUp(theirs);
        lineUp.open(QStringLiteral("[EventID]=-1"));
        lineUp.addNew();
        lineUp.setLong("EventID", event);
        lineUp.setLong("MusikerID", 4);
        lineUp.update();
        save.commit();
    }
    const auto fromThem = told(spy, 1000);
    EXPECT_NE(std::find(fromThem.begin(), fromThem.end(), std::pair{Topic::Events, event}),
              fromThem.end());
    EXPECT_NE(std::find(fromThem.begin(), fromThem.end(), std::pair{Topic::Planning, event}),
              fromThem.end());
    // Each topic and row once, however many rows one save touched.
    EXPECT_EQ(std::count(fromThem.begin(), fromThem.end(), std::pair{Topic::Events, event}), 1);

    addEvent(mine, QStringLiteral("Straubing"));
    EXPECT_TRUE(told(spy, 500).empty());
}

TEST(OthersChangesTest, ADatabaseFileIsNotWatched) {
    TestDatabase file;
    OthersChanges watcher(file.db());
    QSignalSpy spy(&ChangeNotifier::instance(), &ChangeNotifier::changed);
    addEvent(file.db(), QStringLiteral("Landshut"));
    QTest::qWait(100);
    EXPECT_EQ(spy.count(), 0);
}

} // namespace
