// The three insertion operations, and the round trip design, generate,
// insert into a page, read back, compare.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FormFixtures.h"
#include "formwarden/FormInsertion.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/registry.h"

namespace {

using namespace formtest;

const std::string kStart = "\n<!--FORM_WIZ{-->\n";
const std::string kEnd = "\n<!--}FORM_WIZ-->\n";
const std::string kLine = "<SCRIPT src=\"gen_validatorv3.js\"  language=\"JavaScript\"></SCRIPT>";

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class FormInsertion : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "installed");
        WriteFile(dir / "installed/gen_validatorv3.js", "function Validator(n) {}\n");
        ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                                   COndRegistryHandler::kInstallationKey,
                                                   "scriptspath", dir / "installed"));
    }

    // The designed form's generator, as the last page leaves it.
    void Design(CHtmlForm& form) {
        generator.SetModel(&form, &form.m_Elements, nullptr);
        std::string a, b, c;
        generator.GetCode(a, b, c, warnings);
    }

    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CFormCodeGen generator;
    std::string warnings;
};

// What reading the page back must give for each element: the generated
// calls in order, a group's calls on its first member, option 0 except
// for the spaces of alpha_s and alnum_s.
std::vector<std::vector<CValidation>> ExpectedReadBack(const CHtmlForm& designed) {
    std::vector<std::vector<CValidation>> expected(designed.GetElementCount());
    for (int i = 0; i < designed.GetElementCount(); ++i) {
        int first = i;
        for (int j = 0; j < designed.GetElementCount(); ++j) {
            if (designed.GetElement(j).m_strName == designed.GetElement(i).m_strName) {
                first = j;
                break;
            }
        }
        for (CValidation v : *designed.GetElement(i).Validations()) {
            if ((v.m_nKind == kValSelectMin || v.m_nKind == kValSelectOne) &&
                v.m_nOption == kOptionGroupHolder)
                continue;
            if (v.m_nKind != kValAlpha && v.m_nKind != kValAlnum)
                v.m_nOption = 0;
            expected[first].push_back(v);
        }
    }
    return expected;
}

// The values the page carries for an element: its value, or a list box's
// item values.
std::vector<std::string> ValueOf(const CFormElement& element) {
    const CElementData* data = element.GetData();
    if (const auto* text = dynamic_cast<const CTextData*>(data))
        return {text->m_strValue};
    if (const auto* box = dynamic_cast<const CCheckboxData*>(data))
        return {box->m_strValue};
    if (const auto* radio = dynamic_cast<const CRadioData*>(data))
        return {radio->m_strValue};
    if (const auto* hidden = dynamic_cast<const CHiddenData*>(data))
        return {hidden->m_strValue};
    std::vector<std::string> values;
    if (const auto* list = dynamic_cast<const CListboxData*>(data))
        for (const SListItem& item : list->m_Items)
            values.push_back(item.m_strValue);
    return values;
}

void ExpectReadBack(const std::string& path, const CHtmlForm& designed) {
    CFormPageScanner reader;
    CHtmlForm read;
    ASSERT_TRUE(reader.LoadPage(path, read));
    EXPECT_EQ(read.m_strName, designed.m_strName);
    EXPECT_EQ(read.m_strAction, designed.m_strAction);
    EXPECT_EQ(read.m_nMethod, designed.m_nMethod);
    ASSERT_EQ(read.GetElementCount(), designed.GetElementCount());
    const auto expected = ExpectedReadBack(designed);
    for (int i = 0; i < read.GetElementCount(); ++i) {
        EXPECT_EQ(read.GetElement(i).m_strName, designed.GetElement(i).m_strName);
        EXPECT_EQ(read.GetElement(i).GetData()->GetType(),
                  designed.GetElement(i).GetData()->GetType());
        EXPECT_EQ(ValueOf(read.GetElement(i)), ValueOf(designed.GetElement(i)))
            << designed.GetElement(i).m_strName;
        const auto& got = *read.GetElement(i).Validations();
        ASSERT_EQ(got.size(), expected[i].size()) << designed.GetElement(i).m_strName;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k].m_nKind, expected[i][k].m_nKind) << i << "/" << k;
            EXPECT_EQ(got[k].m_strText, expected[i][k].m_strText) << i << "/" << k;
            EXPECT_EQ(got[k].m_nNumber, expected[i][k].m_nNumber) << i << "/" << k;
            EXPECT_EQ(got[k].m_nOption, expected[i][k].m_nOption) << i << "/" << k;
            EXPECT_EQ(got[k].m_strMessage, expected[i][k].m_strMessage) << i << "/" << k;
        }
    }
}

