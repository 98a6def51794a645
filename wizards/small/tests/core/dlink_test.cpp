// The drop-down link list: generated code, escaping of user text, and the
// insertion into new and existing pages.
#include <gtest/gtest.h>

#include "SmallsetTestUtil.h"
#include "ondrelo/CodeGen.h"
#include "smallset/DLinkCodeGen.h"

namespace {

using namespace smalltest;
using smallset::CDLinkCodeGen;
using smallset::CDLinkList;

const std::string kExample =
    "<form name='DLinkFrm123' action=''>\r\n"
    "<select name='DLink123' size='1'>\r\n"
    "<option value='0' selected>Select Link ...\r\n"
    "<option value='1' >Home\r\n"
    "<option value='2' >Products\r\n"
    "<option value='3' >Contact\r\n"
    "</select>\r\n"
    "</form>\r\n"
    "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
    "var DLinkObj123 = new DLinkCombo(document.forms[\"DLinkFrm123\"].elements[\"DLink123\"]);\r\n"
    "DLinkObj123.addLink(0,\"\",\"\");\r\n"
    "DLinkObj123.addLink(1,\"index.html\",\"_self\");\r\n"
    "DLinkObj123.addLink(2,\"products.html\",\"_blank\");\r\n"
    "DLinkObj123.addLink(3,\"contact.html\",\"_top\");\r\n"
    "\r\n"
    "</SCRIPT>";

const std::string kInclusion = "<SCRIPT src='dlink.js' language='JavaScript'></SCRIPT>";

class DLink : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        CCodeGen::SetFixedRandomNumbers({123});
        list.Add("Select Link ...", "", "");
        list.Add("Home", "index.html", "_self");
        list.Add("Products", "products.html", "_blank");
        list.Add("Contact", "contact.html", "_top");
    }
    void TearDown() override {
        CCodeGen::SetFixedRandomNumbers({});
        PageTest::TearDown();
    }
    std::string Code() {
        std::string code, line, third, warnings;
        gen.SetModified(true);
        gen.GetCode(code, line, third, warnings);
        EXPECT_TRUE(warnings.empty());
        return code;
    }
    CDLinkList list;
    CDLinkCodeGen gen{list};
};

TEST_F(DLink, WorkedExampleByteForByte) {
    EXPECT_EQ(Code(), kExample);
    std::string code, line, third, warnings;
    gen.GetCode(code, line, third, warnings);
    EXPECT_EQ(line, kInclusion);  // before any insertion: the bare script name
    EXPECT_TRUE(third.empty());
}

TEST_F(DLink, FirstOptionSelectedWhateverItsLabel) {
    list.RemoveAll();
    list.Add("Home", "index.html", "");
    const std::string code = Code();
    EXPECT_NE(code.find("<option value='0' selected>Home\r\n"), std::string::npos);
    EXPECT_NE(code.find("DLinkObj123.addLink(0,\"index.html\",\"\");"), std::string::npos);
}

// User text inside the generated JavaScript strings cannot end the string
// or the script block; labels stay HTML as typed.
TEST_F(DLink, UserTextIsEscapedForItsContext) {
    struct Case {
        std::string link, target, expectedCall;
    } cases[] = {
        {"say\"hi\".html", "_self", "addLink(0,\"say\\\"hi\\\".html\",\"_self\");"},
        {"c:\\dir\\x.html", "my\"frame", "addLink(0,\"c:\\\\dir\\\\x.html\",\"my\\\"frame\");"},
        {"a</script><b>.html", "_top", "addLink(0,\"a\\x3C/script><b>.html\",\"_top\");"},
        {"it's.html", "", "addLink(0,\"it's.html\",\"\");"},
        {"line\nbreak", "", "addLink(0,\"line\\nbreak\",\"\");"},
    };
    for (const Case& c : cases) {
        list.RemoveAll();
        list.Add("<b>Bold</b> label", c.link, c.target);
        const std::string code = Code();
        EXPECT_NE(code.find(c.expectedCall), std::string::npos) << c.link << "\n" << code;
        EXPECT_NE(code.find(">" "<b>Bold</b> label\r\n"), std::string::npos);
        EXPECT_EQ(Count(code, "</SCRIPT>"), 1);
    }
}

