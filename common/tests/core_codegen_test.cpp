// The generator base: regeneration on change, the shared HTML and script
// pieces, the script inclusion line and the new-page sequence.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ondrelo/CodeGen.h"
#include "ondrelo/HTMLScanner.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace fs = std::filesystem;
using ondrelo::CScriptedPrompt;

namespace {

// A generator whose results the test chooses; it counts its runs.
class CTestGen : public CCodeGen {
public:
    int GenerateCode() override {
        ++m_runs;
        m_strCode1 = "one";
        m_strCode1 += std::to_string(m_runs);
        m_strCode2 = "two";
        m_strCode3 = "three";
        AddWarning(std::string(1, 'w') += std::to_string(m_runs));
        return m_result;
    }
    int m_runs = 0;
    int m_result = 1;
};

using ondrelo::test::ReadFile;

}  // namespace

TEST(CodeGenGetCode, GeneratesOncePerChange) {
    CTestGen gen;
    std::string t1, t2, t3, w;
    EXPECT_EQ(gen.GetCode(t1, t2, t3, w), 1);  // not modified: nothing generated
    EXPECT_EQ(gen.m_runs, 0);
    EXPECT_EQ(t1, "");

    gen.SetModified(true);
    EXPECT_EQ(gen.GetCode(t1, t2, t3, w), 1);
    EXPECT_EQ(gen.GetCode(t1, t2, t3, w), 1);
    EXPECT_EQ(gen.m_runs, 1);
    EXPECT_FALSE(gen.IsModified());
    EXPECT_EQ(t1, "one1");
    EXPECT_EQ(t2, "two");
    EXPECT_EQ(t3, "three");
    EXPECT_EQ(w, "w1\r\n");

    // A failed run hands out what it left and stays modified, so the next
    // call tries again.
    gen.m_result = 0;
    gen.SetModified(true);
    EXPECT_EQ(gen.GetCode(t1, t2, t3, w), 0);
    EXPECT_EQ(t1, "one2");
    EXPECT_TRUE(gen.IsModified());
    gen.m_result = 5;
    EXPECT_EQ(gen.GetCode(t1, t2, t3, w), 5);
    EXPECT_EQ(gen.m_runs, 3);
    EXPECT_FALSE(gen.IsModified());

    CTestGen copy(gen);
    std::string c1, c2, c3, cw;
    copy.GetCode(c1, c2, c3, cw);
    EXPECT_EQ(c1, t1);
    EXPECT_EQ(cw, w);
}

TEST(CodeGenPieces, FixedTexts) {
    CTestGen gen;
    EXPECT_EQ(gen.GetStartOfScript(), "<SCRIPT LANGUAGE=\"JavaScript\">\r\n");
    EXPECT_EQ(gen.GetEndOfScript(), "\r\n</SCRIPT>");
    EXPECT_EQ(gen.GetOndHtmlCommentStartPart(), "\r\n<!--- Code Added by Ondrelo(Start) -->\r\n");
    EXPECT_EQ(gen.GetOndHtmlCommentEndPart(), "\r\n<!--- Code Added by Ondrelo(End) -->\r\n");
    EXPECT_STREQ(pszMasterScriptFileName, "gen_validatorv3.js");
    EXPECT_EQ(CCodeGen::GetHtmlBottomPart(), "</body>\n</html>");

    gen.AddWarning("A");
    gen.AddWarning("B");
    std::string t1, t2, t3, w;
    gen.GetCode(t1, t2, t3, w);
    EXPECT_EQ(w, "A\r\nB\r\n");

    const std::pair<const char*, const char*> titles[] = {
        {"My Page", "My Page"},
        {"100% <b>sure</b> %s %d", "100% <b>sure</b> %s %d"},
        {"", ""},
    };
    for (const auto& [title, shown] : titles) {
        std::string expected =
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n\n"
            "<html>\n<head>\n\t<title>";
        expected += shown;
        expected += "</title>\n</head>\n\n";
        EXPECT_EQ(CCodeGen::GetHtmlHeadPart(title), expected);
    }
}

