#pragma once

#include <QString>
#include <QStringList>

class CDatabase;

// Creates a program directory ready to start: a new database (Kavio.mde) with the full schema,
// and the three pictures. Writes no Kavio.ini: every setting starts at its default. The folder
// is created when missing; an existing Kavio.mde is never overwritten. Throws CDaoException.
void createProgramDirectory(const QString& directory);

// Why the program cannot work with the open database of a program directory: the file or its
// folder is write-protected (every save would fail, the exit maintenance could not run). Empty
// when both are writable. The program and the tool refuse such a directory alike.
QString writeProtection(const CDatabase& db, const QString& directory);

// Removes the temporary copies that backups, restores and compactions stopped midway left in
// the program directory and its backup folder (see TemporaryCopy); gives their paths.
QStringList removeLeftoverCopies(const QString& directory);

// The connection URI of the server that keeps the directory's band database ([DATABASE]
// Server= in its Kavio.ini); empty when the database is the directory's own file.
QString serverOf(const QString& directory);