TEST_F(DLink, InsertsAfterBodyAndAtPlaceholder) {
    const std::string head = "<html><head><title>t</title></head>";
    const std::string afterBody = Page("a.html", head + "<body>x</body></html>");
    ASSERT_EQ(gen.Insert(afterBody, "", false, true), 1);
    EXPECT_EQ(ReadFile(afterBody), head + "\n<!--_DIRECT_LINK_WIZ_{-->\n" + kInclusion +
                                       "\n<!--}_DIRECT_LINK_WIZ_-->\n<body>" + kExample +
                                       "x</body></html>");

    const std::string placeholder = Page(
        "b.html", head + "<body>_PLACE_DIRECT_LINK_COMBO_HERE_<p>_PLACE_DIRECT_LINK_COMBO_HERE_"
                         "</body></html>");
    ASSERT_EQ(gen.Insert(placeholder, m_dir + "/js/dlink.js", false, false), 1);
    const std::string page = ReadFile(placeholder);
    EXPECT_EQ(Count(page, kExample), 2);
    EXPECT_EQ(Count(page, "<SCRIPT src='js/dlink.js' language='JavaScript'></SCRIPT>"), 1);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(DLink, NewPageGetsCodeAfterBody) {
    const std::string path = m_dir + "/new.html";
    ASSERT_EQ(gen.Insert(path, "", true, false), 1);
    const std::string page = ReadFile(path);
    EXPECT_NE(page.find("<title>Rorida Ziro Zover</title>"), std::string::npos);
    EXPECT_NE(page.find("<body>" + kExample + "\r\n</body>"), std::string::npos);
    EXPECT_NE(page.find("</head>\n<!--_DIRECT_LINK_WIZ_{-->\n" + kInclusion), std::string::npos);
}

TEST_F(DLink, SecondInsertionReplacesTheFirst) {
    const std::string path = Page("p.html", "<html><head></head><body>y</body></html>");
    ASSERT_EQ(gen.Insert(path, "", false, true), 1);
    list.Add("More", "more.html", "_blank");
    ASSERT_EQ(gen.Insert(path, "", false, true), 1);
    const std::string page = ReadFile(path);
    EXPECT_EQ(Count(page, "<form name="), 1);
    EXPECT_EQ(Count(page, kInclusion), 1);
    EXPECT_NE(page.find("addLink(4,\"more.html\",\"_blank\")"), std::string::npos);
}

TEST_F(DLink, FailuresShowTheirMessageAndLeaveThePage) {
    struct Case {
        std::string page;
        bool afterBody;
        std::string message;
    } cases[] = {
        {"<html><head></head><body>no placeholder</body></html>", false,
         "Could not find the Replace code in the file"},
        // A page whose end tag is missing takes the code after its start
        // tag; one without a start tag gets the scanner's reason.
        {"<html><head></head><!-- <body> -->no body tag outside the comment", true,
         "Error 1003: Inserting the code after the <body> tag failed: the page has no complete "
         "<body> start tag outside comments and scripts."},
    };
    for (const Case& c : cases) {
        prompt.Clear();
        const std::string path = Page("f.html", c.page);
        EXPECT_EQ(gen.Insert(path, "", false, c.afterBody), 0);
        EXPECT_EQ(ReadFile(path), c.page);
        ASSERT_EQ(prompt.MessageTexts().size(), 1u);
        EXPECT_EQ(prompt.MessageTexts()[0], c.message);
    }
    EXPECT_EQ(gen.Insert(m_dir + "/missing.html", "", false, true), 0);
}

// The user declines to overwrite a page that changed on disk: nothing is
// written, and that is a failure, not a success.
TEST_F(DLink, DeclinedOverwriteIsAFailure) {
    const std::string path = Page("c.html", "<html><head></head><body>1</body></html>");
    ASSERT_EQ(gen.Insert(path, "", false, true), 1);
    ChangeBehindOurBack(path, "<html><head></head><body>changed elsewhere</body></html>");
    prompt.AnswerMessage(IDNO);
    EXPECT_EQ(gen.Insert(path, "", false, true), 0);
    EXPECT_EQ(ReadFile(path), "<html><head></head><body>changed elsewhere</body></html>");
    const auto texts = prompt.MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], smallset::kPageNotWritten);
}

}  // namespace
