#include "formwarden/FormPageScanner.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "Text.h"
#include "formwarden/ErrorsDialog.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Text.h"

namespace formwarden {

namespace {

// One generated validator call: optional blanks and identifier,
// ".addValidation(", three double-quoted strings, ");". A string may hold
// escaped characters (\" and \\ among them), so that a message with a
// quote in it is still recognised. The blanks and the identifier are
// optional and the search is not anchored, so leaving them out of the
// expression finds the same calls with the same strings; with them, a long
// run of letters in a line costs the search time quadratic in its length.
const std::string kQuoted = "\"((?:[^\"\\\\]|\\\\.)*)\"";
const std::string kCallPattern =
    "\\.addValidation\\(" + kQuoted + "," + kQuoted + "," + kQuoted + "\\);";

constexpr auto& EqualsNoCase = ondrelo::EqualNoCase;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A decimal attribute value, or the fallback when it is absent or does not
// begin with a number. Values beyond the range of an int are clamped.
int DecimalAttribute(const SHtmlTag& tag, const char* name, int fallback) {
    const std::string text = tag.GetAttribValue(name);
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin) {
        return fallback;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// A value attribute with the generator's escape of the apostrophe undone, so
// that a value written between apostrophes reads back as typed.
std::string ValueAttribute(const SHtmlTag& tag, const char* name) {
    return text::ReplaceAll(tag.GetAttribValue(name), "&#39;", "'");
}

// Every occurrence of a tag in the text, with positions in the page. The
// text is searched in place, in one pass however many tags it holds.
std::vector<SHtmlTag> FindAll(CHTMLScanner& scanner, const std::string& text,
                              const std::string& tagName, bool withContent, std::uint32_t base) {
    std::vector<SHtmlTag> tags;
    STagSearch search;
    SHtmlTag tag;
    while (scanner.FindTag(text, tagName, tag, withContent, search)) {
        tag.m_nTagStart += base;
        tag.m_nTagEnd += base;
        tag.m_nAttribTextStart += base;
        tag.m_nAttribTextEnd += base;
        if (withContent) {
            tag.m_nContentStart += base;
        }
        for (STagAttribute& attribute : tag.m_Attributes) {
            attribute.m_nStart += base;
            attribute.m_nEnd += base;
        }
        tags.push_back(std::move(tag));
    }
    return tags;
}

std::string ProblemInvalidName(const std::string& name) {
    return "\n\n Invalid name: \"" + name + "\" name can contain alpha numeric characters only." +
           " The name should start with an alphabetic character.\n";
}

}  // namespace

// ---- escapes ----

std::string UnescapeScriptMessage(const std::string& literal) {
    std::string out;
    out.reserve(literal.size());
    for (std::size_t i = 0; i < literal.size(); ++i) {
        const char c = literal[i];
        if (c == '\\' && i + 1 < literal.size()) {
            const char next = literal[i + 1];
            if (next == '"' || next == '\\' || next == '/') {
                out += next;
                ++i;
                continue;
            }
            if (next == 'n') {
                out += '\n';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string UnescapeScriptDescriptor(const std::string& literal) {
    std::string out;
    out.reserve(literal.size());
    for (std::size_t i = 0; i < literal.size(); ++i) {
        const char c = literal[i];
        if (c == '\\' && i + 1 < literal.size()) {
            if (literal[i + 1] != '"' && literal[i + 1] != '/') {
                out += c;  // a pair other than \" and \/ stays whole
            }
            out += literal[i + 1];
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

// ---- descriptors ----

bool DecodeDescriptor(const std::string& raw, CValidation& v) {
    const std::string d = text::Trim(raw);
    v = CValidation();
    const auto after = [&d](std::size_t from) { return from < d.size() ? d.substr(from) : ""; };
    const auto scanInt = [&d, &v](const char* format) {
        int n = 0;
        if (std::sscanf(d.c_str(), format, &n) == 1) {
            v.SetInt(n);
        }
    };
    if (d == "req") {
        v.m_nKind = kValRequired;
    } else if (d == "alpha_s" || d == "alpha") {
        v.m_nKind = kValAlpha;
        v.m_nOption = d == "alpha_s" ? kOptionAllowSpaces : 0;
    } else if (d == "alnum_s" || d == "alnum") {
        v.m_nKind = kValAlnum;
        v.m_nOption = d == "alnum_s" ? kOptionAllowSpaces : 0;
    } else if (d == "num") {
        v.m_nKind = kValNumeric;
    } else if (d == "email") {
        v.m_nKind = kValEmail;
    } else if (StartsWith(d, "regexp")) {
        v.m_nKind = kValRegExp;
        v.m_strText = text::ReplaceAll(after(7), "\\\\", "\\");
    } else if (StartsWith(d, "maxlen")) {
        v.m_nKind = kValMaxLength;
        scanInt("maxlen=%d");
    } else if (StartsWith(d, "minlen")) {
        v.m_nKind = kValMinLength;
        scanInt("minlen=%d");
    } else if (StartsWith(d, "eqelmnt") || StartsWith(d, "ltelmnt") || StartsWith(d, "leelmnt") ||
               StartsWith(d, "gtelmnt") || StartsWith(d, "geelmnt") || StartsWith(d, "neelmnt")) {
        static const char* const words[] = {"eqelmnt", "ltelmnt", "leelmnt",
                                            "gtelmnt", "geelmnt", "neelmnt"};
        for (int i = 0; i < 6; ++i) {
            if (StartsWith(d, words[i])) {
                v.m_nKind = kValEqualTo + i;
            }
        }
        const std::size_t eq = d.find('=');
        if (eq != std::string::npos) {
            v.m_strText = d.substr(eq + 1);
        }
    } else if (StartsWith(d, "lt") || StartsWith(d, "gt")) {
        v.m_nKind = d[0] == 'l' ? kValLessThan : kValGreaterThan;
        v.SetDouble(d.size() > 3 && d[2] == '=' ? std::strtod(d.c_str() + 3, nullptr) : 0.0);
    } else if (StartsWith(d, "selmin")) {
        v.m_nKind = kValSelectMin;
        scanInt("selmin=%d");
    } else if (StartsWith(d, "selone")) {
        v.m_nKind = kValSelectOne;
    } else if (StartsWith(d, "dontselectchk")) {
        v.m_nKind = kValDontSelect;
        v.m_strText = text::ReplaceAll(after(14), "\\\\", "\\");
    } else if (StartsWith(d, "dontselect")) {
        v.m_nKind = kValDontSelect;
        scanInt("dontselect=%d");
    } else {
        return false;
    }
    return true;
}

// ---- names ----

bool IsValidPageName(const std::string& name) {
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
           CCommon::RexExpMatch("[[:alnum:]_]*", name);
}

std::string CheckPageFormNames(const CHtmlForm& form) {
    std::string problems;
    if (form.m_strName.empty()) {
        problems += "\n Form Name is empty! The form should have a valid name.\n";
    } else if (!IsValidPageName(form.m_strName)) {
        problems += ProblemInvalidName(form.m_strName);
    }
    bool unnamedReported = false;
    for (const CFormElement& element : form.m_Elements) {
        // Submit, reset and plain buttons take no validations and are commonly
        // written without a name; refusing them would refuse most real forms.
        if (element.m_strName.empty() && element.m_nType == kTypeButton) {
            continue;
        }
        if (element.m_strName.empty()) {
            if (!unnamedReported) {
                problems +=
                    "\n There are input elements that do not have name.The input elements should "
                    "have a valid name.\n";
                unnamedReported = true;
            }
        } else if (!IsValidPageName(element.m_strName)) {
            problems += ProblemInvalidName(element.m_strName);
        }
    }
    return problems;
}

// ---- scanner ----

namespace {

// Input types a browser shows as a one-line text box: no type (or an empty
// one) means "text", and the text-like types of newer pages.
bool IsTextLikeInput(const std::string& type) {
    for (const char* textLike : {"", "text", "email", "tel", "url", "search", "number"}) {
        if (EqualsNoCase(type, textLike)) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace {
constexpr int kBrowserTextAreaRows = 2, kBrowserTextAreaColumns = 20;
}  // namespace

CFormPageScanner::CFormPageScanner() = default;
CFormPageScanner::~CFormPageScanner() = default;

bool CFormPageScanner::OpenFile(const std::string& path) {
    m_FoundCalls.clear();
    m_InsertedForms.clear();
    return CHTMLScanner::OpenFile(path);
}

std::vector<SPageForm> CFormPageScanner::FindForms() {
    std::vector<SPageForm> forms;
    STagSearch search;
    SHtmlTag tag;
    while (FindTag(m_strText, "form", tag, true, search)) {
        forms.push_back({tag.GetAttribValue("name"), tag.m_nTagStart, tag.m_nTagEnd});
    }
    return forms;
}

void CFormPageScanner::ReplaceRange(std::uint32_t start, std::uint32_t end,
                                    const std::string& code) {
    const std::size_t from = std::min<std::size_t>(start, m_strText.size());
    const std::size_t to = std::clamp<std::size_t>(end, from, m_strText.size());
    m_strText.replace(from, to - from, code);
}

namespace {

bool HasNoCase(const std::string& text, std::size_t at, const char* word) {
    const std::size_t length = std::char_traits<char>::length(word);
    return at + length <= text.size() && EqualsNoCase(text.substr(at, length), word);
}

std::size_t SkipBlanks(const std::string& text, std::size_t at) {
    const std::size_t next = text.find_first_not_of(text::kBlanks, at);
    return next == std::string::npos ? text.size() : next;
}

}  // namespace

void CFormPageScanner::RemoveOldCode() {
    // The form HTML that the wizard writes is not marked, only the validator
    // script right after it. A form counts as the wizard's when its end (and
    // the "</CENTER>" the wizard writes after it) is followed by a marked
    // block whose script creates the validator of that form's name.
    m_InsertedForms.clear();
    const std::string start = text::Trim(CreateSignature(true));
    const std::string end = text::Trim(CreateSignature(false));
    std::vector<SPageForm> before = FindForms();
    std::vector<std::size_t> inserted;
    for (std::size_t i = 0; i < before.size(); ++i) {
        std::size_t at = SkipBlanks(m_strText, before[i].m_nEnd);
        if (HasNoCase(m_strText, at, "</CENTER>")) {
            at = SkipBlanks(m_strText, at + 9);
        }
        if (m_strText.compare(at, start.size(), start) != 0) {
            continue;
        }
        const std::size_t close = m_strText.find(end, at);
        if (close == std::string::npos) {
            continue;
        }
        const std::string block = m_strText.substr(at, close - at);
        const std::string validator =
            "new Validator(\"" + text::RemoveChars(before[i].m_strName, " -\"'") + "\")";
        if (block.find(validator) != std::string::npos) {
            inserted.push_back(i);
        }
    }

    CHTMLScanner::RemoveOldCode();
    if (inserted.empty()) {
        return;
    }

    // Removing the marked blocks leaves every form in place; should a block
    // have held a form itself, nothing is recognised rather than a wrong one.
    std::vector<SPageForm> after = FindForms();
    if (after.size() != before.size()) {
        return;
    }
    for (std::size_t i : inserted) {
        if (after[i].m_strName != before[i].m_strName) {
            return;
        }
    }
    for (std::size_t i : inserted) {
        // The wizard writes "<CENTER><FORM ...>...</FORM></CENTER>"; a script
        // added later for the form read back stands between the two end tags.
        SInsertedForm form{after[i].m_strName, after[i].m_nStart, after[i].m_nEnd};
        if (form.m_nStart >= 8 && HasNoCase(m_strText, form.m_nStart - 8, "<CENTER>")) {
            const std::size_t close = SkipBlanks(m_strText, form.m_nEnd);
            if (HasNoCase(m_strText, close, "</CENTER>")) {
                form.m_nStart -= 8;
                form.m_nEnd = static_cast<std::uint32_t>(close + 9);
            }
        }
        m_InsertedForms.push_back(form);
    }
}

std::string CFormPageScanner::GetModuleSignature() const {
    return kFormSignature;
}

void CFormPageScanner::ScanOldCode(const std::string& block) {
    std::size_t start = 0;
    for (std::size_t end; (end = block.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text::Trim(block.substr(start, end - start));
        std::vector<std::string> parts;
        if (!RegExpMatch(line, kCallPattern, 4, parts) || parts.size() < 4) {
            continue;
        }
        SFoundCall call{parts[1], UnescapeScriptDescriptor(parts[2]),
                        UnescapeScriptMessage(parts[3])};
        if (call.m_strElement.empty() || call.m_strDescriptor.empty()) {
            continue;
        }
        m_FoundCalls.push_back(std::move(call));
    }
}

bool CFormPageScanner::ReadForm(CHtmlForm& form, CFormElementList& elements) {
    if (m_strText.empty()) {
        return false;
    }

    SHtmlTag formTag;
    std::string rest;
    if (!SeparateTag(m_strText, "form", formTag, true, rest, 0)) {
        // No form with an end tag: an unnamed form without elements, which
        // the name check then refuses.
        form.m_strName.clear();
        form.m_strAction.clear();
        form.m_nMethod = kMethodGet;
        return true;
    }
    form.m_strName = formTag.GetAttribValue("name");
    form.m_strAction = ValueAttribute(formTag, "action");
    form.m_nMethod =
        EqualsNoCase(formTag.GetAttribValue("method"), "POST") ? kMethodPost : kMethodGet;
    form.m_nFormEndOffset = formTag.m_nTagEnd;
    form.m_nFormStartOffset = formTag.m_nTagStart;
    form.m_nAttribTextStart = formTag.m_nAttribTextStart;

    const std::string& content = formTag.m_strContent;
    const std::uint32_t base = formTag.m_nContentStart;
    std::vector<CFormElement> found;

    for (const SHtmlTag& tag : FindAll(*this, content, "input", false, base)) {
        const std::string type = tag.GetAttribValue("type");
        std::unique_ptr<CElementData> data;
        if (IsTextLikeInput(type) || EqualsNoCase(type, "password")) {
            auto text = std::make_unique<CTextData>();
            text->m_nSize = DecimalAttribute(tag, "size", 10);
            text->m_strValue = ValueAttribute(tag, "value");
            text->m_bPassword = EqualsNoCase(type, "password");
            data = std::move(text);
        } else if (EqualsNoCase(type, "checkbox")) {
            auto box = std::make_unique<CCheckboxData>();
            box->m_bChecked = tag.DoesExist("checked");
            box->m_strValue = ValueAttribute(tag, "value");
            data = std::move(box);
        } else if (EqualsNoCase(type, "file")) {
            auto file = std::make_unique<CFileData>();
            file->m_nSize = DecimalAttribute(tag, "size", 10);
            data = std::move(file);
        } else if (EqualsNoCase(type, "hidden")) {
            auto hidden = std::make_unique<CHiddenData>();
            hidden->m_strValue = ValueAttribute(tag, "value");
            data = std::move(hidden);
        } else if (EqualsNoCase(type, "submit") || EqualsNoCase(type, "reset") ||
                   EqualsNoCase(type, "button")) {
            auto button = std::make_unique<CButtonData>();
            button->m_nKind = EqualsNoCase(type, "submit")  ? kButtonSubmit
                              : EqualsNoCase(type, "reset") ? kButtonReset
                                                            : kButtonGeneral;
            data = std::move(button);
        } else if (EqualsNoCase(type, "radio")) {
            auto radio = std::make_unique<CRadioData>();
            radio->m_bChecked = tag.DoesExist("checked");
            radio->m_strValue = ValueAttribute(tag, "value");
            data = std::move(radio);
        } else {
            continue;
        }
        CFormElement element(tag.GetAttribValue("name"), "", std::move(data));
        element.m_nTagOffset = tag.m_nTagStart;
        found.push_back(std::move(element));
    }

    for (const SHtmlTag& tag : FindAll(*this, content, "select", true, base)) {
        auto list = std::make_unique<CListboxData>();
        list->m_nVisibleRows = DecimalAttribute(tag, "size", 1);
        list->m_bMultiple = tag.DoesExist("multiple");
        const std::string& inner = tag.m_strContent;
        for (const SHtmlTag& option : FindAll(*this, inner, "option", false, 0)) {
            // The option's text runs from its tag to the next "<".
            const std::size_t from = option.m_nTagEnd;
            const std::size_t to = std::min(inner.find('<', from), inner.size());
            SListItem item;
            item.m_strName = text::RemoveChars(inner.substr(from, to - from), "\r\n\t");
            item.m_strValue = ValueAttribute(option, "value");
            item.m_bSelected = option.DoesExist("selected");
            list->m_Items.push_back(std::move(item));
        }
        CFormElement element(tag.GetAttribValue("name"), "", std::move(list));
        element.m_nTagOffset = tag.m_nTagStart;
        found.push_back(std::move(element));
    }

    for (const SHtmlTag& tag : FindAll(*this, content, "textarea", true, base)) {
        auto area = std::make_unique<CMultilineData>();
        area->m_nRows = DecimalAttribute(tag, "rows", 0);
        area->m_nColumns = DecimalAttribute(tag, "cols", 0);
        area->m_strDefaultText = tag.m_strContent;
        CFormElement element(tag.GetAttribValue("name"), "", std::move(area));
        element.m_nTagOffset = tag.m_nTagStart;
        found.push_back(std::move(element));
    }

    std::stable_sort(found.begin(), found.end(), [](const CFormElement& a, const CFormElement& b) {
        return a.m_nTagOffset < b.m_nTagOffset;
    });

    // The remembered calls go to the first element of their name.
    for (CFormElement& element : found) {
        for (auto it = m_FoundCalls.begin(); it != m_FoundCalls.end();) {
            if (it->m_strElement != element.m_strName) {
                ++it;
                continue;
            }
            CValidation validation;
            if (DecodeDescriptor(it->m_strDescriptor, validation)) {
                validation.m_strMessage = it->m_strMessage;
                element.Validations()->push_back(std::move(validation));
            }
            it = m_FoundCalls.erase(it);
        }
    }

    for (CFormElement& element : found) {
        elements.m_Elements.push_back(std::move(element));
    }
    return true;
}

namespace {

// Runs a step of the page load; a page the scanner gives up on (its error
// reported as such) or any other failure counts as the step failing.
template <class Step>
bool PageStep(Step step) {
    try {
        return step();
    } catch (const ondrelo::CFileException&) {
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace

bool CFormPageScanner::LoadPage(const std::string& path, CHtmlForm& form) {
    if (!PageStep([&] { return OpenFile(path); })) {
        FormMessageBox("Could not Open HTML file!");
        return false;
    }
    form.m_Elements.ClearData();
    if (!PageStep([&] { return ReadForm(form, form.m_Elements); })) {
        // Nothing half-read stays behind.
        form.m_Elements.ClearData();
        FormMessageBox("Reading the HTML file failed!");
        return false;
    }
    const std::string problems = CheckPageFormNames(form);
    if (!problems.empty()) {
        ShowErrorsDialog("Errors while parsing the form from the page:\r\n" +
                         text::ReplaceAll(problems, "\n", "\r\n"));
        return false;
    }
    form.m_bReadFromPage = true;
    // A text area without rows or cols (or with values a browser ignores)
    // reads as 0; browsers then show 2 rows of 20 columns. Those are taken
    // without a word, since the page asked for nothing the editor cannot show.
    for (CFormElement& element : form.m_Elements) {
        if (auto* area = dynamic_cast<CMultilineData*>(element.GetData())) {
            if (area->m_nRows == 0) {
                area->m_nRows = kBrowserTextAreaRows;
            }
            if (area->m_nColumns == 0) {
                area->m_nColumns = kBrowserTextAreaColumns;
            }
        }
    }
    const std::string report = EditorLimitsReport(ClampToEditorLimits(form));
    if (!report.empty()) {
        FormMessageBox(report, MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

}  // namespace formwarden
