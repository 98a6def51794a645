#include "formwarden/Validations.h"

#include <strings.h>

#include "Text.h"
#include "formwarden/FormResources.h"
#include "ondrelo/Common.h"

namespace formwarden {

namespace {

struct SKindInfo {
    const char* label;
    const char* help;
};

const char* const kCompareHelp = "This validation compares two input fields. ";
// The orderings say when they compare numbers: a visitor typing "1,000"
// would otherwise expect it to be taken as a thousand.
const char* const kOrderHelp =
    "This validation compares two input fields. They are compared as numbers when both hold a "
    "plain number (digits with an optional sign and decimal point, such as -12 or 3.5), "
    "otherwise as text: \"1,000\" has a thousands separator and is compared as text, so it "
    "sorts before \"999\".";

const SKindInfo kKinds[kValidationKindCount + 1] = {
    {"", "-no help-"},
    {"Mandatory Field", "The user must enter value for this field."},
    {"Alphabetic", "Only alphabetic characters allowed in this input field. "},
    {"AlphaNumeric", "Only alpha-numeric characters allowed in this input field."},
    {"Numeric", "This validation permits only numeric value in the input field. "},
    {"EMail", "This validation checks for valid email address."},
    {"Regular Expression", "Matches the regular expression with the input. "},
    {"Maximum length", "Checks the number of characters in the input. "},
    {"Minimum Length", "Checks the minimum length of the input. "},
    {"Less than", kCompareHelp},
    {"Greater than", kCompareHelp},
    {"Equal to another element", kCompareHelp},
    {"Less than another element", kOrderHelp},
    {"Less than or equal to another element", kOrderHelp},
    {"Greater than another element", kOrderHelp},
    {"Greater than or equal to another element", kOrderHelp},
    {"Not equal to another element", kCompareHelp},
    {"Must select minimum check boxes",
     "The user should select at least the minimum number of check boxes from the group. "},
    {"Select one", "Select one from the group."},
    {"Dont select(invalid option)", "The user should not select the specified option."},
};

const char* const kOperatorWords[6] = {" =  ", " <  ", " <= ", " >  ", " >= ", " != "};
const char* const kComparisonWords[6] = {"Equal to",
                                         "Less than",
                                         "Less than or Equal to ",
                                         "Greater than",
                                         "Greater than or Equal To",
                                         "different from"};

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

CValidationList* ListOf(CHtmlForm& form, int index) {
    if (index < 0 || index >= form.GetElementCount()) {
        return nullptr;
    }
    return form.GetElement(index).Validations();
}

const CValidationList& ListOf(const CHtmlForm& form, int index) {
    static const CValidationList empty;
    if (index < 0 || index >= form.GetElementCount()) {
        return empty;
    }
    const CValidationList* list = form.GetElement(index).Validations();
    return list ? *list : empty;
}

// The value of a check box or radio button, the text its "not select" rule needs.
std::string ChoiceValue(const CHtmlForm& form, int index) {
    if (index < 0 || index >= form.GetElementCount()) {
        return {};
    }
    const CElementData* data = form.GetElement(index).GetData();
    if (const auto* box = dynamic_cast<const CCheckboxData*>(data)) {
        return box->m_strValue;
    }
    if (const auto* radio = dynamic_cast<const CRadioData*>(data)) {
        return radio->m_strValue;
    }
    return {};
}

const std::string& NameOf(const CHtmlForm& form, int index) {
    static const std::string empty;
    return index >= 0 && index < form.GetElementCount() ? form.GetElement(index).m_strName : empty;
}

}  // namespace

const char* ValidationKindLabel(int kind) {
    return kind >= 1 && kind <= kValidationKindCount ? kKinds[kind].label : "";
}

const char* ValidationKindHelp(int kind) {
    return kind >= 1 && kind <= kValidationKindCount ? kKinds[kind].help : "-no help-";
}

bool TypeHasValidations(int type) {
    return type >= 0 && type < kElementTypeCount && type != kTypeHidden && type != kTypeButton;
}

// ---- groups ----

bool IsGroupType(int type) {
    return type == kTypeCheckbox || type == kTypeRadio;
}

std::vector<int> GroupMembers(const CHtmlForm& form, int index) {
    std::vector<int> members;
    if (index < 0 || index >= form.GetElementCount()) {
        return members;
    }
    const CFormElement& element = form.GetElement(index);
    if (!IsGroupType(element.m_nType)) {
        members.push_back(index);
        return members;
    }
    for (int i = 0; i < form.GetElementCount(); ++i) {
        const CFormElement& other = form.GetElement(i);
        if (other.m_nType == element.m_nType && SameName(other.m_strName, element.m_strName)) {
            members.push_back(i);
        }
    }
    return members;
}

bool IsGroupMember(const CHtmlForm& form, int index) {
    return GroupMembers(form, index).size() > 1;
}

// ---- Textbox ----

const char* ComparisonOperatorWord(int op) {
    return op >= 0 && op < 6 ? kOperatorWords[op] : "";
}

std::string ComparisonEntryText(const std::string& elementName, const SComparison& comparison) {
    return elementName + ComparisonOperatorWord(comparison.m_nOperator) + comparison.m_strOther;
}

std::vector<std::string> ComparisonCandidates(const CHtmlForm& form, int index) {
    std::vector<std::string> names;
    for (int i = 0; i < form.GetElementCount(); ++i) {
        if (i != index && form.GetElement(i).m_nType == kTypeTextbox) {
            names.push_back(form.GetElement(i).m_strName);
        }
    }
    return names;
}

namespace {

// Refuses an entry without a second element, or one that duplicates another
// entry than `except`; returns false after telling the user.
bool CheckComparison(const std::vector<SComparison>& list, const SComparison& entry, int except,
                     int& selected) {
    if (entry.m_strOther.empty()) {
        FormMessageBox("Please select the second element", MB_OK | MB_ICONERROR);
        return false;
    }
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (i != except && list[static_cast<std::size_t>(i)] == entry) {
            FormMessageBox("This Comparison already exists in the list", MB_OK | MB_ICONERROR);
            selected = i;
            return false;
        }
    }
    return true;
}

}  // namespace

