#pragma once

#include <QStringList>

// vorlanto-tool ics VERZEICHNIS [--from TT.MM.JJJJ --to TT.MM.JJJJ]
//     [--musician ID|--technician ID|--backliner ID] --out DATEI
int runIcsCommand(const QStringList& args);
