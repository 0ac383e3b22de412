#include "reportcommand.h"

#include "reportdata.h"
#include "reporterror.h"
#include "reportwriter.h"
#include "settingsstore.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tarvel::cli {

namespace {

// The report draws text and vectors; it needs no screen, so it draws offscreen unless the
// user chose a platform.
std::unique_ptr<QGuiApplication> startQt() {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes on its environment (no runtime folder, say) are not the user's concern here;
    // the command reports its own failures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    static int argc = 1;
    static char name[] = "tarvel-calc";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    tarvel::setProgramIdentity();
    QGuiApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
    return app;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// The title block: the project's, unless the command line gives one.
report::ReportInfo reportInfo(const Options& o, const ProjectInfo& fallback = {}) {
    auto pick = [](const std::string& given, const std::string& other) {
        return text(given.empty() ? other : given);
    };
    return {pick(o.projectName, fallback.project), pick(o.member, fallback.member),
            pick(o.designer, fallback.designer), pick(o.checker, fallback.checker)};
}

bool write(const report::ReportData& data, const std::string& path, std::string& error) {
    try {
        report::writeReport(data, QString::fromLocal8Bit(path.c_str()));
        return true;
    } catch (const report::ReportError& e) {
        error = e.what();
        return false;
    }
}

} // namespace

bool writeCaseReport(const Options& options, const InputTexts& inputs, std::string& error) {
    const auto app = startQt();
    report::ReportData data;
    data.info = reportInfo(options);
    data.main = report::makeReportCase(inputs, options.design);
    return write(data, *options.report, error);
}

bool writeProjectReport(const Options& options, const Project& project,
                        const ComputedCases& outcomes, std::string& error) {
    const auto app = startQt();
    try {
        report::ReportData data = report::makeProjectReport(project, outcomes);
        data.info = reportInfo(options, project.info);
        return write(data, *options.report, error);
    } catch (const report::ReportError& e) {
        error = e.what();
        return false;
    }
}

} // namespace tarvel::cli
