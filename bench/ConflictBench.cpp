// The double-booking check of one event against 10,000 others: the line-up check that runs
// when a line-up of five musicians is saved. Prints the median time of one check as
// "figure conflict_check_10k_ms <ms>".
#include "core/Conflicts.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "tool/DemoData.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kavio.mde"));
    createDatabase(path);
    CDatabase db;
    db.open(path);
    generateEvents(db, 10000);
    // Twenty musicians, five of them in each line-up; ten vehicles, one per transport.
    db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) "
               "INSERT INTO T_Stamm_Musiker (MusikerID, MName) SELECT 1000 + i, 'M' || i FROM n");
    db.execute("INSERT INTO T_Event_Besetzung (EventID, MusikerID) SELECT e.EventID, 1000 + "
               "m.i FROM T_Event AS e, (SELECT 1 AS i UNION SELECT 4 UNION SELECT 7 UNION SELECT "
               "11 UNION SELECT 16) AS m WHERE e.EventID > 0 AND e.EventID NOT IN (SELECT EventID "
               "FROM T_Event_Besetzung)");
    db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
               "INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, Kennzeichen) SELECT 2000 + i, 'K' "
               "|| i FROM n");
    db.execute("INSERT OR IGNORE INTO T_Event_Transport (EventID, VerleiherID, KfzID) SELECT "
               "EventID, 1, 2000 + EventID % 10 FROM T_Event WHERE EventID > 0");
    const std::int32_t event =
        db.queryText("SELECT EventID FROM T_Event WHERE EventID > 0 ORDER BY EBeginn LIMIT 1 "
                     "OFFSET 5000")
            .toInt();
    const QList<std::int32_t> lineUp{1001, 1004, 1007, 1011, 1016};

    std::vector<double> times;
    std::size_t found = 0;
    for (int run = 0; run < 61; ++run) {
        const auto start = std::chrono::steady_clock::now();
        found += Conflicts::musicians(db, event, lineUp).size();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("conflicts found per check: %zu\n", found / times.size());
    std::printf("figure conflict_check_10k_ms %.3f\n", times[times.size() / 2]);
    return 0;
}
