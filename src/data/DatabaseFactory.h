#pragma once

#include <QString>

// Creates a new, empty database file with the whole schema and the placeholder event (key 0,
// venue "Standard") that holds the standard line-up. Refuses to overwrite an existing file;
// throws CDaoException. The file appears complete or not at all.
void createDatabase(const QString& path);

// Throws CDaoException when a file is at `path`: a new database never overwrites one.
void requireNoFile(const QString& path);
