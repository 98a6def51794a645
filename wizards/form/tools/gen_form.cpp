// ondrelo-gen form: a form with its validations, from a description file
// or a form template (.ft), generated and inserted as the form wizard does.
//
// Description format: one statement per line; blank lines and lines
// starting with '#' are ignored. Fields are separated by blanks; a field
// with blanks is written in double quotes, where \" \\ \n \r \t are escapes.
// "" is an empty field.
//
//   form NAME ACTION METHOD LAYOUT
//       METHOD: get | post; LAYOUT: table | plain
//   custom BODY
//       body of the custom validation function (use \n for line breaks)
//   element TYPE NAME CAPTION [KEY=VALUE ...]
//       TYPE: textbox password checkbox file hidden button multiline listbox radio
//       keys: value= size= checked=0|1 kind=submit|reset|button rows= cols=
//             text= (multiline default text) visible= multiple=0|1
//   item NAME VALUE [selected]
//       adds an option to the last listbox element
//   validation ELEMENT KIND [ARG [MESSAGE]]
//       ELEMENT: an element name (the first element of that name), or @N for
//       the element at index N. KIND: req alpha alpha_s alnum alnum_s num
//       email regexp maxlen minlen lt gt eqelmnt ltelmnt leelmnt gtelmnt
//       geelmnt neelmnt selmin selone dontselectchk dontselect. ARG: the
//       parameter (expression, number, other element, value); "" or - when
//       none. MESSAGE: the error message; when missing, "Invalid KIND for
//       ELEMENT". selmin and selone are generated on the element given
//       (option 10); dontselectchk takes the element's own value when ARG
//       is - (and an empty value when it is "").
//   edit ELEMENT RULE...
//       the element's validation editor with these rules ticked, stored as
//       the wizard stores it: default messages, a group rule shared with the
//       other members of its group. Replaces the element's validations.
//       Text box: req alpha alpha_s alnum alnum_s num email maxlen=N
//       minlen=N lt=X gt=X regexp=EXPR eqelmnt=OTHER ltelmnt=OTHER
//       leelmnt=OTHER gtelmnt=OTHER geelmnt=OTHER neelmnt=OTHER. Check box:
//       selmin[=N] dontselectchk. Radio button: selone dontselectchk. List
//       box: dontselect=INDEX. File: req. Text area: req maxlen=N minlen=N.
//   message ELEMENT KIND[=ARG] TEXT
//       the error-message editor: TEXT becomes the message of the element's
//       first validation of that kind (and with that argument); a group
//       rule's message is found on whichever member of the group carries it.
//   edit and message statements apply, in their order, once every element
//   is read.
//
// Example:
//   form myform cgi-bin/send.cgi post table
//   element textbox email E-mail
//   element button sub Send kind=submit
//   validation email req - "Please enter the value for email"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formwarden/FormCodeGen.h"
#include "formwarden/FormInsertion.h"
#include "formwarden/FormModel.h"
#include "formwarden/FormPageScanner.h"
#include "formwarden/FormTemplate.h"
#include "formwarden/Validations.h"
#include "ondrelo/gen/GenCommand.h"

using namespace formwarden;

namespace {

struct SParseError {
    int line;
    std::string text;
};

std::vector<std::string> SplitFields(const std::string& line, int lineNo) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        std::string field;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    char e = line[i++];
                    field += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                } else {
                    field += c;
                }
            }
            if (!closed) {
                throw SParseError{lineNo, "unterminated quoted field"};
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                field += line[i++];
            }
        }
        fields.push_back(field);
    }
    return fields;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

int ToInt(const std::string& s, int lineNo) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        throw SParseError{lineNo, "not a number: " + s};
    }
    return static_cast<int>(v);
}

double ToDouble(const std::string& s, int lineNo) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0') {
        throw SParseError{lineNo, "not a number: " + s};
    }
    return v;
}