int AddComparison(std::vector<SComparison>& list, const SComparison& entry, int& selected) {
    if (entry.m_nOperator < 0 || entry.m_nOperator > 5 ||
        !CheckComparison(list, entry, -1, selected)) {
        return -1;
    }
    list.push_back(entry);
    selected = static_cast<int>(list.size()) - 1;
    return selected;
}

int UpdateComparison(std::vector<SComparison>& list, int index, const SComparison& entry,
                     int& selected) {
    if (index < 0 || index >= static_cast<int>(list.size())) {
        return AddComparison(list, entry, selected);
    }
    if (entry.m_nOperator < 0 || entry.m_nOperator > 5 ||
        !CheckComparison(list, entry, index, selected)) {
        return -1;
    }
    list[static_cast<std::size_t>(index)] = entry;
    selected = index;
    return index;
}

bool RemoveComparison(std::vector<SComparison>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) {
        return false;
    }
    list.erase(list.begin() + index);
    return true;
}

STextValidationState LoadTextValidations(const CHtmlForm& form, int index) {
    STextValidationState state;
    std::vector<std::string> candidates = ComparisonCandidates(form, index);
    for (const CValidation& v : ListOf(form, index)) {
        switch (v.m_nKind) {
            case kValRequired:
                state.m_bMandatory = true;
                break;
            case kValAlpha:
            case kValAlnum:
            case kValNumeric:
            case kValEmail:
                state.m_nInputType = v.m_nKind - kValAlpha;
                state.m_bAllowSpaces = v.m_nOption == kOptionAllowSpaces;
                break;
            case kValMaxLength:
                state.m_bMaxLength = true;
                state.m_nMaxLength = v.GetInt();
                break;
            case kValMinLength:
                state.m_bMinLength = true;
                state.m_nMinLength = v.GetInt();
                break;
            case kValLessThan:
                state.m_bLessThan = true;
                state.m_dLessThan = v.GetDouble();
                break;
            case kValGreaterThan:
                state.m_bGreaterThan = true;
                state.m_dGreaterThan = v.GetDouble();
                break;
            case kValRegExp:
                state.m_bRegExp = true;
                state.m_strRegExp = v.m_strText;
                break;
            default:
                if (v.m_nKind >= kValEqualTo && v.m_nKind <= kValNotEqualElement) {
                    // Only while the other Textbox still exists.
                    for (const std::string& candidate : candidates) {
                        if (SameName(candidate, v.m_strText)) {
                            state.m_Comparisons.push_back({v.m_nKind - kValEqualTo, candidate});
                            break;
                        }
                    }
                }
                break;
        }
    }
    return state;
}

