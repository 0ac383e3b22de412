#include "report/reportactions.h"

#include "report/reportinfodialog.h"
#include "reporterror.h"
#include "reportwriter.h"
#include "settingsstore.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QWidget>

namespace {
const char* const folderKey = "report/folder";
} // namespace

ReportActions::ReportActions(QWidget* parent, std::function<Source()> source)
    : QObject(parent), parent_(parent), source_(std::move(source)) {
    export_ = new QAction("导出计算书…", this);
    export_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    print_ = new QAction("打印…", this);
    print_->setShortcut(QKeySequence::Print);
    preview_ = new QAction("打印预览…", this);
    info_ = new QAction("计算书信息…", this);
    connect(export_, &QAction::triggered, this, &ReportActions::exportReport);
    connect(print_, &QAction::triggered, this, &ReportActions::printReport);
    connect(preview_, &QAction::triggered, this, &ReportActions::previewReport);
    connect(info_, &QAction::triggered, this, &ReportActions::editInfo);
}

std::optional<tarvel::report::ReportData> ReportActions::reportData() {
    Source s = source_();
    if (!s.data) {
        showError(s.reason.isEmpty() ? QStringLiteral("尚未计算，无法生成计算书") : s.reason);
        return std::nullopt;
    }
    // One title block, whichever report this is.
    s.data->info = titleBlock();
    try {
        tarvel::report::requireReportable(*s.data);
    } catch (const tarvel::report::ReportError& e) {
        showError(e.message());
        return std::nullopt;
    }
    return s.data;
}

tarvel::report::ReportInfo ReportActions::titleBlock() const {
    if (project_.open && project_.open()) return project_.info();
    return tarvel::report::loadReportInfo();
}

bool ReportActions::exportReport() {
    if (!reportData()) return false;
    QSettings settings(tarvel::settingsOrganisation, tarvel::settingsApplication);
    QString folder = project_.folder ? project_.folder() : QString();
    if (folder.isEmpty()) folder = settings.value(folderKey, QDir::homePath()).toString();
    const QString path = QFileDialog::getSaveFileName(parent_, "导出计算书",
                                                      QDir(folder).filePath("圆钢管柱脚计算书.pdf"),
                                                      "PDF 文件 (*.pdf);;HTML 文件 (*.html *.htm)");
    if (path.isEmpty()) return false;
    settings.setValue(folderKey, QFileInfo(path).absolutePath());
    if (!exportReportTo(path)) return false;
    // Where it went, in full: the dialog's folder is easily overlooked.
    QMessageBox::information(
        parent_, "Tarvel",
        QString("计算书已写入：\n%1")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return true;
}

bool ReportActions::exportReportTo(const QString& path) {
    const auto data = reportData();
    if (!data) return false;
    try {
        tarvel::report::writeReport(*data, path);
    } catch (const tarvel::report::ReportError& e) {
        showError(e.message());
        return false;
    }
    return true;
}

bool ReportActions::printReport() {
    const auto data = reportData();
    if (!data) return false;
    QPrinter printer(QPrinter::HighResolution);
    tarvel::report::prepareReportPrinter(&printer, *data);
    QPrintDialog dialog(&printer, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    try {
        tarvel::report::printReport(&printer, *data);
    } catch (const tarvel::report::ReportError& e) {
        showError(e.message());
        return false;
    }
    return true;
}

bool ReportActions::previewReport() {
    const auto data = reportData();
    if (!data) return false;
    QPrinter printer(QPrinter::HighResolution);
    tarvel::report::prepareReportPrinter(&printer, *data);
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle("打印预览 - 圆钢管柱脚计算书");
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* p) {
        try {
            tarvel::report::printReport(p, *data);
        } catch (const tarvel::report::ReportError& e) {
            showError(e.message());
        }
    });
    return dialog.exec() == QDialog::Accepted;
}

bool ReportActions::editInfo() {
    const bool ofProject = project_.open && project_.open();
    ReportInfoDialog dialog(parent_);
    if (ofProject) dialog.setWindowTitle("计算书信息（项目）");
    dialog.setInfo(titleBlock());
    if (dialog.exec() != QDialog::Accepted) return false;
    if (ofProject)
        project_.setInfo(dialog.info());
    else
        tarvel::report::saveReportInfo(dialog.info());
    return true;
}

void ReportActions::showError(const QString& message) {
    QMessageBox::warning(parent_, "Tarvel", message);
}
