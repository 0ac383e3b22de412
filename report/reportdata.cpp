#include "reportdata.h"

#include "checks/methods.h"
#include "reporterror.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QSettings>

#include <algorithm>

namespace tarvel::report {

ReportInfo loadReportInfo() {
    QSettings settings(settingsOrganisation, settingsApplication);
    settings.beginGroup(QStringLiteral("report"));
    return {settings.value(QStringLiteral("project")).toString(),
            settings.value(QStringLiteral("member")).toString(),
            settings.value(QStringLiteral("designer")).toString(),
            settings.value(QStringLiteral("checker")).toString()};
}

void saveReportInfo(const ReportInfo& info) {
    QSettings settings(settingsOrganisation, settingsApplication);
    settings.beginGroup(QStringLiteral("report"));
    settings.setValue(QStringLiteral("project"), info.project);
    settings.setValue(QStringLiteral("member"), info.member);
    settings.setValue(QStringLiteral("designer"), info.designer);
    settings.setValue(QStringLiteral("checker"), info.checker);
}

ReportCase makeReportCase(const InputTexts& inputs, const DesignInput& design, const QString& name,
                          int threads) {
    ReportCase c;
    c.name = name;
    c.design = design;
    c.outcome = computeCase(inputs, design, threads);
    if (c.outcome.status == CaseStatus::Ok) {
        try {
            c.analysis = analyze(inputs);
        } catch (const TarvelError& e) {
            // analyze already passed inside computeCase; a failure here would be a fault.
            c.outcome.status = CaseStatus::Error;
            c.outcome.message = e.what();
        }
    }
    return c;
}

QString ReportData::programName() const {
    return program.isEmpty() ? QStringLiteral("Tarvel") : program;
}

QString ReportData::programVersion() const {
    return version.isEmpty() ? QCoreApplication::applicationVersion() : version;
}

QDate ReportData::reportDate() const {
    return date.isValid() ? date : QDate::currentDate();
}

QString ReportData::programLine() const {
    const QString v = programVersion();
    return v.isEmpty() ? programName() : programName() + QLatin1Char(' ') + v;
}

namespace {
// The largest ratio of the checks that differ between combinations.
double utilisation(const ReportCase& c) {
    double worst = 0;
    for (const Check& check : c.outcome.checks.checks)
        if (checkDefinition(check.id).dependsOnLoad) worst = std::max(worst, check.ratio);
    return worst;
}
} // namespace

ReportData makeProjectReport(const Project& project, const ComputedCases& outcomes) {
    ReportData data;
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    data.info = {text(project.info.project), text(project.info.member), text(project.info.designer),
                 text(project.info.checker)};
    const std::vector<LoadCase> cases = projectCases(project);
    if (cases.empty()) throw ReportError(QStringLiteral("没有荷载组合，无法生成项目计算书"));
    for (std::size_t k = 0; k < cases.size(); ++k) {
        if (k >= outcomes.size() || !outcomes[k])
            throw ReportError(
                QStringLiteral("荷载组合尚未全部计算：请先点“全部计算”，再生成计算书"));
        ReportCase c;
        c.name = text(cases[k].name);
        c.outcome = *outcomes[k];
        try {
            c.design = caseDesign(cases[k], project.design);
        } catch (const TarvelError&) {
            c.design = project.design; // the row's own outcome says its V is no number
        }
        if (c.outcome.status == CaseStatus::Ok) c.analysis = analyze(cases[k].inputs);
        data.loadCases.push_back(std::move(c));
    }
    const int governing = governingCase(data.loadCases);
    if (governing < 0)
        throw ReportError(QStringLiteral("无法生成计算书：项目中没有计算成功的荷载组合"));
    data.main = data.loadCases[governing];
    data.mainIndex = governing;
    return data;
}

int governingCase(const std::vector<ReportCase>& cases) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(cases.size()); ++i) {
        if (!cases[i].ok()) continue;
        if (best < 0 || utilisation(cases[i]) > utilisation(cases[best])) best = i;
    }
    return best;
}

void requireReportable(const ReportData& data) {
    const ComputedCase& o = data.main.outcome;
    if (data.main.ok()) return;
    const QString why =
        o.message.empty() ? QStringLiteral("计算未完成") : QString::fromStdString(o.message);
    if (o.status == CaseStatus::Refused)
        throw ReportError(QStringLiteral("无法生成计算书：%1，计算被拒绝").arg(why));
    throw ReportError(QStringLiteral("无法生成计算书：计算失败（%1）").arg(why));
}

} // namespace tarvel::report
