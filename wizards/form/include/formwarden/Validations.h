// The validation kinds and the per-type validation editors, without a
// window: each editor's controls are a plain state record; Load fills it from
// an element's validation list and Store rebuilds the list from it (default
// messages, messages the user edited kept, group rules shared among members).
#pragma once

#include <string>
#include <vector>

#include "formwarden/FormModel.h"

namespace formwarden {

// "Mandatory Field", "Alphabetic", ...; empty for an unknown kind.
const char* ValidationKindLabel(int kind);
// Help text of the error-message editor; "-no help-" for an unknown kind.
const char* ValidationKindHelp(int kind);

// False for the types whose editor shows "No Validations" (Hidden, Button).
bool TypeHasValidations(int type);
inline constexpr const char* kNoValidations = "No Validations";

// ---- groups ----

// True for the types whose elements form groups by name (check boxes, radio buttons).
bool IsGroupType(int type);
// Indices, in list order, of the elements of the same group type whose name
// equals this element's without regard to letter case (the element included).
std::vector<int> GroupMembers(const CHtmlForm& form, int index);
// A member only when at least one other element of its type has its name.
bool IsGroupMember(const CHtmlForm& form, int index);
// A group rule kept by a member while another member generates it: neither
// generated nor listed among the error messages.
inline bool IsHeldGroupRule(const CValidation& v) {
    return (v.m_nKind == kValSelectMin || v.m_nKind == kValSelectOne) &&
           v.m_nOption == kOptionGroupHolder;
}

// ---- Textbox: "Properties" and "Comparison" ----

enum EInputType : int {
    kInputAlphabetic = 0,
    kInputAlphaNumeric = 1,
    kInputNumeric = 2,
    kInputEmail = 3,
    kInputAny = 4,
};

// One entry of the Comparison page: operator index 0 to 5 (kinds 11 to 16)
// and the name of the other Textbox.
struct SComparison {
    int m_nOperator = 0;
    std::string m_strOther;
    bool operator==(const SComparison&) const = default;
};

struct STextValidationState {
    bool m_bMandatory = false;
    int m_nInputType = kInputAny;
    bool m_bAllowSpaces = false;
    bool m_bMaxLength = false;
    int m_nMaxLength = 0;
    bool m_bMinLength = false;
    int m_nMinLength = 0;
    bool m_bLessThan = false;
    double m_dLessThan = 0;
    bool m_bGreaterThan = false;
    double m_dGreaterThan = 0;
    bool m_bRegExp = false;
    std::string m_strRegExp;
    std::vector<SComparison> m_Comparisons;
};

// " =  ", " <  ", " <= ", " >  ", " >= ", " != " for operator 0 to 5.
const char* ComparisonOperatorWord(int op);
// The list row: element name, operator word, other name.
std::string ComparisonEntryText(const std::string& elementName, const SComparison& comparison);
// The second choice of the Comparison page: the names of the other Textbox
// elements of the form, in list order.
std::vector<std::string> ComparisonCandidates(const CHtmlForm& form, int index);

// "Add New" / "Update" of the Comparison page. Refusals are shown to the
// user; on a duplicate `selected` is set to the existing entry. Return the
// index of the added or updated entry, or -1 when refused.
int AddComparison(std::vector<SComparison>& list, const SComparison& entry, int& selected);
int UpdateComparison(std::vector<SComparison>& list, int index, const SComparison& entry,
                     int& selected);
bool RemoveComparison(std::vector<SComparison>& list, int index);

STextValidationState LoadTextValidations(const CHtmlForm& form, int index);
CValidationList BuildTextValidations(const STextValidationState& state, const std::string& name);

// ---- Checkbox ----

enum ECheckboxChoice : int {
    kCheckboxNoRule = 0,
    kCheckboxSelectAtLeast = 1,  // "User should select this check box" / "... at least"
    kCheckboxDontSelect = 2,     // "User should not select this check box"
};

struct SCheckboxValidationState {
    int m_nChoice = kCheckboxNoRule;
    int m_nMinCount = 1;  // only for a group member
};

// Texts the check-box and radio-button editors show.
struct SGroupDescription {
    bool m_bGroupMember = false;
    std::string m_strGroupLine;    // the line about the group (empty when hidden)
    std::string m_strGroupChoice;  // caption of the group choice
    std::string m_strAfterCount;   // check boxes: "checkboxes from the group \"...\""
};

SGroupDescription DescribeCheckboxGroup(const CHtmlForm& form, int index);
SCheckboxValidationState LoadCheckboxValidations(const CHtmlForm& form, int index);
CValidationList BuildCheckboxValidations(const SCheckboxValidationState& state,
                                         const CHtmlForm& form, int index);

// ---- Radio Button ----

struct SRadioValidationState {
    bool m_bDontSelect = false;  // "User should not select this option"
    bool m_bSelectOne = false;   // the group choice
};

SGroupDescription DescribeRadioGroup(const CHtmlForm& form, int index);
SRadioValidationState LoadRadioValidations(const CHtmlForm& form, int index);
CValidationList BuildRadioValidations(const SRadioValidationState& state, const CHtmlForm& form,
                                      int index);

// ---- ListBox, File, Multiline Text ----

struct SListboxValidationState {
    bool m_bDontSelect = false;
    int m_nOption = 0;  // index of the option that must not be chosen
};
SListboxValidationState LoadListboxValidations(const CHtmlForm& form, int index);
CValidationList BuildListboxValidations(const SListboxValidationState& state);

struct SFileValidationState {
    bool m_bMandatory = false;
};
SFileValidationState LoadFileValidations(const CHtmlForm& form, int index);
CValidationList BuildFileValidations(const SFileValidationState& state);

struct SMultilineValidationState {
    bool m_bMaxLength = false;
    int m_nMaxLength = 0;
    bool m_bMinLength = false;
    int m_nMinLength = 0;
    bool m_bMandatory = false;
};
SMultilineValidationState LoadMultilineValidations(const CHtmlForm& form, int index);
CValidationList BuildMultilineValidations(const SMultilineValidationState& state,
                                          const std::string& name);

// ---- store ----

// Replaces the element's validation list with `rebuilt` (as built by one of
// the Build functions): every new validation with an old counterpart of the
// same kind, number, option and text takes the counterpart's non-empty
// message; then the group rule is shared with the other members of the
// element's group; the form is marked modified.
void StoreValidations(CHtmlForm& form, int index, CValidationList rebuilt);

// The editor store for each type, in one call.
void StoreTextValidations(CHtmlForm& form, int index, const STextValidationState& state);
void StoreCheckboxValidations(CHtmlForm& form, int index, const SCheckboxValidationState& state);
void StoreRadioValidations(CHtmlForm& form, int index, const SRadioValidationState& state);
void StoreListboxValidations(CHtmlForm& form, int index, const SListboxValidationState& state);
void StoreFileValidations(CHtmlForm& form, int index, const SFileValidationState& state);
void StoreMultilineValidations(CHtmlForm& form, int index, const SMultilineValidationState& state);

// Shares the group rule of element `index` (just stored) with the other
// members of its group; part of StoreValidations.
void ShareGroupValidation(CHtmlForm& form, int index);

// ---- error messages ----

// One validation node of the error-message tree.
struct SErrorStringNode {
    int m_nElement = 0;
    int m_nValidation = 0;
    std::string m_strLabel;  // the kind's label
};
// Per element (in list order) its validation nodes, skipping group rules
// held for another member (option 25).
struct SErrorStringElement {
    int m_nElement = 0;
    std::string m_strName;
    int m_nType = kTypeUnset;
    std::vector<SErrorStringNode> m_Validations;
};
struct SErrorStringTree {
    std::string m_strRoot;  // the form's name
    std::vector<SErrorStringElement> m_Elements;
};
SErrorStringTree BuildErrorStringTree(const CHtmlForm& form);
// Help area text with nothing selected.
inline constexpr const char* kSelectValidationHelp =
    "Select the validations to edit the error message";
// Stores an edited message; false when the node does not exist. A changed
// message marks the form modified.
bool SetValidationMessage(CHtmlForm& form, const SErrorStringNode& node, const std::string& text);
const CValidation* FindValidation(const CHtmlForm& form, const SErrorStringNode& node);

// ---- custom validation function ----

// "function validate_<form> ( )\r\n{"
std::string CustomValidationHeader(const std::string& formName);
inline constexpr const char* kCustomValidationFooter = "}";
// The suggestion shown while the form has no body.
extern const char* const kCustomValidationSuggestion;
// What the dialog's field starts with.
std::string CustomValidationInitialText(const CHtmlForm& form);
// "OK": the field's text becomes the body only when the user changed it.
void ApplyCustomValidation(CHtmlForm& form, const std::string& fieldText, bool changed);

}  // namespace formwarden
