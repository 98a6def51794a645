// ondrelo-gen form, run in-process: the printed code of known forms, the
// page --insert writes against the wizard's own insertion of the same form,
// template input, the editor statements, and the failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../core/FormTestUtil.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/StoreFixture.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/FormInsertion.h"
#include "formwarden/FormPageScanner.h"
#include "formwarden/FormTemplate.h"
#include "formwarden/Validations.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"

namespace {

namespace fs = std::filesystem;
using namespace formwarden;
using namespace formwarden::test;
using ondrelo::registry::testing::Exists;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

const char* const kRuntime = "function Validator(n) {}\n";

// The example form: a text box and a submit button.
const std::string kExampleHead = "form myform cgi-bin/send.cgi post ";
const std::string kExampleBody =
    "\nelement textbox email E-mail size=10\nelement button sub Send kind=submit\n";

// Its validator script without validations.
const std::string kEmptyScript =
    "\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\nvar myformValidator = new "
    "Validator(\"myform\");\r\n\r\n</SCRIPT>\r\n";

class GenForm : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        fs::create_directories(m_dir + "/installed");
        WriteFile(m_dir + "/installed/gen_validatorv3.js", kRuntime);
        ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                                   COndRegistryHandler::kInstallationKey,
                                                   "scriptspath", m_dir + "/installed"));
        for (const char* sub : {"/gen", "/wizard"}) {
            fs::create_directories(m_dir + sub);
        }
    }

    int Gen(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return ondrelo::gen::Run(args, out, err);
    }

    std::string Describe(const std::string& text) {
        const std::string path = m_dir + "/form" + std::to_string(++m_files) + ".txt";
        WriteFile(path, text);
        return path;
    }

    std::ostringstream out;
    std::ostringstream err;
    int m_files = 0;
};

