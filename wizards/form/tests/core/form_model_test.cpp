// The form model and its editing rules.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <fstream>

#include "FormTestUtil.h"
#include "ondrelo/testsupport/StoreFixture.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/Resources.h"

namespace formwarden {
namespace {

using namespace formwarden::test;

std::vector<std::string> Names(const CHtmlForm& form) {
    std::vector<std::string> names;
    for (const CFormElement& e : form.m_Elements) {
        names.push_back(e.m_strName);
    }
    return names;
}

TEST(FormModel, DefaultsOfEveryRecord) {
    CHtmlForm form;
    EXPECT_EQ(form.m_strName, "myform");
    EXPECT_EQ(form.m_nMethod, kMethodGet);
    EXPECT_TRUE(form.m_bTableLayout);
    EXPECT_EQ(form.GetElementCount(), 0);
    CFormElement element;
    EXPECT_EQ(element.m_nType, kTypeUnset);
    EXPECT_EQ(element.GetData(), nullptr);

    for (int type = 0; type < kElementTypeCount; ++type) {
        auto data = CElementData::CreateDefault(type);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetType(), type);
        EXPECT_TRUE(data->m_Validations.empty());
    }
    EXPECT_EQ(CElementData::CreateDefault(-1), nullptr);
    EXPECT_EQ(CElementData::CreateDefault(8), nullptr);
    EXPECT_EQ(CTextData().m_nSize, 10);
    EXPECT_EQ(CFileData().m_nSize, 10);
    EXPECT_EQ(CMultilineData().m_nRows, 5);
    EXPECT_EQ(CMultilineData().m_nColumns, 25);
    EXPECT_EQ(CListboxData().m_nVisibleRows, 1);
    EXPECT_EQ(std::string(ElementTypeLabel(kTypeMultiline)), "Multiline Text");
    EXPECT_EQ(std::string(ElementTypeBaseName(kTypeMultiline)), "Multiline");
    EXPECT_EQ(std::string(ElementTypeLabel(9)), "");
}

TEST(FormModel, ResetKeepsTheCustomBody) {
    CHtmlForm form;
    form.m_strName = "other";
    form.m_strAction = "x.cgi";
    form.m_nMethod = kMethodPost;
    form.m_bTableLayout = false;
    form.m_strCustomValidation = "return true;";
    form.AppendElement(Textbox("a", "A"));
    form.Reset();
    EXPECT_EQ(form.m_strName, "myform");
    EXPECT_EQ(form.m_strAction, "");
    EXPECT_EQ(form.m_nMethod, kMethodGet);
    EXPECT_TRUE(form.m_bTableLayout);
    EXPECT_EQ(form.GetElementCount(), 0);
    EXPECT_EQ(form.m_strCustomValidation, "return true;");
}

TEST(FormModel, MovingAndRemovingElements) {
    CHtmlForm form;
    for (const char* n : {"a", "b", "c", "d"}) {
        form.AppendElement(Textbox(n, n));
    }
    EXPECT_FALSE(form.MoveElementUp(0));
    EXPECT_FALSE(form.MoveElementDown(3));
    EXPECT_FALSE(form.MoveElementUp(7));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(form.MoveElementUp(2));
    EXPECT_TRUE(form.MoveElementDown(0));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"c", "a", "b", "d"}));
    form.RemoveElements({3, 0, 3, 9, -1});
    EXPECT_EQ(Names(form), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(form.ReplaceElement(1, Checkbox("z", "Z")));
    EXPECT_FALSE(form.ReplaceElement(2, Checkbox("y", "Y")));
    EXPECT_EQ(form.GetElement(1).m_nType, kTypeCheckbox);
}

TEST(FormModel, CopiesAreDeep) {
    CHtmlForm form;
    form.AppendElement(Textbox("a", "A", "v"));
    form.GetElement(0).Validations()->push_back(Val(kValRequired, "m"));
    CHtmlForm copy = form;
    static_cast<CTextData*>(copy.GetElement(0).GetData())->m_strValue = "changed";
    copy.GetElement(0).Validations()->clear();
    EXPECT_EQ(static_cast<CTextData*>(form.GetElement(0).GetData())->m_strValue, "v");
    EXPECT_EQ(form.GetElement(0).Validations()->size(), 1u);
    EXPECT_NE(copy.GetElement(0).GetData(), form.GetElement(0).GetData());
}

TEST(FormModel, AssignAndCopyValidations) {
    CListboxData source;
    source.m_nVisibleRows = 4;
    source.m_Items = {{"n", "v", true}};
    source.m_Validations = {Val(kValDontSelect, "m", 1)};
    CListboxData target;
    target.Assign(source);
    EXPECT_EQ(target.m_nVisibleRows, 4);
    EXPECT_EQ(target.m_Items, source.m_Items);
    EXPECT_EQ(target.m_Validations, source.m_Validations);
    // Another class gives only its validations.
    CTextData text;
    text.Assign(source);
    EXPECT_EQ(text.m_nSize, 10);
    EXPECT_EQ(text.m_Validations, source.m_Validations);
}

