#pragma once

#include "data/CDatabase.h"

#include <QString>
#include <QTemporaryDir>

// A fresh temporary program directory holding a new, empty Kavio.mde, opened.
class TestDatabase {
public:
    TestDatabase();
    CDatabase& db() { return m_db; }
    QString dir() const { return m_dir.path(); }
    QString databasePath() const;
    // Runs SQL directly on the file's connection, bypassing the record sets.
    void exec(const char* sql);
    // Count of rows of a table or query, optionally with a raw SQLite WHERE clause.
    int count(const char* source, const char* where = nullptr);

private:
    QTemporaryDir m_dir;
    CDatabase m_db;
};
