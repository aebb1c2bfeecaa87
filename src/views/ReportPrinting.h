#pragma once

#include "reports/PageMetrics.h"
#include "reports/RecordedPage.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>

class CDatabase;
class QPaintDevice;
class QPrinter;
class QWidget;

// Printing recorded pages: the printer the program prints on, its page metrics, and the print
// flow (print dialog, then the chosen pages).
namespace ReportPrinting {

// Renders a report's pages for the page metrics of the device they are meant for.
using Renderer = std::function<Report::Document(const PageMetrics&)>;

// The printer the program prints on ("Druckereinrichtung..." sets it up). The main window
// hands over where to get it at start; the printer itself is made when first asked for, since
// setting one up talks to the print system. Without a source, printing uses a printer of its
// own. A source is released only by its owner.
void setPrinterSource(const void* owner, std::function<QPrinter*()> source);
void releasePrinterSource(const void* owner);
QPrinter* printer();

// The page metrics of a real printer; the A4 / 300 dpi defaults without one, or when the
// printer only writes a file.
PageMetrics metricsOf(const QPrinter* printer);

enum class Result { Printed, Cancelled, Failed };
// Shows the print dialog with the page range 1 to pageCount, renders the pages for the chosen
// printer and prints the chosen ones. When the job cannot be started and `reportFailure` is
// set, says "Der Druckauftrag konnte nicht gestartet werden.".
Result print(QWidget* parent, const Renderer& render, int pageCount, bool reportFailure);
// Prints the chosen pages of a rendered document on the printer as it is set up. The printer
// draws on the whole sheet for the job and is back in its own page mode afterwards. When a page
// cannot be started the job is aborted, so that no part of it is sent.
bool printPages(QPrinter& printer, const Report::Document& document, int from, int to);

// What a print job needs of its device: the printer, or a stand-in in tests.
class JobDevice {
public:
    virtual ~JobDevice() = default;
    // Painted on with the sheet's corner as origin.
    virtual QPaintDevice& paintDevice() = 0;
    virtual int resolution() const = 0;
    virtual bool newPage() = 0;
    // Drops everything drawn so far instead of sending it.
    virtual void abort() = 0;
};
// The job's loop: the pages from..to (1-based, limited to the document), each on a new page.
// False when nothing was printed or a page failed; the job has then been aborted.
bool printPages(JobDevice& device, const Report::Document& document, int from, int to);

// Asks for the PDF file to write, starting from a suggested path; empty when cancelled.
using PdfChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
// The file dialog "Als PDF speichern" for PDF files.
QString choosePdfFile(QWidget* parent, const QString& suggested);
// The path with ".pdf" added when the user left the ending off.
QString withPdfEnding(const QString& path);
// The folder a PDF file is first offered in: the program folder, which is the working
// directory, as for the program's other documents.
QString pdfFolder();

// "Setliste_2026-12-12_Weihnachtsfeier.pdf": the title, the day and, if given, the event's kind,
// with blanks and the characters a file name cannot hold replaced by "_".
QString suggestedPdfName(const QString& title, const QDate& day, const QString& kind = QString());
// The name for a document of one event: its title, the day the event begins and its kind; today
// and no kind when the event cannot be read.
QString eventPdfName(CDatabase& db, const QString& title, std::int32_t eventId);

} // namespace ReportPrinting
