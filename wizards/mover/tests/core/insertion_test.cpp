// Putting the button into pages on disk: placement after the body tag or at
// the placeholder, the marked inclusion line, repeated insertions, new pages
// and every failure, which must leave the file as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "ondrelo/testsupport/StoreFixture.h"
#include "hoverkit/MoverButtonCodeGen.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"

namespace {

using namespace ondrelo::registry::testing;

const std::string kStart = "\n<!--M_OVER_WIZ{-->\n";
const std::string kEnd = "\n<!--}M_OVER_WIZ-->\n";

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class ButtonInsertion : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        site = m_dir + "/site";
        std::filesystem::create_directories(site + "/img");
        info.m_strNormalImage = site + "/img/home1.gif";
        info.m_nNormalWidth = 100;
        info.m_nNormalHeight = 30;
        info.m_strActiveImage = site + "/img/home2.gif";
        info.m_nActiveWidth = 100;
        info.m_nActiveHeight = 30;
        info.m_strTargetURL = "index.html";
        info.m_bChanged = 1;
        generator.SetButtonInfo(&info);
        page = site + "/index.html";
        CCodeGen::SetFixedRandomNumbers({4711});
    }
    void TearDown() override {
        CCodeGen::SetFixedRandomNumbers({});
        StoreTest::TearDown();
    }

    std::string site, page;
    ondrelo::CScriptedPrompt prompt;
    CMoverButtonInfo info;
    CMoverButtonCodeGen generator;
};

TEST_F(ButtonInsertion, AfterBodyTagWithMarkedInclusionAfterHead) {
    WriteFile(page, "<html><head><title>t</title></head>\n<BODY bgcolor='white'>\n<p>x</p></body></html>");
    ASSERT_EQ(generator.Insert(site + "/scripts/mover2.js", page, false, true), 1);
    const std::string text = ReadFile(page);
    const std::string inclusion =
        kStart + "<SCRIPT src='scripts/mover2.js' language='JavaScript'></SCRIPT>" + kEnd;
    EXPECT_NE(text.find("</head>" + inclusion + "\n<BODY bgcolor='white'><A name='anchor4711'"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("src='img/home1.gif'"), std::string::npos);
    EXPECT_NE(text.find("</SCRIPT>\n<p>x</p>"), std::string::npos) << text;
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(ButtonInsertion, AtEveryPlaceholderWithoutMarkers) {
    WriteFile(page, "<html><head></head><body>a _PLACE_MOVER_BUTTON_HERE_ b "
                    "_PLACE_MOVER_BUTTON_HERE_</body></html>");
    ASSERT_EQ(generator.Insert("", page, false, false), 1);
    const std::string text = ReadFile(page);
    EXPECT_EQ(Count(text, "_PLACE_MOVER_BUTTON_HERE_"), 0);
    EXPECT_EQ(Count(text, "new MOverButton"), 2);
    EXPECT_EQ(Count(text, kStart), 1);  // only around the inclusion line
}

TEST_F(ButtonInsertion, WithoutHeadTheInclusionGoesBeforeTheBody) {
    WriteFile(page, "<html>\n<body>_PLACE_MOVER_BUTTON_HERE_</body></html>");
    ASSERT_EQ(generator.Insert("", page, false, false), 1);
    const std::string text = ReadFile(page);
    EXPECT_EQ(text.find("<html>\n" + kStart + "<SCRIPT src='mover2.js'"), 0u) << text;
}

TEST_F(ButtonInsertion, FailuresShowTheirMessageAndLeaveTheFile) {
    struct Case {
        const char* name;
        std::string text;  // empty: no file
        bool afterBody;
        const char* message;
    };
    const Case cases[] = {
        {"no file", "", true, "Failed opening Html File"},
        {"neither head nor body", "<html><p>_PLACE_MOVER_BUTTON_HERE_</p></html>", false,
         "Failed inserting code. Ensure that the file is formatted proprly"},
        {"no placeholder", "<html><head></head><body></body></html>", false,
         "The replace string was not found in the file"},
        {"head but no body", "<html><head></head></html>", true,
         "Failed inserting the code after <body> tag."},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(page);
        if (!c.text.empty())
            WriteFile(page, c.text);
        prompt.Clear();
        EXPECT_EQ(generator.Insert("", page, false, c.afterBody), 0) << c.name;
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.message}) << c.name;
        if (!c.text.empty())
            EXPECT_EQ(ReadFile(page), c.text) << c.name;
        else
            EXPECT_FALSE(Exists(page)) << c.name;
    }
}

TEST_F(ButtonInsertion, RepeatedInsertionReplacesTheEarlierOne) {
    WriteFile(page, "<html><head></head><body></body></html>");
    ASSERT_EQ(generator.Insert("", page, false, true), 1);
    CCodeGen::SetFixedRandomNumbers({815});
    ASSERT_EQ(generator.Insert("", page, false, true), 1);
    const std::string text = ReadFile(page);
    EXPECT_EQ(Count(text, "new MOverButton"), 1);
    EXPECT_EQ(Count(text, "anchor815"), 6);
    EXPECT_EQ(Count(text, "anchor4711"), 0);
    EXPECT_EQ(Count(text, "<SCRIPT src="), 1);
}

TEST_F(ButtonInsertion, SecondButtonAfterResetKeepsTheFirstAndOneInclusionLine) {
    WriteFile(page, "<html><head></head><body>\n</body></html>");
    ASSERT_EQ(generator.Insert("", page, false, true), 1);
    generator.Reset();
    CCodeGen::SetFixedRandomNumbers({815});
    ASSERT_EQ(generator.Insert("", page, false, true), 1);
    const std::string text = ReadFile(page);
    EXPECT_EQ(Count(text, "new MOverButton"), 2);
    EXPECT_EQ(Count(text, "<SCRIPT src="), 1);
    EXPECT_LT(text.find("anchor815"), text.find("anchor4711"));
}

TEST_F(ButtonInsertion, NewPageGetsTheButtonAfterItsBody) {
    ASSERT_EQ(generator.Insert("", page, true, false), 1);
    const std::string text = ReadFile(page);
    EXPECT_NE(text.find("<title>Mouse Over Button</title>"), std::string::npos);
    EXPECT_NE(text.find("<body><A name='anchor4711'"), std::string::npos) << text;
    EXPECT_NE(text.find("</SCRIPT>\r\n</body>\n</html>"), std::string::npos) << text;
}

// When the page changed on disk since it was read and the user declines to
// overwrite it, nothing was inserted and the caller is told so.
TEST_F(ButtonInsertion, DeclinedOverwriteIsReportedAsNotInserted) {
    WriteFile(page, "<html><head></head><body></body></html>");
    ASSERT_EQ(generator.Insert("", page, false, true), 1);
    const std::string changed = "<html><head></head><body>changed elsewhere</body></html>";
    WriteFile(page, changed);
    prompt.AnswerMessage(IDNO);
    EXPECT_EQ(generator.Insert("", page, false, true), 0);
    EXPECT_EQ(ReadFile(page), changed);
    // A further try reads the page as it now stands.
    EXPECT_EQ(generator.Insert("", page, false, true), 1);
    EXPECT_NE(ReadFile(page).find("changed elsewhere"), std::string::npos);
}

}  // namespace
