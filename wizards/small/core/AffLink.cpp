#include "smallset/AffLink.h"

#include <algorithm>
#include <exception>
#include <new>

#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "smallset/DLinkCodeGen.h"
#include "smallset/SmallsetText.h"

namespace smallset {

namespace {

// window.status = '...' or "...", with escaped quotes allowed inside, so
// that a text written by this editor reads back whole.
const char* const kStatusPattern =
    "window\\.status\\s*=\\s*('((?:[^'\\\\]|\\\\.)*)'|\"((?:[^\"\\\\]|\\\\.)*)\")";

}  // namespace

std::string StatusTextFromHandler(CHTMLScanner& scanner, const std::string& handler) {
    // The browser resolves the attribute's character references before the
    // script sees the text, and the string's escapes after.
    std::vector<std::string> groups;
    if (!scanner.RegExpMatch(DecodeHtmlEntities(handler), kStatusPattern, 4, groups)) {
        return {};
    }
    if (!groups[2].empty()) {
        return UnescapeJsString(groups[2]);
    }
    if (!groups[3].empty()) {
        return UnescapeJsString(groups[3]);
    }
    return {};
}

bool ScanLinks(CHTMLScanner& scanner, CAffLinkList& list) {
    const std::string& text = scanner.GetText();
    if (text.empty()) {
        return false;
    }
    list.Links().clear();
    STagSearch search;
    SHtmlTag tag;
    while (scanner.FindTag(text, "a", tag, true, search)) {
        SAffLink link;
        link.m_strHref = tag.GetAttribValue("href");
        link.m_strLabel = tag.m_strContent;
        link.m_nAttribStart = tag.m_nAttribTextStart;
        link.m_nAttribEnd = tag.m_nAttribTextEnd;
        tag.GetAttributeInfo("onmouseover", link.m_strOnMouseOver, link.m_nOverStart,
                             link.m_nOverEnd);
        if (!link.m_strOnMouseOver.empty()) {
            link.m_strStatusText = StatusTextFromHandler(scanner, link.m_strOnMouseOver);
        }
        tag.GetAttributeInfo("onmouseout", link.m_strOnMouseOut, link.m_nOutStart, link.m_nOutEnd);
        std::string target;
        tag.GetAttributeInfo("target", target, link.m_nTargetStart, link.m_nTargetEnd);
        link.m_strTarget = DecodeHtmlEntities(target);
        list.Links().push_back(std::move(link));
    }
    if (list.Links().empty()) {
        return false;
    }
    list.SetChanged(true);
    return true;
}

std::string TargetAttribute(const std::string& target) {
    return " target='" + EscapeHtmlAttribute(target) + "'";
}

std::string OverAttribute(const std::string& statusText) {
    return " onmouseover=\"javascript: window.status='" + EscapeJsString(statusText, '\'', true) +
           "'; return true;\"";
}

std::string OutAttribute() {
    return " onmouseout=\"javascript: window.status=''; return true;\"";
}

CAffLinkCodeGen::CAffLinkCodeGen(CAffLinkList& list, CAffLinkScanner& scanner)
    : m_list(list), m_scanner(scanner) {}

void CAffLinkCodeGen::RewriteLink(const SAffLink& link) {
    struct SEdit {
        std::uint32_t start, end;
        std::string text;
    };
    std::vector<SEdit> edits;
    bool status = false;
    if (link.HasTarget()) {
        edits.push_back(
            {link.m_nTargetStart, link.m_nTargetEnd, TargetAttribute(link.m_strTarget)});
    }
    if (link.HasOnMouseOver()) {
        edits.push_back({link.m_nOverStart, link.m_nOverEnd, OverAttribute(link.m_strStatusText)});
        status = true;
    }
    std::sort(edits.begin(), edits.end(),
              [](const SEdit& a, const SEdit& b) { return a.start < b.start; });
    for (const SEdit& edit : edits) {
        m_scanner.Replace(edit.start, edit.end, edit.text);
    }
    if (!link.HasTarget() && !link.m_strTarget.empty()) {
        m_scanner.InsertAt(link.m_nAttribEnd, TargetAttribute(link.m_strTarget), false, false);
    }
    if (!link.HasOnMouseOver() && !link.m_strStatusText.empty()) {
        m_scanner.InsertAt(link.m_nAttribEnd, OverAttribute(link.m_strStatusText), false, false);
        status = true;
    }
    if (!link.HasOnMouseOut() && status) {
        m_scanner.InsertAt(link.m_nAttribEnd, OutAttribute(), false, false);
    }
}

int CAffLinkCodeGen::ModifyFile() {
    const std::string path = m_scanner.GetFilePath();
    if (!m_scanner.IsOpen(path)) {
        return 0;
    }
    m_scanner.RevertToLoaded();
    for (const SAffLink& link : m_list.Links()) {
        RewriteLink(link);
    }
    const int saved = m_scanner.SaveFile();
    // Whatever happened, the next run starts again from the page as read.
    m_scanner.RevertToLoaded();
    return saved;
}

bool CAffLinkCodeGen::ModifyFileReported() {
    try {
        const int result = ModifyFile();
        if (result == 1) {
            return true;
        }
        CCommon::ShowErrorMessage(result == 2 ? kPageNotWritten : kFailedOpeningFile);
    } catch (const std::bad_alloc&) {
        CCommon::ShowErrorMessage(kTooLowMemory);
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception& e) {
        CCommon::ShowErrorMessage(std::string(kExceptionOccured) + e.what());
    } catch (...) {
        CCommon::ShowErrorMessage(kUnknownException);
    }
    return false;
}

bool OpenAndScan(CAffLinkScanner& scanner, CAffLinkList& list, const std::string& path) {
    if (path.empty()) {
        CCommon::ShowErrorMessage(kSelectHtmlFile);
        return false;
    }
    bool opened = false;
    try {
        opened = scanner.OpenFile(path);
    } catch (const std::exception&) {
        opened = false;
    } catch (COndException* e) {
        delete e;
        opened = false;
    }
    if (!opened) {
        scanner.Close();
        CCommon::ShowErrorMessage(kFailedOpeningFile);
        return false;
    }
    bool scanned = false;
    try {
        scanned = ScanLinks(scanner, list);
    } catch (COndException* e) {
        e->ReportError();
        delete e;
        return false;
    }
    if (!scanned) {
        CCommon::ShowErrorMessage(kNoLinkScanned);
        return false;
    }
    return true;
}

}  // namespace smallset
