// The three insertion operations, and the round trip design, generate,
// insert into a page, read back, compare.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FormFixtures.h"
#include "formwarden/FormInsertion.h"
#include "formwarden/FormTemplate.h"
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
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
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
                v.m_nOption == kOptionGroupHolder) {
                continue;
            }
            if (v.m_nKind != kValAlpha && v.m_nKind != kValAlnum) {
                v.m_nOption = 0;
            }
            expected[first].push_back(v);
        }
    }
    return expected;
}

// The values the page carries for an element: its value, or a list box's
// item values.
std::vector<std::string> ValueOf(const CFormElement& element) {
    const CElementData* data = element.GetData();
    if (const auto* text = dynamic_cast<const CTextData*>(data)) {
        return {text->m_strValue};
    }
    if (const auto* box = dynamic_cast<const CCheckboxData*>(data)) {
        return {box->m_strValue};
    }
    if (const auto* radio = dynamic_cast<const CRadioData*>(data)) {
        return {radio->m_strValue};
    }
    if (const auto* hidden = dynamic_cast<const CHiddenData*>(data)) {
        return {hidden->m_strValue};
    }
    std::vector<std::string> values;
    if (const auto* list = dynamic_cast<const CListboxData*>(data)) {
        for (const SListItem& item : list->m_Items) {
            values.push_back(item.m_strValue);
        }
    }
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
    for (CFormElement& element : read.m_Elements) {
        for (CValidation& v : *element.Validations()) {
            v.m_strMessage += " \"edited\" \\ again\nnext";
        }
    }
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
    for (int i = 0; i < read.GetElementCount(); ++i) {
        EXPECT_EQ(*reread.GetElement(i).Validations(), *read.GetElement(i).Validations()) << i;
    }

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
    // Each failure is told, with the step that failed and why.
    const struct {
        const char* label;
        const char* page;
        int placement;
        const char* message;
    } cases[] = {
        {"no placeholder", "<html><head></head><body>x</body></html>", kPlaceAtPlaceholder,
         "Failed replacing the tring with the code"},
        {"no body start tag", "<html><head></head><p>x</p></html>", kPlaceAfterBodyTag,
         "Error 1003: Inserting the code after the <body> tag failed: the page has no complete "
         "<body> start tag"},
        {"neither head nor body", "<p>_PLACE_THE_FORM_HERE_</p>", kPlaceAtPlaceholder,
         "Error 1003: Inserting the script file's inclusion line failed: the page has neither"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(dir / "p.html", c.page);
        CFormPageScanner scanner;
        prompt.Clear();
        EXPECT_FALSE(InsertFormIntoExistingFile(scanner, generator, dir / "p.html",
                                                dir / "gen_validatorv3.js", c.placement));
        EXPECT_EQ(ReadFile(dir / "p.html"), c.page);
        EXPECT_FALSE(scanner.IsOpen(dir / "p.html")) << "closed without saving";
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_EQ(prompt.Records()[0].text.rfind(c.message, 0), 0u) << prompt.Records()[0].text;
    }

    // The body's end tag may be left out: the form goes after the start tag.
    WriteFile(dir / "p.html", "<html><head></head><body bgcolor=white>\n<p>x");
    CFormPageScanner open;
    ASSERT_TRUE(InsertFormIntoExistingFile(open, generator, dir / "p.html", "", kPlaceAfterBodyTag));
    const std::string page = ReadFile(dir / "p.html");
    EXPECT_EQ(Count(page, "<FORM name="), 1);
    EXPECT_LT(page.find("<body bgcolor=white>"), page.find("<FORM name="));
    EXPECT_EQ(page.substr(page.size() - 5), "\n<p>x");

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

TEST_F(FormInsertion, NewFileWhoseScriptCopyFailedIsWrittenAndTheFailureTold) {
    std::filesystem::remove(dir / "installed/gen_validatorv3.js");
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    const std::string destination = dir / "gen_validatorv3.js";
    ASSERT_TRUE(InsertFormCode(generator, dir / "new.html", destination, true, 1));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Failed copying the JavaScript File to the destination: " +
                                       destination +
                                       ".Please make sure that you have write access in this "
                                       "folder"});
    // The page refers to the script where it belongs, so it works as soon
    // as the script is put there.
    const std::string page = ReadFile(dir / "new.html");
    EXPECT_EQ(Count(page, kLine), 1);
    EXPECT_EQ(Count(page, "new Validator(\"myform\")"), 1);
    EXPECT_FALSE(std::filesystem::exists(destination));
}

TEST_F(FormInsertion, SuccessClearsTheModifiedFlagAndFailureKeepsIt) {
    CHtmlForm form;
    AddElement<CTextData>(form, "a", "A");
    Design(form);
    WriteFile(dir / "p.html", "<html><head></head><body>x</body></html>");
    form.m_bModified = true;
    EXPECT_FALSE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAtPlaceholder));
    EXPECT_TRUE(form.m_bModified);
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
    EXPECT_FALSE(form.m_bModified);
    form.m_bModified = true;
    ASSERT_TRUE(InsertFormCode(generator, dir / "n.html", "", true, 1));
    EXPECT_FALSE(form.m_bModified);

    // A form read from a page.
    CFormPageScanner scanner;
    CHtmlForm read;
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", read));
    read.m_bModified = true;
    CFormCodeGen pageGenerator;
    pageGenerator.SetModel(&read, &read.m_Elements, &scanner);
    ASSERT_TRUE(InsertFormCode(pageGenerator, dir / "p.html", "", false, 1));
    EXPECT_FALSE(read.m_bModified);
}

