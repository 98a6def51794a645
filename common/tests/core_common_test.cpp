// Path arithmetic, number formatting, messages, error objects, prompts,
// string-table lookups and script copying.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/regex.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/ScratchDir.h"
#include "ondrelo/Resources.h"

namespace fs = std::filesystem;
using ondrelo::CScriptedPrompt;

namespace {

using ondrelo::test::ReadFile;
using ondrelo::test::WriteFile;
// A temporary folder with its own settings store.
using TempDir = ondrelo::test::CScratchDir;

}  // namespace

struct RelativeCase {
    const char* from;
    const char* to;
    bool ok;
    const char* result;
};

TEST(FindRelativePath, Table) {
    const RelativeCase cases[] = {
        {R"(C:\site\pages\index.html)", R"(c:\site\scripts\gen_validatorv3.js)", true,
         "../scripts/gen_validatorv3.js"},
        {R"(C:\site\index.html)", R"(C:\site\gen_validatorv3.js)", true, "gen_validatorv3.js"},
        {R"(C:\a/b\c.html)", R"(C:\a\b\x.js)", true, "x.js"},
        {R"(C:\Site\p.html)", R"(C:\site\x.js)", true, "../site/x.js"},
        {R"(C:\a\b\c\p.html)", R"(C:\a\x.js)", true, "../../x.js"},
        {R"(C:\a\p.html)", R"(C:\a\b\c\x.js)", true, "b/c/x.js"},
        {"", R"(C:\scripts\mover2.js)", true, "mover2.js"},
        {R"(C:\a\p.html)", R"(D:\a\x.js)", false,
         "Can't create relative path. The drives are not the same"},
        {"/home/u/site/pages/index.html", "/home/u/site/js/dlink.js", true, "../js/dlink.js"},
        {"/home/u/site/index.html", "/home/u/site/cookies.js", true, "cookies.js"},
        {"/srv/www/index.html", "/opt/ondrelo/scripts/mover2.js", true,
         "../../opt/ondrelo/scripts/mover2.js"},
    };
    for (const auto& c : cases) {
        std::string result = "unchanged";
        EXPECT_EQ(CCommon::FindRelativePath(c.from, c.to, result), c.ok)
            << c.from << " -> " << c.to;
        EXPECT_EQ(result, c.result) << c.from << " -> " << c.to;
    }
}

TEST(SplitPath, PartsAndAbsentParts) {
    struct Case {
        const char* path;
        const char *drive, *dir, *name, *ext;
    } cases[] = {
        {R"(C:\site\pages\index.html)", "C:", R"(\site\pages\)", "index", ".html"},
        {"index.html", "", "", "index", ".html"},
        {R"(C:\site\)", "C:", R"(\site\)", "", ""},
        {"/home/u/a.b/page", "", "/home/u/a.b/", "page", ""},
        {"/home/u/archive.tar.gz", "", "/home/u/", "archive.tar", ".gz"},
        {"", "", "", "", ""},
        {"C:index.html", "C:", "", "index", ".html"},
        {"/site/.htaccess", "", "/site/", "", ".htaccess"},
    };
    for (const auto& c : cases) {
        std::string drive, dir, name, ext;
        CCommon::SplitPath(c.path, drive, dir, name, ext);
        EXPECT_EQ(drive, c.drive) << c.path;
        EXPECT_EQ(dir, c.dir) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
        EXPECT_EQ(ext, c.ext) << c.path;
    }
    // Long paths are not cut at the old 260-character bound.
    std::string longDir = "/" + std::string(300, 'd') + "/";
    std::string drive, dir, name, ext;
    CCommon::SplitPath(longDir + "x.js", drive, dir, name, ext);
    EXPECT_EQ(dir, longDir);
}

TEST(Tokenise, SkipsEmptyTokensAndAppends) {
    std::vector<std::string> tokens{"keep"};
    CCommon::Tokenise(R"(\\a//b\)", "\\/", tokens);
    EXPECT_EQ(tokens, (std::vector<std::string>{"keep", "a", "b"}));
    tokens.clear();
    CCommon::Tokenise("///", "/", tokens);
    EXPECT_TRUE(tokens.empty());
}