CValidationList BuildTextValidations(const STextValidationState& state, const std::string& name) {
    using text::Format;
    const char* n = name.c_str();
    CValidationList list;
    if (state.m_bMandatory) {
        list.push_back(CValidation(kValRequired, Format("Please enter the value for %s", n)));
    }
    switch (state.m_nInputType) {
        case kInputAlphabetic:
            list.push_back(CValidation(kValAlpha, Format("Alphabetic input expected for %s", n)));
            break;
        case kInputAlphaNumeric:
            list.push_back(
                CValidation(kValAlnum, Format("Alpha-Numeric input expected for %s", n)));
            break;
        case kInputNumeric:
            list.push_back(
                CValidation(kValNumeric, Format("Please input a numeric value for %s", n)));
            break;
        case kInputEmail:
            list.push_back(CValidation(kValEmail, "Please provide a valid email address"));
            break;
        default:
            break;
    }
    // The input-type validation carries "Allow Spaces" whatever the type, so
    // that loading the editor again shows the check as it was left.
    if (!list.empty() && list.back().m_nKind >= kValAlpha && list.back().m_nKind <= kValEmail) {
        list.back().m_nOption = state.m_bAllowSpaces ? kOptionAllowSpaces : 0;
    }
    if (state.m_bMaxLength) {
        CValidation v(kValMaxLength,
                      Format("Please provide a value with less than %d characters for %s",
                             state.m_nMaxLength, n));
        v.SetInt(state.m_nMaxLength);
        list.push_back(v);
    }
    if (state.m_bMinLength) {
        CValidation v(kValMinLength,
                      Format("Please provide a value with more than %d characters for %s",
                             state.m_nMinLength, n));
        v.SetInt(state.m_nMinLength);
        list.push_back(v);
    }
    if (state.m_bGreaterThan) {
        CValidation v(kValGreaterThan,
                      Format("Please provide a value greater than %s for %s",
                             CCommon::NormalizeFloat(state.m_dGreaterThan).c_str(), n));
        v.SetDouble(state.m_dGreaterThan);
        list.push_back(v);
    }
    if (state.m_bLessThan) {
        CValidation v(kValLessThan, Format("Please provide a value less than %s for %s",
                                           CCommon::NormalizeFloat(state.m_dLessThan).c_str(), n));
        v.SetDouble(state.m_dLessThan);
        list.push_back(v);
    }
    if (state.m_bRegExp) {
        CValidation v(kValRegExp, Format("Please provide a valid input for %s", n));
        v.m_strText = state.m_strRegExp;
        list.push_back(v);
    }
    for (const SComparison& c : state.m_Comparisons) {
        if (c.m_nOperator < 0 || c.m_nOperator > 5) {
            continue;
        }
        CValidation v(
            kValEqualTo + c.m_nOperator,
            Format("%s must be %s %s", n, kComparisonWords[c.m_nOperator], c.m_strOther.c_str()));
        v.m_strText = c.m_strOther;
        list.push_back(v);
    }
    return list;
}

// ---- Checkbox ----

namespace {

std::string ValueOrUndefined(const std::string& value) {
    return value.empty() ? std::string("undefined") : value;
}

}  // namespace

SGroupDescription DescribeCheckboxGroup(const CHtmlForm& form, int index) {
    SGroupDescription d;
    std::vector<int> members = GroupMembers(form, index);
    d.m_bGroupMember = members.size() > 1;
    const std::string& name = NameOf(form, index);
    if (d.m_bGroupMember) {
        d.m_strGroupLine = text::Format(
            "Check box in the group \"%s\" with value \"%s\". There are %d check boxes in this "
            "group",
            name.c_str(), ValueOrUndefined(ChoiceValue(form, index)).c_str(),
            static_cast<int>(members.size()));
        d.m_strGroupChoice = "User should select at least";
        d.m_strAfterCount = text::Format("checkboxes from the group \"%s\"", name.c_str());
    } else {
        d.m_strGroupChoice = "User should select this check box";
    }
    return d;
}

SCheckboxValidationState LoadCheckboxValidations(const CHtmlForm& form, int index) {
    SCheckboxValidationState state;
    for (const CValidation& v : ListOf(form, index)) {
        if (v.m_nKind == kValSelectMin) {
            state.m_nChoice = kCheckboxSelectAtLeast;
            state.m_nMinCount = v.GetInt();
            break;
        }
        if (v.m_nKind == kValDontSelect) {
            state.m_nChoice = kCheckboxDontSelect;
            break;
        }
    }
    return state;
}

