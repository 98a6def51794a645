// The validation editors' store and load, group rules, kept messages, the
// error-message tree and the custom function.
#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/Validations.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"

namespace formwarden {
namespace {

using namespace formwarden::test;

struct Brief {
    int kind;
    int option;
    std::string message;
    bool operator==(const Brief&) const = default;
};

std::vector<Brief> Briefs(const CValidationList& list) {
    std::vector<Brief> out;
    for (const CValidation& v : list) {
        out.push_back({v.m_nKind, v.m_nOption, v.m_strMessage});
    }
    return out;
}

std::ostream& operator<<(std::ostream& os, const Brief& b) {
    return os << "{" << b.kind << "," << b.option << ",\"" << b.message << "\"}";
}

std::vector<Brief> BriefsOf(const CHtmlForm& form, int index) {
    return Briefs(*form.GetElement(index).Validations());
}

int CallCount(CHtmlForm& form, const std::string& descriptor) {
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, nullptr);
    std::string script = gen.GenerateValidatorScript();
    int count = 0;
    for (std::size_t pos = 0;
         (pos = script.find("\"" + descriptor + "\"", pos)) != std::string::npos; ++pos) {
        ++count;
    }
    return count;
}

TEST(ValidationKinds, LabelsAndHelp) {
    const struct {
        int kind;
        const char* label;
        const char* help;
    } cases[] = {
        {1, "Mandatory Field", "The user must enter value for this field."},
        {2, "Alphabetic", "Only alphabetic characters allowed in this input field. "},
        {6, "Regular Expression", "Matches the regular expression with the input. "},
        {9, "Less than", "This validation compares two input fields. "},
        {11, "Equal to another element", "This validation compares two input fields. "},
        {16, "Not equal to another element", "This validation compares two input fields. "},
        {17, "Must select minimum check boxes",
         "The user should select at least the minimum number of check boxes from the group. "},
        {19, "Dont select(invalid option)", "The user should not select the specified option."},
        {0, "", "-no help-"},
        {20, "", "-no help-"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(ValidationKindLabel(c.kind), c.label);
        EXPECT_STREQ(ValidationKindHelp(c.kind), c.help);
    }
    // The orderings between two fields tell how a number with a thousands
    // separator is taken.
    for (int kind = kValLessThanElement; kind <= kValGreaterEqualElement; ++kind) {
        EXPECT_NE(std::string(ValidationKindHelp(kind)).find("\"1,000\""), std::string::npos)
            << kind;
    }
}

TEST(TextboxEditor, StoreBuildsTheListInOrderWithDefaultMessages) {
    STextValidationState s;
    s.m_bMandatory = true;
    s.m_nInputType = kInputAlphabetic;
    s.m_bAllowSpaces = true;
    s.m_bMaxLength = true;
    s.m_nMaxLength = 20;
    s.m_bMinLength = true;
    s.m_nMinLength = 2;
    s.m_bLessThan = true;
    s.m_dLessThan = 2.5;
    s.m_bGreaterThan = true;
    s.m_dGreaterThan = 10;
    s.m_bRegExp = true;
    s.m_strRegExp = "^\\d+$";
    s.m_Comparisons = {{2, "b"}, {5, "c"}};
    CValidationList list = BuildTextValidations(s, "a");
    EXPECT_EQ(Briefs(list), (std::vector<Brief>{
                                {1, 0, "Please enter the value for a"},
                                {2, 1, "Alphabetic input expected for a"},
                                {7, 0, "Please provide a value with less than 20 characters for a"},
                                {8, 0, "Please provide a value with more than 2 characters for a"},
                                {10, 0, "Please provide a value greater than 10 for a"},
                                {9, 0, "Please provide a value less than 2.5 for a"},
                                {6, 0, "Please provide a valid input for a"},
                                {13, 0, "a must be Less than or Equal to  b"},
                                {16, 0, "a must be different from c"},
                            }));
    EXPECT_EQ(list[2].GetInt(), 20);
    EXPECT_EQ(list[4].GetDouble(), 10.0);
    EXPECT_EQ(list[5].GetDouble(), 2.5);
    EXPECT_EQ(list[6].m_strText, "^\\d+$");
    EXPECT_EQ(list[7].m_strText, "b");
}

TEST(TextboxEditor, InputTypes) {
    const struct {
        int type;
        bool spaces;
        std::vector<Brief> list;
        std::string descriptor;
    } cases[] = {
        {kInputAlphabetic, true, {{2, 1, "Alphabetic input expected for a"}}, "alpha_s"},
        {kInputAlphabetic, false, {{2, 0, "Alphabetic input expected for a"}}, "alpha"},
        {kInputAlphaNumeric, true, {{3, 1, "Alpha-Numeric input expected for a"}}, "alnum_s"},
        {kInputNumeric, false, {{4, 0, "Please input a numeric value for a"}}, "num"},
        // "Allow Spaces" is kept on every input type, so that the editor
        // shows it again; only alpha and alnum descriptors use it.
        {kInputNumeric, true, {{4, 1, "Please input a numeric value for a"}}, "num"},
        {kInputEmail, true, {{5, 1, "Please provide a valid email address"}}, "email"},
        {kInputAny, true, {}, ""},
    };
    for (const auto& c : cases) {
        STextValidationState s;
        s.m_nInputType = c.type;
        s.m_bAllowSpaces = c.spaces;
        CValidationList list = BuildTextValidations(s, "a");
        EXPECT_EQ(Briefs(list), c.list);
        if (!list.empty()) {
            EXPECT_EQ(ValidationDescriptor(list[0], kTypeTextbox), c.descriptor);
            CHtmlForm form;
            form.AppendElement(Textbox("a", "A"));
            StoreTextValidations(form, 0, s);
            const STextValidationState loaded = LoadTextValidations(form, 0);
            EXPECT_EQ(loaded.m_nInputType, c.type);
            EXPECT_EQ(loaded.m_bAllowSpaces, c.spaces);
        }
    }
}

TEST(TextboxEditor, LoadIsTheInverseOfStore) {
    CHtmlForm form;
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Textbox("b", "B"));
    form.AppendElement(Checkbox("c", "C"));
    STextValidationState s;
    s.m_bMandatory = true;
    s.m_nInputType = kInputAlphaNumeric;
    s.m_bAllowSpaces = true;
    s.m_bMaxLength = true;
    s.m_nMaxLength = 9;
    s.m_bGreaterThan = true;
    s.m_dGreaterThan = 1.25;
    s.m_bRegExp = true;
    s.m_strRegExp = "x+";
    s.m_Comparisons = {{0, "b"}};
    StoreTextValidations(form, 0, s);
    EXPECT_TRUE(form.m_bModified);
    STextValidationState loaded = LoadTextValidations(form, 0);
    EXPECT_EQ(loaded.m_bMandatory, true);
    EXPECT_EQ(loaded.m_nInputType, kInputAlphaNumeric);
    EXPECT_TRUE(loaded.m_bAllowSpaces);
    EXPECT_TRUE(loaded.m_bMaxLength);
    EXPECT_EQ(loaded.m_nMaxLength, 9);
    EXPECT_FALSE(loaded.m_bMinLength);
    EXPECT_TRUE(loaded.m_bGreaterThan);
    EXPECT_EQ(loaded.m_dGreaterThan, 1.25);
    EXPECT_FALSE(loaded.m_bLessThan);
    EXPECT_EQ(loaded.m_strRegExp, "x+");
    EXPECT_EQ(loaded.m_Comparisons, s.m_Comparisons);
    EXPECT_EQ(LoadTextValidations(form, 1).m_nInputType, kInputAny);
}

TEST(TextboxEditor, ComparisonsWithAVanishedElementAreDropped) {
    CHtmlForm form;
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Textbox("B", "B"));
    form.AppendElement(Checkbox("gone", "C"));
    *form.GetElement(0).Validations() = {Val(kValEqualTo, "m", 0, 0, "b"),
                                         Val(kValLessThanElement, "m", 0, 0, "gone"),
                                         Val(kValNotEqualElement, "m", 0, 0, "a")};
    STextValidationState s = LoadTextValidations(form, 0);
    // "b" matches B without regard to case; a check box and the element itself do not count.
    EXPECT_EQ(s.m_Comparisons, (std::vector<SComparison>{{0, "B"}}));
    EXPECT_EQ(ComparisonCandidates(form, 0), std::vector<std::string>{"B"});
    StoreTextValidations(form, 0, s);
    EXPECT_EQ(form.GetElement(0).Validations()->size(), 1u);
}

