#pragma once

#include <QStringList>

// vorlanto-tool budget DIR --event ID [--inkl|--exkl] : prints the finance overview of one event,
// one line per figure, labelled as on the form "Finanzen". The VAT mode is that of the settings
// file unless an option chooses one. An unknown event is reported with exit code 1.
int runBudgetCommand(const QStringList& args);
