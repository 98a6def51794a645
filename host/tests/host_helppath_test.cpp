#include <gtest/gtest.h>

#include "HelpPath.h"

namespace {

using ondrelo::host::HelpPagePath;

TEST(HelpPagePath, JoinsFolderAndPageWithOneSeparator) {
    struct Case {
        const char* folder;
        const char* page;
        const char* expected;
    };
    const Case cases[] = {
        {"/usr/share/ondrelo/help", "index.html", "/usr/share/ondrelo/help/index.html"},
        {"/usr/share/ondrelo/help/", "index.html", "/usr/share/ondrelo/help/index.html"},
        {"/opt/help", "index-t.html", "/opt/help/index-t.html"},
        {"/opt/help/", "index-t.html", "/opt/help/index-t.html"},
        {"/", "index.html", "/index.html"},
        {"help dir", "index.html", "help dir/index.html"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HelpPagePath(c.folder, c.page), c.expected) << c.folder;
    }
}

TEST(HelpPagePath, EmptyFolderGivesNothingToOpen) {
    EXPECT_EQ(HelpPagePath("", "index.html"), "");
}

}  // namespace
