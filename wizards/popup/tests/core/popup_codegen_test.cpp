// The popup generator against the worked examples, byte for byte, and the
// escapes that keep user text from breaking the generated code.
#include <gtest/gtest.h>

#include <functional>

#include "PopupTestUtil.h"

namespace {

using namespace popkin;
using namespace popuptest;

class PopupCodeGen : public ::testing::Test {
protected:
    void TearDown() override { CCodeGen::SetFixedRandomNumbers({}); }
    CPopupCodeGen gen;
};

const std::vector<std::string> kCentredLines = {
    "<SCRIPT LANGUAGE=\"JavaScript\">",
    "function popup1()",
    "{",
    "var left = (screen.width - 300)/2;",
    "left = left<0?0:left;",
    "var top  = (screen.height - 200)/2;",
    "top = top<0?0:top;",
    "window2 = window.open(\"a.html\",\"window2\"",
    ",\"location=0,scrollbars=0,menubar=0,toolbar=0,status=0,resizable=0,directories=0,"
    "left=\"+left+\",top=\"+top+\",width=300,height=200\");",
    "window2.moveTo(left,top);",
    "}",
    "</SCRIPT>",
};

TEST_F(PopupCodeGen, CentredUrlOnPageEntry) {
    CentredExample(gen);
    const Code c = Generate(gen);
    EXPECT_EQ(Lines(c.script), kCentredLines);
    EXPECT_EQ(c.script.substr(c.script.size() - 9), "</SCRIPT>");
    EXPECT_EQ(c.calling, "<BODY  onLoad=\"popup1()\">");
    EXPECT_EQ(c.instruction, "Modify the <BODY> tag of the HTML page to the following");
    EXPECT_EQ(c.warnings, "");
    EXPECT_EQ(gen.GetFunctionName(), "popup1");
}

TEST_F(PopupCodeGen, OncePerVisitorAddsCookieCode) {
    CentredExample(gen);
    gen.SetOptions(0, 1, 0, 0);
    const Code c = Generate(gen);
    std::vector<std::string> expected = kCentredLines;
    expected.insert(expected.begin(), "<SCRIPT src='cookies.js' language='JavaScript'></SCRIPT>");
    // After "{": the check and an empty line; before "}": the cookie.
    expected.insert(expected.begin() + 4, {"if(getcookie('popup1') =='y'){ return; }", ""});
    expected.insert(expected.end() - 2, "setcookie(\"popup1\",\"y\",1000);");
    EXPECT_EQ(Lines(c.script), expected);

    std::string placeholder, object, script;
    gen.GetInsertInfo(placeholder, object, script);
    EXPECT_EQ(script, "cookies.js");
    EXPECT_EQ(object, "Popup");
    EXPECT_EQ(placeholder, "");
}

TEST_F(PopupCodeGen, CookieDaysFollowTheOptions) {
    struct Case {
        int once, days;
        const char* cookieLine;  // null: no cookie code at all
    } cases[] = {
        {0, 7, "setcookie(\"popup1\",\"y\",7);"},
        {1, 7, "setcookie(\"popup1\",\"y\",1000);"},
        {0, 0, nullptr},
        {2, 0, nullptr},  // only 1 counts as on
        {2, 3, "setcookie(\"popup1\",\"y\",3);"},
        {0, -4, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.once) + "/" + std::to_string(k.days));
        CPopupCodeGen g;
        CentredExample(g);
        g.SetOptions(0, k.once, k.days, 0);
        const Code c = Generate(g);
        std::string placeholder, object, script = "untouched";
        g.GetInsertInfo(placeholder, object, script);
        if (k.cookieLine) {
            EXPECT_NE(c.script.find(k.cookieLine), std::string::npos);
            EXPECT_EQ(c.script.find("<SCRIPT src='cookies.js'"), 0u);
            EXPECT_EQ(script, "cookies.js");
        } else {
            EXPECT_EQ(c.script.find("cookie"), std::string::npos);
            EXPECT_EQ(script, "untouched");
        }
    }
}

TEST_F(PopupCodeGen, FixedGeometryWarnsAboutNegativeLocationAndZeroSize) {
    gen.SetPosition(0, -10, 5, 0, 100);
    gen.SetContent(1, "a.html", "");
    const Code c = Generate(gen);
    EXPECT_EQ(c.warnings,
              " The location of the window contain negative values. It may not work in some "
              "browsers.\r\nThe Width/Height is zero!. The popup may not work in some "
              "browsers.\r\n");
    const auto lines = Lines(c.script);
    EXPECT_EQ(lines[4],
              ",\"location=0,scrollbars=0,menubar=0,toolbar=0,status=0,resizable=0,directories=0,"
              "left=-10,top=5,width=0,height=100\");");
    EXPECT_EQ(lines[5], "window2.moveTo(-10,5);");
}