void ApplyKey(CFormElement& element, const std::string& key, const std::string& value, int lineNo) {
    CElementData* data = element.GetData();
    auto flag = [&] { return ToInt(value, lineNo) != 0; };
    if (auto* t = dynamic_cast<CTextData*>(data)) {
        if (key == "value") {
            return void(t->m_strValue = value);
        }
        if (key == "size") {
            return void(t->m_nSize = ToInt(value, lineNo));
        }
    } else if (auto* c = dynamic_cast<CCheckboxData*>(data)) {
        if (key == "value") {
            return void(c->m_strValue = value);
        }
        if (key == "checked") {
            return void(c->m_bChecked = flag());
        }
    } else if (auto* r = dynamic_cast<CRadioData*>(data)) {
        if (key == "value") {
            return void(r->m_strValue = value);
        }
        if (key == "checked") {
            return void(r->m_bChecked = flag());
        }
    } else if (auto* f = dynamic_cast<CFileData*>(data)) {
        if (key == "size") {
            return void(f->m_nSize = ToInt(value, lineNo));
        }
    } else if (auto* h = dynamic_cast<CHiddenData*>(data)) {
        if (key == "value") {
            return void(h->m_strValue = value);
        }
    } else if (auto* b = dynamic_cast<CButtonData*>(data)) {
        if (key == "kind") {
            if (value == "submit") {
                return void(b->m_nKind = kButtonSubmit);
            }
            if (value == "reset") {
                return void(b->m_nKind = kButtonReset);
            }
            if (value == "button") {
                return void(b->m_nKind = kButtonGeneral);
            }
        }
    } else if (auto* m = dynamic_cast<CMultilineData*>(data)) {
        if (key == "rows") {
            return void(m->m_nRows = ToInt(value, lineNo));
        }
        if (key == "cols") {
            return void(m->m_nColumns = ToInt(value, lineNo));
        }
        if (key == "text") {
            return void(m->m_strDefaultText = value);
        }
    } else if (auto* l = dynamic_cast<CListboxData*>(data)) {
        if (key == "visible") {
            return void(l->m_nVisibleRows = ToInt(value, lineNo));
        }
        if (key == "multiple") {
            return void(l->m_bMultiple = flag());
        }
    }
    throw SParseError{lineNo, "unknown key for this element type: " + key};
}

CFormElement MakeElement(const std::vector<std::string>& f, int lineNo) {
    static const std::map<std::string, int> types = {
        {"textbox", kTypeTextbox},     {"password", kTypeTextbox}, {"checkbox", kTypeCheckbox},
        {"file", kTypeFile},           {"hidden", kTypeHidden},    {"button", kTypeButton},
        {"multiline", kTypeMultiline}, {"listbox", kTypeListbox},  {"radio", kTypeRadio},
    };
    if (f.size() < 4) {
        throw SParseError{lineNo, "element needs TYPE NAME CAPTION"};
    }
    auto type = types.find(f[1]);
    if (type == types.end()) {
        throw SParseError{lineNo, "unknown element type: " + f[1]};
    }
    CFormElement element(f[2], f[3], CElementData::CreateDefault(type->second));
    if (f[1] == "password") {
        static_cast<CTextData*>(element.GetData())->m_bPassword = true;
    }
    for (std::size_t i = 4; i < f.size(); ++i) {
        auto eq = f[i].find('=');
        if (eq == std::string::npos) {
            throw SParseError{lineNo, "expected KEY=VALUE: " + f[i]};
        }
        ApplyKey(element, f[i].substr(0, eq), f[i].substr(eq + 1), lineNo);
    }
    return element;
}

std::string ElementValue(const CFormElement& element) {
    if (auto* c = dynamic_cast<const CCheckboxData*>(element.GetData())) {
        return c->m_strValue;
    }
    if (auto* r = dynamic_cast<const CRadioData*>(element.GetData())) {
        return r->m_strValue;
    }
    return {};
}

// An element by name (the first of that name) or by "@N", its index.
int ElementIndex(const CHtmlForm& form, const std::string& ref, int lineNo) {
    int index = -1;
    if (ref.size() > 1 && ref[0] == '@') {
        index = ToInt(ref.substr(1), lineNo);
    } else {
        for (int i = 0; i < form.GetElementCount() && index < 0; ++i) {
            if (form.GetElement(i).m_strName == ref) {
                index = i;
            }
        }
    }
    if (index < 0 || index >= form.GetElementCount()) {
        throw SParseError{lineNo, "no such element: " + ref};
    }
    return index;
}

