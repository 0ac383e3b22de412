#include "reportwriter.h"

#include "reportpagination.h"

#include "reportdocument.h"
#include "reporterror.h"
#include "reportfont.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace tarvel::report {

namespace {

// Page margins (mm) and the band at the bottom of the body that holds the footer.
const QMarginsF pageMarginsMm{18, 16, 18, 14};
constexpr double footerHeightMm = 9;
constexpr double footerPointSize = 8.5;
constexpr int pdfResolution = 600;
constexpr double mmPerInch = 25.4;
constexpr double clipMargin = 0.5; // device pixels

QPageLayout a4Layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, pageMarginsMm,
                       QPageLayout::Millimeter);
}

QString documentTitle(const ReportData& data) {
    QString title = QStringLiteral("圆钢管柱脚计算书");
    if (!data.info.project.isEmpty()) title += QStringLiteral(" — ") + data.info.project;
    return title;
}

ReportError writeError(const QString& path, const QString& why) {
    return ReportError(
        QStringLiteral("无法写入计算书“%1”：%2").arg(QDir::toNativeSeparators(path), why));
}

// Why a path cannot be written, in words the user can act on.
QString unwritableReason(const QString& path, const QString& detail) {
    const QFileInfo info(path);
    if (info.isDir()) return QStringLiteral("该路径是一个文件夹");
    if (!info.absoluteDir().exists())
        return QStringLiteral("文件夹“%1”不存在")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    return QStringLiteral("没有写入权限或磁盘已满（%1）").arg(detail);
}

} // namespace

ReportFormat reportFormatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf")) return ReportFormat::Pdf;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return ReportFormat::Html;
    throw writeError(path, QStringLiteral("文件类型应为 .pdf 或 .html"));
}

void paintReport(QPagedPaintDevice& device, const ReportData& data) {
    requireReportable(data);
    const QString family = reportFontFamily();
    const double dpi = device.logicalDpiY();
    const auto px = [dpi](double mm) { return mm / mmPerInch * dpi; };

    // The painter's origin is the top left corner of the page's printable area.
    const QRectF area(QPointF(0, 0),
                      device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    const double footer = px(footerHeightMm);
    const QSizeF body(area.width(), area.height() - footer);

    std::unique_ptr<QTextDocument> doc = makeReportDocument(data, &device);
    doc->setPageSize(body);
    keepTogether(*doc);
    const int pages = doc->pageCount();

    QPainter painter;
    if (!painter.begin(&device)) throw ReportError(QStringLiteral("无法在输出设备上绘制计算书"));
    // The figure is line art: JPEG would smear it.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    QFont footerFont(family);
    footerFont.setPointSizeF(footerPointSize);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        painter.save();
        const QRectF clip(0, page * body.height(), body.width(), body.height());
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line the pagination put exactly at the next page's top touches this page's clip:
        // a hair less keeps it off this page, where it would be hidden but still in the PDF's
        // text.
        context.clip = clip.adjusted(0, clipMargin, 0, -clipMargin);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();

        const double y = area.height() - footer * 0.55;
        painter.setPen(QPen(Qt::gray, px(0.2)));
        painter.drawLine(QPointF(0, area.height() - footer),
                         QPointF(area.width(), area.height() - footer));
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF band(0, y - footer / 2, area.width(), footer);
        painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, data.programLine());
        painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("第 %1 页 共 %2 页").arg(page + 1).arg(pages));
    }
    painter.end();
}

QByteArray reportPdf(const ReportData& data) {
    requireReportable(data);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(pdfResolution);
        writer.setPageLayout(a4Layout());
        writer.setTitle(documentTitle(data));
        writer.setCreator(data.programLine());
        paintReport(writer, data);
    }
    return bytes;
}

QByteArray reportHtmlFile(const ReportData& data) {
    return reportHtml(data, HtmlTarget::Browser).toUtf8();
}

void writeReport(const ReportData& data, const QString& path) {
    const ReportFormat format = reportFormatFor(path);
    requireReportable(data);
    // The path is tried before the work; QSaveFile discards its temporary file when anything
    // fails, so the file of that name is replaced only by a whole report.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw writeError(path, unwritableReason(path, file.errorString()));
    const QByteArray bytes = format == ReportFormat::Pdf ? reportPdf(data) : reportHtmlFile(data);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw writeError(path, unwritableReason(path, file.errorString()));
}

void prepareReportPrinter(QPrinter* printer, const ReportData& data) {
    printer->setPageLayout(a4Layout());
    printer->setDocName(documentTitle(data));
    printer->setCreator(data.programLine());
}

void printReport(QPrinter* printer, const ReportData& data) {
    paintReport(*printer, data);
}

} // namespace tarvel::report
