#include "ReportPrinting.h"

#include "core/MessageService.h"
#include "core/PlanningContext.h"
#include "data/CDaoException.h"
#include "exchange/CalendarExport.h"
#include "reports/PageRenderer.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>
#include <optional>

namespace ReportPrinting {

namespace {
const void* g_printerOwner = nullptr;
std::function<QPrinter*()> g_printerSource;
} // namespace

void setPrinterSource(const void* owner, std::function<QPrinter*()> source) {
    g_printerOwner = owner;
    g_printerSource = std::move(source);
}

void releasePrinterSource(const void* owner) {
    if (g_printerOwner != owner)
        return;
    g_printerOwner = nullptr;
    g_printerSource = nullptr;
}

QPrinter* printer() {
    return g_printerSource ? g_printerSource() : nullptr;
}

PageMetrics metricsOf(const QPrinter* printer) {
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat || !printer->isValid())
        return PageMetrics::defaults();
    return PageMetrics::fromLayout(printer->pageLayout(), printer->resolution(),
                                   printer->resolution());
}

namespace {

// The printer as the device of one job: it draws on the whole sheet while the job runs and
// gets its own page mode back at the end, so that later previews and prints are laid out with
// its margins again.
class PrinterJob : public JobDevice {
public:
    explicit PrinterJob(QPrinter& printer) : m_printer(printer), m_fullPage(printer.fullPage()) {
        m_printer.setFullPage(true);
    }
    ~PrinterJob() override { m_printer.setFullPage(m_fullPage); }
    PrinterJob(const PrinterJob&) = delete;
    PrinterJob& operator=(const PrinterJob&) = delete;

    QPaintDevice& paintDevice() override { return m_printer; }
    int resolution() const override { return m_printer.resolution(); }
    bool newPage() override { return m_printer.newPage(); }
    void abort() override { m_printer.abort(); }

private:
    QPrinter& m_printer;
    const bool m_fullPage;
};

} // namespace

bool printPages(JobDevice& device, const Report::Document& document, int from, int to) {
    from = std::max(1, from);
    to = std::min(document.pageCount(), to);
    QPainter painter;
    if (from > to || !painter.begin(&device.paintDevice()))
        return false;
    // The device's origin is the sheet's corner (full page).
    for (int number = from; number <= to; ++number) {
        if (number > from && !device.newPage()) {
            // What was drawn so far is not sent.
            device.abort();
            painter.end();
            return false;
        }
        Report::mapToDevice(painter, device.resolution(), device.resolution());
        Report::replay(painter, *document.pages[size_t(number - 1)]);
    }
    return painter.end();
}

bool printPages(QPrinter& printer, const Report::Document& document, int from, int to) {
    printer.setDocName(QStringLiteral("Vorlanto"));
    PrinterJob job(printer);
    return printPages(job, document, from, to);
}

Result print(QWidget* parent, const Renderer& render, int pageCount, bool reportFailure) {
    std::unique_ptr<QPrinter> own;
    QPrinter* target = printer();
    if (!target) {
        own = std::make_unique<QPrinter>();
        target = own.get();
    }
    target->setFromTo(1, std::max(1, pageCount));
    QPrintDialog dialog(target, parent);
    dialog.setMinMax(1, std::max(1, pageCount));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return Result::Cancelled;
    // The pages are laid out again for the printer chosen.
    const Report::Document document = render(metricsOf(target));
    int from = 1;
    int to = document.pageCount();
    if (target->printRange() == QPrinter::PageRange && target->fromPage() > 0) {
        from = target->fromPage();
        to = std::max(from, target->toPage());
    }
    if (printPages(*target, document, from, to))
        return Result::Printed;
    if (reportFailure)
        MessageService::stop(parent,
                             QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
    return Result::Failed;
}

QString choosePdfFile(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Als PDF speichern"), suggested,
                                        QStringLiteral("PDF-Dateien (*.pdf)"));
}

QString withPdfEnding(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return path;
    return path + QLatin1String(".pdf");
}

QString pdfFolder() {
    return QDir::currentPath();
}

QString suggestedPdfName(const QString& title, const QDate& day, const QString& kind) {
    QStringList parts{title, day.toString(QStringLiteral("yyyy-MM-dd"))};
    if (!kind.trimmed().isEmpty())
        parts << kind;
    QString name = Calendar::safeFileName(parts.join(QLatin1Char('_')));
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name + QStringLiteral(".pdf");
}

QString eventPdfName(CDatabase& db, const QString& title, std::int32_t eventId) {
    std::optional<PlanningContext> event;
    try {
        event = PlanningContext::read(db, eventId);
    } catch (const CDaoException&) {
        // The name is only a suggestion; today's date does.
    }
    if (!event || !event->begin.isValid())
        return suggestedPdfName(title, QDate::currentDate(), event ? event->kind : QString());
    return suggestedPdfName(title, event->begin.date(), event->kind);
}

} // namespace ReportPrinting
