#include "designlauncher.h"
#include "kqform1.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    QApplication::setApplicationVersion(TARVEL_VERSION);
    QApplication::setFont(Kqform1::windowFont());

    QCommandLineParser parser;
    parser.setApplicationDescription("圆钢管柱脚计算");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption design("design", "同时打开设计验算窗口");
    parser.addOption(design);
    parser.process(app);

    Kqform1 window;
    auto* launcher = new DesignLauncher(&window);
    window.show();
    if (parser.isSet(design)) launcher->openDesignWindow();
    return app.exec();
}