TEST_F(GenForm, PrintCodeReproducesTheExampleFormsInBothLayouts) {
    const std::string table =
        "\r\n"
        "<CENTER><FORM name='myform' action='cgi-bin/send.cgi' method='POST'>\r\n"
        "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"2\" > \r\n"
        "<TR>\r\n"
        "    <TD>\r\n"
        "   E-mail\r\n"
        "    </TD>\r\n"
        "    <TD>\r\n"
        "   <INPUT type='text' name='email' size='10' value=''>\r\n"
        "    </TD>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        "    <TD>\r\n"
        "   \r\n"
        "    </TD>\r\n"
        "    <TD>\r\n"
        "   <INPUT type='submit' name='sub' value='Send'>\r\n"
        "    </TD>\r\n"
        "</TR>\r\n"
        "</TABLE>\r\n"
        "</FORM></CENTER>\r\n";
    const std::string paragraph =
        "\r\n"
        "<CENTER><FORM name='myform' action='cgi-bin/send.cgi' method='POST'>\r\n"
        "<P> &nbsp; &nbsp;E-mail\r\n"
        "  &nbsp; &nbsp;<INPUT type='text' name='email' size='10' value=''>\r\n"
        " </P>"
        "<P> &nbsp; &nbsp;\r\n"
        "  &nbsp; &nbsp;<INPUT type='submit' name='sub' value='Send'>\r\n"
        " </P>"
        "</FORM></CENTER>\r\n";
    for (const auto& [layout, html] : {std::pair{"table", table}, std::pair{"plain", paragraph}}) {
        const std::string file = Describe(kExampleHead + layout + kExampleBody);
        EXPECT_EQ(Gen({"form", file, "--print", "code"}), 0) << err.str();
        EXPECT_EQ(out.str(), html + kEmptyScript) << layout;
        EXPECT_EQ(Gen({"form", file, "--print", "include"}), 0);
        EXPECT_EQ(out.str(),
                  "<SCRIPT src=\"gen_validatorv3.js\"  language=\"JavaScript\"></SCRIPT>");
        EXPECT_EQ(Gen({"form", file, "--print", "instruction"}), 0);
        EXPECT_EQ(out.str(), "3. Copy && Paste code of the Form below to the HTML page.");
        EXPECT_EQ(Gen({"form", file, "--print", "warnings"}), 0);
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(GenForm, EditorsWriteTheExampleScriptWithTheirDefaultMessages) {
    const std::string file = Describe(
        "form myform cgi-bin/send.cgi post table\n"
        "element textbox email E-mail\n"
        "element checkbox opt A value=a\n"
        "element checkbox opt B value=b\n"
        "edit email req email\n"
        "edit opt selmin=1\n");
    EXPECT_EQ(Gen({"form", file, "--print", "code"}), 0) << err.str();
    const std::string script =
        "\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
        "var myformValidator = new Validator(\"myform\");\r\n"
        "myformValidator.addValidation(\"email\",\"req\",\"Please enter the value for email\");\r\n"
        "myformValidator.addValidation(\"email\",\"email\",\"Please provide a valid email "
        "address\");\r\n"
        "myformValidator.addValidation(\"opt\",\"selmin=1\",\"Please select at least 1  check "
        "boxes for opt\");\r\n"
        "\r\n</SCRIPT>\r\n";
    ASSERT_GE(out.str().size(), script.size());
    EXPECT_EQ(out.str().substr(out.str().size() - script.size()), script);
}

TEST_F(GenForm, EditorStatementsMatchTheEditorsAndTheMessageEditor) {
    // The same choices through the editors' store functions directly.
    CHtmlForm form;
    form.m_strName = "f1";
    form.m_strAction = "/go";
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Textbox("b", "B"));
    form.AppendElement(Checkbox("c", "x", "x"));
    form.AppendElement(Checkbox("C", "y", "y"));
    form.AppendElement(Radio("r", "1", "1"));
    form.AppendElement(Of(kTypeListbox, "l", "L"));
    form.AppendElement(Of(kTypeMultiline, "m", "M"));
    form.AppendElement(Of(kTypeFile, "u", "U"));
    STextValidationState text;
    text.m_bMandatory = true;
    text.m_nInputType = kInputAlphaNumeric;
    text.m_bAllowSpaces = true;
    text.m_bLessThan = true;
    text.m_dLessThan = 2.5;
    text.m_bRegExp = true;
    text.m_strRegExp = "^\\d+ x$";
    text.m_Comparisons = {{5, "b"}};
    StoreTextValidations(form, 0, text);
    StoreCheckboxValidations(form, 3, {kCheckboxSelectAtLeast, 2});
    StoreRadioValidations(form, 4, {true, false});
    StoreListboxValidations(form, 5, {true, 1});
    StoreMultilineValidations(form, 6, {true, 9, false, 0, true});
    StoreFileValidations(form, 7, {true});
    for (const auto& element : BuildErrorStringTree(form).m_Elements) {
        if (element.m_nElement == 0) {
            SetValidationMessage(form, element.m_Validations[1], "Say \"hi\"");
        }
    }
    CFormCodeGen direct;
    direct.SetModel(&form, &form.m_Elements, nullptr);
    std::string include, code, instruction, warnings;
    direct.GetCode(include, code, instruction, warnings);

    const std::string file = Describe(
        "form f1 /go get table\n"
        "element textbox a A\nelement textbox b B\n"
        "element checkbox c x value=x\nelement checkbox C y value=y\n"
        "element radio r 1 value=1\nelement listbox l L\n"
        "element multiline m M\nelement file u U\n"
        "message a alnum \"Say \\\"hi\\\"\"\n"  // applies after the edits, in order
        "edit a req alnum_s lt=2.5 \"regexp=^\\\\d+ x$\" neelmnt=b\n"
        "edit @3 selmin=2\nedit r dontselectchk\nedit l dontselect=1\n"
        "edit m maxlen=9 req\nedit u req\n");
    // The message statement comes first in the file but needs the edit:
    // statements run in file order, so it fails here...
    EXPECT_EQ(Gen({"form", file, "--print", "code"}), 1);
    EXPECT_NE(err.str().find("line 10: a has no alnum validation"), std::string::npos) << err.str();
    // ...and succeeds after it.
    std::string fixed = ReadFile(file);
    const std::string message = "message a alnum \"Say \\\"hi\\\"\"\n";
    fixed.erase(fixed.find(message), message.size());
    WriteFile(file, fixed + message);
    EXPECT_EQ(Gen({"form", file, "--print", "code"}), 0) << err.str();
    EXPECT_EQ(out.str(), code);
    // The group rule was shared among the boxes and is generated once.
    EXPECT_NE(code.find("\"selmin=2\""), std::string::npos);
    EXPECT_EQ(code.find("\"selmin=2\""), code.rfind("\"selmin=2\""));
    EXPECT_NE(code.find("\"regexp=^\\\\d+ x$\""), std::string::npos);
}

TEST_F(GenForm, EditorRefusalsAndBadDescriptionsFailWithTheLine) {
    const std::string elements =
        "form f x post table\nelement textbox a A\nelement checkbox c C\n"
        "element button b B\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"edit a selone\n", "line 5: the text box editor has no rule selone"},
        {"edit a maxlen\n", "line 5: maxlen needs a value"},
        {"edit a eqelmnt=\n", "line 5: the comparison eqelmnt= was refused"},
        {"edit a eqelmnt=b eqelmnt=b\n", "was refused"},
        {"edit c selone\n", "the check box editor has no rule selone"},
        {"edit b req\n", "this element type has no validations: b"},
        {"edit z req\n", "no such element: z"},
        {"message a req Hello\n", "a has no req validation"},
        {"element textbox\n", "line 5: element needs TYPE NAME CAPTION"},
        {"element textbox q \"open\n", "line 5: unterminated quoted field"},
        {"bogus\n", "line 5: unknown statement: bogus"},
        {"form f x put table\n", "line 5: the method is get or post, not put"},
        {"form f x get grid\n", "line 5: the layout is table or plain, not grid"},
        {"edit a maxlen=99999999999\n", "line 5: not a number: 99999999999"},
    };
    for (const auto& [line, message] : cases) {
        const std::string file = Describe(elements + line);
        EXPECT_EQ(Gen({"form", file}), 1) << line;
        EXPECT_NE(err.str().find(message), std::string::npos) << line << err.str();
        EXPECT_EQ(out.str(), "") << line;
    }
}