CValidationList BuildCheckboxValidations(const SCheckboxValidationState& state,
                                         const CHtmlForm& form, int index) {
    CValidationList list;
    const std::string& name = NameOf(form, index);
    if (state.m_nChoice == kCheckboxSelectAtLeast) {
        if (IsGroupMember(form, index)) {
            CValidation v(kValSelectMin,
                          text::Format("Please select at least %d  check boxes for %s",
                                       state.m_nMinCount, name.c_str()));
            v.SetInt(state.m_nMinCount);
            v.m_nOption = kOptionGroupCarrier;
            list.push_back(v);
        } else {
            CValidation v =
                CValidation(kValSelectMin, text::Format("Please check %s", name.c_str()));
            v.SetInt(1);
            list.push_back(v);
        }
    } else if (state.m_nChoice == kCheckboxDontSelect) {
        CValidation v(kValDontSelect,
                      text::Format("Can't proceed due to your selection for '%s'", name.c_str()));
        v.m_strText = ChoiceValue(form, index);
        list.push_back(v);
    }
    return list;
}

// ---- Radio Button ----

SGroupDescription DescribeRadioGroup(const CHtmlForm& form, int index) {
    SGroupDescription d;
    std::vector<int> members = GroupMembers(form, index);
    d.m_bGroupMember = members.size() > 1;
    const std::string& name = NameOf(form, index);
    if (d.m_bGroupMember) {
        d.m_strGroupLine = text::Format(
            "Radio button in the group \"%s\" with value \"%s\". There are %d radio buttons in "
            "this group",
            name.c_str(), ValueOrUndefined(ChoiceValue(form, index)).c_str(),
            static_cast<int>(members.size()));
        d.m_strGroupChoice =
            text::Format("User should select one from the group \"%s\"", name.c_str());
    } else {
        d.m_strGroupLine =
            "This Radio button is not the member of a group.To create a group, create radio "
            "buttons with the same name and different values";
        d.m_strGroupChoice = "User should select one from the group";
    }
    return d;
}

SRadioValidationState LoadRadioValidations(const CHtmlForm& form, int index) {
    SRadioValidationState state;
    for (const CValidation& v : ListOf(form, index)) {
        if (v.m_nKind == kValDontSelect) {
            state.m_bDontSelect = true;
        } else if (v.m_nKind == kValSelectOne) {
            state.m_bSelectOne = true;
        }
    }
    return state;
}

CValidationList BuildRadioValidations(const SRadioValidationState& state, const CHtmlForm& form,
                                      int index) {
    CValidationList list;
    if (state.m_bDontSelect) {
        CValidation v(kValDontSelect, "Can't proceed as you selected this option.");
        v.m_strText = ChoiceValue(form, index);
        list.push_back(v);
    }
    // The group choice is disabled for a button outside a group.
    if (state.m_bSelectOne && IsGroupMember(form, index)) {
        CValidation v(kValSelectOne, "Please select one option");
        v.m_nOption = kOptionGroupCarrier;
        list.push_back(v);
    }
    return list;
}

// ---- ListBox, File, Multiline Text ----

SListboxValidationState LoadListboxValidations(const CHtmlForm& form, int index) {
    SListboxValidationState state;
    for (const CValidation& v : ListOf(form, index)) {
        if (v.m_nKind == kValDontSelect) {
            state.m_bDontSelect = true;
            state.m_nOption = v.GetInt();
        }
    }
    return state;
}

CValidationList BuildListboxValidations(const SListboxValidationState& state) {
    CValidationList list;
    if (state.m_bDontSelect) {
        CValidation v(kValDontSelect, "Please select an option from the list");
        v.SetInt(state.m_nOption);
        list.push_back(v);
    }
    return list;
}

SFileValidationState LoadFileValidations(const CHtmlForm& form, int index) {
    SFileValidationState state;
    for (const CValidation& v : ListOf(form, index)) {
        state.m_bMandatory = state.m_bMandatory || v.m_nKind == kValRequired;
    }
    return state;
}

CValidationList BuildFileValidations(const SFileValidationState& state) {
    CValidationList list;
    if (state.m_bMandatory) {
        list.push_back(CValidation(kValRequired, "Please select the file to upload."));
    }
    return list;
}

