#include "kqform1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    QApplication::setFont(Kqform1::windowFont());
    Kqform1 window;
    window.show();
    return app.exec();
}
