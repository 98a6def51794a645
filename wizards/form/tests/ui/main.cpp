#include <gtest/gtest.h>

#include <QApplication>

#include "bridgel/CIWImpl.h"
#include "ondrelo/CommonUI.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Before the insertion component loads, so that the tests' scripted
    // prompts stay in charge.
    InitCommonDLL();
    InitBridgel();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    TermCommonDLL();
    return result;
}
