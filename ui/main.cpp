#include "kqform1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    QApplication::setDesktopFileName("io.github.tarvel.Tarvel");
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QString(":/icons/io.github.tarvel.Tarvel-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QApplication::setFont(Kqform1::windowFont());
    Kqform1 window;
    window.show();
    return app.exec();
}
