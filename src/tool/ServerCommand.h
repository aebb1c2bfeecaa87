#pragma once

#include <QStringList>

// vorlanto-tool server DIR --to URI | --back | --add-user NAME [--read-only]
// Moves the directory's band database onto an empty PostgreSQL database and back, and adds the
// people who work on it. The password of a new person is read from the first line of standard
// input (empty: none). The server login of the command itself comes from libpq's own means.
int runServerCommand(const QStringList& args);
