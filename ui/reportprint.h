// The calculation report on paper: its HTML laid out on A4 pages with
// margins and page numbers, for the print preview, the printer and the PDF.
#pragma once

#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace ui {

// A4 portrait with margins of 20 mm at the sides and 18 mm at top and bottom.
void setReportPage(QPagedPaintDevice& device);

// Paints the report on the device's pages as they are set up: the text
// flows from page to page without a line cut, and each page ends with
// "第 n 页 共 N 页". The device must not be painted on yet.
void paintReport(const QString& html, QPagedPaintDevice& device);

// A heading never stands alone at the foot of a page: where the first line
// of what a section's (<h2>) or a step's heading (<h3>) heads starts the next
// page, the heading is moved there too; a section's heading goes with the
// step's heading under it, and a heading over a table with the table's
// first row below its header. The document's page size must be set.
void keepHeadingsWithNext(QTextDocument& document);

// Writes the report as an A4 PDF file titled 普通混凝土配合比设计计算书.
// Returns an empty string on success, otherwise why the file could not be
// written.
QString writeReportPdf(const QString& html, const QString& path);

} // namespace ui