void AddValidation(CHtmlForm& form, const std::vector<std::string>& f, int lineNo) {
    if (f.size() < 3) {
        throw SParseError{lineNo, "validation needs ELEMENT KIND"};
    }
    const int index = ElementIndex(form, f[1], lineNo);
    CFormElement& element = form.GetElement(index);
    const std::string& kind = f[2];
    const std::string arg = f.size() > 3 ? f[3] : std::string();
    CValidation v;
    v.m_strMessage = f.size() > 4 ? f[4] : "Invalid " + kind + " for " + element.m_strName;

    static const std::map<std::string, int> plain = {
        {"req", kValRequired}, {"alpha", kValAlpha}, {"alnum", kValAlnum},
        {"num", kValNumeric},  {"email", kValEmail},
    };
    static const std::map<std::string, int> compare = {
        {"eqelmnt", kValEqualTo},
        {"ltelmnt", kValLessThanElement},
        {"leelmnt", kValLessEqualElement},
        {"gtelmnt", kValGreaterThanElement},
        {"geelmnt", kValGreaterEqualElement},
        {"neelmnt", kValNotEqualElement},
    };
    if (auto it = plain.find(kind); it != plain.end()) {
        v.m_nKind = it->second;
    } else if (kind == "alpha_s" || kind == "alnum_s") {
        v.m_nKind = kind == "alpha_s" ? kValAlpha : kValAlnum;
        v.m_nOption = kOptionAllowSpaces;
    } else if (kind == "regexp") {
        v.m_nKind = kValRegExp;
        v.m_strText = arg;
    } else if (kind == "maxlen" || kind == "minlen") {
        v.m_nKind = kind == "maxlen" ? kValMaxLength : kValMinLength;
        v.SetInt(ToInt(arg, lineNo));
    } else if (kind == "lt" || kind == "gt") {
        v.m_nKind = kind == "lt" ? kValLessThan : kValGreaterThan;
        v.SetDouble(ToDouble(arg, lineNo));
    } else if (auto c = compare.find(kind); c != compare.end()) {
        v.m_nKind = c->second;
        v.m_strText = arg;
    } else if (kind == "selmin") {
        v.m_nKind = kValSelectMin;
        v.SetInt(ToInt(arg, lineNo));
        v.m_nOption = kOptionGroupCarrier;
    } else if (kind == "selone") {
        v.m_nKind = kValSelectOne;
        v.m_nOption = kOptionGroupCarrier;
    } else if (kind == "dontselectchk") {
        v.m_nKind = kValDontSelect;
        v.m_strText = arg == "-" ? ElementValue(element) : arg;
    } else if (kind == "dontselect") {
        v.m_nKind = kValDontSelect;
        v.SetInt(ToInt(arg, lineNo));
    } else {
        throw SParseError{lineNo, "unknown validation kind: " + kind};
    }
    element.Validations()->push_back(v);
}

// ---- the validation editors ----

// The kind a rule word names (alpha_s and alnum_s name their kind); 0 when
// the word names none.
int KindOfWord(const std::string& word) {
    static const std::map<std::string, int> kinds = {
        {"req", kValRequired},
        {"alpha", kValAlpha},
        {"alpha_s", kValAlpha},
        {"alnum", kValAlnum},
        {"alnum_s", kValAlnum},
        {"num", kValNumeric},
        {"email", kValEmail},
        {"regexp", kValRegExp},
        {"maxlen", kValMaxLength},
        {"minlen", kValMinLength},
        {"lt", kValLessThan},
        {"gt", kValGreaterThan},
        {"eqelmnt", kValEqualTo},
        {"ltelmnt", kValLessThanElement},
        {"leelmnt", kValLessEqualElement},
        {"gtelmnt", kValGreaterThanElement},
        {"geelmnt", kValGreaterEqualElement},
        {"neelmnt", kValNotEqualElement},
        {"selmin", kValSelectMin},
        {"selone", kValSelectOne},
        {"dontselect", kValDontSelect},
        {"dontselectchk", kValDontSelect},
    };
    auto it = kinds.find(word);
    return it == kinds.end() ? 0 : it->second;
}

