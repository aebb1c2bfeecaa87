#pragma once

#include <QString>

// Creates a program directory ready to start: a new database (Kavio.mde) with the full schema,
// and the three pictures. Writes no Kavio.ini: every setting starts at its default. The folder
// is created when missing; an existing Kavio.mde is never overwritten. Throws CDaoException.
void createProgramDirectory(const QString& directory);
