// The form HTML and the validator script, byte for byte.
#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/FormPageScanner.h"
#include "formwarden/Validations.h"

namespace formwarden {
namespace {

using namespace formwarden::test;

const std::string NL = "\r\n";

// The form of the worked example: a Textbox email and a submit Button sub.
CHtmlForm ExampleForm(bool table) {
    CHtmlForm form;
    form.m_strAction = "cgi-bin/send.cgi";
    form.m_nMethod = kMethodPost;
    form.m_bTableLayout = table;
    form.AppendElement(Textbox("email", "E-mail"));
    form.AppendElement(Button("sub", "Send"));
    return form;
}

struct Generated {
    std::string code1, code2, code3, warnings;
};

Generated Generate(CHtmlForm& form, CFormPageScanner* scanner = nullptr) {
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, scanner);
    Generated g;
    EXPECT_NE(gen.GetCode(g.code1, g.code2, g.code3, g.warnings), 0);
    return g;
}

std::string FormHtml(CHtmlForm& form, std::string* warnings = nullptr) {
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, nullptr);
    std::string html = gen.GenerateFormHTML();
    if (warnings) {
        *warnings = gen.GetWarnings();
    }
    return html;
}

std::string Script(CHtmlForm& form, std::string* warnings = nullptr) {
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, nullptr);
    std::string script = gen.GenerateValidatorScript();
    if (warnings) {
        *warnings = gen.GetWarnings();
    }
    return script;
}

std::string Wrap(const std::string& body, const std::string& form = "myform") {
    return NL + "<SCRIPT LANGUAGE=\"JavaScript\">" + NL + "var " + form +
           "Validator = new Validator(\"" + form + "\");" + NL + body + NL + "</SCRIPT>" + NL;
}

TEST(FormHtml, TableLayoutExample) {
    CHtmlForm form = ExampleForm(true);
    const std::string expected =
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
    std::string warnings;
    EXPECT_EQ(FormHtml(form, &warnings), expected);
    EXPECT_EQ(warnings, "");
}

TEST(FormHtml, ParagraphLayoutExample) {
    CHtmlForm form = ExampleForm(false);
    const std::string expected =
        "<CENTER><FORM name='myform' action='cgi-bin/send.cgi' method='POST'>\r\n"
        "<P> &nbsp; &nbsp;E-mail\r\n"
        "  &nbsp; &nbsp;<INPUT type='text' name='email' size='10' value=''>\r\n"
        " </P><P> &nbsp; &nbsp;\r\n"
        "  &nbsp; &nbsp;<INPUT type='submit' name='sub' value='Send'>\r\n"
        " </P></FORM></CENTER>\r\n";
    EXPECT_EQ(FormHtml(form), expected);
}

