#pragma once

#include "reportdata.h"

#include <QString>

#include <memory>

class QPaintDevice;
class QTextDocument;

namespace tarvel::report {

enum class HtmlTarget {
    Browser,      // one self-contained file: inline CSS, the figure as a data: URI, the
                  // diagram as inline SVG, A4 @page rules
    TextDocument, // the subset QTextDocument lays out; images by resource name
};

// The report as HTML. Throws ReportError when the main case cannot be reported.
QString reportHtml(const ReportData& data, HtmlTarget target);

// The report as a QTextDocument laid out for `device` (a QPdfWriter or a QPrinter): the figure
// as an image resource and the result diagram as a vector object painted with QPainter.
std::unique_ptr<QTextDocument> makeReportDocument(const ReportData& data, QPaintDevice* device);

// The window's figure as PNG bytes, from the library's own resource.
QByteArray figurePng();

} // namespace tarvel::report
