// The button code: the worked example byte for byte, the optional lines,
// the warnings, and texts that must not break the generated code.
#include <gtest/gtest.h>

#include "hoverkit/MoverButtonCodeGen.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"

namespace {

class ButtonCode : public ::testing::Test {
protected:
    void SetUp() override {
        CCodeGen::SetFixedRandomNumbers({4711});
        info.m_strNormalImage = "C:\\site\\img\\home1.gif";
        info.m_nNormalWidth = 100;
        info.m_nNormalHeight = 30;
        info.m_strActiveImage = "C:\\site\\img\\home2.gif";
        info.m_nActiveWidth = 100;
        info.m_nActiveHeight = 30;
        info.m_strTargetURL = "index.html";
        info.m_strStatusText = "Go home";
        info.m_strAltText = "Home";
        generator.SetButtonInfo(&info);
    }
    void TearDown() override { CCodeGen::SetFixedRandomNumbers({}); }

    // The code and warnings as the last page gets them.
    void Generate() {
        info.m_bChanged = 1;
        generator.UpdateModified();
        generator.GetCode(code, inclusion, unused, warnings);
    }

    ondrelo::CScriptedPrompt prompt;
    CMoverButtonInfo info;
    CMoverButtonCodeGen generator;
    std::string code, inclusion, unused, warnings;
};

const char* const kLink =
    "<A name='anchor4711' href='index.html'  onmouseover='return callmover(\"anchor4711\");'  "
    "onmouseout='return callmout(\"anchor4711\");'  onmousedown='return "
    "callmdown(\"anchor4711\");'  onmouseup='return callmup(\"anchor4711\"); '>";

TEST_F(ButtonCode, WorkedExampleInsertedIntoAPageIsByteForByte) {
    generator.Insert("", "C:\\site\\index.html", false, true);  // fails: no such page
    const std::string expected =
        std::string(kLink) +
        "<IMG name='image4711' src='img/home1.gif' width='100' height='30'  border='0' "
        "alt='Home'></A>\r\n"
        "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
        "var mbutton4711 = new MOverButton(\"anchor4711\",\"image4711\",\"Go home\");\r\n"
        "mbutton4711.SetNormalImage(\"img/home1.gif\",100,30);\r\n"
        "mbutton4711.SetActiveImage(\"img/home2.gif\",100,30);\r\n"
        "\r\n"
        "</SCRIPT>";
    EXPECT_EQ(generator.GetButtonCode(), expected);
    EXPECT_EQ(generator.GetWarnings(), "");
}

TEST_F(ButtonCode, ClickImageLineEndsTheScriptWithoutEmptyLine) {
    info.m_strClickImage = "C:\\site\\img\\home3.gif";
    info.m_nClickWidth = 100;
    info.m_nClickHeight = 30;
    Generate();
    EXPECT_NE(code.find("mbutton4711.SetActiveImage(\"home2.gif\",100,30);\r\n"
                        "mbutton4711.SetClickImage(\"home3.gif\",100,30);\r\n</SCRIPT>"),
              std::string::npos)
        << code;
}

TEST_F(ButtonCode, BeforeInsertionNamesFilesByBareNames) {
    Generate();
    EXPECT_NE(code.find("src='home1.gif'"), std::string::npos);
    EXPECT_EQ(inclusion, "<SCRIPT src='mover2.js' language='JavaScript'></SCRIPT>");
}

TEST_F(ButtonCode, OnlyNormalImageGivesConstructorNormalImageAndEmptyLine) {
    info.m_strActiveImage.clear();
    Generate();
    EXPECT_NE(code.find("\",\"Go home\");\r\nmbutton4711.SetNormalImage(\"home1.gif\",100,30);"
                        "\r\n\r\n</SCRIPT>"),
              std::string::npos)
        << code;
    EXPECT_EQ(code.find("SetActiveImage"), std::string::npos);
}

TEST_F(ButtonCode, Warnings) {
    struct Case {
        const char* name;
        void (*change)(CMoverButtonInfo&);
        std::string warnings;
        const char* inCode;
    };
    const Case cases[] = {
        {"empty target", [](CMoverButtonInfo& i) { i.m_strTargetURL.clear(); },
         "Target URL is empty! Making the HREF to # (same page)\r\n", "href='#'"},
        {"no normal image", [](CMoverButtonInfo& i) { i.m_strNormalImage.clear(); },
         "No Normal Image selected!\r\n", "SetNormalImage(\"\",100,30);"},
        {"width only differs", [](CMoverButtonInfo& i) { i.m_nActiveWidth = 120; }, "",
         "SetActiveImage(\"home2.gif\",120,30);"},
        {"both differ",
         [](CMoverButtonInfo& i) {
             i.m_nActiveWidth = 120;
             i.m_nActiveHeight = 40;
         },
         "The size of the normal and active images differ! In some browsers(NS4), the change "
         "in width may not work.\r\n",
         nullptr},
        {"both differ without active image",
         [](CMoverButtonInfo& i) {
             i.m_strActiveImage.clear();
             i.m_nActiveWidth = 120;
             i.m_nActiveHeight = 40;
         },
         "", nullptr},
        {"all in step order",
         [](CMoverButtonInfo& i) {
             i.m_strTargetURL.clear();
             i.m_strNormalImage.clear();
         },
         "Target URL is empty! Making the HREF to # (same page)\r\nNo Normal Image "
         "selected!\r\n",
         nullptr},
    };
    for (const Case& c : cases) {
        SetUp();
        c.change(info);
        Generate();
        EXPECT_EQ(warnings, c.warnings) << c.name;
        if (c.inCode) {
            EXPECT_NE(code.find(c.inCode), std::string::npos) << c.name << "\n" << code;
        }
    }
}

TEST_F(ButtonCode, ImageOnAnotherDriveIsAWarningAndKeepsTheFullPath) {
    info.m_strActiveImage = "D:\\pics\\home2.gif";
    generator.Insert("", "C:\\site\\index.html", false, true);
    EXPECT_EQ(generator.GetWarnings(), "Can't create relative path. The drives are not the same\r\n");
    EXPECT_NE(generator.GetButtonCode().find("SetActiveImage(\"D:\\\\pics\\\\home2.gif\",100,30)"),
              std::string::npos)
        << generator.GetButtonCode();
}

TEST_F(ButtonCode, UnchangedRecordHandsOverTheSameCodeAgain) {
    Generate();
    const std::string first = code;
    CCodeGen::SetFixedRandomNumbers({99});
    generator.UpdateModified();
    generator.GetCode(code, inclusion, unused, warnings);
    EXPECT_EQ(code, first);
    info.m_bChanged = 1;
    generator.UpdateModified();
    generator.GetCode(code, inclusion, unused, warnings);
    EXPECT_NE(code.find("anchor99"), std::string::npos);
    EXPECT_EQ(info.m_bChanged, 0);
}

// Quotes and "</script" in the author's texts stay inside their attribute or
// script string instead of ending it early.
TEST_F(ButtonCode, QuotesAndScriptEndInTextsDoNotBreakTheCode) {
    info.m_strTargetURL = "javascript:alert('hi')";
    info.m_strAltText = "Bob's </script> page";
    info.m_strStatusText = "Say \"hi\" </SCRIPT><script>x() \\ done";
    Generate();
    EXPECT_NE(code.find("href='javascript:alert(&#39;hi&#39;)'"), std::string::npos) << code;
    EXPECT_NE(code.find("alt='Bob&#39;s </script> page'"), std::string::npos) << code;
    EXPECT_NE(code.find("\"Say \\\"hi\\\" <\\/SCRIPT><script>x() \\\\ done\");"),
              std::string::npos)
        << code;
    // The script block holds exactly one end tag: its own.
    const std::size_t start = code.find("<SCRIPT LANGUAGE");
    std::string script = code.substr(start);
    for (char& c : script)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(script.find("</script"), script.size() - 9);
}

TEST(ButtonCodeEscaping, ScriptStringsAndAttributes) {
    struct Case {
        const char* in;
        const char* script;
        const char* attribute;
    };
    const Case cases[] = {
        {"plain text", "plain text", "plain text"},
        {"a\"b'c", "a\\\"b'c", "a\"b&#39;c"},
        {"line\r\nbreak", "line\\r\\nbreak", "line\r\nbreak"},
        {"</script>", "<\\/script>", "</script>"},
        {"a/b </", "a/b <\\/", "a/b </"},
        {"C:\\x", "C:\\\\x", "C:\\x"},
        {"&amp; stays", "&amp; stays", "&amp; stays"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hoverkit::EscapeScriptString(c.in), c.script) << c.in;
        EXPECT_EQ(hoverkit::EscapeAttribute(c.in), c.attribute) << c.in;
    }
}

}  // namespace
