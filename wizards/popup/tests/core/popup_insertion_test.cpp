// Putting the popup code into pages: the head and the body attribute, the
// button and link placements, new files, and the failures the user is told
// about.
#include <gtest/gtest.h>

#include "PopupTestUtil.h"
#include "StoreFixture.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Prompt.h"

namespace {

using namespace popkin;
using namespace popuptest;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

class PopupInsertion : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CCodeGen::SetFixedRandomNumbers({1, 2});
        page = m_dir + "/page.html";
        CentredExample(gen);
    }
    void TearDown() override {
        CCodeGen::SetFixedRandomNumbers({});
        StoreTest::TearDown();
    }
    // The script as the insertion made it: the same fixed names.
    std::string Script() {
        CCodeGen::SetFixedRandomNumbers({1, 2});
        std::string a, b, c, w;
        gen.SetModified(true);
        gen.GetCode(a, b, c, w);
        return a;
    }

    ondrelo::CScriptedPrompt prompt;
    CPopupCodeGen gen;
    std::string page;
};

TEST_F(PopupInsertion, PageEntryGoesAfterHeadAndIntoTheBodyTag) {
    WriteFile(page, "<html><head></head><body bgcolor=white></body></html>");
    ASSERT_EQ(gen.InsertCode(page, 0, 0), 1);
    EXPECT_EQ(ReadFile(page), "<html><head></head>" + Script() +
                                  "<body  onLoad=\"popup1()\"bgcolor=white></body></html>");
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

TEST_F(PopupInsertion, SecondInsertionStartsFromThePageAsLoaded) {
    WriteFile(page, "<html><head></head><body></body></html>");
    gen.SetOptions(0, 0, 0, 3);
    ASSERT_EQ(gen.InsertCode(page, 0, 0), 1);
    CCodeGen::SetFixedRandomNumbers({5, 6});
    ASSERT_EQ(gen.InsertCode(page, 0, 0), 1);
    const std::string text = ReadFile(page);
    EXPECT_EQ(text.find("popup1"), std::string::npos);
    EXPECT_NE(text.find("<body onLoad=\"setTimeout('popup5()',3000)\"></body>"),
              std::string::npos);
    EXPECT_EQ(text.find("function popup5()"), text.rfind("function popup5()"));
}

TEST_F(PopupInsertion, ScriptGoesBeforeTheBodyWithoutHead) {
    WriteFile(page, "<html>\n<body onload=\"x()\">hi</body></html>");
    gen.SetInvocation(kInvokePageExit, "");
    ASSERT_EQ(gen.InsertCode(page, 0, 0), 1);
    EXPECT_EQ(ReadFile(page),
              "<html>\n" + Script() + "<body  onUnload=\"popup1()\"onload=\"x()\">hi</body></html>");
}

TEST_F(PopupInsertion, ButtonAndLinkPlacements) {
    struct Case {
        int kind;
        int afterBody;
        const char* before;
        const char* after;  // the page with the script taken out
    } cases[] = {
        {kInvokeButton, 1, "<head></head><body>\r\nx</body>",
         "<head></head><body><INPUT type=\"button\" OnClick=\"popup1()\" value=\"L\" >\r\nx</body>"},
        {kInvokeButton, 0, "<head></head><body>PLACE_POPUP_BUTTON_HERE|PLACE_POPUP_BUTTON_HERE</body>",
         "<head></head><body><INPUT type=\"button\" OnClick=\"popup1()\" value=\"L\" >|"
         "<INPUT type=\"button\" OnClick=\"popup1()\" value=\"L\" ></body>"},
        {kInvokeLink, 0, "<head></head><body>a PLACE_POPUP_LINK_HERE b</body>",
         "<head></head><body>a <A href=\"javascript: popup1()\">L</A> b</body>"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.before);
        CPopupCodeGen g;
        CentredExample(g);
        g.SetInvocation(k.kind, "L");
        WriteFile(page, k.before);
        CCodeGen::SetFixedRandomNumbers({1, 2});
        ASSERT_EQ(g.InsertCode(page, 0, k.afterBody), 1);
        std::string text = ReadFile(page);
        const std::size_t at = text.find("<SCRIPT");
        ASSERT_EQ(at, std::string("<head></head>").size());
        text.erase(at, text.find("</SCRIPT>") + 9 - at);
        EXPECT_EQ(text, k.after);
    }
}

TEST_F(PopupInsertion, NewFileTakesTheLinkAfterTheBodyTag) {
    gen.SetInvocation(kInvokeLink, "Open");
    ASSERT_EQ(gen.InsertCode(page, 1, 0), 1);
    const std::string text = ReadFile(page);
    EXPECT_NE(text.find("<title>Popup Wizard Generated File</title>"), std::string::npos);
    EXPECT_NE(text.find("</head>" + Script()), std::string::npos);
    EXPECT_NE(text.find("<body><A href=\"javascript: popup1()\">Open</A>\r\n"), std::string::npos);
}

TEST_F(PopupInsertion, FailuresAreToldAndCountAsNotInserted) {
    struct Case {
        const char* page;
        int kind;
        const char* message;
    } cases[] = {
        // No head and no closed body: the script has nowhere to go.
        {"<html><body>x</html>", kInvokePageEntry, kMsgScriptInsertFailed},
        // The body tag at the very start counts as not found.
        {"<body>x</body>", kInvokePageEntry, kMsgScriptInsertFailed},
        {"", kInvokePageEntry, kMsgScriptInsertFailed},
        // A head but no closed body: the attribute step's error is reported.
        {"<html><head></head><body>x</html>", kInvokePageEntry,
         "Error 1003: The Html file is not formatted correctly"},
        {"<html><head></head><body>x</html>", kInvokeButton, kMsgAfterBodyFailed},
        {"<html><head></head><body>x</body></html>", kInvokeLink, kMsgReplaceFailed},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.page);
        prompt.Clear();
        CPopupCodeGen g;
        CentredExample(g);
        g.SetInvocation(k.kind, "L");
        WriteFile(page, k.page);
        EXPECT_EQ(g.InsertCode(page, 0, k.kind == kInvokeButton ? 1 : 0), 0);
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{k.message});
        EXPECT_EQ(ReadFile(page), k.page) << "the page is left as it was";
        EXPECT_FALSE(g.GetScanner().IsOpen(page));
    }
}

TEST_F(PopupInsertion, DeclinedOverwriteOfAChangedPageIsNotInserted) {
    WriteFile(page, "<html><head></head><body></body></html>");
    ASSERT_EQ(gen.InsertCode(page, 0, 0), 1);
    const std::string changed = "<html><head></head><body>changed elsewhere</body></html>";
    WriteFile(page, changed);
    prompt.AnswerMessage(IDNO);
    EXPECT_EQ(gen.InsertCode(page, 0, 0), 0);
    EXPECT_EQ(ReadFile(page), changed);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].style & 0x0f, MB_YESNO);
}

TEST_F(PopupInsertion, MissingPageIsRaisedToTheCaller) {
    EXPECT_THROW(gen.InsertCode(m_dir + "/missing.html", 0, 0), ondrelo::CFileException);
}

}  // namespace