TEST(FormModel, NumberSlot) {
    CValidation v;
    v.SetInt(-3);
    EXPECT_EQ(v.GetInt(), -3);
    EXPECT_EQ(v.m_nNumber, 0xFFFFFFFDu);  // the high four bytes stay zero
    v.SetDouble(2.5);
    EXPECT_EQ(v.GetDouble(), 2.5);
}

TEST(FormResources, LookupsFindTheWizardsTexts) {
    ondrelo::CModuleResourceScope scope(&FormwardenResources());
    const struct {
        unsigned id;
        std::string text;
    } cases[] = {
        {117, "<SCRIPT src=\"%s\"  language=\"JavaScript\"></SCRIPT>"},
        {118, "3. Copy && Paste code of the Form below to the HTML page."},
        {119, "3. Copy and paste the validations for your form just below the </FORM> tag."},
        {107, "The name can contain alpha-numeric characters only"},
        {204, "The Html file is not formatted correctly"},  // Common's, behind the wizard's
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ondrelo::ResString(c.id), c.text) << c.id;
        EXPECT_EQ(FormString(c.id), c.text) << c.id;
    }
}

class FormRules : public ::testing::Test {
protected:
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form;
};

TEST_F(FormRules, ElementNames) {
    form.AppendElement(Textbox("colors", "C"));
    form.AppendElement(Checkbox("box", "B"));
    form.AppendElement(Textbox("Textbox1", "T"));
    struct Case {
        int edited;
        int type;
        std::string name;
        EEditorFocus result;
        std::string message;
    } cases[] = {
        {-1, kTypeTextbox, "first_name", kFocusNone, ""},
        {-1, kTypeTextbox, "2nd", kFocusNone, ""},
        {-1, kTypeTextbox, "first-name", kFocusName,
         "The name can contain alpha-numeric characters only"},
        {-1, kTypeTextbox, "my name", kFocusName,
         "The name can contain alpha-numeric characters only"},
        {-1, kTypeTextbox, "COLORS", kFocusName,
         "This name (COLORS) already exists in the list of elements.Please Select a diferent "
         "name"},
        {-1, kTypeHidden, " colors ", kFocusName,
         "This name (colors) already exists in the list of elements.Please Select a diferent "
         "name"},
        {0, kTypeTextbox, "Colors", kFocusNone, ""},  // itself
        {-1, kTypeCheckbox, "box", kFocusNone, ""},   // group members share a name
        {-1, kTypeRadio, "Box", kFocusNone, ""},
        // Only check boxes and radio buttons may share: a Textbox may not take a box's name.
        {-1, kTypeTextbox, "box", kFocusName,
         "This name (box) already exists in the list of elements.Please Select a diferent name"},
    };
    for (Case& c : cases) {
        prompt.Clear();
        std::string caption = "cap";
        int counter = 1;
        EXPECT_EQ(CheckElementName(form, c.edited, c.type, c.name, caption, counter), c.result)
            << c.name;
        std::vector<std::string> texts = prompt.MessageTexts();
        if (c.message.empty()) {
            EXPECT_TRUE(texts.empty()) << c.name;
        } else {
            EXPECT_EQ(texts, std::vector<std::string>{c.message});
        }
        EXPECT_EQ(caption, "cap");
    }
}

TEST_F(FormRules, DefaultNames) {
    form.AppendElement(Textbox("textbox1", "T"));
    form.AppendElement(Of(kTypeHidden, "Hidden1"));
    std::string name = "  ", caption = "x";
    int counter = 1;
    EXPECT_EQ(CheckElementName(form, -1, kTypeTextbox, name, caption, counter), kFocusNone);
    EXPECT_EQ(name, "Textbox2");
    EXPECT_EQ(caption, "Textbox2");
    EXPECT_EQ(counter, 3);

    name.clear();
    caption = "keep";
    counter = 1;
    EXPECT_EQ(CheckElementName(form, -1, kTypeHidden, name, caption, counter), kFocusNone);
    EXPECT_EQ(name, "Hidden2");
    EXPECT_EQ(caption, "keep");

    // The edited element's own name does not count.
    name.clear();
    counter = 1;
    EXPECT_EQ(CheckElementName(form, 0, kTypeTextbox, name, caption, counter), kFocusNone);
    EXPECT_EQ(name, "Textbox1");
}

