#include "designreports.h"

#include "designwindow.h"
#include "loadtablepane.h"

namespace designreports {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

tarvel::report::ReportInfo projectInfo(const tarvel::ProjectInfo& p) {
    return {text(p.project), text(p.member), text(p.designer), text(p.checker)};
}

} // namespace

ReportActions::Source caseReport(const DesignWindow& window) {
    const auto inputs = window.lastInputs();
    if (!inputs) return {std::nullopt, "尚无计算结果：请先在主窗口中计算，再生成计算书"};
    tarvel::report::ReportData data;
    data.main = tarvel::report::makeReportCase(*inputs, window.currentDesign());
    return {data, {}};
}

ReportActions::Source projectReport(const DesignWindow& window) {
    const tarvel::Project project = window.project();
    LoadTableModel* model = window.loadTable()->model();
    tarvel::report::ReportData data;
    data.info = projectInfo(project.info);
    const std::vector<tarvel::LoadCase> cases = tarvel::projectCases(project);
    for (int k = 0; k < model->rowCount() && k < static_cast<int>(cases.size()); ++k) {
        const auto& outcome = model->row(k).outcome;
        if (!outcome) return {std::nullopt, "荷载组合尚未全部计算：请先点“全部计算”，再生成计算书"};
        tarvel::report::ReportCase c;
        c.name = text(cases[k].name);
        c.outcome = *outcome;
        try {
            c.design = tarvel::caseDesign(cases[k], project.design);
        } catch (const tarvel::TarvelError&) {
            c.design = project.design; // the row's own outcome says its V is no number
        }
        if (outcome->status == tarvel::CaseOutcome::Status::Ok)
            c.analysis = tarvel::analyze(cases[k].inputs);
        data.loadCases.push_back(std::move(c));
    }
    if (data.loadCases.empty()) return {std::nullopt, "没有荷载组合，无法生成项目计算书"};
    const int governing = tarvel::report::governingCase(data.loadCases);
    if (governing < 0) return {std::nullopt, "没有计算成功的荷载组合，无法生成计算书"};
    data.main = data.loadCases[governing];
    return {data, {}};
}

ReportActions::Source shownReport(const DesignWindow& window) {
    return window.showsLoadTable() ? projectReport(window) : caseReport(window);
}

} // namespace designreports