TEST_F(PopupCodeGen, CentredPopupGetsNoGeometryWarnings) {
    gen.SetPosition(1, -10, -5, 0, 0);
    gen.SetContent(1, "a.html", "");
    EXPECT_EQ(Generate(gen).warnings, "");
}

TEST_F(PopupCodeGen, WarningsComeInTheirOrder) {
    gen.SetPosition(0, -1, 0, 10, 0);
    gen.SetContent(1, "", "");
    gen.SetInvocation(kInvokeLink, "");
    EXPECT_EQ(Generate(gen).warnings, std::string(kWarnEmptyUrl) + "\r\n" +
                                          kWarnNegativeLocation + "\r\n" + kWarnZeroSize +
                                          "\r\n" + kWarnEmptyLinkLabel + "\r\n");
}

TEST_F(PopupCodeGen, FeatureListFollowsEachCheckBox) {
    gen.SetPosition(0, 1, 2, 3, 4);
    gen.SetFeatures(1, 0, 1, 0, 1, 0, 7);
    gen.SetContent(1, "a.html", "");
    gen.SetOptions(1, 0, 0, 0);
    const auto lines = Lines(Generate(gen).script);
    EXPECT_EQ(lines[4],
              ",\"location=1,scrollbars=0,menubar=1,toolbar=0,status=1,resizable=0,directories=1,"
              "left=1,top=2,width=3,height=4\");");
    EXPECT_EQ(lines[5], "window2.blur(); window.focus();");
    EXPECT_EQ(lines[6], "window2.moveTo(1,2);");
}

TEST_F(PopupCodeGen, HtmlContentIsWrittenLineByLine) {
    gen.SetPosition(0, 50, 50, 350, 350);
    gen.SetContent(0, "ignored.html", "<b>Say \"hi\"</b>\r\nx");
    const Code c = Generate(gen);
    const auto lines = Lines(c.script);
    EXPECT_EQ(lines[3], "window2 = window.open(\"\",\"window2\"");
    EXPECT_EQ(lines[5], "window2.moveTo(50,50);");
    EXPECT_EQ(lines[6], "window2.document.write(\"<b>Say \\\"hi\\\"</b>\");");
    EXPECT_EQ(lines[7], "window2.document.write(\"x\");");
    EXPECT_EQ(lines[8], "}");
    EXPECT_EQ(c.warnings, "");
}

TEST_F(PopupCodeGen, ContentLineSplitting) {
    struct Case {
        const char* content;
        std::vector<std::string> writes;
    } cases[] = {
        {"a\r\n\r\nb", {"a", "", "b"}},  // an empty line writes an empty string
        {"a\r\n", {"a"}},                // nothing after the last line break
        {"\r\n", {""}},
        {"\n", {""}},
        {"", {}},
        // A bare line feed (content from a file) keeps the line's last character.
        {"ab\ncd\n", {"ab", "cd"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.content);
        CPopupCodeGen g;
        g.SetContent(0, "", k.content);
        const auto lines = Lines(Generate(g).script);
        std::vector<std::string> writes;
        for (const auto& line : lines) {
            const std::string prefix = "window2.document.write(\"";
            if (line.rfind(prefix, 0) == 0) {
                writes.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 3));
            }
        }
        EXPECT_EQ(writes, k.writes);
    }
}

TEST_F(PopupCodeGen, UserTextCannotBreakTheScript) {
    // Backslashes stay backslashes, and a closing script tag in the content
    // does not end the popup's script element.
    gen.SetContent(0, "", "C:\\dir</script><SCRIPT>x</SCRIPT>");
    auto lines = Lines(Generate(gen).script);
    EXPECT_EQ(lines[6], "window2.document.write(\"C:\\\\dir<\\/script><SCRIPT>x<\\/SCRIPT>\");");

    gen.SetContent(1, "a.html?q=\"x\"&p=\\y", "");
    lines = Lines(Generate(gen).script);
    EXPECT_EQ(lines[3], "window2 = window.open(\"a.html?q=\\\"x\\\"&p=\\\\y\",\"window2\"");

    gen.SetInvocation(kInvokeButton, "Say \"hi\"");
    EXPECT_EQ(Generate(gen).calling,
              "<INPUT type=\"button\" OnClick=\"popup1()\" value=\"Say &quot;hi&quot;\" >");
}

