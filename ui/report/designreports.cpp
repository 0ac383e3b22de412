#include "report/designreports.h"

#include "loads/loadtablemodel.h"
#include "reporterror.h"

namespace designreports {

ReportActions::Source caseReport(const std::optional<tarvel::InputTexts>& inputs,
                                 const std::function<tarvel::DesignInput()>& design) {
    if (!inputs) return {std::nullopt, "尚无计算结果：请先在主窗口中计算，再生成计算书"};
    tarvel::report::ReportData data;
    try {
        data.main = tarvel::report::makeReportCase(*inputs, design());
    } catch (const tarvel::TarvelError& e) {
        return {std::nullopt, QString("无法生成计算书：%1").arg(QString::fromUtf8(e.what()))};
    }
    return {data, {}};
}

ReportActions::Source projectReport(const tarvel::Project& project, const LoadTableModel& model) {
    tarvel::ComputedCases outcomes;
    for (int k = 0; k < model.rowCount(); ++k)
        outcomes.push_back(model.row(k).outcome);
    try {
        return {tarvel::report::makeProjectReport(project, outcomes), {}};
    } catch (const tarvel::report::ReportError& e) {
        return {std::nullopt, e.message()};
    }
}

} // namespace designreports
