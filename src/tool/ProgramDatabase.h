#pragma once

#include <QString>

class CDatabase;

// The database of a program directory, as the tool's commands open it.
namespace ProgramDatabase {

// Opens DIR/Kavio.mde. When the directory has no database nothing is opened and the German
// message "Keine Datenbank gefunden: …" comes back; empty when the database is open.
QString open(CDatabase& db, const QString& directory);

} // namespace ProgramDatabase