TEST_F(PopupCodeGen, CallingHtmlByKind) {
    struct Case {
        int kind;
        int delay;
        const char* label;
        const char* calling;
        const char* instruction;
        const char* warning;
    } cases[] = {
        {kInvokePageEntry, 5, "", "<BODY  onLoad=\"setTimeout('popup1()',5000)\">",
         "Modify the <BODY> tag of the HTML page to the following", ""},
        {kInvokePageExit, 0, "x", "<BODY  onUnload=\"popup1()\">",
         "Modify the <BODY> tag of the HTML page to the following", ""},
        {kInvokePageExit, 2, "", "<BODY  onUnload=\"setTimeout('popup1()',2000)\">",
         "Modify the <BODY> tag of the HTML page to the following", ""},
        {kInvokeButton, 5, "Open", "<INPUT type=\"button\" OnClick=\"popup1()\" value=\"Open\" >",
         "Copy and paste this code for the button", ""},
        {kInvokeButton, 0, "", "<INPUT type=\"button\" OnClick=\"popup1()\" value=\"\" >",
         "Copy and paste this code for the button", "The label of the button is empty!\r\n"},
        {kInvokeLink, 5, "<i>Go</i>", "<A href=\"javascript: popup1()\"><i>Go</i></A>",
         "Copy and paste this code for the link", ""},
        {kInvokeLink, 0, "", "<A href=\"javascript: popup1()\"></A>",
         "Copy and paste this code for the link", "The label of the link is empty!\r\n"},
        {7, 0, "x", "", "", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.calling);
        CPopupCodeGen g;
        g.SetPosition(0, 1, 1, 10, 10);
        g.SetContent(1, "a.html", "");
        g.SetInvocation(k.kind, k.label);
        g.SetOptions(0, 0, 0, k.delay);
        const Code c = Generate(g);
        EXPECT_EQ(c.calling, k.calling);
        EXPECT_EQ(c.instruction, k.instruction);
        EXPECT_EQ(c.warnings, k.warning);
    }
}

TEST_F(PopupCodeGen, InsertInfoByKind) {
    struct Case {
        int kind;
        const char* placeholder;
        const char* object;
    } cases[] = {{kInvokeButton, "PLACE_POPUP_BUTTON_HERE", "PopupButton"},
                 {kInvokeLink, "PLACE_POPUP_LINK_HERE", "PopupLink"},
                 {kInvokePageEntry, "", "Popup"},
                 {kInvokePageExit, "", "Popup"}};
    for (const Case& k : cases) {
        gen.SetInvocation(k.kind, "");
        std::string placeholder = "old", object, script;
        gen.GetInsertInfo(placeholder, object, script);
        EXPECT_EQ(placeholder, k.placeholder);
        EXPECT_EQ(object, k.object);
        EXPECT_EQ(script, "");
    }
}

TEST_F(PopupCodeGen, SettersMarkModifiedOnlyOnARealChange) {
    EXPECT_FALSE(gen.IsModified());
    gen.SetPosition(0, 0, 0, 0, 0);
    gen.SetFeatures(0, 0, 0, 0, 0, 0, 0);
    gen.SetContent(0, "", "");
    gen.SetInvocation(kInvokePageEntry, "");
    gen.SetOptions(0, 0, 0, 0);
    EXPECT_FALSE(gen.IsModified()) << "the initial values again";

    const std::vector<std::function<void()>> changes = {
        [&] { gen.SetPosition(0, 0, 0, 0, 1); },
        [&] { gen.SetFeatures(0, 0, 0, 0, 0, 0, 1); },
        [&] { gen.SetContent(0, "", "x"); },
        [&] { gen.SetInvocation(kInvokePageEntry, "a"); },
        [&] { gen.SetOptions(0, 0, 0, 1); },
    };
    for (const auto& change : changes) {
        gen.SetModified(false);
        change();
        EXPECT_TRUE(gen.IsModified());
        gen.SetModified(false);
        change();  // the same values once more
        EXPECT_FALSE(gen.IsModified());
    }
}

TEST_F(PopupCodeGen, GetCodeRegeneratesOnlyWhenModified) {
    CentredExample(gen);
    CCodeGen::SetFixedRandomNumbers({1, 2});
    std::string a, b, c, w;
    gen.GetCode(a, b, c, w);
    CCodeGen::SetFixedRandomNumbers({8, 9});
    gen.GetCode(a, b, c, w);
    EXPECT_EQ(b, "<BODY  onLoad=\"popup1()\">") << "no change, no new names";
    gen.SetOptions(0, 0, 0, 1);
    gen.GetCode(a, b, c, w);
    EXPECT_EQ(b, "<BODY  onLoad=\"setTimeout('popup8()',1000)\">");
    EXPECT_NE(a.find("window9 = window.open("), std::string::npos);
}

}  // namespace