TEST(CodeGenScriptInclusion, Table) {
    struct {
        const char* page;
        const char* script;
        const char* line;
        bool message;
    } cases[] = {
        {R"(C:\site\pages\index.html)", R"(C:\site\scripts\gen_validatorv3.js)",
         "<SCRIPT src='../scripts/gen_validatorv3.js' language='JavaScript'></SCRIPT>", false},
        {R"(C:\site\pages\index.html)", "",
         "<SCRIPT src='gen_validatorv3.js' language='JavaScript'></SCRIPT>", false},
        {"", R"(C:\site\scripts\mover2.js)",
         "<SCRIPT src='mover2.js' language='JavaScript'></SCRIPT>", false},
        {R"(C:\site\index.html)", R"(D:\scripts\gen_validatorv3.js)",
         "<SCRIPT src='gen_validatorv3.js' language='JavaScript'></SCRIPT>", true},
        {"/srv/www/site/index.html", "/srv/www/site/js/gen_validatorv3.js",
         "<SCRIPT src='js/gen_validatorv3.js' language='JavaScript'></SCRIPT>", false},
    };
    for (const auto& c : cases) {
        CScriptedPrompt prompt;
        CTestGen gen;
        EXPECT_EQ(gen.GenerateScriptInclusion(c.page, c.script, "gen_validatorv3.js"), c.line)
            << c.page << " " << c.script;
        if (c.message) {
            ASSERT_EQ(prompt.Records().size(), 1u);
            EXPECT_EQ(prompt.Records()[0].text,
                      "Can't create relative path. The drives are not the same");
            EXPECT_EQ(prompt.Records()[0].style, MB_OK | MB_ICONERROR);
        } else {
            EXPECT_TRUE(prompt.Records().empty()) << c.page;
        }
    }
}

TEST(CodeGenNewPage, BuiltSavedAndClosed) {
    const ondrelo::test::CScratchDir dir;
    const fs::path file = dir.path() / "new.html";
    {
        CScriptedPrompt prompt;
        CHTMLScanner scanner;
        ondrelo::CreateNewHtmlPage(scanner, file.string(), "T");
        EXPECT_EQ(ReadFile(file),
                  "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n\n<html>\n"
                  "<head>\n\t<title>T</title>\n</head>\n\n<body>\r\n</body>\n</html>");
        EXPECT_EQ(scanner.GetText(), "");
        EXPECT_EQ(scanner.GetFilePath(), "");

        // The page then takes the usual insertions.
        ASSERT_TRUE(scanner.OpenFile(file.string()));
        EXPECT_TRUE(scanner.InsertScriptInclusion("<SCRIPT src='x.js'></SCRIPT>"));
        EXPECT_TRUE(scanner.InsertAfterBodyTag("<p>code</p>"));
        EXPECT_EQ(scanner.SaveFile(), 1);
        const std::string saved = ReadFile(file);
        EXPECT_NE(saved.find("</head>\n<!--Ondrelo{-->\n<SCRIPT src='x.js'></SCRIPT>\n"
                             "<!--}Ondrelo-->\n\n\n<body><p>code</p>\r\n</body>"),
                  std::string::npos)
            << saved;
        EXPECT_TRUE(prompt.Records().empty());
    }
}

TEST(CodeGenRandomNumbers, FixedNumbersComeInOrderAndTheLastRepeats) {
    CCodeGen::SetFixedRandomNumbers({1, 2});
    CCodeGen::SeedRandomNumbers();
    EXPECT_EQ(CCodeGen::DrawRandomNumber(), 1);
    EXPECT_EQ(CCodeGen::DrawRandomNumber(), 2);
    EXPECT_EQ(CCodeGen::DrawRandomNumber(), 2);
    CCodeGen::SetFixedRandomNumbers({});
    for (int i = 0; i < 100; ++i) {
        const int n = CCodeGen::DrawRandomNumber();
        EXPECT_GE(n, 0);
        EXPECT_LE(n, 32767);
    }
}