TEST_F(FormInsertion, NewFileLayout) {
    CHtmlForm form;
    auto& email = AddElement<CTextData>(form, "email", "E-mail");
    email.m_Validations = {Val(kValRequired, "Please enter the value for email")};
    Design(form);
    CFormPageScanner scanner;
    ASSERT_TRUE(
        InsertFormIntoNewFile(scanner, generator, dir / "new.html", dir / "gen_validatorv3.js"));

    CFormCodeGen fresh;
    fresh.SetModel(&form, &form.m_Elements, nullptr);
    const std::string expected = CCodeGen::GetHtmlHeadPart("HTML Form:myform") + kStart + kLine +
                                 kEnd + "<body>\r\n" + fresh.GenerateFormHTML() + kStart +
                                 fresh.GenerateValidatorScript() + kEnd + "</body>\n</html>";
    EXPECT_EQ(ReadFile(dir / "new.html"), expected);
    EXPECT_NE(expected.find("<title>HTML Form:myform</title>"), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "gen_validatorv3.js"), "function Validator(n) {}\n");
    // The warnings the last page showed are not added to again.
    std::string a, b, c, after;
    generator.GetCode(a, b, c, after);
    EXPECT_EQ(after, warnings);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(FormInsertion, RelativePathToTheScript) {
    std::filesystem::create_directories(dir / "site/pages");
    std::filesystem::create_directories(dir / "site/scripts");
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    CFormPageScanner scanner;
    ASSERT_TRUE(InsertFormIntoNewFile(scanner, generator, dir / "site/pages/p.html",
                                      dir / "site/scripts/gen_validatorv3.js"));
    EXPECT_NE(ReadFile(dir / "site/pages/p.html")
                  .find("<SCRIPT src=\"../scripts/gen_validatorv3.js\"  language=\"JavaScript\">"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "site/scripts/gen_validatorv3.js"));
}

TEST_F(FormInsertion, DesignInsertReadBackKeepsEveryValidationAndMessage) {
    CHtmlForm form = MakeFullForm();
    Design(form);
    ASSERT_TRUE(InsertFormCode(generator, dir / "full.html", dir / "gen_validatorv3.js", true, 1));
    ExpectReadBack(dir / "full.html", form);

    // The same into an existing page, after its body tag.
    WriteFile(
        dir / "existing.html",
        "<html><head><title>x</title></head><body bgcolor=white>\n<p>text</p>\n</body></html>");
    ASSERT_TRUE(InsertFormCode(generator, dir / "existing.html", dir / "gen_validatorv3.js", false,
                               kPlaceAfterBodyTag));
    const std::string page = ReadFile(dir / "existing.html");
    EXPECT_EQ(page.find("<body bgcolor=white><CENTER><FORM name='order'"),
              page.find("<body bgcolor=white>"));
    EXPECT_EQ(Count(page, "<!--FORM_WIZ{-->"), 2);
    ExpectReadBack(dir / "existing.html", form);
}

TEST_F(FormInsertion, ValidationsOnlyRoundTrip) {
    CHtmlForm designed = MakeFullForm();
    Design(designed);
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", dir / "gen_validatorv3.js", true, 1));

    // Read the page, change messages, insert the validations again, read back.
    CFormPageScanner scanner;
    CHtmlForm read;
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", read));
    for (CFormElement& element : read.m_Elements)
        for (CValidation& v : *element.Validations())
            v.m_strMessage += " \"edited\" \\ again\nnext";
    CFormCodeGen pageGenerator;
    pageGenerator.SetModel(&read, &read.m_Elements, &scanner);
    std::string a, b, c, w;
    pageGenerator.GetCode(a, b, c, w);
    ASSERT_TRUE(
        InsertFormCode(pageGenerator, scanner.GetFilePath(), dir / "gen_validatorv3.js", false, 1));
    const std::string page = ReadFile(dir / "p.html");
    EXPECT_EQ(Count(page, "<!--FORM_WIZ{-->"), 2) << "the earlier blocks were replaced";
    EXPECT_EQ(Count(page, "new Validator("), 1);
    EXPECT_EQ(Count(page, "<FORM name="), 1);
    // The script follows the form's end tag.
    EXPECT_EQ(page.find("</FORM>" + kStart + "\r\n<SCRIPT"), page.find("</FORM>"));

    CFormPageScanner again;
    CHtmlForm reread;
    ASSERT_TRUE(again.LoadPage(dir / "p.html", reread));
    ASSERT_EQ(reread.GetElementCount(), read.GetElementCount());
    for (int i = 0; i < read.GetElementCount(); ++i)
        EXPECT_EQ(*reread.GetElement(i).Validations(), *read.GetElement(i).Validations()) << i;

    // Inserting once more into the scanner that holds the page starts from
    // the text as opened: still one block.
    ASSERT_TRUE(
        InsertValidationsIntoPage(scanner, pageGenerator, read, dir / "gen_validatorv3.js"));
    EXPECT_EQ(Count(ReadFile(dir / "p.html"), "new Validator("), 1);
}