// Splits "word=value" (the value may hold further '=').
std::pair<std::string, std::string> SplitRule(const std::string& rule, bool& hasValue) {
    const std::size_t eq = rule.find('=');
    hasValue = eq != std::string::npos;
    if (!hasValue) {
        return {rule, {}};
    }
    return {rule.substr(0, eq), rule.substr(eq + 1)};
}

SParseError BadRule(int lineNo, const std::string& rule, const char* type) {
    return SParseError{lineNo, "the " + std::string(type) + " editor has no rule " + rule};
}

void EditTextbox(CHtmlForm& form, int index, const std::vector<std::string>& rules, int lineNo) {
    STextValidationState state;
    for (const std::string& rule : rules) {
        bool hasValue = false;
        auto [word, value] = SplitRule(rule, hasValue);
        const int kind = KindOfWord(word);
        // A structured binding is named through a reference of its own:
        // lambdas may not capture one before C++20 compilers all allow it.
        const std::string& ruleWord = word;
        auto needValue = [&] {
            if (!hasValue) {
                throw SParseError{lineNo, ruleWord + " needs a value (" + ruleWord + "=...)"};
            }
        };
        if (word == "req" && !hasValue) {
            state.m_bMandatory = true;
        } else if ((kind == kValAlpha || kind == kValAlnum) && !hasValue) {
            state.m_nInputType = kind == kValAlpha ? kInputAlphabetic : kInputAlphaNumeric;
            state.m_bAllowSpaces = word.size() > 2 && word.substr(word.size() - 2) == "_s";
        } else if (word == "num" && !hasValue) {
            state.m_nInputType = kInputNumeric;
        } else if (word == "email" && !hasValue) {
            state.m_nInputType = kInputEmail;
        } else if (word == "maxlen") {
            needValue();
            state.m_bMaxLength = true;
            state.m_nMaxLength = ToInt(value, lineNo);
        } else if (word == "minlen") {
            needValue();
            state.m_bMinLength = true;
            state.m_nMinLength = ToInt(value, lineNo);
        } else if (word == "lt") {
            needValue();
            state.m_bLessThan = true;
            state.m_dLessThan = ToDouble(value, lineNo);
        } else if (word == "gt") {
            needValue();
            state.m_bGreaterThan = true;
            state.m_dGreaterThan = ToDouble(value, lineNo);
        } else if (word == "regexp") {
            needValue();
            state.m_bRegExp = true;
            state.m_strRegExp = value;
        } else if (kind >= kValEqualTo && kind <= kValNotEqualElement) {
            needValue();
            // Through the Comparison page's "Add New", which refuses an
            // entry without a second element and duplicates.
            int selected = -1;
            if (AddComparison(state.m_Comparisons, SComparison{kind - kValEqualTo, value},
                              selected) < 0) {
                throw SParseError{lineNo, "the comparison " + rule + " was refused"};
            }
        } else {
            throw BadRule(lineNo, rule, "text box");
        }
    }
    StoreTextValidations(form, index, state);
}

void EditChoice(CHtmlForm& form, int index, const std::vector<std::string>& rules, int lineNo) {
    const bool checkbox = form.GetElement(index).m_nType == kTypeCheckbox;
    SCheckboxValidationState boxState;
    SRadioValidationState radioState;
    for (const std::string& rule : rules) {
        bool hasValue = false;
        auto [word, value] = SplitRule(rule, hasValue);
        if (word == "dontselectchk" && !hasValue) {
            boxState.m_nChoice = kCheckboxDontSelect;
            radioState.m_bDontSelect = true;
        } else if (checkbox && word == "selmin") {
            boxState.m_nChoice = kCheckboxSelectAtLeast;
            boxState.m_nMinCount = hasValue ? ToInt(value, lineNo) : 1;
        } else if (!checkbox && word == "selone" && !hasValue) {
            radioState.m_bSelectOne = true;
        } else {
            throw BadRule(lineNo, rule, checkbox ? "check box" : "radio button");
        }
    }
    if (checkbox) {
        StoreCheckboxValidations(form, index, boxState);
    } else {
        StoreRadioValidations(form, index, radioState);
    }
}

