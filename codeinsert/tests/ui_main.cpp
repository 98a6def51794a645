#include <gtest/gtest.h>

#include <QApplication>

#include "bridgel/CIWImpl.h"
#include "ondrelo/CommonUI.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Initialised before the component library loads, so that its own
    // start-up nests and the tests' scripted prompts stay in charge.
    InitCommonDLL();
    InitBridgel();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    TermCommonDLL();
    return result;
}
