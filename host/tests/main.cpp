// The window tests run on one QApplication (offscreen) with Common started
// once, so that each test can put its own scripted prompt in place.
#include <gtest/gtest.h>

#include <QApplication>

#include "ondrelo/CommonUI.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    InitCommonDLL();
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    TermCommonDLL();
    return status;
}