void EditOther(CHtmlForm& form, int index, const std::vector<std::string>& rules, int lineNo) {
    const int type = form.GetElement(index).m_nType;
    SListboxValidationState listState;
    SFileValidationState fileState;
    SMultilineValidationState areaState;
    const char* typeName = type == kTypeListbox ? "list box" : type == kTypeFile ? "file" : "text area";
    for (const std::string& rule : rules) {
        bool hasValue = false;
        auto [word, value] = SplitRule(rule, hasValue);
        if (type == kTypeListbox && word == "dontselect" && hasValue) {
            listState.m_bDontSelect = true;
            listState.m_nOption = ToInt(value, lineNo);
        } else if (type == kTypeFile && word == "req" && !hasValue) {
            fileState.m_bMandatory = true;
        } else if (type == kTypeMultiline && word == "req" && !hasValue) {
            areaState.m_bMandatory = true;
        } else if (type == kTypeMultiline && word == "maxlen" && hasValue) {
            areaState.m_bMaxLength = true;
            areaState.m_nMaxLength = ToInt(value, lineNo);
        } else if (type == kTypeMultiline && word == "minlen" && hasValue) {
            areaState.m_bMinLength = true;
            areaState.m_nMinLength = ToInt(value, lineNo);
        } else {
            throw BadRule(lineNo, rule, typeName);
        }
    }
    if (type == kTypeListbox) {
        StoreListboxValidations(form, index, listState);
    } else if (type == kTypeFile) {
        StoreFileValidations(form, index, fileState);
    } else {
        StoreMultilineValidations(form, index, areaState);
    }
}

// "edit ELEMENT RULE...": the element's validation editor with these rules
// ticked, stored as the editor stores them (default messages, group rules
// shared with the other members).
void Edit(CHtmlForm& form, const std::vector<std::string>& f, int lineNo) {
    if (f.size() < 2) {
        throw SParseError{lineNo, "edit needs ELEMENT [RULE ...]"};
    }
    const int index = ElementIndex(form, f[1], lineNo);
    const std::vector<std::string> rules(f.begin() + 2, f.end());
    switch (form.GetElement(index).m_nType) {
        case kTypeTextbox:
            return EditTextbox(form, index, rules, lineNo);
        case kTypeCheckbox:
        case kTypeRadio:
            return EditChoice(form, index, rules, lineNo);
        case kTypeListbox:
        case kTypeFile:
        case kTypeMultiline:
            return EditOther(form, index, rules, lineNo);
        default:
            throw SParseError{lineNo, "this element type has no validations: " + f[1]};
    }
}

// "message ELEMENT KIND[=ARG] TEXT": the error-message editor sets the
// message of the element's first validation of that kind (and argument).
void EditMessage(CHtmlForm& form, const std::vector<std::string>& f, int lineNo) {
    if (f.size() != 4) {
        throw SParseError{lineNo, "message needs ELEMENT KIND[=ARG] TEXT"};
    }
    const int index = ElementIndex(form, f[1], lineNo);
    bool hasValue = false;
    auto [word, value] = SplitRule(f[2], hasValue);
    const int kind = KindOfWord(word);
    if (kind == 0) {
        throw SParseError{lineNo, "unknown validation kind: " + word};
    }
    // A group rule shows once, on the member that generates it.
    std::vector<int> members = {index};
    if ((kind == kValSelectMin || kind == kValSelectOne) &&
        IsGroupType(form.GetElement(index).m_nType)) {
        members = GroupMembers(form, index);
    }
    for (const SErrorStringElement& element : BuildErrorStringTree(form).m_Elements) {
        if (std::find(members.begin(), members.end(), element.m_nElement) == members.end()) {
            continue;
        }
        for (const SErrorStringNode& node : element.m_Validations) {
            const CValidation* v = FindValidation(form, node);
            if (v && v->m_nKind == kind && (!hasValue || v->m_strText == value)) {
                SetValidationMessage(form, node, f[3]);
                return;
            }
        }
    }
    throw SParseError{lineNo, f[1] + " has no " + f[2] + " validation"};
}

