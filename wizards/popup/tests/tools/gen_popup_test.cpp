// ondrelo-gen popup, run in-process: the options reach the generator as the
// pages hand them over, the worked example is printed byte for byte, and
// --insert writes the page the wizard writes, with cookies.js beside it.
#include <gtest/gtest.h>

#include <sstream>

#include "../core/PopupTestUtil.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

using namespace popkin;
using ondrelo::registry::testing::Exists;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

class GenPopup : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        WriteFile(m_dir + "/cookies.js", "function getcookie(n) {}\n");
        ASSERT_TRUE(ondrelo::registry::WriteString(
            HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey, "scriptspath", m_dir));
    }
    void TearDown() override {
        CCodeGen::SetFixedRandomNumbers({});
        StoreTest::TearDown();
    }
    int Gen(std::vector<std::string> args) {
        out.str("");
        err.str("");
        args.insert(args.begin(), "popup");
        return ondrelo::gen::Run(args, out, err);
    }

    ondrelo::CScriptedPrompt prompt;
    std::ostringstream out, err;
};

TEST_F(GenPopup, PrintsTheWorkedExample) {
    ASSERT_EQ(Gen({"--center", "--width", "300", "--height", "200", "--url", "a.html",
                   "--numbers", "1,2", "--print", "code"}),
              0)
        << err.str();
    CPopupCodeGen gen;
    popuptest::CentredExample(gen);
    EXPECT_EQ(out.str(), popuptest::Generate(gen).calling);
    ASSERT_EQ(Gen({"--center", "--width", "300", "--height", "200", "--url", "a.html",
                   "--numbers", "1,2", "--print", "include"}),
              0);
    EXPECT_EQ(out.str(), popuptest::Generate(gen).script);
}

TEST_F(GenPopup, EveryOptionReachesTheGenerator) {
    WriteFile(m_dir + "/content.html", "<p>hi</p>\r\nx");
    ASSERT_EQ(Gen({"--left", "-3", "--top", "4", "--width", "5", "--height", "6", "--features",
                   "location,scrollbars,menubar,toolbar,status,resizable,directories", "--html",
                   m_dir + "/content.html", "--on", "button", "--label", "Go", "--popunder",
                   "--once", "--reappear", "9", "--delay", "2", "--numbers", "7,8", "--print",
                   "include"}),
              0)
        << err.str();
    const std::vector<std::string> lines = popuptest::Lines(out.str());
    EXPECT_EQ(lines[0], "<SCRIPT src='cookies.js' language='JavaScript'></SCRIPT>");
    EXPECT_EQ(lines[7],
              ",\"location=1,scrollbars=1,menubar=1,toolbar=1,status=1,resizable=1,directories=1,"
              "left=-3,top=4,width=5,height=6\");");
    EXPECT_EQ(lines[8], "window8.blur(); window.focus();");
    EXPECT_EQ(lines[10], "window8.document.write(\"<p>hi</p>\");");
    EXPECT_EQ(lines[12], "setcookie(\"popup7\",\"y\",1000);");
    ASSERT_EQ(Gen({"--on", "button", "--label", "Go", "--delay", "2", "--numbers", "7,8",
                   "--print", "code"}),
              0);
    EXPECT_EQ(out.str(), "<INPUT type=\"button\" OnClick=\"popup7()\" value=\"Go\" >");
}

TEST_F(GenPopup, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--on", "hover"}, {"--features", "sidebar"}, {"--width", "wide"},
          {"--delay"}, {"--colour", "red"}}) {
        EXPECT_EQ(Gen(args), 2) << args[0];
    }
    EXPECT_EQ(Gen({"--html", m_dir + "/missing.html"}), 1);
}

TEST_F(GenPopup, InsertWritesThePageWithTheSameNamesAndCopiesCookies) {
    const std::string page = m_dir + "/site/page.html";
    std::filesystem::create_directories(m_dir + "/site");
    WriteFile(page, "<html><head></head><body>PLACE_POPUP_LINK_HERE</body></html>");
    ASSERT_EQ(Gen({"--on", "link", "--label", "Go", "--url", "a.html", "--once", "--numbers",
                   "3,4", "--insert", page, "--placeholder"}),
              0)
        << err.str();
    const std::string text = ReadFile(page);
    EXPECT_NE(text.find("<body><A href=\"javascript: popup3()\">Go</A></body>"), std::string::npos);
    EXPECT_NE(text.find("function popup3()"), std::string::npos);
    EXPECT_TRUE(Exists(m_dir + "/site/cookies.js"));

    // A page without a closed body: the error is told, the exit code says so.
    const std::string broken = m_dir + "/site/broken.html";
    WriteFile(broken, "<html><head></head><body>");
    EXPECT_EQ(Gen({"--on", "entry", "--url", "a.html", "--insert", broken}), 1);
    EXPECT_EQ(ReadFile(broken), "<html><head></head><body>");
}

}  // namespace
