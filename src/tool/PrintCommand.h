#pragma once

// vorlanto-tool print DIR --report gig-update|setliste ... : renders a report of the program
// directory's database to a PDF file and/or its text dump, exactly as the preview shows it.
// Runs its own QGuiApplication on the offscreen platform (fonts need one).
int runPrintCommand(int argc, char* argv[]);