TEST(TextboxEditor, ComparisonEntries) {
    ondrelo::CScriptedPrompt prompt;
    std::vector<SComparison> list;
    int selected = -1;
    EXPECT_EQ(AddComparison(list, {1, ""}, selected), -1);
    EXPECT_EQ(prompt.MessageTexts().back(), "Please select the second element");
    EXPECT_EQ(AddComparison(list, {1, "b"}, selected), 0);
    EXPECT_EQ(AddComparison(list, {2, "b"}, selected), 1);
    EXPECT_EQ(AddComparison(list, {1, "b"}, selected), -1);
    EXPECT_EQ(prompt.MessageTexts().back(), "This Comparison already exists in the list");
    EXPECT_EQ(selected, 0);
    // Updating an entry to itself is no duplicate; to another entry it is.
    EXPECT_EQ(UpdateComparison(list, 1, {2, "b"}, selected), 1);
    EXPECT_EQ(UpdateComparison(list, 1, {1, "b"}, selected), -1);
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(RemoveComparison(list, 0));
    EXPECT_FALSE(RemoveComparison(list, 3));
    EXPECT_EQ(list, (std::vector<SComparison>{{2, "b"}}));
    EXPECT_EQ(ComparisonEntryText("a", {4, "b"}), "a >= b");
    EXPECT_EQ(ComparisonEntryText("a", {0, "b"}), "a =  b");
}

