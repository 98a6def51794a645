#include "popkin/PopupCodeGen.h"

#include <cctype>

#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"

namespace popkin {

namespace {

std::string Flag(int value) {
    return value != 0 ? "1" : "0";
}

std::string Num(int value) {
    return std::to_string(value);
}

bool StartsWithNoCase(const std::string& text, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (at + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string EscapeForScriptString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '<' && StartsWithNoCase(text, i + 1, "/script")) {
            out += "<\\/";
            ++i;  // the slash is written already
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapeForAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"') {
            out += "&quot;";
        } else {
            out += c;
        }
    }
    return out;
}

CPopupCodeGen::CPopupCodeGen() = default;
CPopupCodeGen::~CPopupCodeGen() = default;

void CPopupCodeGen::SetPosition(int center, int left, int top, int width, int height) {
    Update(m_settings.center, center);
    Update(m_settings.left, left);
    Update(m_settings.top, top);
    Update(m_settings.width, width);
    Update(m_settings.height, height);
}

void CPopupCodeGen::SetFeatures(int location, int scrollbars, int menubar, int toolbar,
                                int status, int resizable, int directories) {
    Update(m_settings.location, location);
    Update(m_settings.scrollbars, scrollbars);
    Update(m_settings.menubar, menubar);
    Update(m_settings.toolbar, toolbar);
    Update(m_settings.status, status);
    Update(m_settings.resizable, resizable);
    Update(m_settings.directories, directories);
}

void CPopupCodeGen::SetContent(int urlMode, const std::string& url,
                               const std::string& htmlContent) {
    Update(m_settings.urlMode, urlMode);
    Update(m_settings.url, url);
    Update(m_settings.htmlContent, htmlContent);
}

void CPopupCodeGen::SetInvocation(int kind, const std::string& label) {
    Update(m_settings.kind, kind);
    Update(m_settings.label, label);
}

void CPopupCodeGen::SetOptions(int popUnder, int oncePerVisitor, int reappearDays,
                               int delaySeconds) {
    Update(m_settings.popUnder, popUnder);
    Update(m_settings.oncePerVisitor, oncePerVisitor);
    Update(m_settings.reappearDays, reappearDays);
    Update(m_settings.delaySeconds, delaySeconds);
}

int CPopupCodeGen::GenerateCode() {
    m_strWarnings.clear();
    SeedRandomNumbers();
    m_strFunctionName = "popup" + Num(DrawRandomNumber());
    const std::string windowName = "window" + Num(DrawRandomNumber());
    m_strCode1 = BuildScript(windowName);
    m_strCode2 = BuildCallingHtml();
    switch (m_settings.kind) {
    case kInvokeButton:
        m_strCode3 = "Copy and paste this code for the button";
        break;
    case kInvokeLink:
        m_strCode3 = "Copy and paste this code for the link";
        break;
    case kInvokePageEntry:
    case kInvokePageExit:
        m_strCode3 = "Modify the <BODY> tag of the HTML page to the following";
        break;
    default:
        m_strCode3.clear();
        break;
    }
    return 1;
}

std::string CPopupCodeGen::BuildScript(const std::string& W) {
    const SPopupSettings& s = m_settings;
    const std::string& F = m_strFunctionName;
    const std::string& LB = m_strLineBreak;
    const bool cookie = s.UsesCookie();

    std::string code;
    if (cookie) {
        code += GenerateScriptInclusion("", "", kCookieScriptFileName) + LB;
    }
    code += GetStartOfScript();
    code += "function " + F + "()" + LB + "{";
    if (cookie) {
        code += LB + "if(getcookie('" + F + "') =='y')" + "{ return; }" + LB;
    }
    if (s.center) {
        code += LB + "var left = (screen.width - " + Num(s.width) + ")/2;";
        code += LB + "left = left<0?0:left;";
        code += LB + "var top  = (screen.height - " + Num(s.height) + ")/2;";
        code += LB + "top = top<0?0:top;";
    }
    code += LB + W + " = window.open(";
    if (s.urlMode) {
        if (s.url.empty()) {
            AddWarning(kWarnEmptyUrl);
        }
        code += m_strQuote + EscapeForScriptString(s.url) + m_strQuote;
    } else {
        code += m_strQuote + m_strQuote;
    }
    code += ",\"" + W + "\"" + LB;
    code += ",\"location=" + Flag(s.location) + ",scrollbars=" + Flag(s.scrollbars) +
            ",menubar=" + Flag(s.menubar) + ",toolbar=" + Flag(s.toolbar) +
            ",status=" + Flag(s.status) + ",resizable=" + Flag(s.resizable) +
            ",directories=" + Flag(s.directories) + ",";
    if (s.center) {
        code += "left=\"+left+\",top=\"+top+\",width=" + Num(s.width) + ",height=" +
                Num(s.height);
    } else {
        if (s.left < 0 || s.top < 0) {
            AddWarning(kWarnNegativeLocation);
        }
        if (s.width < 1 || s.height < 1) {
            AddWarning(kWarnZeroSize);
        }
        code += "left=" + Num(s.left) + ",top=" + Num(s.top) + ",width=" + Num(s.width) +
                ",height=" + Num(s.height);
    }
    code += "\");" + LB;
    if (s.popUnder == 1) {
        code += W + ".blur(); window.focus();" + LB;
    }
    if (s.center) {
        code += W + ".moveTo(left,top);";
    } else {
        code += W + ".moveTo(" + Num(s.left) + "," + Num(s.top) + ");";
    }
    if (!s.urlMode) {
        // One write per line of the edit box. The line break is CR LF there;
        // a bare line feed (content from a file) ends a line as well.
        const std::string content = EscapeForScriptString(s.htmlContent);
        std::size_t from = 0;
        auto write = [&](std::string line) {
            code += LB + W + ".document.write(\"" + line + "\");";
        };
        for (std::size_t lf = content.find('\n', from); lf != std::string::npos;
             lf = content.find('\n', from)) {
            std::size_t end = lf;
            if (end > from && content[end - 1] == '\r') {
                --end;
            }
            write(content.substr(from, end - from));
            from = lf + 1;
        }
        if (from < content.size()) {
            write(content.substr(from));
        }
    }
    if (cookie) {
        const int days = s.oncePerVisitor == 1 ? kOncePerVisitorDays : s.reappearDays;
        code += LB + "setcookie(\"" + F + "\",\"y\"," + Num(days) + ");";
    }
    code += m_strClosingLine;
    code += GetEndOfScript();
    return code;
}

std::string CPopupCodeGen::CallExpression() const {
    if (m_settings.delaySeconds <= 0) {
        return m_strFunctionName + "()";
    }
    return "setTimeout('" + m_strFunctionName + "()'," +
           std::to_string(static_cast<long long>(m_settings.delaySeconds) * 1000) + ")";
}

std::string CPopupCodeGen::BuildCallingHtml() {
    const std::string& F = m_strFunctionName;
    const std::string& label = m_settings.label;
    switch (m_settings.kind) {
    case kInvokeButton:
        if (label.empty()) {
            AddWarning(kWarnEmptyButtonLabel);
        }
        return "<INPUT type=\"button\" OnClick=\"" + F + "()\"" + " value=\"" +
               EscapeForAttribute(label) + "\" >";
    case kInvokeLink:
        if (label.empty()) {
            AddWarning(kWarnEmptyLinkLabel);
        }
        return "<A href=\"javascript: " + F + "()\"" + ">" + label + "</A>";
    case kInvokePageEntry:
        return "<BODY  onLoad=\"" + CallExpression() + "\">";
    case kInvokePageExit:
        return "<BODY  onUnload=\"" + CallExpression() + "\">";
    default:
        return {};
    }
}

void CPopupCodeGen::GetInsertInfo(std::string& placeholder, std::string& objectName,
                                  std::string& scriptFile) const {
    switch (m_settings.kind) {
    case kInvokeButton:
        placeholder = "PLACE_POPUP_BUTTON_HERE";
        objectName = "PopupButton";
        break;
    case kInvokeLink:
        placeholder = "PLACE_POPUP_LINK_HERE";
        objectName = "PopupLink";
        break;
    default:
        placeholder.clear();
        objectName = "Popup";
        break;
    }
    if (m_settings.UsesCookie()) {
        scriptFile = kCookieScriptFileName;
    }
}

bool CPopupCodeGen::InsertScriptIntoHead(const std::string& script) {
    const std::string& text = m_scanner.GetText();
    if (text.empty()) {
        return false;
    }
    SHtmlTag tag;
    std::string rest;
    std::uint32_t position = 0;
    if (m_scanner.SeparateTag(text, "head", tag, true, rest, 0) && tag.m_nTagEnd > 0) {
        position = tag.m_nTagEnd;
    } else {
        tag.Clear();
        if (m_scanner.SeparateTag(text, "body", tag, true, rest, 0) && tag.m_nTagStart > 0) {
            position = tag.m_nTagStart;
        }
    }
    // A body tag at the very start counts as not found, like no body at all.
    if (position == 0) {
        return false;
    }
    m_scanner.InsertAt(position, script, false, true);
    return true;
}

void CPopupCodeGen::AddBodyAttribute(const std::string& attribute) {
    SHtmlTag body;
    std::string rest;
    if (!m_scanner.SeparateTag(m_scanner.GetText(), "body", body, true, rest, 0)) {
        COndException::ThrowOndException(IDS_HTML_NOT_FORMATTED, 1003);
    }
    m_scanner.InsertAt(body.m_nAttribTextStart, attribute, false, true);
}

bool CPopupCodeGen::InsertCallingCode(int placeAfterBody) {
    const int kind = m_settings.kind;
    if (kind != kInvokeButton && kind != kInvokeLink) {
        AddBodyAttribute((kind == kInvokePageExit ? " onUnload=\"" : " onLoad=\"") +
                         CallExpression() + "\"");
        return true;
    }
    if (placeAfterBody == 1) {
        if (!m_scanner.InsertAfterBodyTag(m_strCode2)) {
            CCommon::ShowErrorMessage(kMsgAfterBodyFailed);
            m_scanner.Close();
            return false;
        }
        return true;
    }
    std::string placeholder;
    std::string objectName;
    std::string scriptFile;
    GetInsertInfo(placeholder, objectName, scriptFile);
    if (!m_scanner.ReplaceStringWithCode(placeholder, m_strCode2, false)) {
        CCommon::ShowErrorMessage(kMsgReplaceFailed);
        m_scanner.Close();
        return false;
    }
    return true;
}

int CPopupCodeGen::InsertCode(const std::string& pagePath, int createNewFile,
                              int placeAfterBody) {
    GenerateCode();
    if (m_scanner.IsOpen(pagePath)) {
        m_scanner.Revert();
    } else {
        if (createNewFile == 1) {
            ondrelo::CreateNewHtmlPage(m_scanner, pagePath, kNewPageTitle);
            placeAfterBody = 1;
        }
        if (!m_scanner.OpenFile(pagePath)) {
            CCommon::ShowErrorMessage(kMsgOpenFailed);
            m_scanner.Close();
            return 0;
        }
    }
    if (!InsertScriptIntoHead(m_strCode1)) {
        CCommon::ShowErrorMessage(kMsgScriptInsertFailed);
        m_scanner.Close();
        return 0;
    }

    // A page without a closed body element raises an error: the user is
    // told and the insertion fails here instead of leaving the insertion flow.
    try {
        if (!InsertCallingCode(placeAfterBody)) {
            return 0;
        }
    } catch (COndException* e) {
        e->ReportError();
        delete e;
        m_scanner.Close();
        return 0;
    }
    // A page the user chose not to overwrite (it changed on disk) was not
    // written, so the code is not in it.
    return m_scanner.SaveFile() == 1 ? 1 : 0;
}

}  // namespace popkin
