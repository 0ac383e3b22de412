#pragma once

#include "reportdata.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;
class QPrinter;

namespace tarvel::report {

enum class ReportFormat { Pdf, Html };

// The format named by a file's suffix (.pdf, .html or .htm, any case). Throws ReportError for
// any other suffix.
ReportFormat reportFormatFor(const QString& path);

// Writes the report to `path`, PDF or HTML by its suffix, through QSaveFile: an existing file
// of that name is replaced only when the whole report has been written. Throws ReportError
// (a Chinese message naming the file) for a case that cannot be reported, an unknown suffix
// or a path that cannot be written; nothing is written then.
void writeReport(const ReportData& data, const QString& path);

// The report in memory.
QByteArray reportPdf(const ReportData& data);
QByteArray reportHtmlFile(const ReportData& data);

// Paints the report onto a paged device (QPdfWriter, QPrinter) in its current page layout,
// one page after another, each with the footer 第 x 页 共 y 页 and the program's name and
// version. Throws ReportError for a case that cannot be reported.
void paintReport(QPagedPaintDevice& device, const ReportData& data);

// Sets the printer to the report's page (A4 portrait, its margins) and the document name.
// Call it before opening a QPrintDialog or QPrintPreviewDialog.
void prepareReportPrinter(QPrinter* printer, const ReportData& data);

// Prints the report on the printer as it is set up (the handler of QPrintDialog's accept and
// of QPrintPreviewDialog::paintRequested). Throws ReportError.
void printReport(QPrinter* printer, const ReportData& data);

} // namespace tarvel::report
