// ondrelo-gen dlink and links, run in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

namespace fs = std::filesystem;
using ondrelo::registry::testing::Exists;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

const char* const kRuntime = "function DLinkCombo(s) {}\n";

class GenSmall : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        fs::create_directories(m_dir + "/installed");
        WriteFile(m_dir + "/installed/dlink.js", kRuntime);
        ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                                   COndRegistryHandler::kInstallationKey,
                                                   "scriptspath", m_dir + "/installed"));
    }
    int Gen(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return ondrelo::gen::Run(args, out, err);
    }
    std::vector<std::string> Links() {
        return {"dlink", "--link", "Select Link ...", "", "", "--link", "Home", "index.html",
                "_self", "--numbers", "123"};
    }
    std::ostringstream out, err;
};

TEST_F(GenSmall, DLinkPrintsInclusionThenCode) {
    ASSERT_EQ(Gen(Links()), 0) << err.str();
    EXPECT_EQ(out.str(),
              "<SCRIPT src='dlink.js' language='JavaScript'></SCRIPT>\r\n\r\n"
              "<form name='DLinkFrm123' action=''>\r\n<select name='DLink123' size='1'>\r\n"
              "<option value='0' selected>Select Link ...\r\n<option value='1' >Home\r\n"
              "</select>\r\n</form>\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
              "var DLinkObj123 = new "
              "DLinkCombo(document.forms[\"DLinkFrm123\"].elements[\"DLink123\"]);\r\n"
              "DLinkObj123.addLink(0,\"\",\"\");\r\nDLinkObj123.addLink(1,\"index.html\","
              "\"_self\");\r\n\r\n</SCRIPT>");
}

TEST_F(GenSmall, DLinkInsertsAndCopiesTheRuntime) {
    fs::create_directories(m_dir + "/site/js");
    const std::string page = m_dir + "/site/index.html";
    WriteFile(page, "<html><head></head><body>_PLACE_DIRECT_LINK_COMBO_HERE_</body></html>");
    auto args = Links();
    for (const char* a : {"--insert", page.c_str(), "--placeholder", "--script-to"}) {
        args.push_back(a);
    }
    args.push_back(m_dir + "/site/js");
    ASSERT_EQ(Gen(args), 0) << err.str();
    EXPECT_EQ(ReadFile(m_dir + "/site/js/dlink.js"), kRuntime);
    const std::string html = ReadFile(page);
    EXPECT_NE(html.find("<SCRIPT src='js/dlink.js' language='JavaScript'></SCRIPT>"),
              std::string::npos);
    EXPECT_NE(html.find("<body><form name='DLinkFrm123'"), std::string::npos);
    EXPECT_EQ(html.find("_PLACE_DIRECT_LINK_COMBO_HERE_"), std::string::npos);

    // No placeholder left: nothing is written, and the run fails.
    EXPECT_EQ(Gen(args), 1);
    EXPECT_EQ(ReadFile(page), html);
}

TEST_F(GenSmall, BadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"dlink", "--link", "Only the prompt", "", ""},
        {"dlink", "--link", "Select", ""},
        {"dlink", "--links"},
        {"links", "page.html"},
        {"links", "page.html", "--apply"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Gen(args), 2) << args.back() << ": " << err.str();
    }
}

TEST_F(GenSmall, LinksListAndApply) {
    const std::string page = m_dir + "/links.html";
    const std::string original =
        "<a href=a.html>A</a> <a href='b.html' target=_top "
        "onmouseover=\"window.status='Old'; return true;\">B</a>";
    WriteFile(page, original);
    ASSERT_EQ(Gen({"links", page, "--list"}), 0) << err.str();
    EXPECT_EQ(out.str(), "A\ta.html\t\t\nB\tb.html\tOld\t_top\n");

    // One line short: refused, the page stays as it was.
    WriteFile(m_dir + "/short.txt", "A\ta.html\tNew\t_blank\n");
    EXPECT_EQ(Gen({"links", page, "--apply", m_dir + "/short.txt"}), 1);
    EXPECT_NE(err.str().find("the file has 1 lines, the page has 2 links"), std::string::npos);
    EXPECT_EQ(ReadFile(page), original);

    WriteFile(m_dir + "/edits.txt", "x\tx\tIt's new\t_blank\nB\tb.html\t\t\n");
    ASSERT_EQ(Gen({"links", page, "--apply", m_dir + "/edits.txt"}), 0) << err.str();
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(Gen({"links", page, "--list"}), 0);
    EXPECT_EQ(out.str(), "A\ta.html\tIt's new\t_blank\nB\tb.html\t\t\n");

    EXPECT_EQ(Gen({"links", m_dir + "/none.html", "--list"}), 1);
}

}  // namespace
