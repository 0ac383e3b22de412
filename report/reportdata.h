#pragma once

#include "analysis/calculation.h"
#include "checks/design.h"
#include "project/project.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace tarvel::report {

// The title block of the report, entered by the engineer.
struct ReportInfo {
    QString project;  // 工程名称
    QString member;   // 构件编号
    QString designer; // 设计
    QString checker;  // 校对
};

// The title block as last entered (the settings store, group "report"), so that the 计算书信息
// dialog opens with it.
ReportInfo loadReportInfo();
void saveReportInfo(const ReportInfo& info);

// One load case: what was asked and what the engine made of it.
struct ReportCase {
    QString name; // load-case name; may be empty for a single case
    DesignInput design;
    ComputedCase outcome;
    std::optional<Analysis> analysis; // present when the calculation finished

    bool ok() const { return outcome.status == CaseStatus::Ok && analysis.has_value(); }
};

// Computes a case for the report: computeCase, and the analysis for the diagram when the
// calculation finished. Never throws for the case's own failures: they are in `outcome`.
ReportCase makeReportCase(const InputTexts& inputs, const DesignInput& design,
                          const QString& name = {}, int threads = 0);

struct ReportData {
    ReportInfo info;
    QDate date;      // today when null
    QString program; // "Tarvel" when empty
    QString version; // QCoreApplication::applicationVersion() when empty
    ReportCase main; // reported in full
    // A project report: every load case in a summary table after the main case, which is
    // then the governing one. Empty for the report of a single case.
    std::vector<ReportCase> loadCases;
    int mainIndex = -1; // which of loadCases is the main case

    QString programName() const;
    QString programVersion() const;
    QDate reportDate() const;
    // "Tarvel 1.0.0", for the header and the footer.
    QString programLine() const;
};

// The index of the governing load case: of the cases that finished, the one with the largest
// ratio among the checks that depend on the load (a failing check exceeds 1, so failures come
// first); the first of equals. -1 when none finished.
int governingCase(const std::vector<ReportCase>& cases);

// The report of a project whose load combinations have been computed (`outcomes` in the
// order of the project's loads): every case in the summary table, the governing one in full,
// the project's title block. Throws ReportError when a case is not computed yet or none
// finished.
ReportData makeProjectReport(const Project& project, const ComputedCases& outcomes);

// Throws ReportError when the main case cannot be reported (refused or failed): the message
// says why.
void requireReportable(const ReportData& data);

} // namespace tarvel::report