TEST(NormalizeFloat, Table) {
    const std::pair<double, const char*> cases[] = {
        {2.5, "2.5"},       {0.125, "0.125"},     {3.000004, "3"},   {1.1, "1.1"},
        {-0.5, "-0.5"},     {7.0, "7"},           {10.000001, "10"}, {0.0, "0"},
        {-12.25, "-12.25"}, {0.00002, "0.00002"}, {0.9999996, "1"},  {1e12, "1000000000000"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(CCommon::NormalizeFloat(value), text) << value;
    }
}

TEST(RexExpMatch, WholeTextAndBadPattern) {
    EXPECT_TRUE(CCommon::RexExpMatch("[[:alnum:]_]*", "my_name1"));
    EXPECT_FALSE(CCommon::RexExpMatch("[[:alnum:]_]*", "my name"));
    EXPECT_TRUE(CCommon::RexExpMatch("[[:alnum:]_]*", ""));
    EXPECT_FALSE(CCommon::RexExpMatch("abc", "xabcx"));  // anchored at both ends
    EXPECT_FALSE(CCommon::RexExpMatch("abc", "ABC"));    // case-sensitive
    EXPECT_THROW(CCommon::RexExpMatch("[unclosed", "x"), boost::regex_error);
}

TEST(Messages, CaptionStyleAndLookup) {
    CScriptedPrompt prompt;
    prompt.AnswerMessage(IDYES);
    CCommon::SetMessageTitle("Form Validation Wizard");
    EXPECT_EQ(CCommon::ShowMessageBox("Proceed?", nullptr, MB_YESNO | MB_ICONQUESTION), IDYES);
    CCommon::ShowErrorMessage(204u);
    ASSERT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(prompt.Records()[0].caption, "Ondrelo");  // never the message title
    EXPECT_EQ(prompt.Records()[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(prompt.Records()[1].text, "The Html file is not formatted correctly");
    EXPECT_EQ(prompt.Records()[1].style, MB_OK | MB_ICONERROR);
    EXPECT_EQ(CCommon::GetMessageTitle(), "Form Validation Wizard");
}

TEST(Prompts, UnansweredQuestionsTakeTheCautiousAnswer) {
    CScriptedPrompt prompt;
    EXPECT_EQ(CCommon::ShowMessageBox("x", nullptr, MB_OK), IDOK);
    EXPECT_EQ(CCommon::ShowMessageBox("x", nullptr, MB_YESNO), IDNO);
    EXPECT_EQ(CCommon::ShowMessageBox("x", nullptr, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(CCommon::ShowMessageBox("x", nullptr, MB_YESNOCANCEL), IDCANCEL);
    std::string path = "kept";
    EXPECT_FALSE(CCommon::ShowOpenHtmlFile(path));
    EXPECT_EQ(path, "kept");
}

TEST(Prompts, ScriptedPromptRestoresThePreviousOne) {
    ondrelo::IPrompt* before = &ondrelo::Prompt();
    {
        CScriptedPrompt outer;
        {
            CScriptedPrompt inner;
            EXPECT_EQ(&ondrelo::Prompt(), &inner);
        }
        EXPECT_EQ(&ondrelo::Prompt(), &outer);
    }
    EXPECT_EQ(&ondrelo::Prompt(), before);
}

namespace {
struct RecordingField : ondrelo::ITextField {
    std::string text;
    void SetText(const std::string& t) override { text = t; }
};
}  // namespace

TEST(FileDialogs, OpenHtmlFileSpecAndField) {
    CScriptedPrompt prompt;
    prompt.AnswerFile(std::string("/site/index.html"));
    RecordingField field;
    std::string path;
    ASSERT_TRUE(CCommon::ShowOpenHtmlFile(path, &field));
    EXPECT_EQ(path, "/site/index.html");
    EXPECT_EQ(field.text, "/site/index.html");
    const auto& d = prompt.Records().at(0).dialog;
    EXPECT_TRUE(d.open);
    EXPECT_TRUE(d.fileMustExist);
    EXPECT_TRUE(d.hideReadOnly);
    EXPECT_EQ(d.filter, "HTML Files (*.html;*.htm)|*.html; *.htm||");
}

TEST(FileDialogs, CopyJSFileStartsInTheLastScriptFolder) {
    TempDir dir;
    COndRegistryHandler::SetScriptCopyPath("/site/js");
    CScriptedPrompt prompt;
    prompt.AnswerFile(std::nullopt);
    prompt.AnswerFile(std::string("/site/js/mover2.js"));
    std::string chosen = "unchanged";
    EXPECT_FALSE(CCommon::ShowCopyJSFile("mover2.js", chosen));
    EXPECT_EQ(chosen, "unchanged");
    EXPECT_TRUE(CCommon::ShowCopyJSFile("mover2.js", chosen));
    EXPECT_EQ(chosen, "/site/js/mover2.js");
    const auto& d = prompt.Records().at(0).dialog;
    EXPECT_FALSE(d.open);
    EXPECT_EQ(d.fileName, "mover2.js");
    EXPECT_EQ(d.defaultExt, "*.js");
    EXPECT_EQ(d.filter, "JavaScript Files(*.js)|*.js|All Files (*.*)|*.*||");
    EXPECT_EQ(d.initialDir, "/site/js");
}

TEST(CopyScriptFile, CopiesBytesExactlyAndRemembersTheFolder) {
    TempDir dir;
    std::string bytes("line1\r\nline2\0\xff\xfe tail", 20);
    WriteFile(dir.path() / "src.js", bytes);
    fs::create_directory(dir.path() / "dest");
    WriteFile(dir.path() / "dest" / "src.js", "old contents that are longer than the new ones....");
    std::string dest = (dir.path() / "dest" / "src.js").string();
    ASSERT_TRUE(CCommon::CopyScriptFile((dir.path() / "src.js").string(), dest));
    EXPECT_EQ(ReadFile(dest), bytes);
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), (dir.path() / "dest").string());
    // Only the file itself is left in the folder: no temporary copies.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "dest"), {}), 1);
}

TEST(CopyScriptFile, FailureKeepsTheDestinationAndStillStoresTheFolder) {
    TempDir dir;
    fs::create_directory(dir.path() / "dest");
    std::string dest = (dir.path() / "dest" / "x.js").string();
    WriteFile(dest, "precious");
    EXPECT_FALSE(CCommon::CopyScriptFile((dir.path() / "missing.js").string(), dest));
    EXPECT_EQ(ReadFile(dest), "precious");
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), (dir.path() / "dest").string());
    // A folder that does not exist cannot take the copy.
    WriteFile(dir.path() / "src.js", "x");
    EXPECT_FALSE(CCommon::CopyScriptFile((dir.path() / "src.js").string(),
                                         (dir.path() / "nowhere" / "x.js").string()));
    // The folder is remembered even though the copy failed.
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), (dir.path() / "nowhere").string());
}

