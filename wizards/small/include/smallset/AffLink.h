// The link editor: the links of an existing page with their status-bar
// texts and target windows, read from the page and written back into the
// links' opening tags in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ondrelo/CodeGen.h"
#include "ondrelo/HTMLScanner.h"
#include "smallset/SmallsetText.h"

namespace smallset {

inline constexpr const char* kAffLinkMessageTitle = "Rarededeva Razo Revizav";
inline constexpr const char* kSelectHtmlFile = "Please select the HTML file contaning the Links";
inline constexpr const char* kFailedOpeningFile = "Failed opening the file";
inline constexpr const char* kNoLinkScanned = "Could not scan any link from the file!";
inline constexpr const char* kTooLowMemory = "Too Low memory";
inline constexpr const char* kExceptionOccured = "Exception Occured:";
inline constexpr const char* kUnknownException = "Unknown Exception caught";

// One link of the page. Positions are offsets into the page as read.
struct SAffLink {
    std::string m_strHref;
    std::string m_strTarget;
    std::string m_strStatusText;
    std::string m_strLabel;
    std::string m_strOnMouseOver;
    std::string m_strOnMouseOut;
    std::uint32_t m_nAttribStart = 0;
    std::uint32_t m_nAttribEnd = 0;  // the ">" of the opening tag: new attributes go here
    std::uint32_t m_nTargetStart = 0, m_nTargetEnd = 0;
    std::uint32_t m_nOverStart = 0, m_nOverEnd = 0;
    std::uint32_t m_nOutStart = 0, m_nOutEnd = 0;

    bool HasTarget() const { return m_nTargetStart != 0 || m_nTargetEnd != 0; }
    bool HasOnMouseOver() const { return m_nOverStart != 0 || m_nOverEnd != 0; }
    bool HasOnMouseOut() const { return m_nOutStart != 0 || m_nOutEnd != 0; }
};

class CAffLinkList {
public:
    std::vector<SAffLink>& Links() { return m_links; }
    const std::vector<SAffLink>& Links() const { return m_links; }
    int GetCount() const { return static_cast<int>(m_links.size()); }
    // Set after a successful scan; the link page clears it once it has
    // refilled its table.
    bool IsChanged() const { return m_bChanged; }
    void SetChanged(bool changed) { m_bChanged = changed; }

private:
    std::vector<SAffLink> m_links;
    bool m_bChanged = false;
};

// The editor's scanner keeps the default signature: loading drops no block
// of any wizard.
class CAffLinkScanner : public CHTMLScanner {
public:
    // Back to the page as read, with no edits pending against it (a save the
    // user declined leaves the running offset of its edits behind).
    void RevertToLoaded() {
        Revert();
        m_nInsertionOffset = 0;
    }
};

// The status-bar text that an onmouseover handler sets, as the user typed
// it: character references and string escapes are resolved. Empty when the
// handler sets no status text.
std::string StatusTextFromHandler(CHTMLScanner& scanner, const std::string& handler);

// Fills the list with every link of the scanner's text, in page order.
// False (list untouched) for an empty text; false also when no link was
// found. Sets the list's changed flag on success.
bool ScanLinks(CHTMLScanner& scanner, CAffLinkList& list);

// The attribute texts written into a link.
std::string TargetAttribute(const std::string& target);
std::string OverAttribute(const std::string& statusText);
std::string OutAttribute();

class CAffLinkCodeGen : public CCodeGen {
public:
    CAffLinkCodeGen(CAffLinkList& list, CAffLinkScanner& scanner);
    int GenerateCode() override { return 1; }
    // Rewrites every link of the list into the page as read and saves it:
    // 1 when written, 2 when the user declined to overwrite a page changed
    // on disk (nothing written), 0 when the page is not open. File and
    // other errors pass to the caller.
    virtual int ModifyFile();
    // ModifyFile with every failure shown in a message; true when written.
    bool ModifyFileReported();

private:
    void RewriteLink(const SAffLink& link);

    CAffLinkList& m_list;
    CAffLinkScanner& m_scanner;
};

// Opens the page in the scanner and scans it, showing the file page's
// messages on failure: true when the page has links.
bool OpenAndScan(CAffLinkScanner& scanner, CAffLinkList& list, const std::string& path);

}  // namespace smallset