TEST(OtherEditors, StoreAndLoad) {
    CHtmlForm form;
    form.AppendElement(Of(kTypeFile, "f"));
    form.AppendElement(Of(kTypeMultiline, "m"));
    form.AppendElement(Of(kTypeListbox, "l"));
    form.AppendElement(Checkbox("c", "C", "yes"));
    form.AppendElement(Radio("r", "R", "1"));

    StoreFileValidations(form, 0, {true});
    EXPECT_EQ(BriefsOf(form, 0), (std::vector<Brief>{{1, 0, "Please select the file to upload."}}));
    EXPECT_TRUE(LoadFileValidations(form, 0).m_bMandatory);

    StoreMultilineValidations(form, 1, {true, 100, true, 3, true});
    EXPECT_EQ(BriefsOf(form, 1),
              (std::vector<Brief>{
                  {7, 0, "The input you provided for m exceeds the limit(100 characters)"},
                  {8, 0, "Please provide a value with minimum 3 characters"},
                  {1, 0, "Please provide value for m"}}));
    SMultilineValidationState ml = LoadMultilineValidations(form, 1);
    EXPECT_EQ(ml.m_nMaxLength, 100);
    EXPECT_EQ(ml.m_nMinLength, 3);
    EXPECT_TRUE(ml.m_bMandatory);

    StoreListboxValidations(form, 2, {true, 2});
    EXPECT_EQ(BriefsOf(form, 2),
              (std::vector<Brief>{{19, 0, "Please select an option from the list"}}));
    EXPECT_EQ(ValidationDescriptor((*form.GetElement(2).Validations())[0], kTypeListbox),
              "dontselect=2");
    EXPECT_EQ(LoadListboxValidations(form, 2).m_nOption, 2);

    // Outside a group.
    StoreCheckboxValidations(form, 3, {kCheckboxSelectAtLeast, 5});
    EXPECT_EQ(BriefsOf(form, 3), (std::vector<Brief>{{17, 0, "Please check c"}}));
    EXPECT_EQ((*form.GetElement(3).Validations())[0].GetInt(), 1);
    StoreCheckboxValidations(form, 3, {kCheckboxDontSelect, 1});
    EXPECT_EQ(BriefsOf(form, 3),
              (std::vector<Brief>{{19, 0, "Can't proceed due to your selection for 'c'"}}));
    EXPECT_EQ((*form.GetElement(3).Validations())[0].m_strText, "yes");
    EXPECT_EQ(LoadCheckboxValidations(form, 3).m_nChoice, kCheckboxDontSelect);

    // The group choice of a radio button outside a group is disabled.
    StoreRadioValidations(form, 4, {true, true});
    EXPECT_EQ(BriefsOf(form, 4),
              (std::vector<Brief>{{19, 0, "Can't proceed as you selected this option."}}));
    EXPECT_EQ((*form.GetElement(4).Validations())[0].m_strText, "1");
}