TEST_F(GenForm, UsageErrorsExitTwo) {
    const std::string file = Describe(kExampleHead + "table" + kExampleBody);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"form"},
             {"form", file, file},
             {"form", "--sample", "nosuch"},
             {"form", "--sample", "example", file},
             {"form", "--frobnicate"},
         }) {
        EXPECT_EQ(Gen(args), 2) << args.size();
        EXPECT_NE(err.str().find("ondrelo-gen form"), std::string::npos);
    }
    EXPECT_EQ(Gen({"form", m_dir + "/missing.txt"}), 1);
    EXPECT_NE(err.str().find("cannot open"), std::string::npos);
}

TEST_F(GenForm, TemplateFilesGiveTheSameCodeAsTheirForm) {
    CHtmlForm form;
    form.m_strName = "saved";
    form.m_strAction = "/post";
    form.AppendElement(Textbox("who", "Who"));
    STextValidationState required;
    required.m_bMandatory = true;
    StoreTextValidations(form, 0, required);
    const std::string ft = m_dir + "/saved.ft";
    WriteFile(ft, WriteFormTemplate(form));
    CFormCodeGen direct;
    direct.SetModel(&form, &form.m_Elements, nullptr);
    std::string include, code, instruction, warnings;
    direct.GetCode(include, code, instruction, warnings);

    EXPECT_EQ(Gen({"form", ft, "--print", "code"}), 0) << err.str();
    EXPECT_EQ(out.str(), code);

    // A broken template is refused with the template reader's message.
    WriteFile(m_dir + "/broken.FT", "not a template at all");
    EXPECT_EQ(Gen({"form", m_dir + "/broken.FT"}), 1);
    EXPECT_NE(err.str().find("Not a valid form template file!"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
}

// The page --insert writes, against the wizard's insertion of the same form
// into the same starting page.
TEST_F(GenForm, InsertWritesThePageTheWizardWrites) {
    const std::string existing =
        "<html><head><title>t</title></head>\n<body>\n<p>before</p>\n"
        "_PLACE_THE_FORM_HERE_\n<p>after</p>\n</body></html>\n";
    struct SCase {
        const char* name;
        bool newFile;
        int placement;
    };
    for (const SCase& c : {SCase{"new", true, kPlaceAfterBodyTag},
                           SCase{"body", false, kPlaceAfterBodyTag},
                           SCase{"placeholder", false, kPlaceAtPlaceholder}}) {
        const std::string name = std::string(c.name) + ".html";
        const std::string wizardPage = m_dir + "/wizard/" + name;
        const std::string genPage = m_dir + "/gen/" + name;
        if (!c.newFile) {
            WriteFile(wizardPage, existing);
            WriteFile(genPage, existing);
        }

        // The wizard: the last page asks for the code, the insertion
        // component copies the script, then InsertCode runs.
        CHtmlForm form;
        form.m_strName = "myform";
        form.m_strAction = "/submit";
        form.m_nMethod = kMethodPost;
        form.AppendElement(Textbox("f", "F"));
        form.AppendElement(Checkbox("g", "1", "1"));
        form.AppendElement(Checkbox("g", "2", "2"));
        form.AppendElement(Button("send", "Send"));
        STextValidationState number;
        number.m_bMandatory = true;
        number.m_nInputType = kInputNumeric;
        StoreTextValidations(form, 0, number);
        StoreCheckboxValidations(form, 1, {kCheckboxSelectAtLeast, 1});
        {
            ondrelo::CScriptedPrompt prompt;
            CFormCodeGen generator;
            generator.SetModel(&form, &form.m_Elements, nullptr);
            std::string include, code, instruction, warnings;
            generator.GetCode(include, code, instruction, warnings);
            const std::string script = m_dir + "/wizard/gen_validatorv3.js";
            ASSERT_TRUE(CCommon::CopyScriptFile(m_dir + "/installed/gen_validatorv3.js", script));
            ASSERT_TRUE(InsertFormCode(generator, wizardPage, script, c.newFile, c.placement));
        }

        std::vector<std::string> args = {
            "form", Describe("form myform /submit post table\n"
                             "element textbox f F\n"
                             "element checkbox g 1 value=1\nelement checkbox g 2 value=2\n"
                             "element button send Send kind=submit\n"
                             "edit f req num\nedit g selmin=1\n"),
            "--insert", genPage};
        if (c.newFile) {
            args.push_back("--new");
        }
        if (c.placement == kPlaceAtPlaceholder) {
            args.push_back("--placeholder");
        }
        EXPECT_EQ(Gen(args), 0) << c.name << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(ReadFile(genPage), ReadFile(wizardPage)) << c.name;
        EXPECT_EQ(ReadFile(m_dir + "/gen/gen_validatorv3.js"), kRuntime);
        fs::remove(m_dir + "/gen/gen_validatorv3.js");
    }
}

// Validations for a form already in a page: read back, edited, and put
// back into that page, as the wizard's "add validations" run does.
TEST_F(GenForm, FromPageWritesThePageTheWizardWrites) {
    const std::string wizardPage = m_dir + "/wizard/p.html";
    const std::string genPage = m_dir + "/gen/p.html";
    ASSERT_EQ(Gen({"form", "--sample", "example", "--insert", genPage, "--new"}), 0) << err.str();
    WriteFile(wizardPage, ReadFile(genPage));

    {
        ondrelo::CScriptedPrompt prompt;
        CHtmlForm form;
        CFormPageScanner page;
        ASSERT_TRUE(page.LoadPage(wizardPage, form));
        STextValidationState state = LoadTextValidations(form, 0);
        state.m_bMaxLength = true;
        state.m_nMaxLength = 40;
        StoreTextValidations(form, 0, state);
        CFormCodeGen generator;
        generator.SetModel(&form, &form.m_Elements, &page);
        std::string include, code, instruction, warnings;
        generator.GetCode(include, code, instruction, warnings);
        ASSERT_TRUE(InsertFormCode(generator, wizardPage, m_dir + "/wizard/gen_validatorv3.js",
                                   false, kPlaceAfterBodyTag));
    }

    // Only the validations are generated for a page's form.
    EXPECT_EQ(Gen({"form", "--from-page", genPage, "--print", "instruction"}), 0);
    EXPECT_EQ(out.str(),
              "3. Copy and paste the validations for your form just below the </FORM> tag.");
    const std::string edits = Describe("edit email req email maxlen=40\n");
    EXPECT_EQ(Gen({"form", "--from-page", genPage, edits, "--insert", genPage}), 0) << err.str();
    EXPECT_EQ(ReadFile(genPage), ReadFile(wizardPage));
    EXPECT_NE(ReadFile(genPage).find("maxlen=40"), std::string::npos);

    // The validations go back into the page they came from, and the page's
    // elements are not redesigned.
    EXPECT_EQ(Gen({"form", "--from-page", genPage, "--insert", m_dir + "/gen/other.html"}), 2);
    EXPECT_EQ(Gen({"form", "--from-page", genPage, "--insert", genPage, "--placeholder"}), 2);
    EXPECT_EQ(Gen({"form", "--from-page", genPage, Describe("element textbox x X\n")}), 1);
    EXPECT_NE(err.str().find("element does not apply to a form read from a page"),
              std::string::npos);
    EXPECT_EQ(Gen({"form", "--from-page", m_dir + "/gen/missing.html"}), 1);
    EXPECT_EQ(ReadFile(genPage), ReadFile(wizardPage));
}

TEST_F(GenForm, InsertIntoAPageWithoutPlaceholderFailsAndKeepsThePage) {
    const std::string page = m_dir + "/gen/p.html";
    const std::string text = "<html><body><p>mine</p></body></html>";
    WriteFile(page, text);
    EXPECT_EQ(Gen({"form", "--sample", "example", "--insert", page, "--placeholder"}), 1);
    EXPECT_EQ(ReadFile(page), text);
    EXPECT_NE(err.str().find("not inserted"), std::string::npos);
}

TEST_F(GenForm, PageGivesTheRelativeInclusionWithoutWriting) {
    EXPECT_EQ(Gen({"form", "--sample", "example", "--page", m_dir + "/gen/a/b.html",
                   "--script-to", m_dir + "/gen/js", "--print", "include"}),
              0)
        << err.str();
    EXPECT_EQ(out.str(),
              "<SCRIPT src=\"../js/gen_validatorv3.js\"  language=\"JavaScript\"></SCRIPT>");
    EXPECT_FALSE(Exists(m_dir + "/gen/js/gen_validatorv3.js"));
}

}  // namespace
