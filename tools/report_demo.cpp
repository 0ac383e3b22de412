// Writes the calculation report of one load case, for trying the report library:
//
//   tarvel_report_demo P M d D n out.pdf|out.html
//
// With no display it draws offscreen. Exit status 0 written, 1 not written (the reason on
// stderr), 2 wrong usage.

#include "reportdata.h"
#include "reporterror.h"
#include "reportwriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s P M d D n out.pdf|out.html\n", argv[0]);
        return 2;
    }
    // Without a display (a terminal, a build machine) the report is drawn offscreen.
    const bool platformGiven = std::getenv("QT_QPA_PLATFORM") != nullptr;
    if (!platformGiven && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tarvel"));
#ifdef TARVEL_VERSION
    QGuiApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
#endif

    QElapsedTimer timer;
    timer.start();
    tarvel::report::ReportData data;
    data.info = {QStringLiteral("示例工程"), QStringLiteral("GZ-1"), QStringLiteral("张三"),
                 QStringLiteral("李四")};
    data.main = tarvel::report::makeReportCase({argv[1], argv[2], argv[3], argv[4], argv[5]},
                                               tarvel::DesignInput{});
    const qint64 computed = timer.elapsed();
    const QString path = QString::fromLocal8Bit(argv[6]);
    try {
        tarvel::report::writeReport(data, path);
    } catch (const tarvel::report::ReportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "calculation %lld ms, report %lld ms\n", static_cast<long long>(computed),
                 static_cast<long long>(timer.elapsed() - computed));
    return 0;
}
