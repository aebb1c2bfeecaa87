#include "ReportPrinting.h"

#include "core/MessageService.h"
#include "reports/PageRenderer.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

namespace ReportPrinting {

namespace {
QPrinter* g_printer = nullptr;
} // namespace

void setPrinter(QPrinter* printer) {
    g_printer = printer;
}

QPrinter* printer() {
    return g_printer;
}

PageMetrics metricsOf(const QPrinter* printer) {
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat || !printer->isValid())
        return PageMetrics::defaults();
    return PageMetrics::fromLayout(printer->pageLayout(), printer->resolution(),
                                   printer->resolution());
}

bool printPages(QPrinter& printer, const Report::Document& document, int from, int to) {
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Vorlanto"));
    from = std::max(1, from);
    to = std::min(document.pageCount(), to);
    QPainter painter;
    if (from > to || !painter.begin(&printer))
        return false;
    // The device's origin is the sheet's corner (full page).
    for (int number = from; number <= to; ++number) {
        if (number > from && !printer.newPage()) {
            painter.end();
            return false;
        }
        Report::mapToDevice(painter, printer.resolution(), printer.resolution());
        Report::replay(painter, *document.pages[size_t(number - 1)]);
    }
    return painter.end();
}

Result print(QWidget* parent, const Renderer& render, int pageCount, bool reportFailure) {
    std::unique_ptr<QPrinter> own;
    QPrinter* target = g_printer;
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

QString suggestedPdfName(const QString& title, const QDate& day) {
    QString name = title;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return QStringLiteral("%1_%2.pdf").arg(name, day.toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace ReportPrinting
