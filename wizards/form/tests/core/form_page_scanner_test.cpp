// Reading a form back from a page: old validator calls, descriptors, the
// form's elements in page order, and the name check.
#include <gtest/gtest.h>

#include "FormFixtures.h"
#include "formwarden/ErrorsDialog.h"
#include "formwarden/FormPageScanner.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"

namespace {

using namespace formtest;

TEST(FormDescriptor, Decoding) {
    struct Case {
        const char* descriptor;
        int kind;
        std::string text;
        int number;
        int option;
    };
    const Case cases[] = {
        {"req", kValRequired, "", 0, 0},
        {" req ", kValRequired, "", 0, 0},
        {"alpha", kValAlpha, "", 0, 0},
        {"alpha_s", kValAlpha, "", 0, 1},
        {"alnum", kValAlnum, "", 0, 0},
        {"alnum_s", kValAlnum, "", 0, 1},
        {"num", kValNumeric, "", 0, 0},
        {"email", kValEmail, "", 0, 0},
        {"regexp=^\\\\d+$", kValRegExp, "^\\d+$", 0, 0},
        {"regexp=a\\\\\\\\b", kValRegExp, "a\\\\b", 0, 0},
        {"regexp", kValRegExp, "", 0, 0},
        {"maxlen=40", kValMaxLength, "", 40, 0},
        {"minlen=5", kValMinLength, "", 5, 0},
        {"minlen=x", kValMinLength, "", 0, 0},
        {"eqelmnt=other", kValEqualTo, "other", 0, 0},
        {"ltelmnt=other", kValLessThanElement, "other", 0, 0},
        {"leelmnt=other", kValLessEqualElement, "other", 0, 0},
        {"gtelmnt=other", kValGreaterThanElement, "other", 0, 0},
        {"geelmnt=other", kValGreaterEqualElement, "other", 0, 0},
        {"neelmnt=other", kValNotEqualElement, "other", 0, 0},
        {"selmin=3", kValSelectMin, "", 3, 0},
        {"selone", kValSelectOne, "", 0, 0},
        {"dontselectchk=no way", kValDontSelect, "no way", 0, 0},
        {"dontselectchk=C:\\\\dir\\\\", kValDontSelect, "C:\\dir\\", 0, 0},
        {"dontselectchk=a\\b", kValDontSelect, "a\\b", 0, 0},
        {"dontselect=2", kValDontSelect, "", 2, 0},
    };
    for (const Case& c : cases) {
        CValidation v;
        ASSERT_TRUE(DecodeDescriptor(c.descriptor, v)) << c.descriptor;
        EXPECT_EQ(v.m_nKind, c.kind) << c.descriptor;
        EXPECT_EQ(v.m_strText, c.text) << c.descriptor;
        EXPECT_EQ(v.GetInt(), c.number) << c.descriptor;
        EXPECT_EQ(v.m_nOption, c.option) << c.descriptor;
    }
    const struct {
        const char* descriptor;
        int kind;
        double bound;
    } bounds[] = {{"lt=10.000000", kValLessThan, 10.0},
                  {"gt=-2.500000", kValGreaterThan, -2.5},
                  {"lt=", kValLessThan, 0.0}};
    for (const auto& b : bounds) {
        CValidation v;
        ASSERT_TRUE(DecodeDescriptor(b.descriptor, v)) << b.descriptor;
        EXPECT_EQ(v.m_nKind, b.kind);
        EXPECT_DOUBLE_EQ(v.GetDouble(), b.bound) << b.descriptor;
    }
    for (const char* unknown : {"", "required", "alphanumeric", "xyz=1", "REQ"}) {
        CValidation v;
        EXPECT_FALSE(DecodeDescriptor(unknown, v)) << unknown;
    }
}

TEST(FormScriptEscapes, Unescaping) {
    const struct {
        const char* literal;
        const char* message;
        const char* descriptor;
    } cases[] = {
        {"plain", "plain", "plain"},
        {"say \\\"hi\\\"", "say \"hi\"", "say \"hi\""},
        {"two\\nlines", "two\nlines", "two\\nlines"},
        {"C:\\\\temp\\\\", "C:\\temp\\", "C:\\\\temp\\\\"},
        {"\\\\\\\"", "\\\"", "\\\\\""},
        {"odd \\t stays", "odd \\t stays", "odd \\t stays"},
        {"trailing \\", "trailing \\", "trailing \\"},
        {"<\\/SCRIPT> a/b", "</SCRIPT> a/b", "</SCRIPT> a/b"},
        {"\\\\/", "\\/", "\\\\/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnescapeScriptMessage(c.literal), c.message) << c.literal;
        EXPECT_EQ(UnescapeScriptDescriptor(c.literal), c.descriptor) << c.literal;
    }
}

TEST(FormPageScannerOldCode, CallsAreCollectedFromLines) {
    CFormPageScanner scanner;
    EXPECT_EQ(scanner.GetModuleSignature(), "FORM_WIZ");
    scanner.ScanOldCode(
        "<!--FORM_WIZ{-->\n\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
        "var my_formValidator = new Validator(\"my_form\");\r\n"
        "  my_formValidator.addValidation(\"a\",\"req\",\"Say \\\"A\\\"\\nplease\");\r\n"
        "v.addValidation(\"b\",\"regexp=^\\\\d\\\"$\",\"C:\\\\dir\");\r\n"
        "v.addValidation(\"\",\"req\",\"no name\");\r\n"
        "v.addValidation(\"c\",\"\",\"no descriptor\");\r\n"
        "v.addValidation(\"d\",\"req\");\r\n"
        "V.ADDVALIDATION(\"e\",\"num\",\"\");\r\n"
        "v.addValidation(\"f\",\"req\",\"not followed by a line feed\");");
    const std::vector<SFoundCall> expected = {
        {"a", "req", "Say \"A\"\nplease"},
        {"b", "regexp=^\\\\d\"$", "C:\\dir"},
        {"e", "num", ""},
    };
    EXPECT_EQ(scanner.GetFoundCalls(), expected);

    // Long lines cost a single pass, not a search the engine gives up on;
    // a long identifier still names a call.
    const std::string letters(200000, 'a');
    CFormPageScanner large;
    large.ScanOldCode("\n" + letters + "\n" + letters + ".addValidation(\"g\",\"req\",\"" +
                      letters + "\");\n");
    EXPECT_EQ(large.GetFoundCalls(), (std::vector<SFoundCall>{{"g", "req", letters}}));
}

// A page with a form whose elements stand in mixed order.
const char* const kPage =
    "<html><head><title>t</title></head><body>\n"
    "<form name='shop' action=\"buy.cgi\" method=post>\n"
    "<select name='colour' size='x' multiple>\n"
    "  <option value='1'>Red\r\n  <option value='2' selected>\tDark Blue</select>\n"
    "<input type='text' name='who' value='me' size=20>\n"
    "<input type=PASSWORD name='pw'>\n"
    "<input type='image' name='img'><input type='date' name='day'>\n"
    "<!-- <input type='text' name='commented'> -->\n"
    "<textarea name='notes'>Hello\nthere</textarea>\n"
    "<input type='checkbox' name='ok' value='y' checked>\n"
    "<input type='radio' name='r' value='1'><input type='radio' name='r' value='2'>\n"
    "<input type='file' name='f' size='abc'><input type='hidden' name='h' value='v'>\n"
    "<input type='submit' name='s'><input type='reset' name='x'><input type=button name=b>\n"
    "</form><form name='second'><input type='text' name='other'></form></body></html>";

TEST(FormPageScannerRead, InputsThatBrowsersShowAsTextBoxesAreTextBoxes) {
    // Without a type, or with one of the text-like types of today's pages,
    // browsers show a one-line text box: such inputs take the text checks.
    CFormPageScanner scanner;
    scanner.SetContent(
        "<body><form name='f'><input name='plain' size=30 value='v'>"
        "<input type='email' name='mail'><input type=TEL name='phone'>"
        "<input type='url' name='site'><input type='search' name='q'>"
        "<input type='number' name='age'><input type='' name='empty'>"
        "<input type='range' name='skip'></form></body>");
    CHtmlForm form;
    ASSERT_TRUE(scanner.ReadForm(form, form.m_Elements));
    const std::vector<std::string> names = {"plain", "mail", "phone", "site",
                                            "q",     "age",  "empty"};
    ASSERT_EQ(form.GetElementCount(), static_cast<int>(names.size()));
    for (int i = 0; i < form.GetElementCount(); ++i) {
        EXPECT_EQ(form.GetElement(i).m_strName, names[static_cast<std::size_t>(i)]);
        const auto* box = dynamic_cast<const CTextData*>(form.GetElement(i).GetData());
        ASSERT_NE(box, nullptr) << names[static_cast<std::size_t>(i)];
        EXPECT_FALSE(box->m_bPassword);
    }
    const auto& plain = dynamic_cast<const CTextData&>(*form.GetElement(0).GetData());
    EXPECT_EQ(plain.m_nSize, 30);
    EXPECT_EQ(plain.m_strValue, "v");
}

TEST(FormPageScannerRead, ElementsInPageOrder) {
    CFormPageScanner scanner;
    scanner.SetContent(kPage);
    CHtmlForm form;
    form.m_bTableLayout = false;
    form.m_strCustomValidation = "return true;";
    ASSERT_TRUE(scanner.ReadForm(form, form.m_Elements));
    EXPECT_EQ(form.m_strName, "shop");
    EXPECT_EQ(form.m_strAction, "buy.cgi");
    EXPECT_EQ(form.m_nMethod, kMethodPost);
    EXPECT_FALSE(form.m_bTableLayout);
    EXPECT_EQ(form.m_strCustomValidation, "return true;");
    const std::string page = kPage;
    EXPECT_EQ(form.m_nFormStartOffset, page.find("<form"));
    EXPECT_EQ(form.m_nFormEndOffset, page.find("</form>") + 7);
    EXPECT_EQ(form.m_nAttribTextStart, page.find("name='shop'"));

    const struct {
        const char* name;
        int type;
    } expected[] = {{"colour", kTypeListbox},  {"who", kTypeTextbox}, {"pw", kTypeTextbox},
                    {"notes", kTypeMultiline}, {"ok", kTypeCheckbox}, {"r", kTypeRadio},
                    {"r", kTypeRadio},         {"f", kTypeFile},      {"h", kTypeHidden},
                    {"s", kTypeButton},        {"x", kTypeButton},    {"b", kTypeButton}};
    ASSERT_EQ(form.GetElementCount(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < form.GetElementCount(); ++i) {
        EXPECT_EQ(form.GetElement(i).m_strName, expected[i].name) << i;
        EXPECT_EQ(form.GetElement(i).GetData()->GetType(), expected[i].type) << i;
        EXPECT_EQ(form.GetElement(i).m_strCaption, "") << i;
        if (i > 0) {
            EXPECT_LT(form.GetElement(i - 1).m_nTagOffset, form.GetElement(i).m_nTagOffset);
        }
    }
    EXPECT_EQ(form.GetElement(0).m_nTagOffset, page.find("<select"));
    const auto& list = dynamic_cast<const CListboxData&>(*form.GetElement(0).GetData());
    EXPECT_EQ(list.m_nVisibleRows, 1);
    EXPECT_TRUE(list.m_bMultiple);
    ASSERT_EQ(list.m_Items.size(), 2u);
    EXPECT_EQ(list.m_Items[0], (SListItem{"Red  ", "1", false}));
    EXPECT_EQ(list.m_Items[1], (SListItem{"Dark Blue", "2", true}));

    const auto& who = dynamic_cast<const CTextData&>(*form.GetElement(1).GetData());
    EXPECT_EQ(who.m_strValue, "me");
    EXPECT_EQ(who.m_nSize, 20);
    EXPECT_FALSE(who.m_bPassword);
    const auto& pw = dynamic_cast<const CTextData&>(*form.GetElement(2).GetData());
    EXPECT_TRUE(pw.m_bPassword);
    EXPECT_EQ(pw.m_nSize, 10);
    const auto& notes = dynamic_cast<const CMultilineData&>(*form.GetElement(3).GetData());
    EXPECT_EQ(notes.m_strDefaultText, "Hello\nthere");
    EXPECT_EQ(notes.m_nRows, 0);
    EXPECT_EQ(notes.m_nColumns, 0);
    const auto& ok = dynamic_cast<const CCheckboxData&>(*form.GetElement(4).GetData());
    EXPECT_TRUE(ok.m_bChecked);
    EXPECT_EQ(ok.m_strValue, "y");
    EXPECT_EQ(dynamic_cast<const CRadioData&>(*form.GetElement(6).GetData()).m_strValue, "2");
    EXPECT_EQ(dynamic_cast<const CFileData&>(*form.GetElement(7).GetData()).m_nSize, 10);
    EXPECT_EQ(dynamic_cast<const CHiddenData&>(*form.GetElement(8).GetData()).m_strValue, "v");
    EXPECT_EQ(dynamic_cast<const CButtonData&>(*form.GetElement(9).GetData()).m_nKind,
              kButtonSubmit);
    EXPECT_EQ(dynamic_cast<const CButtonData&>(*form.GetElement(10).GetData()).m_nKind,
              kButtonReset);
    EXPECT_EQ(dynamic_cast<const CButtonData&>(*form.GetElement(11).GetData()).m_nKind,
              kButtonGeneral);
}

TEST(FormPageScannerRead, PagesWithoutAForm) {
    CFormPageScanner scanner;
    CHtmlForm form;
    EXPECT_FALSE(scanner.ReadForm(form, form.m_Elements)) << "empty page";

    for (const char* page : {"<html><body>no form</body></html>",
                             "<html><body><form name='open'><input type=text name=a></body>"}) {
        scanner.SetContent(page);
        CHtmlForm read;
        ASSERT_TRUE(scanner.ReadForm(read, read.m_Elements)) << page;
        EXPECT_EQ(read.m_strName, "") << page;
        EXPECT_EQ(read.GetElementCount(), 0) << page;
        EXPECT_EQ(CheckPageFormNames(read),
                  "\n Form Name is empty! The form should have a valid name.\n");
    }
}

TEST(FormPageNames, Problems) {
    const std::string invalidTail =
        "\" name can contain alpha numeric characters only. The name should start with an "
        "alphabetic character.\n";
    const std::string unnamed =
        "\n There are input elements that do not have name.The input elements should have a "
        "valid name.\n";
    const struct {
        const char* label;
        std::string formName;
        std::vector<std::string> elementNames;
        std::string problems;
    } cases[] = {
        {"all valid", "shop", {"a", "first_name", "B2"}, ""},
        {"empty form name",
         "",
         {"a"},
         "\n Form Name is empty! The form should have a valid name.\n"},
        {"form name with digit first", "2nd", {}, "\n\n Invalid name: \"2nd" + invalidTail},
        {"element 1st", "f", {"ok", "1st"}, "\n\n Invalid name: \"1st" + invalidTail},
        {"element with hyphen",
         "f",
         {"first-name"},
         "\n\n Invalid name: \"first-name" + invalidTail},
        {"two unnamed inputs, reported once", "f", {"", "a", ""}, unnamed},
        {"in order",
         "a b",
         {"x y", "", "ok"},
         "\n\n Invalid name: \"a b" + invalidTail + "\n\n Invalid name: \"x y" + invalidTail +
             unnamed},
    };
    for (const auto& c : cases) {
        CHtmlForm form;
        form.m_strName = c.formName;
        for (const std::string& name : c.elementNames) {
            form.AppendElement(CFormElement(name, "", std::make_unique<CTextData>()));
        }
        EXPECT_EQ(CheckPageFormNames(form), c.problems) << c.label;
    }
}

class FormPageLoad : public ::testing::Test {
protected:
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CFormPageScanner scanner;
    CHtmlForm form;
};

TEST_F(FormPageLoad, OldValidationsAreAttachedInCallOrder) {
    const std::string page =
        "<html><head></head><body>\n"
        "<form name='f' action='a'>\n"
        "<input type='radio' name='g' value='1'><input type='radio' name='g' value='2'>\n"
        "<input type='text' name='t'><input type='text' name='T'>\n"
        "</form>\n"
        "<!--FORM_WIZ{-->\n\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
        "var fValidator = new Validator(\"f\");\r\n"
        "fValidator.addValidation(\"t\",\"req\",\"first\");\r\n"
        "fValidator.addValidation(\"g\",\"selone\",\"pick \\\"one\\\"\");\r\n"
        "fValidator.addValidation(\"t\",\"maxlen=5\",\"second\");\r\n"
        "fValidator.addValidation(\"g\",\"dontselectchk=2\",\"not two\");\r\n"
        "fValidator.addValidation(\"gone\",\"req\",\"no such element\");\r\n"
        "fValidator.addValidation(\"t\",\"unknown\",\"dropped\");\r\n"
        "\r\n</SCRIPT>\r\n\n<!--}FORM_WIZ-->\n"
        "</body></html>";
    WriteFile(dir / "p.html", page);
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", form));
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_TRUE(form.m_bReadFromPage);
    EXPECT_EQ(scanner.GetText().find("FORM_WIZ"), std::string::npos) << "old block removed";
    EXPECT_EQ(scanner.GetText().find("addValidation"), std::string::npos);

    ASSERT_EQ(form.GetElementCount(), 4);
    // The group's calls all go to its first member; the name match is exact.
    const std::vector<CValidation> g = {Val(kValSelectOne, "pick \"one\""),
                                        Val(kValDontSelect, "not two", "2")};
    EXPECT_EQ(*form.GetElement(0).Validations(), g);
    EXPECT_TRUE(form.GetElement(1).Validations()->empty());
    const std::vector<CValidation> t = {Val(kValRequired, "first"),
                                        Val(kValMaxLength, "second", "", 5)};
    EXPECT_EQ(*form.GetElement(2).Validations(), t);
    EXPECT_TRUE(form.GetElement(3).Validations()->empty());
}

TEST_F(FormPageLoad, UnnamedButtonsAreAcceptedUnnamedFieldsAreNot) {
    // The usual hand-written form: its submit, reset and plain buttons carry
    // no name. They take no validations, so the page loads; an unnamed field
    // that could take one still fails the name check.
    std::string shown;
    SetErrorsDialogHandler([&shown](const std::string& text) { shown = text; });
    const std::string buttons =
        "<input type='submit' value='Send'><input type='reset'><input type=button value=x>";
    WriteFile(dir / "buttons.html",
              "<body><form name='contact'><input type='text' name='email'>" + buttons +
                  "</form></body>");
    EXPECT_TRUE(scanner.LoadPage(dir / "buttons.html", form));
    EXPECT_EQ(form.GetElementCount(), 4);
    EXPECT_EQ(shown, "");

    WriteFile(dir / "field.html",
              "<body><form name='contact'><input type='text'>" + buttons + "</form></body>");
    EXPECT_FALSE(scanner.LoadPage(dir / "field.html", form));
    SetErrorsDialogHandler({});
    EXPECT_EQ(shown,
              "Errors while parsing the form from the page:\r\n"
              "\r\n There are input elements that do not have name.The input elements should have "
              "a valid name.\r\n");
}

TEST_F(FormPageLoad, FailuresAreShown) {
    ASSERT_FALSE(scanner.LoadPage(dir / "missing.html", form));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Could not Open HTML file!"});

    prompt.Clear();
    WriteFile(dir / "empty.html", "");
    ASSERT_FALSE(scanner.LoadPage(dir / "empty.html", form));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Reading the HTML file failed!"});

    prompt.Clear();
    std::string shown;
    SetErrorsDialogHandler([&shown](const std::string& text) { shown = text; });
    WriteFile(dir / "bad.html",
               "<body><form name='1st'><input type=text name='a b'><input type=text></form>");
    EXPECT_FALSE(scanner.LoadPage(dir / "bad.html", form));
    SetErrorsDialogHandler({});
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_FALSE(form.m_bReadFromPage);
    EXPECT_EQ(shown,
              "Errors while parsing the form from the page:\r\n"
              "\r\n\r\n Invalid name: \"1st\" name can contain alpha numeric characters only. The "
              "name should start with an alphabetic character.\r\n"
              "\r\n\r\n Invalid name: \"a b\" name can contain alpha numeric characters only. The "
              "name should start with an alphabetic character.\r\n"
              "\r\n There are input elements that do not have name.The input elements should have "
              "a valid name.\r\n");
}

TEST_F(FormPageLoad, ErrorsWindowDefaultsToAMessageBox) {
    WriteFile(dir / "noform.html", "<html><body></body></html>");
    EXPECT_FALSE(scanner.LoadPage(dir / "noform.html", form));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "Errors!");
    EXPECT_EQ(prompt.Records()[0].text,
              "Errors while parsing the form from the page:\r\n\r\n Form Name is empty! The form "
              "should have a valid name.\r\n");
}

TEST_F(FormPageLoad, ValuesBeyondTheEditorsLimitsAreBroughtInAndReported) {
    WriteFile(dir / "p.html",
               "<body><form name='f'><input type=text name=a size=5000>"
               "<textarea name=n cols=40></textarea><select name=s size=0></select>"
               "<textarea name=m rows=-3 cols=x></textarea>"
               "<input type=file name=d size=2000></form></body>");
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", form));
    ASSERT_EQ(form.GetElementCount(), 5);
    auto area = [&](int index) -> CMultilineData& {
        return dynamic_cast<CMultilineData&>(*form.GetElement(index).GetData());
    };
    EXPECT_EQ(dynamic_cast<CTextData&>(*form.GetElement(0).GetData()).m_nSize, 999);
    // A text area's missing or unreadable size is the browser's 2 by 20, untold.
    EXPECT_EQ(area(1).m_nRows, 2);
    EXPECT_EQ(area(1).m_nColumns, 40);
    EXPECT_EQ(dynamic_cast<CListboxData&>(*form.GetElement(2).GetData()).m_nVisibleRows, 1);
    EXPECT_EQ(area(3).m_nRows, 1);
    EXPECT_EQ(area(3).m_nColumns, 20);
    EXPECT_EQ(dynamic_cast<CFileData&>(*form.GetElement(4).GetData()).m_nSize, 1024);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{
                  "Some values were outside the limits of the element editor and were changed:\n"
                  "\nThe Textbox 'a': size 5000 changed to 999"
                  "\nThe ListBox 's': visible rows 0 changed to 1"
                  "\nThe Multiline Text 'm': rows -3 changed to 1"
                  "\nThe File 'd': size 2000 changed to 1024"});
    // Within the limits nothing is said.
    prompt.Clear();
    WriteFile(dir / "q.html", "<body><form name='f'><input type=text name=a size=20></form>");
    ASSERT_TRUE(scanner.LoadPage(dir / "q.html", form));
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(FormPageLoad, LoadingAgainReplacesTheElements) {
    WriteFile(dir / "p.html", "<body><form name='f'><input type=text name=a></form></body>");
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", form));
    ASSERT_TRUE(scanner.LoadPage(dir / "p.html", form));
    EXPECT_EQ(form.GetElementCount(), 1);
}

}  // namespace
