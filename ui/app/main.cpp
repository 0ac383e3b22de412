#include "app/designlauncher.h"
#include "app/qttranslations.h"
#include "design/designwindow.h"
#include "form/kqform1.h"
#include "project/projectcontroller.h"
#include "settingsstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tarvel::setProgramIdentity();
    tarvel::carryOverUnnamedStore();
    QApplication::setApplicationVersion(TARVEL_VERSION);
    QApplication::setDesktopFileName("io.github.tarvel.Tarvel");
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QString(":/icons/io.github.tarvel.Tarvel-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QApplication::setFont(Kqform1::windowFont());
    installChineseQtTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription("圆钢管柱脚计算");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption design("design", "同时打开设计验算窗口");
    parser.addOption(design);
    parser.addPositionalArgument("file", "在设计验算窗口中打开的项目文件（.tarvel）", "[file]");
    parser.process(app);

    Kqform1 window;
    auto* launcher = new DesignLauncher(&window);
    window.show();
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(design) || !files.isEmpty()) launcher->openDesignWindow();
    // A bad file is reported in a box; the window stays open with a new project.
    if (!files.isEmpty()) launcher->designWindow()->projects()->open(files.front());
    return app.exec();
}