SMultilineValidationState LoadMultilineValidations(const CHtmlForm& form, int index) {
    SMultilineValidationState state;
    for (const CValidation& v : ListOf(form, index)) {
        if (v.m_nKind == kValMaxLength) {
            state.m_bMaxLength = true;
            state.m_nMaxLength = v.GetInt();
        } else if (v.m_nKind == kValMinLength) {
            state.m_bMinLength = true;
            state.m_nMinLength = v.GetInt();
        } else if (v.m_nKind == kValRequired) {
            state.m_bMandatory = true;
        }
    }
    return state;
}

CValidationList BuildMultilineValidations(const SMultilineValidationState& state,
                                          const std::string& name) {
    CValidationList list;
    if (state.m_bMaxLength) {
        CValidation v(kValMaxLength,
                      text::Format("The input you provided for %s exceeds the limit(%d characters)",
                                   name.c_str(), state.m_nMaxLength));
        v.SetInt(state.m_nMaxLength);
        list.push_back(v);
    }
    if (state.m_bMinLength) {
        CValidation v(
            kValMinLength,
            text::Format("Please provide a value with minimum %d characters", state.m_nMinLength));
        v.SetInt(state.m_nMinLength);
        list.push_back(v);
    }
    if (state.m_bMandatory) {
        list.push_back(
            CValidation(kValRequired, text::Format("Please provide value for %s", name.c_str())));
    }
    return list;
}

// ---- store ----

void StoreValidations(CHtmlForm& form, int index, CValidationList rebuilt) {
    CValidationList* current = ListOf(form, index);
    if (!current) {
        return;
    }
    // Messages the user edited survive the rebuild.
    for (CValidation& v : rebuilt) {
        for (const CValidation& old : *current) {
            if (old.m_nKind == v.m_nKind && old.m_nNumber == v.m_nNumber &&
                old.m_nOption == v.m_nOption && old.m_strText == v.m_strText &&
                !old.m_strMessage.empty()) {
                v.m_strMessage = old.m_strMessage;
                break;
            }
        }
    }
    *current = std::move(rebuilt);
    ShareGroupValidation(form, index);
    form.m_bModified = true;
}

void ShareGroupValidation(CHtmlForm& form, int index) {
    CValidationList* own = ListOf(form, index);
    if (!own) {
        return;
    }
    const int type = form.GetElement(index).m_nType;
    if (!IsGroupType(type)) {
        return;
    }
    const bool boxes = type == kTypeCheckbox;
    const int groupKind = boxes ? kValSelectMin : kValSelectOne;

    const CValidation* rule = nullptr;
    for (const CValidation& v : *own) {
        if (v.m_nKind == groupKind) {
            rule = &v;
            break;
        }
    }
    const bool ruleOn = rule != nullptr;
    const std::string message = ruleOn ? rule->m_strMessage : std::string();
    const int number = ruleOn ? rule->GetInt() : 0;

    bool carrierChosen = false;
    for (int m : GroupMembers(form, index)) {
        if (m == index) {
            continue;
        }
        CValidationList* list = ListOf(form, m);
        if (!list) {
            continue;
        }
        int found = -1;
        bool dontSelectBefore = false;
        bool hasDontSelect = false;
        for (int i = 0; i < static_cast<int>(list->size()); ++i) {
            const int kind = (*list)[static_cast<std::size_t>(i)].m_nKind;
            if (kind == groupKind && found < 0) {
                found = i;
                dontSelectBefore = hasDontSelect;
            }
            hasDontSelect = hasDontSelect || kind == kValDontSelect;
        }
        if (found >= 0 && boxes && dontSelectBefore) {
            // A check box that must not be chosen does not carry the group rule.
            list->erase(list->begin() + found);
            continue;
        }
        if (found >= 0) {
            CValidation& v = (*list)[static_cast<std::size_t>(found)];
            if (!ruleOn) {
                // The edited member dropped the rule. The others keep it, held:
                // only a member standing before the edited one still carries
                // it; otherwise nothing is generated until a member carries
                // it again. Their count and message stay as they were.
                if (m < index && !carrierChosen) {
                    v.m_nOption = kOptionGroupCarrier;
                    carrierChosen = true;
                } else {
                    v.m_nOption = kOptionGroupHolder;
                }
                continue;
            }
            if (v.m_strMessage.empty() || (boxes && v.GetInt() != number)) {
                v.m_strMessage = message;
            }
            if (boxes) {
                v.SetInt(number);
            }
            if (m < index && !carrierChosen) {
                v.m_nOption = kOptionGroupCarrier;
                carrierChosen = true;
            } else {
                // Exactly one member generates the rule.
                v.m_nOption = kOptionGroupHolder;
            }
        } else if (ruleOn && !(boxes && hasDontSelect)) {
            // Holders get the message too, so that whichever member carries
            // the rule later has one.
            CValidation v(groupKind, message);
            if (boxes) {
                v.SetInt(number);
            }
            if (m < index && !carrierChosen) {
                v.m_nOption = kOptionGroupCarrier;
                carrierChosen = true;
            } else {
                v.m_nOption = kOptionGroupHolder;
            }
            list->push_back(v);
        }
    }
    if (carrierChosen && ruleOn) {
        for (CValidation& v : *own) {
            if (v.m_nKind == groupKind) {
                v.m_nOption = kOptionGroupHolder;
            }
        }
    }
}

