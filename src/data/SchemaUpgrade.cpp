#include "CDatabase.h"
#include "Schema.h"

#include <algorithm>

namespace Schema {

const std::vector<UpgradeStep>& upgradeSteps() {
    // The trigger that deletes an event's rows names every event table: it is made anew when a
    // step adds one.
    static const std::string eventTrigger = [] {
        for (const std::string& statement : createStatements()) {
            if (statement.rfind(R"(CREATE TRIGGER "T_Event_delete_dependents")", 0) == 0)
                return statement;
        }
        return std::string();
    }();
    static const std::vector<UpgradeStep> steps = {
        // 1 -> 2: when the GEMA music report of an event was printed, and the indexes of the
        // double-booking check. "IF NOT EXISTS": a file
        // of version 0 may already have it.
        {1,
         {"CREATE TABLE IF NOT EXISTS" +
              createTableStatement("T_Event_Gema", 2).substr(std::string("CREATE TABLE").size()),
          R"(DROP TRIGGER IF EXISTS "T_Event_delete_dependents")", eventTrigger,
          spanIndexStatements().at(0), spanIndexStatements().at(1)}},
        // 2 -> 3: the calendar identifier and the change counters of the exported events.
        {2, calendarStatements()},
        // 3 -> 4: events that owe no GEMA music report. The table is made anew with its rows,
        // which works whatever columns the old one had.
        {3,
         {R"(DROP TRIGGER IF EXISTS "T_Event_delete_dependents")",
          R"(ALTER TABLE "T_Event_Gema" RENAME TO "T_Event_Gema_alt")",
          createTableStatement("T_Event_Gema"),
          R"(INSERT INTO "T_Event_Gema" ("EventID", "GedrucktAm") )"
          R"(SELECT "EventID", "GedrucktAm" FROM "T_Event_Gema_alt")",
          R"(DROP TABLE "T_Event_Gema_alt")", eventTrigger}},
    };
    return steps;
}

void upgrade(CDatabase& db, int from) {
    upgrade(db, from, upgradeSteps(), kVersion);
}

void upgrade(CDatabase& db, int from, const std::vector<UpgradeStep>& steps, int to) {
    CDbTransaction transaction(db);
    const int current = std::max(from, db.queryText("PRAGMA user_version").toInt());
    if (current >= to)
        return;
    for (const UpgradeStep& step : steps) {
        if (step.from < current || step.from >= to)
            continue;
        for (const std::string& statement : step.statements)
            db.execute(statement);
    }
    db.execute("PRAGMA user_version = " + std::to_string(to));
    transaction.commit();
}

} // namespace Schema