// A form inserted in an earlier run, inserted again in a later run with a
// fresh generator and scanner, as after loading its template again.
class FormReinsertion : public FormInsertion {
protected:
    void SetUp() override {
        FormInsertion::SetUp();
        AddElement<CTextData>(first, "a", "A").m_Validations = {
            Val(kValRequired, "Please enter the value for a")};
        Design(first);
    }

    bool InsertAgain(CHtmlForm& form, int placement) {
        CFormCodeGen later;
        later.SetModel(&form, &form.m_Elements, nullptr);
        std::string a, b, c, w;
        later.GetCode(a, b, c, w);
        return InsertFormCode(later, dir / "p.html", "", false, placement);
    }

    // The second version of the form: another field, another message.
    CHtmlForm Second(const std::string& name = "myform") {
        CHtmlForm form;
        form.m_strName = name;
        AddElement<CTextData>(form, "b", "B").m_Validations = {
            Val(kValRequired, "Please enter the value for b")};
        return form;
    }

    CHtmlForm first;
};

TEST_F(FormReinsertion, TheSameFormIsReplacedWhereItStands) {
    for (const int placement : {kPlaceAfterBodyTag, kPlaceAtPlaceholder}) {
        SCOPED_TRACE(placement);
        WriteFile(dir / "p.html",
                   "<html><head></head><body><p>before</p>\n_PLACE_THE_FORM_HERE_\n"
                   "<p>after</p></body></html>");
        ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAtPlaceholder));
        generator.GetOwnScanner().Close();

        CHtmlForm second = Second();
        ASSERT_TRUE(InsertAgain(second, placement));
        EXPECT_TRUE(prompt.Records().empty());
        const std::string page = ReadFile(dir / "p.html");
        EXPECT_EQ(Count(page, "<FORM "), 1);
        EXPECT_EQ(Count(page, "name='a'"), 0) << "the old form is gone";
        EXPECT_EQ(Count(page, "new Validator("), 1);
        EXPECT_EQ(Count(page, kLine), 1);
        EXPECT_LT(page.find("<p>before</p>"), page.find("<FORM "));
        EXPECT_LT(page.find("</FORM>"), page.find("<p>after</p>"));
        // Reading the page back for more validations still works.
        ExpectReadBack(dir / "p.html", second);
    }
}

TEST_F(FormReinsertion, APlaceholderPastedAgainTakesTheNewForm) {
    WriteFile(dir / "p.html", "<html><head></head><body><p>top</p></body></html>");
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
    generator.GetOwnScanner().Close();
    std::string page = ReadFile(dir / "p.html");
    page.replace(page.find("</body>"), 0, "<div>_PLACE_THE_FORM_HERE_</div>");
    WriteFile(dir / "p.html", page);

    CHtmlForm second = Second();
    ASSERT_TRUE(InsertAgain(second, kPlaceAtPlaceholder));
    page = ReadFile(dir / "p.html");
    EXPECT_EQ(Count(page, "<FORM "), 1);
    EXPECT_NE(page.find("<div><CENTER><FORM name='myform'"), std::string::npos);
    EXPECT_EQ(page.find("<body><p>top</p>"), page.find("<body>"));
    ExpectReadBack(dir / "p.html", second);
}

