#include "CDatabase.h"
#include "Schema.h"

#include <algorithm>

namespace Schema {

const std::vector<UpgradeStep>& upgradeSteps() {
    static const std::vector<UpgradeStep> steps = {
        {1, calendarStatements()},
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
