#pragma once

// vorlanto-tool overview DIR --year YYYY --pdf FILE : writes the year overview page (table and
// chart) of the program directory's database to a PDF file. The chart needs widgets, so the
// command runs its own QApplication on the offscreen platform.
int runOverviewCommand(int argc, char* argv[]);