TEST_F(FormRules, FormNames) {
    struct Case {
        std::string name;
        bool withElement;
        EEditorFocus result;
        std::string message;
    } cases[] = {
        {"myform", true, kFocusNone, ""},
        {"form_2", true, kFocusNone, ""},
        {"", true, kFocusName, "Please enter the name of the Form"},
        {"2nd", true, kFocusName,
         "The form name can contain alpha numeric characters only.The name should start with an "
         "alphabetic character"},
        {"my form", true, kFocusName,
         "The form name can contain alpha numeric characters only.The name should start with an "
         "alphabetic character"},
        {"myform", false, kFocusAddButton,
         "No form elements created! Press the 'Add' button to create new form element"},
    };
    for (const Case& c : cases) {
        prompt.Clear();
        CHtmlForm f;
        f.m_strName = c.name;
        if (c.withElement) {
            f.AppendElement(Textbox("a", "A"));
        }
        EXPECT_EQ(CheckFormName(f), c.result) << c.name;
        std::vector<std::string> expected;
        if (!c.message.empty()) {
            expected.push_back(c.message);
        }
        EXPECT_EQ(prompt.MessageTexts(), expected) << c.name;
    }
}

TEST_F(FormRules, MessagesUseTheWizardTitle) {
    // Another wizard's page was the last one activated in this process.
    CCommon::SetMessageTitle("Another Wizard");
    CheckFormName(CHtmlForm());
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "Form Validation Wizard");
}

TEST_F(FormRules, TypeChangeAsksAndYesReplacesTheData) {
    form.AppendElement(Textbox("t", "T"));
    *form.GetElement(0).Validations() = {Val(kValRequired, "a"), Val(kValAlpha, "b"),
                                         Val(kValMaxLength, "c", 5)};
    prompt.AnswerMessage(IDNO);
    EXPECT_FALSE(ConfirmTypeChange(kTypeTextbox, kTypeCheckbox));
    EXPECT_EQ(prompt.MessageTexts().back(),
              "You are about to change the type of the element \n(from Textbox to Checkbox) If "
              "you proceed, it will replace the properties of the existing element. Do you want "
              "to proceed? ");
    prompt.AnswerMessage(IDYES);
    ASSERT_TRUE(ConfirmTypeChange(kTypeTextbox, kTypeCheckbox));
    CCheckboxData page;
    page.m_strValue = "on";
    EXPECT_EQ(ApplyElementEdit(form, 0, "t", "T", page), 0);
    const CFormElement& e = form.GetElement(0);
    EXPECT_EQ(e.m_nType, kTypeCheckbox);
    EXPECT_TRUE(e.Validations()->empty());
    EXPECT_EQ(static_cast<const CCheckboxData*>(e.GetData())->m_strValue, "on");
    EXPECT_TRUE(form.m_bModified);
    // A new element is appended.
    EXPECT_EQ(ApplyElementEdit(form, -1, "n", "N", CTextData()), 1);
}

TEST_F(FormRules, ModifyingWithoutTypeChangeKeepsTheValidations) {
    form.AppendElement(Textbox("t", "T"));
    *form.GetElement(0).Validations() = {Val(kValRequired, "a")};
    CTextData page;  // a page that knows nothing of the validations
    page.m_nSize = 30;
    ApplyElementEdit(form, 0, "t2", "T2", page);
    const CFormElement& e = form.GetElement(0);
    EXPECT_EQ(e.m_strName, "t2");
    EXPECT_EQ(static_cast<const CTextData*>(e.GetData())->m_nSize, 30);
    EXPECT_EQ(*e.Validations(), (CValidationList{Val(kValRequired, "a")}));
}

TEST_F(FormRules, ListItemAddAndChange) {
    std::vector<SListItem> items;
    EXPECT_EQ(AddOrChangeListItem(items, -1, "", "v", false), -1);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please provide a name for the list item"});
    EXPECT_EQ(AddOrChangeListItem(items, -1, "Red", "", false), 0);
    EXPECT_EQ(AddOrChangeListItem(items, -1, "Blue", "2", true), 1);
    EXPECT_EQ(AddOrChangeListItem(items, 0, "Green", "3", true), 0);
    EXPECT_EQ(items, (std::vector<SListItem>{{"Green", "3", true}, {"Blue", "2", true}}));
    EXPECT_EQ(AddOrChangeListItem(items, 1, "Black", "", false), 1);
    EXPECT_EQ(items[1], (SListItem{"Black", "Black", false}));
}