TEST_F(FormInsertion, PlaceholderIsReplacedEverywhere) {
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    WriteFile(
        dir / "p.html",
        "<html><head></head><body>_PLACE_THE_FORM_HERE_<hr>_PLACE_THE_FORM_HERE_</body></html>");
    CFormPageScanner scanner;
    ASSERT_TRUE(InsertFormIntoExistingFile(scanner, generator, dir / "p.html",
                                           dir / "gen_validatorv3.js", kPlaceAtPlaceholder));
    const std::string page = ReadFile(dir / "p.html");
    EXPECT_EQ(Count(page, "_PLACE_THE_FORM_HERE_"), 0);
    EXPECT_EQ(Count(page, "<FORM name='myform'"), 2);
    EXPECT_EQ(Count(page, kLine), 1);
    EXPECT_EQ(page.find("</head>" + kStart + kLine + kEnd + "<body>"), page.find("</head>"));
}

TEST_F(FormInsertion, FailuresWriteNothing) {
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    const struct {
        const char* label;
        const char* page;
        int placement;
    } cases[] = {
        {"no placeholder", "<html><head></head><body>x</body></html>", kPlaceAtPlaceholder},
        {"body without end tag", "<html><head></head><body>x", kPlaceAfterBodyTag},
        {"neither head nor body", "<p>_PLACE_THE_FORM_HERE_</p>", kPlaceAtPlaceholder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(dir / "p.html", c.page);
        CFormPageScanner scanner;
        EXPECT_FALSE(InsertFormIntoExistingFile(scanner, generator, dir / "p.html",
                                                dir / "gen_validatorv3.js", c.placement));
        EXPECT_EQ(ReadFile(dir / "p.html"), c.page);
        EXPECT_FALSE(scanner.IsOpen(dir / "p.html")) << "closed without saving";
    }

    CFormPageScanner scanner;
    EXPECT_FALSE(InsertFormIntoExistingFile(scanner, generator, dir / "absent.html",
                                            dir / "gen_validatorv3.js", kPlaceAfterBodyTag));
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.html"));
    EXPECT_FALSE(InsertFormIntoNewFile(scanner, generator, dir / "no/such/dir/new.html", ""));
    EXPECT_FALSE(std::filesystem::exists(dir / "no/such/dir/new.html"));

    // A form read from a page that has neither head nor body.
    const std::string bare = "<form name='f'><input type=text name=a></form>";
    WriteFile(dir / "bare.html", bare);
    CFormPageScanner pageScanner;
    CHtmlForm read;
    ASSERT_TRUE(pageScanner.LoadPage(dir / "bare.html", read));
    CFormCodeGen pageGenerator;
    pageGenerator.SetModel(&read, &read.m_Elements, &pageScanner);
    EXPECT_FALSE(
        InsertFormCode(pageGenerator, dir / "bare.html", dir / "gen_validatorv3.js", false, 1));
    EXPECT_EQ(ReadFile(dir / "bare.html"), bare);
    EXPECT_EQ(pageScanner.GetText(), bare) << "back to the text as opened";
}

TEST_F(FormInsertion, GeneratorsOwnScannerCarriesTheWizardsSignature) {
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    EXPECT_EQ(generator.GetOwnScanner().GetModuleSignature(), "FORM_WIZ");
    WriteFile(dir / "p.html", "<html><head></head><body></body></html>");
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
    // A second insertion into the page it holds starts again from the text
    // as opened, so the page gets one form.
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
    const std::string page = ReadFile(dir / "p.html");
    EXPECT_EQ(Count(page, "<FORM name='myform'"), 1);
    EXPECT_EQ(Count(page, "<!--FORM_WIZ{-->"), 2);
}

}  // namespace
