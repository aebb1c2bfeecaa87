#include "TestDatabase.h"

#include "data/DatabaseFactory.h"

#include <gtest/gtest.h>
#include <string>

TestDatabase::TestDatabase() {
    createDatabase(databasePath());
    m_db.open(databasePath());
}

QString TestDatabase::databasePath() const {
    return m_dir.filePath(QStringLiteral("Kavio.mde"));
}

void TestDatabase::exec(const char* sql) {
    m_db.execute(sql);
}

int TestDatabase::count(const char* source, const char* where) {
    std::string sql = std::string("SELECT count(*) FROM \"") + source + "\"";
    if (where)
        sql += std::string(" WHERE ") + where;
    return m_db.queryText(sql).toInt();
}