// Reads description statements into `form`. With `design` false the form
// was read from a page: its elements are the page's, and only validation
// statements (edit, message, validation, custom) may change it.
void ParseDescription(std::istream& in, CHtmlForm& form, bool design) {
    std::string line;
    int lineNo = 0;
    // The editors work on the finished element list, as in the wizard,
    // where validations are edited after the form is designed: group
    // membership depends on every element.
    std::vector<std::pair<int, std::vector<std::string>>> edits;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<std::string> f = SplitFields(line, lineNo);
        if (f.empty() || f[0][0] == '#') {
            continue;
        }
        if (!design && (f[0] == "form" || f[0] == "element" || f[0] == "item")) {
            throw SParseError{lineNo, f[0] + " does not apply to a form read from a page"};
        }
        if (f[0] == "form") {
            if (f.size() != 5) {
                throw SParseError{lineNo, "form needs NAME ACTION METHOD LAYOUT"};
            }
            const std::string method = Lower(f[3]);
            if (method != "get" && method != "post") {
                throw SParseError{lineNo, "the method is get or post, not " + f[3]};
            }
            if (f[4] != "table" && f[4] != "plain") {
                throw SParseError{lineNo, "the layout is table or plain, not " + f[4]};
            }
            form.m_strName = f[1];
            form.m_strAction = f[2];
            form.m_nMethod = method == "post" ? kMethodPost : kMethodGet;
            form.m_bTableLayout = f[4] == "table";
        } else if (f[0] == "custom") {
            form.m_strCustomValidation = f.size() > 1 ? f[1] : "";
        } else if (f[0] == "element") {
            form.AppendElement(MakeElement(f, lineNo));
        } else if (f[0] == "item") {
            CListboxData* list = nullptr;
            if (form.GetElementCount() > 0) {
                list = dynamic_cast<CListboxData*>(
                    form.GetElement(form.GetElementCount() - 1).GetData());
            }
            if (!list || f.size() < 3) {
                throw SParseError{lineNo, "item needs NAME VALUE after a listbox element"};
            }
            list->m_Items.push_back({f[1], f[2], f.size() > 3 && f[3] == "selected"});
        } else if (f[0] == "validation") {
            AddValidation(form, f, lineNo);
        } else if (f[0] == "edit" || f[0] == "message") {
            edits.emplace_back(lineNo, f);
        } else {
            throw SParseError{lineNo, "unknown statement: " + f[0]};
        }
    }
    for (const auto& [at, f] : edits) {
        if (f[0] == "edit") {
            Edit(form, f, at);
        } else {
            EditMessage(form, f, at);
        }
    }
}

const std::map<std::string, std::string>& Samples() {
    static const std::map<std::string, std::string> samples = {
        {"example",
         "form myform cgi-bin/send.cgi post table\n"
         "element textbox email E-mail\n"
         "element checkbox opt A value=a\n"
         "element checkbox opt B value=b\n"
         "element button sub Send kind=submit\n"
         "validation email req - \"Please enter the value for email\"\n"
         "validation email email - \"Please provide a valid email address\"\n"
         "validation opt selmin 1 \"Please select at least 1  check boxes for opt\"\n"},
        {"all",
         "form everything submit.cgi get table\n"
         "custom \"return document.forms['everything'].elements['secret'].value != 'no';\"\n"
         "element textbox name Name\n"
         "element textbox code Code\n"
         "element textbox low Low\n"
         "element textbox high High\n"
         "element password secret Secret\n"
         "element checkbox agree \"I agree\" value=yes\n"
         "element checkbox colors Red value=red\n"
         "element checkbox colors Blue value=blue\n"
         "element radio size Small value=s\n"
         "element radio size Large value=l\n"
         "element file upload File\n"
         "element hidden token \"\" value=t'1\n"
         "element multiline notes Notes rows=3 cols=30 \"text=Line one\\nLine two\"\n"
         "element listbox city City\n"
         "item \"-- choose --\" none selected\n"
         "item Paris paris\n"
         "item Rome rome\n"
         "element button go Send\n"
         "validation name req - \"Please enter the value for name\"\n"
         "validation name alpha_s - \"Alphabetic input expected for name\"\n"
         "validation name maxlen 20 \"Please provide a value with less than 20 characters for "
         "name\"\n"
         "validation code regexp \"^\\\\d{3}-\\\\d{2}$\" \"Say \\\"123-45\\\"\\nthen go\"\n"
         "validation low num - \"Please input a numeric value for low\"\n"
         "validation low gt 2.5 \"Please provide a value greater than 2.5 for low\"\n"
         "validation high lt 100 \"Please provide a value less than 100 for high\"\n"
         "validation high gtelmnt low \"high must be Greater than low\"\n"
         "validation secret minlen 4 \"Back\\\\slash minimum\"\n"
         "validation agree selmin 1 \"Please check agree\"\n"
         "validation colors selmin 1 \"Please select at least 1  check boxes for colors\"\n"
         "validation size selone - \"Please select one option\"\n"
         "validation upload req - \"Please select the file to upload.\"\n"
         "validation notes maxlen 50 \"The input you provided for notes exceeds the "
         "limit(50 characters)\"\n"
         "validation city dontselect 0 \"Please select an option from the list\"\n"},
    };
    return samples;
}

