#include "smallset/DLinkCodeGen.h"

#include <exception>

#include "ondrelo/Common.h"
#include "ondrelo/Format.h"
#include "ondrelo/OndException.h"
#include "smallset/SmallsetText.h"

namespace smallset {

int CDLinkList::Add(const std::string& label, const std::string& link, const std::string& target) {
    m_links.push_back(SDLink{label, target, link});
    return GetCount() - 1;
}

CDLinkCodeGen::CDLinkCodeGen(const CDLinkList& list) : m_list(list) {}

CDLinkCodeGen::~CDLinkCodeGen() = default;

int CDLinkCodeGen::GenerateCode() {
    m_strCode2 = GenerateScriptInclusion(m_strPagePath, "", kDLinkScriptName);
    BuildCode();
    return 1;
}

void CDLinkCodeGen::BuildCode() {
    const std::string& br = m_strLineBreak;
    SeedRandomNumbers();
    const std::string n = std::to_string(DrawRandomNumber());
    const std::string form = "DLinkFrm" + n;
    const std::string select = "DLink" + n;
    const std::string object = "DLinkObj" + n;

    std::string code = "<form name='" + form + "' action=''>" + br;
    code += "<select name='" + select + "' size='1'>" + br;
    std::string calls;
    for (int i = 0; i < m_list.GetCount(); ++i) {
        const SDLink& link = m_list.Get(i);
        const std::string index = std::to_string(i);
        // Labels are HTML as the user typed them; the link and the target go
        // into JavaScript strings and are escaped for them.
        code += "<option value='" + index + "' " + (i == 0 ? "selected" : "") + ">" +
                link.m_strLabel + br;
        calls += object + ".addLink(" + index + ",\"" + EscapeJsString(link.m_strLink, '"') +
                 "\",\"" + EscapeJsString(link.m_strTarget, '"') + "\");" + br;
    }
    code += "</select>" + br + "</form>" + br;
    code += GetStartOfScript();
    code += "var " + object + " = new DLinkCombo(document.forms[\"" + form + "\"].elements[\"" +
            select + "\"]);" + br;
    code += calls;
    code += GetEndOfScript();
    m_strCode1 = code;
}

int CDLinkCodeGen::Insert(const std::string& pagePath, const std::string& scriptPath,
                          bool createNew, bool afterBody) {
    m_strPagePath = pagePath;
    m_strCode2 = GenerateScriptInclusion(pagePath, scriptPath, kDLinkScriptName);
    BuildCode();
    try {
        if (m_scanner.IsOpen(pagePath)) {
            m_scanner.RevertToLoaded();
        } else {
            if (createNew) {
                CDLinkScanner page;
                ondrelo::CreateNewHtmlPage(page, pagePath, kDLinkPageTitle);
                afterBody = true;
            }
            if (!m_scanner.OpenFile(pagePath)) {
                CCommon::ShowErrorMessage(kFailedOpeningHtml);
                m_scanner.Close();
                return 0;
            }
        }
        m_scanner.InsertScriptInclusion(m_strCode2);
        if (afterBody) {
            if (!m_scanner.InsertAfterBodyTag(m_strCode1)) {
                CCommon::ShowErrorMessage(kFailedAfterBody);
                m_scanner.Close();
                return 0;
            }
        } else if (!m_scanner.ReplaceStringWithCode(kDLinkPlaceholder, m_strCode1, false)) {
            CCommon::ShowErrorMessage(kReplaceCodeMissing);
            m_scanner.Close();
            return 0;
        }
        // A page the user chose not to overwrite was not written: that is
        // not a success.
        if (m_scanner.SaveFile() != 1) {
            CCommon::ShowErrorMessage(kPageNotWritten);
            return 0;
        }
        return 1;
    } catch (const ondrelo::CFileException& e) {
        CCommon::ShowErrorMessage(std::string(kFailedOpeningHtml) + ": " + e.what());
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception& e) {
        CCommon::ShowErrorMessage(std::string("Exception Occured:") + e.what());
    }
    m_scanner.Close();
    return 0;
}

}  // namespace smallset
