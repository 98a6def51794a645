#include <QApplication>
#include <cstdlib>

#include "OndreloApp.h"
#include "StoreCheck.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Started straight from a build tree (not through tools/run), the
    // program uses that tree's own store rather than the installed one.
    const char* store = std::getenv("ONDRELO_REGISTRY");
    if (store == nullptr || *store == '\0') {
        const std::string buildStore =
            ondrelo::host::BuildTreeStore(QApplication::applicationDirPath().toStdString());
        if (!buildStore.empty()) {
            ::setenv("ONDRELO_REGISTRY", buildStore.c_str(), 1);
        }
    }
    COndreloApp theApp;
    int status = 1;
    if (theApp.InitInstance(QApplication::arguments())) {
        status = QApplication::exec();
    }
    theApp.ExitInstance();
    return status;
}