// The form and the generator that points into it, kept alive together.
struct SFormJob {
    CHtmlForm form;
    // The page the form was read from (validations only), or null.
    std::unique_ptr<CFormPageScanner> page;
    CFormCodeGen generator;
};

bool EndsWithTemplateExtension(const std::string& path) {
    return path.size() >= 3 && Lower(path.substr(path.size() - 3)) == ".ft";
}

void ParseText(std::istream& in, const std::string& source, CHtmlForm& form, bool design) {
    try {
        ParseDescription(in, form, design);
    } catch (const SParseError& e) {
        throw ondrelo::gen::CGenFailure(source + ": line " + std::to_string(e.line) + ": " +
                                        e.text);
    }
}

// Reads the form from a template file (by its extension) or a description.
// Reads the form from a template file (by its extension) or a description;
// with `design` false only the validation statements of a description.
void LoadForm(const std::string& file, CHtmlForm& form, bool design) {
    if (file == "-") {
        return ParseText(std::cin, "standard input", form, design);
    }
    if (EndsWithTemplateExtension(file)) {
        if (!design) {
            throw ondrelo::gen::CUsageError(
                "a template is a whole form, not validations for a page");
        }
        // The template reader reports what went wrong through the prompt.
        if (!CFormTemplateFile().LoadFile(file, form)) {
            throw ondrelo::gen::CGenFailure("cannot read the form template " + file);
        }
        return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw ondrelo::gen::CGenFailure("cannot open " + file);
    }
    ParseText(in, file, form, design);
}

