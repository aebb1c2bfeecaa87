#pragma once

#include <QStringList>

// vorlanto-tool ics VERZEICHNIS [--from TT.MM.JJJJ --to TT.MM.JJJJ]
//     [--musician ID|--technician ID|--backliner ID] --out DATEI
int runIcsCommand(const QStringList& args);

// vorlanto-tool csv export VERZEICHNIS --table songs|musicians|firms DATEI
// vorlanto-tool csv import VERZEICHNIS --table songs|musicians|firms DATEI [--dry-run]
int runCsvCommand(const QStringList& args);