TEST(ListItemFile, LinesBecomeItems) {
    struct Case {
        std::string line;
        std::vector<SListItem> items;
    } cases[] = {
        {"Light Blue\t7", {{"Light Blue", "7", false}}},
        {"Light Blue 7", {{"Light Blue", "7", false}}},
        {"Green", {{"Green", "Green", false}}},
        {"", {}},
        {" \t \r", {}},
        {"Red\t1  \r", {{"Red", "1", false}}},
        {"  Red  \t  1", {{"Red", "1", false}}},
        {"a b\tc d", {{"a b", "c d", false}}},
        {"\tonly value", {{"only value", "only value", false}}},
        {" lonely", {{"lonely", "lonely", false}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseListItems(c.line), c.items) << c.line;
    }
    EXPECT_EQ(ParseListItems("Red\t1\r\n\r\nBlue\t2\r\nGreen"),
              (std::vector<SListItem>{
                  {"Red", "1", false}, {"Blue", "2", false}, {"Green", "Green", false}}));
}

// A fresh settings store and folder per test, both removed afterwards.
class ListItemLoad : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        COndRegistryHandler::SetSettingsValue("LoadFromFileShown", "0");
        dir = m_dir;
        path = (dir / "colors.txt").string();
        std::ofstream(path, std::ios::binary) << "Red\t1\r\nBlue\t2\r\n";
    }

    ondrelo::CScriptedPrompt prompt;
    std::filesystem::path dir;
    std::string path;
};

TEST_F(ListItemLoad, ExplanationOnlyTheFirstTime) {
    std::vector<SListItem> items;
    prompt.AnswerFile(path);
    ASSERT_TRUE(LoadListItemsFromFile(items));
    EXPECT_EQ(items.size(), 2u);
    ASSERT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(prompt.Records()[0].text, kListFileExplanation);
    EXPECT_EQ(prompt.Records()[1].kind, ondrelo::EPromptKind::OpenFile);
    EXPECT_EQ(prompt.Records()[1].dialog.title, "Open the Text File Containing the List Items");
    EXPECT_EQ(prompt.Records()[1].dialog.filter, "Text files (*.txt)|*.txt|All Files(*.*)|*.*||");
    std::string shown;
    EXPECT_TRUE(COndRegistryHandler::GetSettingsValue("LoadFromFileShown", shown));
    EXPECT_EQ(shown, "1");

    // Second time: no explanation, but the question about the existing items.
    prompt.Clear();
    prompt.AnswerMessage(IDNO);
    EXPECT_FALSE(LoadListItemsFromPath(items, path));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{kListReplaceQuestion});
    EXPECT_EQ(items.size(), 2u);
}

TEST_F(ListItemLoad, UnreadableFileKeepsTheList) {
    COndRegistryHandler::SetSettingsValue("LoadFromFileShown", "1");
    std::vector<SListItem> items = {{"Keep", "k", true}};
    const auto before = items;
    for (std::string bad : {(dir / "missing.txt").string(), dir.string()}) {
        prompt.Clear();
        prompt.AnswerMessage(IDYES);
        EXPECT_FALSE(LoadListItemsFromPath(items, bad));
        EXPECT_EQ(prompt.MessageTexts().back(), "Failed loading from the file ");
        EXPECT_EQ(items, before);
    }
    prompt.AnswerMessage(IDYES);
    EXPECT_TRUE(LoadListItemsFromPath(items, path));
    EXPECT_EQ(items, (std::vector<SListItem>{{"Red", "1", false}, {"Blue", "2", false}}));
}

TEST(EditorNumberFields, WholeNumbersWithinLimits) {
    struct Case {
        const char* text;
        int min, max;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"10", 1, 999, 10},        {" 999 ", 1, 999, 999},   {"+5", 1, 999, 5},
        {"1000", 1, 999, {}},      {"0", 1, 999, {}},        {"0", 0, 1024, 0},
        {"-3", -5, 5, -3},         {"", 1, 999, {}},         {"  ", 1, 999, {}},
        {"12abc", 1, 999, {}},     {"1.5", 1, 999, {}},      {"++1", 1, 999, {}},
        {"99999999999999999999", 0, INT_MAX, {}},            {"2147483647", 0, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadNumberField(c.text, c.min, c.max), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(NumberFieldMessage(1, 999), "Please enter an integer between 1 and 999.");
    EXPECT_EQ(NumberFieldMessage(0, INT_MAX), "Please enter an integer of 0 or more.");
}

TEST(EditorNumberFields, DecimalsReadBackUnchanged) {
    for (double value : {0.0, 10.0, 2.5, -0.125, 0.1, 1e-7, 123456789.123, 1e300}) {
        const std::optional<double> read = ReadDecimalField(DecimalFieldText(value));
        ASSERT_TRUE(read.has_value()) << value;
        EXPECT_EQ(*read, value);
    }
    EXPECT_EQ(DecimalFieldText(10), "10");
    EXPECT_EQ(ReadDecimalField(" 2.5 "), 2.5);
    EXPECT_EQ(ReadDecimalField("+3"), 3.0);
    for (const char* bad : {"", "abc", "1,5", "2.5x", "inf", "nan", "1e999", "++1"}) {
        EXPECT_FALSE(ReadDecimalField(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace formwarden
