#include "hoverkit/MoverButtonCodeGen.h"

#include <exception>

#include "hoverkit/HoverkitResources.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"

using namespace hoverkit;

std::string CMoverButtonScanner::GetModuleSignature() const {
    return kModuleSignature;
}

namespace hoverkit {

std::string EscapeAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\'')
            out += "&#39;";
        else
            out += c;
    }
    return out;
}

std::string EscapeScriptString(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '/':
            // "</" would let "</script" close the block the string stands in.
            if (i > 0 && text[i - 1] == '<')
                out += "\\/";
            else
                out += c;
            break;
        default: out += c;
        }
    }
    return out;
}

void CreateButtonPage(const std::string& path) {
    CMoverButtonScanner scanner;
    ondrelo::CreateNewHtmlPage(scanner, path, HoverkitString(IDS_NEW_PAGE_TITLE));
}

}  // namespace hoverkit

CMoverButtonCodeGen::CMoverButtonCodeGen() : m_pScanner(std::make_unique<CMoverButtonScanner>()) {
    m_bModified = true;
}

CMoverButtonCodeGen::~CMoverButtonCodeGen() = default;

void CMoverButtonCodeGen::UpdateModified() {
    SetModified(m_pInfo != nullptr && m_pInfo->m_bChanged == 1);
}

int CMoverButtonCodeGen::GenerateCode() {
    if (m_pInfo == nullptr || m_pInfo->m_bChanged == 0)
        return 1;
    m_strWarnings.clear();
    BuildInclusionLine("");
    BuildButtonCode();
    m_pInfo->m_bChanged = 0;
    m_bModified = true;
    return 1;
}

void CMoverButtonCodeGen::BuildInclusionLine(const std::string& scriptPath) {
    m_strCode2 = GenerateScriptInclusion(m_strPagePath, scriptPath, kScriptFileName);
}

void CMoverButtonCodeGen::BuildButtonCode() {
    const CMoverButtonInfo empty;
    const CMoverButtonInfo& info = m_pInfo ? *m_pInfo : empty;
    const std::string& br = m_strLineBreak;
    m_strCode1.clear();

    SeedRandomNumbers();
    const std::string n = std::to_string(DrawRandomNumber());
    const std::string anchor = "anchor" + n;
    const std::string image = "image" + n;
    const std::string button = "mbutton" + n;

    std::string target = info.m_strTargetURL;
    if (target.empty()) {
        AddWarning(HoverkitString(IDS_TARGET_URL_EMPTY));
        target = "#";
    }

    // The start tag stays open: the image tag follows without a line break.
    m_strCode1 += "<A name='" + anchor + "' href='" + EscapeAttribute(target) +
                  "'  onmouseover='return callmover(\"" + anchor +
                  "\");'  onmouseout='return callmout(\"" + anchor +
                  "\");'  onmousedown='return callmdown(\"" + anchor +
                  "\");'  onmouseup='return callmup(\"" + anchor + "\"); '>";

    std::string paths[kImageCount];
    for (int i = 0; i < kImageCount; ++i) {
        const std::string& full = info.ImagePath(i);
        if (full.empty())
            continue;
        std::string relative;
        if (CCommon::FindRelativePath(m_strPagePath, full, relative)) {
            paths[i] = relative;
        } else {
            AddWarning(relative);
            paths[i] = full;
        }
    }
    if (info.m_strNormalImage.empty())
        AddWarning(HoverkitString(IDS_NO_NORMAL_IMAGE));

    if (!info.m_strNormalImage.empty() && !info.m_strActiveImage.empty() &&
        info.m_nNormalWidth != info.m_nActiveWidth &&
        info.m_nNormalHeight != info.m_nActiveHeight)
        AddWarning(HoverkitString(IDS_IMAGE_SIZES_DIFFER));

    m_strCode1 += "<IMG name='" + image + "' src='" + EscapeAttribute(paths[kNormalImage]) +
                  "' width='" + std::to_string(info.m_nNormalWidth) + "' height='" +
                  std::to_string(info.m_nNormalHeight) + "'  border='0' alt='" +
                  EscapeAttribute(info.m_strAltText) + "'>";
    m_strCode1 += "</A>" + br;

    m_strCode1 += GetStartOfScript();
    m_strCode1 += "var " + button + " = new MOverButton(\"" + anchor + "\",\"" + image +
                  "\",\"" + EscapeScriptString(info.m_strStatusText) + "\");" + br;
    auto call = [&](const char* method, int index) {
        return button + "." + method + "(\"" + EscapeScriptString(paths[index]) + "\"," +
               std::to_string(info.ImageWidth(index)) + "," +
               std::to_string(info.ImageHeight(index)) + ");";
    };
    m_strCode1 += call("SetNormalImage", kNormalImage) + br;
    if (!info.m_strActiveImage.empty())
        m_strCode1 += call("SetActiveImage", kActiveImage) + br;
    if (!info.m_strClickImage.empty())
        m_strCode1 += call("SetClickImage", kClickImage);
    m_strCode1 += GetEndOfScript();
}

int CMoverButtonCodeGen::Insert(const std::string& scriptPath, const std::string& pagePath,
                                bool createNew, bool afterBody) {
    try {
        return InsertSteps(scriptPath, pagePath, createNew, afterBody);
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception& e) {
        // A page that cannot be read or written, or one the scanner gives up
        // on, fails the insertion with its reason instead of escaping into
        // the insertion component.
        CCommon::ShowErrorMessage(e.what());
    }
    m_pScanner->Close();
    return 0;
}

int CMoverButtonCodeGen::InsertSteps(const std::string& scriptPath, const std::string& pagePath,
                                     bool createNew, bool afterBody) {
    m_strPagePath = pagePath;
    m_strWarnings.clear();
    BuildInclusionLine(scriptPath);
    BuildButtonCode();

    auto fail = [&](unsigned message) {
        CCommon::ShowErrorMessage(HoverkitString(message));
        m_pScanner->Close();
        return 0;
    };

    if (m_pScanner->IsOpen(pagePath)) {
        m_pScanner->Revert();
    } else {
        if (createNew) {
            CreateButtonPage(pagePath);
            afterBody = true;
        }
        bool opened = false;
        try {
            opened = m_pScanner->OpenFile(pagePath);
        } catch (const ondrelo::CFileException&) {
            opened = false;
        }
        if (!opened)
            return fail(IDS_OPEN_HTML_FAILED);
    }

    if (!m_pScanner->InsertScriptInclusion(m_strCode2))
        return fail(IDS_INSERT_FAILED);
    if (afterBody) {
        if (!m_pScanner->InsertAfterBodyTag(m_strCode1))
            return fail(IDS_INSERT_AFTER_BODY_FAILED);
    } else if (!m_pScanner->ReplaceStringWithCode(kPlaceholder, m_strCode1, false)) {
        return fail(IDS_REPLACE_STRING_NOT_FOUND);
    }
    // A page that changed on disk since it was read and that the user chose
    // not to overwrite was not written: that is no insertion. The scanner is
    // closed so that a further try reads the page as it now stands.
    if (m_pScanner->SaveFile() != 1) {
        m_pScanner->Close();
        return 0;
    }
    return 1;
}

void CMoverButtonCodeGen::Reset() {
    m_pScanner->Close();
    m_strPagePath.clear();
}