void RunForm(const std::vector<std::string>& args, const ondrelo::gen::SGenOptions& options,
             ondrelo::gen::SGenerated& out) {
    std::string sample;
    std::string file;
    std::string fromPage;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sample" && i + 1 < args.size() && sample.empty()) {
            sample = args[++i];
        } else if (args[i] == "--from-page" && i + 1 < args.size() && fromPage.empty()) {
            fromPage = args[++i];
        } else if (file.empty() && !args[i].empty() && (args[i] == "-" || args[i][0] != '-')) {
            file = args[i];
        } else {
            throw ondrelo::gen::CUsageError("unexpected argument '" + args[i] + "'");
        }
    }
    if (!fromPage.empty()) {
        if (!sample.empty()) {
            throw ondrelo::gen::CUsageError("--from-page and --sample exclude each other");
        }
        fromPage = ondrelo::gen::AbsolutePath(fromPage);
        // The wizard fixes the insertion to the page the form came from.
        if (options.insert &&
            (options.newFile || options.placeholder || options.page != fromPage)) {
            throw ondrelo::gen::CUsageError(
                "validations for a page's form go back into that page: --insert " + fromPage +
                " (without --new or --placeholder)");
        }
    } else if (sample.empty() == file.empty()) {
        throw ondrelo::gen::CUsageError("give a description or template FILE, or --sample NAME");
    }

    auto job = std::make_shared<SFormJob>();
    if (!sample.empty()) {
        auto it = Samples().find(sample);
        if (it == Samples().end()) {
            std::string names;
            for (const auto& s : Samples()) {
                names += " " + s.first;
            }
            throw ondrelo::gen::CUsageError("no sample named " + sample + " (samples:" + names +
                                            ")");
        }
        std::istringstream in(it->second);
        ParseText(in, "sample " + sample, job->form, true);
    } else if (!fromPage.empty()) {
        // As the wizard's "add validations" run: the page's first form with
        // the validations generated into it before.
        job->page = std::make_unique<CFormPageScanner>();
        if (!job->page->LoadPage(fromPage, job->form)) {
            throw ondrelo::gen::CGenFailure("cannot read a form from " + fromPage);
        }
        if (!file.empty()) {
            LoadForm(file, job->form, false);
        }
    } else {
        LoadForm(file, job->form, true);
    }
    job->generator.SetModel(&job->form, &job->form.m_Elements, job->page.get());

    out.generator = std::shared_ptr<CCodeGen>(job, &job->generator);
    out.scriptName = kValidatorScriptFileName;
    out.placeholderText = kFormPlaceholder;
    out.insert = [job](const ondrelo::gen::SInsertRequest& request) {
        return InsertFormCode(job->generator, request.page, request.scriptDestination,
                              request.newFile,
                              request.atPlaceholder ? kPlaceAtPlaceholder : kPlaceAfterBodyTag);
    };
    out.inclusion = [](const std::string& page, const std::string& destination,
                       std::string& line) { return BuildScriptInclusion(page, destination, line); };
}

const char* const kFormUsage =
    "  ondrelo-gen form FILE|-           a form description (- reads standard input)\n"
    "  ondrelo-gen form TEMPLATE.ft      a form template saved by the wizard\n"
    "  ondrelo-gen form --sample NAME    a built-in description (example, all)\n"
    "  ondrelo-gen form --from-page PAGE [FILE|-]\n"
    "      the first form of PAGE with the validations generated into it before;\n"
    "      FILE may hold custom, edit, message and validation lines. Only the\n"
    "      validations are generated; --insert PAGE puts them back into PAGE.\n"
    "Description lines:\n"
    "  form NAME ACTION get|post table|plain\n"
    "  custom BODY                        the custom validation function's body\n"
    "  element TYPE NAME CAPTION [KEY=VALUE ...]\n"
    "      TYPE: textbox password checkbox file hidden button multiline listbox radio\n"
    "      keys: value= size= checked=0|1 kind=submit|reset|button rows= cols= text=\n"
    "            visible= multiple=0|1\n"
    "  item NAME VALUE [selected]         an option of the last listbox\n"
    "  validation ELEMENT|@N KIND [ARG [MESSAGE]]\n"
    "      KIND: req alpha alpha_s alnum alnum_s num email regexp maxlen minlen lt gt\n"
    "            eqelmnt ltelmnt leelmnt gtelmnt geelmnt neelmnt selmin selone\n"
    "            dontselectchk dontselect\n"
    "  edit ELEMENT|@N RULE...            the element's validation editor (default\n"
    "                                     messages, group rules shared):\n"
    "      text box: req alpha alpha_s alnum alnum_s num email maxlen=N minlen=N\n"
    "                lt=X gt=X regexp=EXPR eqelmnt=OTHER ltelmnt= leelmnt= gtelmnt=\n"
    "                geelmnt= neelmnt=\n"
    "      check box: selmin[=N] dontselectchk    radio button: selone dontselectchk\n"
    "      list box: dontselect=INDEX    file: req    text area: req maxlen=N minlen=N\n"
    "  message ELEMENT|@N KIND[=ARG] TEXT the error-message editor\n"
    "Fields with blanks go in double quotes (escapes \\\" \\\\ \\n \\r \\t); lines\n"
    "starting with # are comments.\n";

}  // namespace

ONDRELO_GEN_SUBCOMMAND(form, "an HTML form with client-side validations", kFormUsage, &RunForm);