void StoreTextValidations(CHtmlForm& form, int index, const STextValidationState& state) {
    StoreValidations(form, index, BuildTextValidations(state, NameOf(form, index)));
}
void StoreCheckboxValidations(CHtmlForm& form, int index, const SCheckboxValidationState& state) {
    StoreValidations(form, index, BuildCheckboxValidations(state, form, index));
}
void StoreRadioValidations(CHtmlForm& form, int index, const SRadioValidationState& state) {
    StoreValidations(form, index, BuildRadioValidations(state, form, index));
}
void StoreListboxValidations(CHtmlForm& form, int index, const SListboxValidationState& state) {
    StoreValidations(form, index, BuildListboxValidations(state));
}
void StoreFileValidations(CHtmlForm& form, int index, const SFileValidationState& state) {
    StoreValidations(form, index, BuildFileValidations(state));
}
void StoreMultilineValidations(CHtmlForm& form, int index, const SMultilineValidationState& state) {
    StoreValidations(form, index, BuildMultilineValidations(state, NameOf(form, index)));
}

// ---- error messages ----

SErrorStringTree BuildErrorStringTree(const CHtmlForm& form) {
    SErrorStringTree tree;
    tree.m_strRoot = form.m_strName;
    for (int e = 0; e < form.GetElementCount(); ++e) {
        const CFormElement& element = form.GetElement(e);
        SErrorStringElement node{e, element.m_strName, element.m_nType, {}};
        const CValidationList& list = ListOf(form, e);
        for (int i = 0; i < static_cast<int>(list.size()); ++i) {
            const CValidation& v = list[static_cast<std::size_t>(i)];
            if (IsHeldGroupRule(v)) {
                continue;
            }
            node.m_Validations.push_back({e, i, ValidationKindLabel(v.m_nKind)});
        }
        tree.m_Elements.push_back(std::move(node));
    }
    return tree;
}

const CValidation* FindValidation(const CHtmlForm& form, const SErrorStringNode& node) {
    const CValidationList& list = ListOf(form, node.m_nElement);
    if (node.m_nValidation < 0 || node.m_nValidation >= static_cast<int>(list.size())) {
        return nullptr;
    }
    return &list[static_cast<std::size_t>(node.m_nValidation)];
}

bool SetValidationMessage(CHtmlForm& form, const SErrorStringNode& node, const std::string& text) {
    CValidationList* list = ListOf(form, node.m_nElement);
    if (!list || node.m_nValidation < 0 || node.m_nValidation >= static_cast<int>(list->size())) {
        return false;
    }
    CValidation& v = (*list)[static_cast<std::size_t>(node.m_nValidation)];
    if (v.m_strMessage != text) {
        v.m_strMessage = text;
        form.m_bModified = true;
    }
    return true;
}

// ---- custom validation function ----

const char* const kCustomValidationSuggestion =
    "//TODO: Place your custom \r\n//      validation script here \r\n//      The function must "
    "return true/false.\r\n\r\n return true;";

std::string CustomValidationHeader(const std::string& formName) {
    return "function validate_" + formName + " ( )\r\n{";
}

std::string CustomValidationInitialText(const CHtmlForm& form) {
    return form.m_strCustomValidation.empty() ? std::string(kCustomValidationSuggestion)
                                              : form.m_strCustomValidation;
}

void ApplyCustomValidation(CHtmlForm& form, const std::string& fieldText, bool changed) {
    if (changed && fieldText != form.m_strCustomValidation) {
        form.m_strCustomValidation = fieldText;
        form.m_bModified = true;
    }
}

}  // namespace formwarden