TEST(GroupDescriptions, Texts) {
    CHtmlForm form;
    form.AppendElement(Checkbox("opt", "A", ""));
    form.AppendElement(Checkbox("OPT", "B", "b"));
    form.AppendElement(Checkbox("solo", "S", "s"));
    form.AppendElement(Radio("r", "1", "1"));
    form.AppendElement(Radio("r", "2", "2"));
    form.AppendElement(Radio("q", "3", "3"));
    form.AppendElement(Textbox("opt", "T"));  // another type does not join the group

    SGroupDescription d = DescribeCheckboxGroup(form, 0);
    EXPECT_TRUE(d.m_bGroupMember);
    EXPECT_EQ(d.m_strGroupLine,
              "Check box in the group \"opt\" with value \"undefined\". There are 2 check boxes "
              "in this group");
    EXPECT_EQ(d.m_strGroupChoice, "User should select at least");
    EXPECT_EQ(d.m_strAfterCount, "checkboxes from the group \"opt\"");
    d = DescribeCheckboxGroup(form, 2);
    EXPECT_FALSE(d.m_bGroupMember);
    EXPECT_EQ(d.m_strGroupChoice, "User should select this check box");

    d = DescribeRadioGroup(form, 4);
    EXPECT_EQ(d.m_strGroupLine,
              "Radio button in the group \"r\" with value \"2\". There are 2 radio buttons in "
              "this group");
    EXPECT_EQ(d.m_strGroupChoice, "User should select one from the group \"r\"");
    d = DescribeRadioGroup(form, 5);
    EXPECT_FALSE(d.m_bGroupMember);
    EXPECT_EQ(d.m_strGroupLine,
              "This Radio button is not the member of a group.To create a group, create radio "
              "buttons with the same name and different values");
    EXPECT_EQ(d.m_strGroupChoice, "User should select one from the group");
}

class CheckboxGroup : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"a", "b", "c"}) {
            form.AppendElement(Checkbox("opt", v, v));
        }
    }
    CHtmlForm form;
};