TEST_F(FormReinsertion, ARenamedFormIsReplacedOnlyWhenTheUserSaysSo) {
    const struct {
        int answer;
        bool done;
        int forms;
        bool oldKept;
    } cases[] = {
        {IDYES, true, 1, false},
        {IDNO, true, 2, true},
        {IDCANCEL, false, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        WriteFile(dir / "p.html", "<html><head></head><body></body></html>");
        ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
        generator.GetOwnScanner().Close();
        const std::string before = ReadFile(dir / "p.html");
        prompt.Clear();
        prompt.AnswerMessage(c.answer);

        CHtmlForm second = Second("signup");
        EXPECT_EQ(InsertAgain(second, kPlaceAfterBodyTag), c.done);
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_EQ(prompt.Records()[0].style, MB_YESNOCANCEL | MB_ICONWARNING);
        EXPECT_EQ(prompt.Records()[0].text,
                  "This page already holds the form 'myform' that this wizard inserted earlier. "
                  "Its validations are taken out of the page when the form 'signup' is "
                  "inserted.\n\n"
                  "Yes: replace the form 'myform' with the new form.\n"
                  "No: keep the form 'myform' without validations and add the new form just "
                  "after the body tag.\n"
                  "Cancel: leave the page as it is.");
        const std::string page = ReadFile(dir / "p.html");
        if (!c.done) {
            EXPECT_EQ(page, before);
        }
        EXPECT_EQ(Count(page, "<FORM "), c.forms);
        EXPECT_EQ(Count(page, "<FORM name='myform'"), c.oldKept ? 1 : 0);
        EXPECT_EQ(Count(page, "new Validator("), 1);
    }
}

TEST_F(FormReinsertion, AFormOfTheSameNameNotInsertedByTheWizardIsToldOf) {
    // Hand-written, or an old copy whose validator block went elsewhere.
    const std::vector<std::string> pages = {
        "<html><head></head><body><form name='myform'><input name=x></form></body></html>",
        "<html><head></head><body><CENTER><FORM name='myform'></FORM></CENTER><p>moved</p>\n"
        "<!--FORM_WIZ{-->\n<SCRIPT>var myformValidator = new Validator(\"myform\");</SCRIPT>\n"
        "<!--}FORM_WIZ-->\n</body></html>",
    };
    for (const std::string& original : pages) {
        for (const int answer : {IDOK, IDCANCEL}) {
            SCOPED_TRACE(original + " " + std::to_string(answer));
            WriteFile(dir / "p.html", original);
            prompt.Clear();
            prompt.AnswerMessage(answer);
            CHtmlForm second = Second();
            EXPECT_EQ(InsertAgain(second, kPlaceAfterBodyTag), answer == IDOK);
            EXPECT_EQ(prompt.MessageTexts(),
                      std::vector<std::string>{
                          "This page already holds a form named 'myform' that this wizard does "
                          "not recognise as the one it inserted. That form stays as it is, "
                          "without validations from this wizard, and the new form is added just "
                          "after the body tag."});
            const std::string page = ReadFile(dir / "p.html");
            if (answer == IDCANCEL) {
                EXPECT_EQ(page, original);
            } else {
                EXPECT_EQ(Count(page, "name='b'"), 1);
            }
        }
    }
}

TEST_F(FormReinsertion, ReadingTheWizardsFormBackStillWorks) {
    WriteFile(dir / "p.html", "<html><head></head><body></body></html>");
    ASSERT_TRUE(InsertFormCode(generator, dir / "p.html", "", false, kPlaceAfterBodyTag));
    CFormPageScanner scanner;
    CHtmlForm read;
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", read));
    ASSERT_EQ(scanner.GetInsertedForms().size(), 1u);
    EXPECT_EQ(scanner.GetInsertedForms()[0].m_strName, "myform");
    const std::string& text = scanner.GetText();
    EXPECT_EQ(text.substr(scanner.GetInsertedForms()[0].m_nStart, 14), "<CENTER><FORM ");
    EXPECT_EQ(text.substr(scanner.GetInsertedForms()[0].m_nEnd - 16, 16), "</FORM></CENTER>");
    ExpectReadBack(dir / "p.html", first);
}

// The fuzzing seeds of the page reader and the template reader, written by
// the wizard's own writers (when ONDRELO_FUZZ_CORPUS_DIR is set): a new page
// with the full form, a page that got the form after its body tag and then
// its validations again, and the form's template and a small one.
TEST_F(FormInsertion, FuzzSeeds) {
    const std::string pages = ondrelo::test::FuzzSeedDir("form_page");
    const std::string templates = ondrelo::test::FuzzSeedDir("form_template");
    if (pages.empty()) {
        GTEST_SKIP() << "ONDRELO_FUZZ_CORPUS_DIR is not set";
    }
    CHtmlForm form = MakeFullForm();
    Design(form);
    ASSERT_TRUE(InsertFormCode(generator, dir / "new.html", dir / "gen_validatorv3.js", true, 1));
    WriteFile(pages + "/new-page.html", ReadFile(dir / "new.html"));

    WriteFile(dir / "existing.html",
              "<html><head><title>x</title></head>\n<body bgcolor=white>\n<p>text</p>\n"
              "<form name=\"other\" action=\"a.cgi\"><input type=text name=q value='x'></form>\n"
              "</body></html>");
    ASSERT_TRUE(InsertFormCode(generator, dir / "existing.html", dir / "gen_validatorv3.js",
                               false, kPlaceAfterBodyTag));
    WriteFile(pages + "/existing-page.html", ReadFile(dir / "existing.html"));

    CFormPageScanner scanner;
    CHtmlForm read;
    ASSERT_TRUE(scanner.LoadPage(dir / "existing.html", read));
    CFormCodeGen again;
    again.SetModel(&read, &read.m_Elements, &scanner);
    ASSERT_TRUE(InsertFormCode(again, dir / "existing.html", dir / "gen_validatorv3.js", false,
                               kPlaceAfterBodyTag));
    WriteFile(pages + "/validations-again.html", ReadFile(dir / "existing.html"));

    CHtmlForm full = MakeFullForm();
    WriteFile(templates + "/full.ft", WriteFormTemplate(full));
    CHtmlForm small;
    small.m_strName = "small";
    AddElement<CCheckboxData>(small, "agree", "Agree").m_Validations = {
        Val(kValDontSelect, "tick it", "yes")};
    WriteFile(templates + "/small.ft", WriteFormTemplate(small));
}

}  // namespace
