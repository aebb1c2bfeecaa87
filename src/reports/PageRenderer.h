#pragma once

#include "RecordedPage.h"

#include <QPointF>
#include <QString>

class QPainter;

// Replays recorded pages. The one way pages reach the screen, a printer or a PDF file.
namespace Report {

// Sets up the painter so that report units (0.1 mm from the sheet's corner) land on a device of
// this resolution whose own origin lies `originPx` device pixels inside the sheet (the corner
// of its printable area; zero for a device that covers the whole sheet).
void mapToDevice(QPainter& painter, double dpiX, double dpiY, QPointF originPx = QPointF());

// Draws the page in report units onto the painter as it is set up. Replaying never changes the
// page.
void replay(QPainter& painter, const RecordedPage& page);

// Writes every page into a PDF file, each page the size of its sheet. False with a German
// reason when the file cannot be written.
bool writePdf(const Document& document, const QString& path, QString* error = nullptr);

} // namespace Report
