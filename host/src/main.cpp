#include <QApplication>

#include "OndreloApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    COndreloApp theApp;
    int status = 1;
    if (theApp.InitInstance(QApplication::arguments())) {
        status = QApplication::exec();
    }
    theApp.ExitInstance();
    return status;
}
