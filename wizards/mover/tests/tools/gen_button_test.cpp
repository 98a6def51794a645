// ondrelo-gen button, run in-process: the worked example printed, sizes read
// from the image files or given, insertion into a page, and bad arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../core/ImageWriters.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

namespace fs = std::filesystem;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

class GenButton : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        fs::create_directories(m_dir + "/installed");
        fs::create_directories(m_dir + "/site/img");
        WriteFile(m_dir + "/installed/mover2.js", "function MOverButton() {}\n");
        ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                                   COndRegistryHandler::kInstallationKey,
                                                   "scriptspath", m_dir + "/installed"));
        imagetest::SGifLayout layout;
        layout.width = 100;
        layout.height = 30;
        WriteFile(m_dir + "/site/img/home1.gif", imagetest::MakeGif(layout));
        WriteFile(m_dir + "/site/img/home2.gif", imagetest::MakeGif(layout));
    }

    int Gen(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return ondrelo::gen::Run(args, out, err);
    }

    std::ostringstream out, err;
};

TEST_F(GenButton, WorkedExampleWithSizesFromTheFiles) {
    ASSERT_EQ(
        Gen({"button", "--numbers", "4711", "--normal", m_dir + "/site/img/home1.gif", "--active",
             m_dir + "/site/img/home2.gif", "--url", "index.html", "--status", "Go home", "--alt",
             "Home", "--page", m_dir + "/site/index.html", "--print", "code"}),
        0)
        << err.str();
    EXPECT_EQ(out.str(),
              "<A name='anchor4711' href='index.html'  onmouseover='return "
              "callmover(\"anchor4711\");'  onmouseout='return callmout(\"anchor4711\");'  "
              "onmousedown='return callmdown(\"anchor4711\");'  onmouseup='return "
              "callmup(\"anchor4711\"); '><IMG name='image4711' src='img/home1.gif' width='100' "
              "height='30'  border='0' alt='Home'></A>\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\nvar "
              "mbutton4711 = new MOverButton(\"anchor4711\",\"image4711\",\"Go "
              "home\");\r\nmbutton4711.SetNormalImage(\"img/home1.gif\",100,30);\r\nmbutton4711."
              "SetActiveImage(\"img/home2.gif\",100,30);\r\n\r\n</SCRIPT>");
}

TEST_F(GenButton, InsertCopiesTheRuntimeAndWritesThePage) {
    const std::string page = m_dir + "/site/index.html";
    WriteFile(page, "<html><head></head><body>_PLACE_MOVER_BUTTON_HERE_</body></html>");
    ASSERT_EQ(Gen({"button", "--numbers", "7", "--normal", m_dir + "/site/img/home1.gif", "--click",
                   m_dir + "/site/img/nothing.png", "--click-size", "100x30", "--insert", page,
                   "--placeholder"}),
              0)
        << err.str();
    const std::string text = ReadFile(page);
    EXPECT_NE(text.find("<SCRIPT src='mover2.js' language='JavaScript'></SCRIPT>"),
              std::string::npos);
    EXPECT_NE(text.find("mbutton7.SetClickImage(\"img/nothing.png\",100,30);"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("_PLACE_MOVER_BUTTON_HERE_"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_dir + "/site/mover2.js"));
}

TEST_F(GenButton, BadArgumentsAndUnreadableImages) {
    const std::string normal = m_dir + "/site/img/home1.gif";
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* message;
    };
    const Case cases[] = {
        {{"button"}, 2, "--normal PATH is required"},
        {{"button", "--normal"}, 2, "needs a value"},
        {{"button", "--normal", normal, "--frobnicate", "x"}, 2, "unknown argument"},
        {{"button", "--normal", normal, "--normal-size", "100"}, 2, "WIDTHxHEIGHT"},
        {{"button", "--normal", normal, "--normal-size", "-1x5"}, 2, "WIDTHxHEIGHT"},
        {{"button", "--normal", m_dir + "/missing.gif"}, 1, "Cannot read the image file"},
        {{"button", "--normal", m_dir + "/x.bmp"}, 1, "Unsupported image file format"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Gen(c.args), c.exit) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
}

}  // namespace
