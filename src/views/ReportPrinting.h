#pragma once

#include "reports/PageMetrics.h"
#include "reports/RecordedPage.h"

#include <QDate>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// Printing recorded pages: the printer the program prints on, its page metrics, and the print
// flow (print dialog, then the chosen pages).
namespace ReportPrinting {

// Renders a report's pages for the page metrics of the device they are meant for.
using Renderer = std::function<Report::Document(const PageMetrics&)>;

// The printer the program prints on ("Druckereinrichtung..." sets it up); the main window
// hands it over at start. Without one, printing uses a printer of its own.
void setPrinter(QPrinter* printer);
QPrinter* printer();

// The page metrics of a real printer; the A4 / 300 dpi defaults without one, or when the
// printer only writes a file.
PageMetrics metricsOf(const QPrinter* printer);

enum class Result { Printed, Cancelled, Failed };
// Shows the print dialog with the page range 1 to pageCount, renders the pages for the chosen
// printer and prints the chosen ones. When the job cannot be started and `reportFailure` is
// set, says "Der Druckauftrag konnte nicht gestartet werden.".
Result print(QWidget* parent, const Renderer& render, int pageCount, bool reportFailure);
// Prints the chosen pages of a rendered document on the printer as it is set up.
bool printPages(QPrinter& printer, const Report::Document& document, int from, int to);

// "Gig-Update_2024-06-21.pdf".
QString suggestedPdfName(const QString& title, const QDate& day);

} // namespace ReportPrinting