TEST_F(CheckboxGroup, TheFirstMemberCarriesTheRule) {
    StoreCheckboxValidations(form, 1, {kCheckboxSelectAtLeast, 2});
    const std::string message = "Please select at least 2  check boxes for opt";
    EXPECT_EQ(BriefsOf(form, 0), (std::vector<Brief>{{17, 10, message}}));
    EXPECT_EQ(BriefsOf(form, 1), (std::vector<Brief>{{17, 25, message}}));
    EXPECT_EQ(BriefsOf(form, 2), (std::vector<Brief>{{17, 25, message}}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((*form.GetElement(i).Validations())[0].GetInt(), 2);
        EXPECT_EQ(LoadCheckboxValidations(form, i).m_nChoice, kCheckboxSelectAtLeast);
    }
    EXPECT_EQ(CallCount(form, "selmin=2"), 1);

    // A new count reaches every member, with the carrier's message renewed.
    StoreCheckboxValidations(form, 2, {kCheckboxSelectAtLeast, 1});
    EXPECT_EQ(BriefsOf(form, 0),
              (std::vector<Brief>{{17, 10, "Please select at least 1  check boxes for opt"}}));
    EXPECT_EQ(CallCount(form, "selmin=1"), 1);
    EXPECT_EQ(CallCount(form, "selmin=2"), 0);
}

TEST_F(CheckboxGroup, AMemberThatMustNotBeChosenDoesNotHoldTheRule) {
    StoreCheckboxValidations(form, 0, {kCheckboxDontSelect, 1});
    StoreCheckboxValidations(form, 2, {kCheckboxSelectAtLeast, 1});
    EXPECT_EQ(BriefsOf(form, 0),
              (std::vector<Brief>{{19, 0, "Can't proceed due to your selection for 'opt'"}}));
    EXPECT_EQ(BriefsOf(form, 1),
              (std::vector<Brief>{{17, 10, "Please select at least 1  check boxes for opt"}}));
    EXPECT_EQ(BriefsOf(form, 2),
              (std::vector<Brief>{{17, 25, "Please select at least 1  check boxes for opt"}}));

    // A rule that a "not select" validation precedes is removed.
    form.GetElement(1).Validations()->insert(form.GetElement(1).Validations()->begin(),
                                             Val(kValDontSelect, "x", 0, 0, "b"));
    StoreCheckboxValidations(form, 2, {kCheckboxSelectAtLeast, 1});
    EXPECT_EQ(BriefsOf(form, 1), (std::vector<Brief>{{19, 0, "x"}}));
    EXPECT_EQ(BriefsOf(form, 2),
              (std::vector<Brief>{{17, 10, "Please select at least 1  check boxes for opt"}}));
}

TEST_F(CheckboxGroup, DroppingTheRuleOnTheCarrierLeavesItHeldByTheOthers) {
    StoreCheckboxValidations(form, 0, {kCheckboxSelectAtLeast, 2});
    ASSERT_EQ(CallCount(form, "selmin=2"), 1);
    // The carrier drops the rule: the others keep count and message, held,
    // and nothing is generated until a member carries the rule again.
    StoreCheckboxValidations(form, 0, {kCheckboxNoRule, 1});
    EXPECT_TRUE(form.GetElement(0).Validations()->empty());
    EXPECT_EQ(BriefsOf(form, 1),
              (std::vector<Brief>{{17, 25, "Please select at least 2  check boxes for opt"}}));
    EXPECT_EQ(BriefsOf(form, 2),
              (std::vector<Brief>{{17, 25, "Please select at least 2  check boxes for opt"}}));
    EXPECT_EQ((*form.GetElement(2).Validations())[0].GetInt(), 2);
    EXPECT_EQ(CallCount(form, "selmin=2"), 0);
    EXPECT_TRUE(BuildErrorStringTree(form).m_Elements[1].m_Validations.empty());

    // Ticking it again on any member makes the first member carry it.
    StoreCheckboxValidations(form, 2, {kCheckboxSelectAtLeast, 2});
    EXPECT_EQ(BriefsOf(form, 0),
              (std::vector<Brief>{{17, 10, "Please select at least 2  check boxes for opt"}}));
    EXPECT_EQ(CallCount(form, "selmin=2"), 1);
}

TEST(RadioGroup, DroppingTheRuleOnTheCarrierLeavesItHeld) {
    CHtmlForm form;
    for (const char* v : {"1", "2", "3"}) {
        form.AppendElement(Radio("r", v, v));
    }
    StoreRadioValidations(form, 1, {false, true});
    ASSERT_EQ(CallCount(form, "selone"), 1);
    StoreRadioValidations(form, 0, {false, false});
    EXPECT_EQ(BriefsOf(form, 1), (std::vector<Brief>{{18, 25, "Please select one option"}}));
    EXPECT_EQ(BriefsOf(form, 2), (std::vector<Brief>{{18, 25, "Please select one option"}}));
    EXPECT_EQ(CallCount(form, "selone"), 0);

    // Dropping it on a holder while the first member still carries it
    // leaves the first one carrying.
    StoreRadioValidations(form, 2, {false, true});
    StoreRadioValidations(form, 1, {false, false});
    EXPECT_EQ(BriefsOf(form, 0), (std::vector<Brief>{{18, 10, "Please select one option"}}));
    EXPECT_EQ(CallCount(form, "selone"), 1);
}

TEST_F(CheckboxGroup, AfterAMoveOnlyOneMemberCarries) {
    StoreCheckboxValidations(form, 2, {kCheckboxSelectAtLeast, 1});  // carrier: element 0
    form.MoveElementDown(0);  // the carrier now stands second
    StoreCheckboxValidations(form, 0, {kCheckboxSelectAtLeast, 1});
    EXPECT_EQ(CallCount(form, "selmin=1"), 1);
    EXPECT_EQ(BriefsOf(form, 0)[0].option, 10);
}

TEST(RadioGroup, SelectOneOnTheThirdIsCarriedByTheFirst) {
    CHtmlForm form;
    for (const char* v : {"1", "2", "3"}) {
        form.AppendElement(Radio("r", v, v));
    }
    StoreRadioValidations(form, 0, {true, false});  // the first must not be chosen
    StoreRadioValidations(form, 2, {false, true});
    // Radio buttons may hold both rules.
    EXPECT_EQ(BriefsOf(form, 0),
              (std::vector<Brief>{{19, 0, "Can't proceed as you selected this option."},
                                  {18, 10, "Please select one option"}}));
    EXPECT_EQ(BriefsOf(form, 1), (std::vector<Brief>{{18, 25, "Please select one option"}}));
    EXPECT_EQ(BriefsOf(form, 2), (std::vector<Brief>{{18, 25, "Please select one option"}}));
    EXPECT_EQ(CallCount(form, "selone"), 1);
    EXPECT_TRUE(LoadRadioValidations(form, 1).m_bSelectOne);
}

TEST(KeptMessages, EditedMessagesSurviveAStoreWithTheSameParameters) {
    CHtmlForm form;
    form.AppendElement(Textbox("a", "A"));
    STextValidationState s;
    s.m_bMandatory = true;
    s.m_bMaxLength = true;
    s.m_nMaxLength = 10;
    s.m_bRegExp = true;
    s.m_strRegExp = "abc";
    StoreTextValidations(form, 0, s);
    CValidationList& list = *form.GetElement(0).Validations();
    list[0].m_strMessage = "Type something";
    list[1].m_strMessage = "Ten at most";
    list[2].m_strMessage = "Lower case abc";
    s.m_nMaxLength = 11;    // another number: the default message comes back
    s.m_strRegExp = "ABC";  // the text compares with letter case
    StoreTextValidations(form, 0, s);
    EXPECT_EQ(
        BriefsOf(form, 0),
        (std::vector<Brief>{{1, 0, "Type something"},
                            {7, 0, "Please provide a value with less than 11 characters for a"},
                            {6, 0, "Please provide a valid input for a"}}));
}

TEST(ErrorStrings, TreeSkipsHeldGroupRules) {
    CHtmlForm form;
    form.m_strName = "f";
    form.AppendElement(Textbox("t", "T"));
    form.AppendElement(Radio("r", "1", "1"));
    form.AppendElement(Radio("r", "2", "2"));
    StoreTextValidations(form, 0, [] {
        STextValidationState s;
        s.m_bMandatory = true;
        s.m_nInputType = kInputNumeric;
        return s;
    }());
    StoreRadioValidations(form, 1, {false, true});
    SErrorStringTree tree = BuildErrorStringTree(form);
    EXPECT_EQ(tree.m_strRoot, "f");
    ASSERT_EQ(tree.m_Elements.size(), 3u);
    ASSERT_EQ(tree.m_Elements[0].m_Validations.size(), 2u);
    EXPECT_EQ(tree.m_Elements[0].m_Validations[1].m_strLabel, "Numeric");
    ASSERT_EQ(tree.m_Elements[1].m_Validations.size(), 1u);
    EXPECT_EQ(tree.m_Elements[1].m_Validations[0].m_strLabel, "Select one");
    EXPECT_TRUE(tree.m_Elements[2].m_Validations.empty());

    form.m_bModified = false;
    SErrorStringNode node = tree.m_Elements[0].m_Validations[1];
    EXPECT_TRUE(SetValidationMessage(form, node, "Digits, please"));
    EXPECT_EQ(FindValidation(form, node)->m_strMessage, "Digits, please");
    EXPECT_TRUE(form.m_bModified);
    EXPECT_FALSE(SetValidationMessage(form, {0, 5, ""}, "x"));
    EXPECT_EQ(FindValidation(form, {7, 0, ""}), nullptr);
}

TEST(CustomValidation, UntouchedSuggestionLeavesNoFunction) {
    CHtmlForm form;
    EXPECT_EQ(CustomValidationHeader("myform"), "function validate_myform ( )\r\n{");
    EXPECT_EQ(CustomValidationInitialText(form),
              "//TODO: Place your custom \r\n//      validation script here \r\n//      The "
              "function must return true/false.\r\n\r\n return true;");
    ApplyCustomValidation(form, CustomValidationInitialText(form), false);
    EXPECT_EQ(form.m_strCustomValidation, "");
    ApplyCustomValidation(form, "return false;", true);
    EXPECT_EQ(form.m_strCustomValidation, "return false;");
    EXPECT_EQ(CustomValidationInitialText(form), "return false;");
}

}  // namespace
}  // namespace formwarden