TEST(FormHtml, ElementHtmlByType) {
    struct Case {
        const char* what;
        CFormElement element;
        std::string html;
        bool captionPlaced;
    };
    auto listbox = std::make_unique<CListboxData>();
    listbox->m_nVisibleRows = 3;
    listbox->m_bMultiple = true;
    listbox->m_Items = {{"Red", "1", false}, {"<b>Blue</b>", "2", true}};
    auto area = std::make_unique<CMultilineData>();
    area->m_strDefaultText = "a & b";
    auto password = std::make_unique<CTextData>();
    password->m_bPassword = true;
    password->m_nSize = 20;
    password->m_strValue = "x";
    auto file = std::make_unique<CFileData>();
    file->m_nSize = 0;
    auto hidden = std::make_unique<CHiddenData>();
    hidden->m_strValue = "v";

    Case cases[] = {
        {"text", Textbox("t", "T", "abc", 5), "<INPUT type='text' name='t' size='5' value='abc'>",
         false},
        {"password", CFormElement("p", "P", std::move(password)),
         "<INPUT type='password' name='p' size='20' value='x'>", false},
        {"unchecked radio", Radio("r", "Yes", "1"), "<INPUT type='radio' name='r' value='1' >Yes",
         true},
        {"checked radio", Radio("r", "No", "0", true),
         "<INPUT type='radio' name='r' value='0' checked>No", true},
        {"checkbox", Checkbox("c", "<i>Me</i>", "y", true),
         "<INPUT type='checkbox' name='c' value='y' checked><i>Me</i>", true},
        {"file", CFormElement("f", "F", std::move(file)), "<INPUT type='file' name='f' size='0'>",
         false},
        {"hidden", CFormElement("h", "H", std::move(hidden)),
         "<INPUT type='hidden' name='h' value='v'>", true},
        {"reset", Button("b", " Clear ", kButtonReset),
         "<INPUT type='reset' name='b' value='Clear'>", true},
        {"general", Button("b", "", kButtonGeneral),
         "<INPUT type='button' name='b' value='button'>", true},
        {"blank submit", Button("b", "  "), "<INPUT type='submit' name='b' value='submit'>", true},
        {"multiline", CFormElement("m", "M", std::move(area)),
         "<TEXTAREA name='m' rows='5' cols='25'>a & b</TEXTAREA>", false},
        {"listbox", CFormElement("l", "L", std::move(listbox)),
         "<SELECT name='l' size='3' multiple>\r\n<OPTION value='1' >Red\r\n<OPTION value='2' "
         "selected><b>Blue</b>\r\n</SELECT>",
         false},
    };
    for (const Case& c : cases) {
        bool placed = !c.captionPlaced;
        EXPECT_EQ(
            c.element.m_pData->GenerateHTML(c.element.m_strName, c.element.m_strCaption, placed),
            c.html)
            << c.what;
        EXPECT_EQ(placed, c.captionPlaced) << c.what;
    }
}

TEST(FormHtml, ApostrophesInQuotedValuesDoNotEndTheAttribute) {
    auto listbox = std::make_unique<CListboxData>();
    listbox->m_Items = {{"Rock 'n' roll", "it's", false}};
    auto hidden = std::make_unique<CHiddenData>();
    hidden->m_strValue = "a'b";
    struct Case {
        CFormElement element;
        std::string html;
    } cases[] = {
        {Textbox("t", "T", "O'Neil"), "<INPUT type='text' name='t' size='10' value='O&#39;Neil'>"},
        {Checkbox("c", "Don't", "don't"),
         "<INPUT type='checkbox' name='c' value='don&#39;t' >Don't"},
        {Radio("r", "Rock 'n' roll", "'"),
         "<INPUT type='radio' name='r' value='&#39;' >Rock 'n' roll"},
        {CFormElement("h", "", std::move(hidden)),
         "<INPUT type='hidden' name='h' value='a&#39;b'>"},
        {Button("b", "Let's go"), "<INPUT type='submit' name='b' value='Let&#39;s go'>"},
        {CFormElement("l", "", std::move(listbox)),
         "<SELECT name='l' size='1' >\r\n<OPTION value='it&#39;s' >Rock 'n' roll\r\n</SELECT>"},
    };
    for (const Case& c : cases) {
        bool placed = false;
        EXPECT_EQ(
            c.element.m_pData->GenerateHTML(c.element.m_strName, c.element.m_strCaption, placed),
            c.html);
    }
    EXPECT_EQ(CFormCodeGen::FormatFormTag("f", "send.cgi?who='me'", kMethodGet),
              "<FORM name='f' action='send.cgi?who=&#39;me&#39;' method='GET'>");
}

TEST(FormHtml, FormWithoutElements) {
    for (bool table : {true, false}) {
        CHtmlForm form;
        form.m_strAction = "a.cgi";
        form.m_bTableLayout = table;
        std::string expected = "<CENTER><FORM name='myform' action='a.cgi' method='GET'>\r\n";
        if (table) {
            expected +=
                "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"2\" > \r\n</TABLE>\r\n";
        }
        expected += "</FORM></CENTER>\r\n";
        EXPECT_EQ(FormHtml(form), expected);
        Generated g = Generate(form);
        EXPECT_EQ(g.warnings, "There are no elements in the form\r\n");
        EXPECT_EQ(g.code2, NL + expected + Wrap(""));
    }
}

