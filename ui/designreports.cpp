#include "designreports.h"

#include "designwindow.h"
#include "loadtablepane.h"
#include "reporterror.h"

namespace designreports {

ReportActions::Source caseReport(const DesignWindow& window) {
    const auto inputs = window.lastInputs();
    if (!inputs) return {std::nullopt, "尚无计算结果：请先在主窗口中计算，再生成计算书"};
    tarvel::report::ReportData data;
    try {
        data.main = tarvel::report::makeReportCase(*inputs, window.lastDesign());
    } catch (const tarvel::TarvelError& e) {
        return {std::nullopt, QString("无法生成计算书：%1").arg(QString::fromUtf8(e.what()))};
    }
    return {data, {}};
}

ReportActions::Source projectReport(const DesignWindow& window) {
    LoadTableModel* model = window.loadTable()->model();
    std::vector<std::optional<tarvel::CaseOutcome>> outcomes;
    for (int k = 0; k < model->rowCount(); ++k)
        outcomes.push_back(model->row(k).outcome);
    try {
        return {tarvel::report::makeProjectReport(window.project(), outcomes), {}};
    } catch (const tarvel::report::ReportError& e) {
        return {std::nullopt, e.message()};
    }
}

ReportActions::Source shownReport(const DesignWindow& window) {
    return window.showsLoadTable() ? projectReport(window) : caseReport(window);
}

} // namespace designreports
