#include "formwarden/FormCodeGen.h"

#include "Text.h"
#include "formwarden/FormPageScanner.h"
#include "formwarden/FormResources.h"
#include "formwarden/JsRegExp.h"
#include "formwarden/Validations.h"
#include "ondrelo/HTMLScanner.h"

namespace formwarden {

namespace {

// Layout pieces of one element row.
struct SLayout {
    const char* rowStart;
    const char* cellStart;
    const char* cellEnd;
    const char* rowEnd;
};

const SLayout kParagraphLayout = {"<P>", " &nbsp; &nbsp;", " ", "</P>"};
const SLayout kTableLayout = {"<TR>\r\n", "    <TD>\r\n   ", "    </TD>\r\n", "</TR>\r\n"};

std::string DoubleBackslashes(const std::string& s) {
    return text::ReplaceAll(s, "\\", "\\\\");
}

}  // namespace

std::string EscapeScriptMessage(const std::string& message) {
    std::string out;
    out.reserve(message.size());
    for (std::size_t i = 0; i < message.size(); ++i) {
        const char c = message[i];
        switch (c) {
            case '/':
                // "</" would end the script block in the page ("</SCRIPT>" in
                // a message); "<\/" is the same string to the browser.
                out += i > 0 && message[i - 1] == '<' ? "\\/" : "/";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::string EscapeScriptDescriptor(const std::string& descriptor) {
    std::string out = text::ReplaceAll(descriptor, "\"", "\\\"");
    return text::ReplaceAll(out, "</", "<\\/");
}

std::string ValidationDescriptor(const CValidation& v, int elementType) {
    using text::Format;
    switch (v.m_nKind) {
        case kValRequired:
            return "req";
        case kValAlpha:
            return v.m_nOption == kOptionAllowSpaces ? "alpha_s" : "alpha";
        case kValAlnum:
            return v.m_nOption == kOptionAllowSpaces ? "alnum_s" : "alnum";
        case kValNumeric:
            return "num";
        case kValEmail:
            return "email";
        case kValRegExp:
            return "regexp=" + DoubleBackslashes(v.m_strText);
        case kValMaxLength:
            return Format("maxlen=%d", v.GetInt());
        case kValMinLength:
            return Format("minlen=%d", v.GetInt());
        case kValLessThan:
            return Format("lt=%f", v.GetDouble());
        case kValGreaterThan:
            return Format("gt=%f", v.GetDouble());
        case kValEqualTo:
            return "eqelmnt=" + v.m_strText;
        case kValLessThanElement:
            return "ltelmnt=" + v.m_strText;
        case kValLessEqualElement:
            return "leelmnt=" + v.m_strText;
        case kValGreaterThanElement:
            return "gtelmnt=" + v.m_strText;
        case kValGreaterEqualElement:
            return "geelmnt=" + v.m_strText;
        case kValNotEqualElement:
            return "neelmnt=" + v.m_strText;
        case kValSelectMin:
            return Format("selmin=%d", v.GetInt());
        case kValSelectOne:
            return "selone";
        case kValDontSelect:
            if (elementType == kTypeCheckbox || elementType == kTypeRadio) {
                // Doubled like an expression's, so that a value ending in a
                // backslash cannot swallow the string's closing quote.
                return "dontselectchk=" + DoubleBackslashes(v.m_strText);
            }
            return Format("dontselect=%d", v.GetInt());
        default:
            return {};
    }
}

// The own scanner marks what it inserts with the form wizard's signature.
CFormCodeGen::CFormCodeGen() : m_pOwnScanner(std::make_unique<CFormPageScanner>()) {}

CFormCodeGen::~CFormCodeGen() = default;

void CFormCodeGen::SetModel(CHtmlForm* form, CFormElementList* elements,
                            CFormPageScanner* pageScanner) {
    m_pForm = form;
    m_pElements = elements ? elements : (form ? &form->m_Elements : nullptr);
    m_pPageScanner = pageScanner;
    SetModified(true);
}

std::string CFormCodeGen::FormatFormTag(const std::string& name, const std::string& action,
                                        int method) {
    return "<FORM name='" + name + "' action='" + EscapeApostrophes(action) + "' method='" +
           (method == kMethodPost ? "POST" : "GET") + "'>";
}

int CFormCodeGen::GenerateCode() {
    m_strWarnings.clear();
    m_strCode1.clear();
    m_strCode2.clear();
    m_strCode3.clear();
    if (!m_pForm) {
        return 1;
    }
    if (m_pForm->m_strName.empty()) {
        AddWarning("Name of the HTML Form is empty!. Adding dummy name ('myform')");
        m_pForm->m_strName = "myform";
    }
    if (!m_pElements || m_pElements->IsEmpty()) {
        AddWarning("There are no elements in the form");
    }
    m_strCode2 = m_strLineBreak;
    if (IsValidationsOnly()) {
        m_strCode2.clear();
        m_strCode3 = FormString(IDS_COPY_VALIDATIONS);
    } else {
        m_strCode2 += GenerateFormHTML();
        m_strCode3 = FormString(IDS_COPY_FORM_CODE);
    }
    m_strCode2 += GenerateValidatorScript();
    m_strCode1 = text::Format(FormString(IDS_SCRIPT_INCLUSION), kValidatorScriptFileName);
    return 1;
}

std::string CFormCodeGen::GenerateFormHTML() {
    if (!m_pForm) {
        return {};
    }
    const std::string& nl = m_strLineBreak;
    std::string html;
    if (m_pForm->m_strAction.empty()) {
        AddWarning(
            "Action URL is empty. Mention the server-side script  that handles the data "
            "submitted in the form (see help for more details)");
    }
    html += "<CENTER>";
    html += FormatFormTag(m_pForm->m_strName, m_pForm->m_strAction, m_pForm->m_nMethod);
    html += nl;
    const SLayout& layout = m_pForm->m_bTableLayout ? kTableLayout : kParagraphLayout;
    if (m_pForm->m_bTableLayout) {
        html += "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"2\" > ";
        html += nl;
    }
    if (m_pElements) {
        for (const CFormElement& element : *m_pElements) {
            bool captionPlaced = false;
            std::string elementHtml;
            if (element.m_pData) {
                elementHtml = element.m_pData->GenerateHTML(element.m_strName, element.m_strCaption,
                                                            captionPlaced);
            }
            elementHtml = text::ReplaceAll(elementHtml, nl, nl + "   ");
            html += layout.rowStart;
            html += layout.cellStart;
            if (!captionPlaced) {
                if (element.m_strCaption.empty()) {
                    AddWarning(text::Format("The caption for input element '%s' is empty!",
                                            element.m_strName.c_str()));
                } else {
                    html += element.m_strCaption;
                }
            }
            html += nl;
            html += layout.cellEnd;
            html += layout.cellStart;
            html += elementHtml;
            html += nl;
            html += layout.cellEnd;
            html += layout.rowEnd;
        }
    }
    if (m_pForm->m_bTableLayout) {
        html += "</TABLE>";
        html += nl;
    }
    html += "</FORM>";
    html += "</CENTER>";
    html += nl;
    return html;
}

std::string CFormCodeGen::GenerateValidatorScript() {
    const std::string& nl = m_strLineBreak;
    std::string script = nl + GetStartOfScript();
    if (!m_pForm) {
        return script + GetEndOfScript() + nl;
    }
    m_pForm->m_strName = text::RemoveChars(m_pForm->m_strName, " -\"'");
    const std::string& n = m_pForm->m_strName;
    const std::string validator = n + "Validator";
    const std::string function = "validate_" + n;
    const bool custom = !m_pForm->m_strCustomValidation.empty();
    if (custom) {
        script += "//Custom Validation Function" + nl;
        script += "function " + function + " ( )" + nl + "{";
        script += m_pForm->m_strCustomValidation;
        script += nl + "}" + nl;
    }
    script += "var " + validator + " = new Validator(\"" + n + "\");" + nl;
    if (m_pElements) {
        for (const CFormElement& element : *m_pElements) {
            const CValidationList* list = element.Validations();
            if (!list) {
                continue;
            }
            for (const CValidation& v : *list) {
                if (IsHeldGroupRule(v)) {
                    continue;
                }
                if (v.m_nKind == kValMaxLength && v.GetInt() < 1) {
                    AddWarning(
                        text::Format("The Maximum length specified for input element '%s' is %d ",
                                     element.m_strName.c_str(), v.GetInt()));
                }
                if (v.m_nKind == kValDontSelect && IsGroupType(element.m_nType) &&
                    v.m_strText.empty()) {
                    AddWarning(text::Format(
                        "The %s with name %s does not have values mentioned.  Some of the "
                        "validations will not work properly if the value is not available.",
                        element.m_nType == kTypeCheckbox ? "check box" : "radio button",
                        element.m_strName.c_str()));
                    continue;
                }
                if (v.m_nKind == kValRegExp) {
                    // The runtime refuses every entry for a pattern the
                    // browser cannot compile; the author hears of it now.
                    const std::string reason = JsRegExpSyntaxError(v.m_strText);
                    if (!reason.empty()) {
                        AddWarning(text::Format(
                            "The regular expression for %s is not valid in JavaScript: %s",
                            element.m_strName.c_str(), reason.c_str()));
                    }
                }
                std::string descriptor = ValidationDescriptor(v, element.m_nType);
                if (descriptor.empty()) {
                    continue;  // unknown kind: no check to register
                }
                descriptor = EscapeScriptDescriptor(descriptor);
                script += validator + ".addValidation(\"" +
                          text::RemoveChars(element.m_strName, "\"") + "\",\"" + descriptor +
                          "\",\"" + EscapeScriptMessage(v.m_strMessage) + "\");" + nl;
            }
        }
    }
    if (custom) {
        script += validator + ".setAddnlValidationFunction(\"" + function + "\");" + nl;
    }
    script += GetEndOfScript() + nl;
    return script;
}

}  // namespace formwarden