TEST(FormHtml, CaptionWarningsOnlyForTypesThatDoNotPlaceTheirCaption) {
    CHtmlForm form;
    form.m_strAction = "a.cgi";
    form.AppendElement(Textbox("t", ""));
    form.AppendElement(Checkbox("c", ""));
    form.AppendElement(Radio("r", ""));
    form.AppendElement(Of(kTypeHidden, "h"));
    form.AppendElement(Button("b", ""));
    form.AppendElement(Of(kTypeFile, "f"));
    std::string warnings;
    std::string html = FormHtml(form, &warnings);
    EXPECT_EQ(warnings,
              "The caption for input element 't' is empty!\r\n"
              "The caption for input element 'f' is empty!\r\n");
    // The empty caption leaves an empty cell.
    EXPECT_NE(
        html.find("<TR>\r\n    <TD>\r\n   \r\n    </TD>\r\n    <TD>\r\n   <INPUT type='text'"),
        std::string::npos);
}

TEST(FormHtml, ContinuationLinesAreIndented) {
    CHtmlForm form;
    form.m_strAction = "a";
    auto list = std::make_unique<CListboxData>();
    list->m_Items = {{"A", "1", false}, {"B", "2", false}};
    form.AppendElement(CFormElement("l", "L", std::move(list)));
    auto area = std::make_unique<CMultilineData>();
    area->m_strDefaultText = "one\r\ntwo";
    form.AppendElement(CFormElement("m", "M", std::move(area)));
    std::string html = FormHtml(form);
    EXPECT_NE(html.find("    <TD>\r\n   <SELECT name='l' size='1' >\r\n   <OPTION value='1' "
                        ">A\r\n   <OPTION value='2' >B\r\n   </SELECT>\r\n    </TD>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("cols='25'>one\r\n   two</TEXTAREA>"), std::string::npos) << html;
}

TEST(FormCodeGen, GenerateGivesTheFourTexts) {
    CHtmlForm form = ExampleForm(true);
    Generated g = Generate(form);
    EXPECT_EQ(g.code1, "<SCRIPT src=\"gen_validatorv3.js\"  language=\"JavaScript\"></SCRIPT>");
    EXPECT_EQ(g.code2, NL + FormHtml(form) + Wrap(""));
    EXPECT_EQ(g.code3, "3. Copy && Paste code of the Form below to the HTML page.");
    EXPECT_EQ(g.warnings, "");
}

TEST(FormCodeGen, EmptyNameAndActionBecomeWarnings) {
    CHtmlForm form;
    form.m_strName.clear();
    form.AppendElement(Textbox("t", "T"));
    Generated g = Generate(form);
    EXPECT_EQ(g.warnings,
              "Name of the HTML Form is empty!. Adding dummy name ('myform')\r\n"
              "Action URL is empty. Mention the server-side script  that handles the data "
              "submitted in the form (see help for more details)\r\n");
    EXPECT_EQ(form.m_strName, "myform");
    EXPECT_NE(g.code2.find("<FORM name='myform' action='' method='GET'>"), std::string::npos);
    EXPECT_NE(g.code2.find("new Validator(\"myform\");"), std::string::npos);
}

TEST(FormCodeGen, ValidationsOnlyModeGivesTheScriptAlone) {
    CHtmlForm form = ExampleForm(true);
    form.GetElement(0).Validations()->push_back(Val(kValRequired, "Need it"));
    CFormPageScanner scanner;
    Generated g = Generate(form, &scanner);
    EXPECT_EQ(g.code2, Wrap("myformValidator.addValidation(\"email\",\"req\",\"Need it\");\r\n"));
    EXPECT_EQ(g.code3,
              "3. Copy and paste the validations for your form just below the </FORM> tag.");
}

TEST(FormCodeGen, RegeneratesOnlyAfterTheModelWasSet) {
    CHtmlForm form = ExampleForm(true);
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, nullptr);
    std::string a, b, c, w;
    gen.GetCode(a, b, c, w);
    form.m_strAction = "changed.cgi";
    gen.GetCode(a, b, c, w);
    EXPECT_NE(b.find("cgi-bin/send.cgi"), std::string::npos);
    gen.SetModel(&form, &form.m_Elements, nullptr);
    gen.GetCode(a, b, c, w);
    EXPECT_NE(b.find("changed.cgi"), std::string::npos);
}

TEST(ValidatorScript, WorkedExample) {
    CHtmlForm form;
    form.AppendElement(Textbox("email", "E-mail"));
    form.AppendElement(Checkbox("opt", "A", "a"));
    form.AppendElement(Checkbox("opt", "B", "b"));
    STextValidationState text;
    text.m_bMandatory = true;
    text.m_nInputType = kInputEmail;
    StoreTextValidations(form, 0, text);
    SCheckboxValidationState box;
    box.m_nChoice = kCheckboxSelectAtLeast;
    box.m_nMinCount = 1;
    StoreCheckboxValidations(form, 1, box);

    EXPECT_EQ(Script(form),
              "\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
              "var myformValidator = new Validator(\"myform\");\r\n"
              "myformValidator.addValidation(\"email\",\"req\",\"Please enter the value for "
              "email\");\r\n"
              "myformValidator.addValidation(\"email\",\"email\",\"Please provide a valid email "
              "address\");\r\n"
              "myformValidator.addValidation(\"opt\",\"selmin=1\",\"Please select at least 1  "
              "check boxes for opt\");\r\n"
              "\r\n"
              "</SCRIPT>\r\n");
}

TEST(ValidatorScript, DescriptorsOfEveryKind) {
    struct Case {
        int type;
        CValidation v;
        std::string descriptor;
    };
    auto withDouble = [](int kind, double d) {
        CValidation v(kind, "");
        v.SetDouble(d);
        return v;
    };
    const Case cases[] = {
        {kTypeTextbox, Val(kValRequired, ""), "req"},
        {kTypeTextbox, Val(kValAlpha, ""), "alpha"},
        {kTypeTextbox, Val(kValAlpha, "", 0, 1), "alpha_s"},
        {kTypeTextbox, Val(kValAlnum, ""), "alnum"},
        {kTypeTextbox, Val(kValAlnum, "", 0, 1), "alnum_s"},
        {kTypeTextbox, Val(kValNumeric, ""), "num"},
        {kTypeTextbox, Val(kValEmail, ""), "email"},
        {kTypeTextbox, Val(kValRegExp, "", 0, 0, "^\\d+$"), "regexp=^\\\\d+$"},
        {kTypeTextbox, Val(kValMaxLength, "", 40), "maxlen=40"},
        {kTypeTextbox, Val(kValMinLength, "", 5), "minlen=5"},
        {kTypeTextbox, withDouble(kValLessThan, 10), "lt=10.000000"},
        {kTypeTextbox, withDouble(kValGreaterThan, -2.5), "gt=-2.500000"},
        {kTypeTextbox, Val(kValEqualTo, "", 0, 0, "b"), "eqelmnt=b"},
        {kTypeTextbox, Val(kValLessThanElement, "", 0, 0, "b"), "ltelmnt=b"},
        {kTypeTextbox, Val(kValLessEqualElement, "", 0, 0, "b"), "leelmnt=b"},
        {kTypeTextbox, Val(kValGreaterThanElement, "", 0, 0, "b"), "gtelmnt=b"},
        {kTypeTextbox, Val(kValGreaterEqualElement, "", 0, 0, "b"), "geelmnt=b"},
        {kTypeTextbox, Val(kValNotEqualElement, "", 0, 0, "b"), "neelmnt=b"},
        {kTypeCheckbox, Val(kValSelectMin, "", 2, 10), "selmin=2"},
        {kTypeRadio, Val(kValSelectOne, "", 0, 10), "selone"},
        {kTypeCheckbox, Val(kValDontSelect, "", 0, 0, "x"), "dontselectchk=x"},
        {kTypeRadio, Val(kValDontSelect, "", 0, 0, "y"), "dontselectchk=y"},
        // A value ending in a backslash must not escape the closing quote.
        {kTypeCheckbox, Val(kValDontSelect, "", 0, 0, "C:\\dir\\"), "dontselectchk=C:\\\\dir\\\\"},
        {kTypeListbox, Val(kValDontSelect, "", 2), "dontselect=2"},
        {kTypeTextbox, Val(0, ""), ""},
        {kTypeTextbox, Val(20, ""), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValidationDescriptor(c.v, c.type), c.descriptor) << c.v.m_nKind;
    }
}

TEST(ValidatorScript, MessagesAreEscapedForTheScriptString) {
    const struct {
        std::string message, escaped;
    } cases[] = {
        {"first line\r\nsecond line", "first line\\nsecond line"},
        {"unix\nbreak", "unix\\nbreak"},
        {"say \"yes\"", "say \\\"yes\\\""},
        {"C:\\temp\\new", "C:\\\\temp\\\\new"},
        {"a \\\" mix\r\n", "a \\\\\\\" mix\\n"},
        {"it's fine", "it's fine"},
        // The text must not end the script block it stands in.
        {"no </SCRIPT> here", "no <\\/SCRIPT> here"},
        {"a/b </ x", "a/b <\\/ x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeScriptMessage(c.message), c.escaped);
        CHtmlForm form;
        form.AppendElement(Textbox("t", "T"));
        form.GetElement(0).Validations()->push_back(Val(kValRequired, c.message));
        EXPECT_EQ(Script(form),
                  Wrap("myformValidator.addValidation(\"t\",\"req\",\"" + c.escaped + "\");\r\n"));
    }
}

TEST(ValidatorScript, QuotesInDescriptorsAndNamesAndFormName) {
    CHtmlForm form;
    form.m_strName = "my-form 'x\"";
    form.AppendElement(Textbox("a\"b", "T"));
    form.GetElement(0).Validations()->push_back(Val(kValRegExp, "m", 0, 0, "\"q\""));
    EXPECT_EQ(
        Script(form),
        Wrap("myformxValidator.addValidation(\"ab\",\"regexp=\\\"q\\\"\",\"m\");\r\n", "myformx"));
    EXPECT_EQ(form.m_strName, "myformx");
    EXPECT_EQ(EscapeScriptDescriptor("regexp=^</b>\"$"), "regexp=^<\\/b>\\\"$");
}

TEST(ValidatorScript, GroupRuleOfThreeRadioButtonsIsGeneratedOnce) {
    CHtmlForm form;
    for (const char* value : {"1", "2", "3"}) {
        form.AppendElement(Radio("size", value, value));
    }
    SRadioValidationState state;
    state.m_bSelectOne = true;
    StoreRadioValidations(form, 2, state);
    EXPECT_EQ(Script(form),
              Wrap("myformValidator.addValidation(\"size\",\"selone\",\"Please select one "
                   "option\");\r\n"));
}

TEST(ValidatorScript, WarningsForBadParameters) {
    CHtmlForm form;
    form.AppendElement(Checkbox("c", "C"));
    form.AppendElement(Radio("r", "R"));
    form.AppendElement(Textbox("t", "T"));
    form.GetElement(0).Validations()->push_back(Val(kValDontSelect, "no c"));
    form.GetElement(1).Validations()->push_back(Val(kValDontSelect, "no r"));
    form.GetElement(2).Validations()->push_back(Val(kValMaxLength, "max", 0));
    std::string warnings;
    EXPECT_EQ(Script(form, &warnings),
              Wrap("myformValidator.addValidation(\"t\",\"maxlen=0\",\"max\");\r\n"));
    EXPECT_EQ(warnings,
              "The check box with name c does not have values mentioned.  Some of the validations "
              "will not work properly if the value is not available.\r\n"
              "The radio button with name r does not have values mentioned.  Some of the "
              "validations will not work properly if the value is not available.\r\n"
              "The Maximum length specified for input element 't' is 0 \r\n");
}

TEST(ValidatorScript, CustomFunction) {
    CHtmlForm form;
    form.m_strCustomValidation = "return false;";
    form.AppendElement(Textbox("t", "T"));
    EXPECT_EQ(Script(form),
              "\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
              "//Custom Validation Function\r\n"
              "function validate_myform ( )\r\n"
              "{return false;\r\n"
              "}\r\n"
              "var myformValidator = new Validator(\"myform\");\r\n"
              "myformValidator.setAddnlValidationFunction(\"validate_myform\");\r\n"
              "\r\n</SCRIPT>\r\n");
}

}  // namespace
}  // namespace formwarden