TEST(OndException, DefaultsAndTexts) {
    COndException e;
    EXPECT_EQ(e.GetErrorString(), "Unknown Exception");
    e.SetError(202u, 7);
    EXPECT_EQ(e.GetErrorString(), "The file was modified by some other program.");
    EXPECT_EQ(e.GetErrorCode(), 7u);
    e.SetError(99999u, 8);
    EXPECT_EQ(e.GetErrorString(), "Error 1001: Resource Exception");
    e.SetError(std::string("custom"), 9);
    EXPECT_EQ(e.GetErrorString(), "custom");
    COndException copy = e;
    EXPECT_EQ(copy.GetErrorString(), "custom");
    EXPECT_EQ(copy.GetErrorCode(), 9u);
}

TEST(OndException, ThrownAsPointerAndReported) {
    CScriptedPrompt prompt;
    try {
        COndException::ThrowOndException(204u, 1003);
        FAIL() << "nothing thrown";
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    }
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0], "Error 1003: The Html file is not formatted correctly");
}

TEST(Resources, ModuleTableComesFirstThenCommon) {
    const ondrelo::StringTable table{{204, "module's own text"}, {117, "module only"}};
    ondrelo::SModuleResources module{"Test", &table, nullptr};
    EXPECT_EQ(ondrelo::ResString(117), "");
    {
        ondrelo::CModuleResourceScope scope(&module);
        EXPECT_EQ(ondrelo::ResString(204), "module's own text");
        EXPECT_EQ(ondrelo::ResString(203), "The file was modified outside Ondrelo");
        EXPECT_EQ(ondrelo::ResString(117), "module only");
        {
            ondrelo::CModuleResourceScope none(nullptr);
            EXPECT_EQ(ondrelo::ResString(117), "");
        }
        EXPECT_EQ(ondrelo::ResString(117), "module only");
    }
    EXPECT_EQ(ondrelo::ResString(204), "The Html file is not formatted correctly");
}

TEST(FileException, CausesFromErrno) {
    using ondrelo::CFileException;
    EXPECT_EQ(CFileException::FromErrno(ENOENT, "/x", "open").Cause(),
              CFileException::fileNotFound);
    EXPECT_EQ(CFileException::FromErrno(EACCES, "/x", "open").Cause(),
              CFileException::accessDenied);
    EXPECT_EQ(CFileException::FromErrno(ENOSPC, "/x", "write").Cause(), CFileException::diskFull);
    auto e = CFileException::FromErrno(EIO, "/x/y.html", "read");
    EXPECT_EQ(e.Cause(), CFileException::generic);
    EXPECT_EQ(e.Path(), "/x/y.html");
    EXPECT_NE(std::string(e.what()).find("/x/y.html"), std::string::npos);
}

#include "ondrelo/Format.h"

TEST(FormatText, ValuesAreNeverDirectives) {
    using ondrelo::FormatText;
    EXPECT_EQ(FormatText("The file %s already exists!", {"/a/%s%d.html"}),
              "The file /a/%s%d.html already exists!");
    EXPECT_EQ(FormatText("%s and %s", {"a"}), "a and %s");
    EXPECT_EQ(FormatText("100%% of %d", {"7"}), "100% of 7");
    EXPECT_EQ(FormatText("trailing %", {"x"}), "trailing %");
}
