// The drop-down link list: its entries, the generated form and script that
// call the shipped "dlink.js", and the insertion of that code into a page.
#pragma once

#include <string>
#include <vector>

#include "ondrelo/CodeGen.h"
#include "ondrelo/HTMLScanner.h"
#include "smallset/SmallsetText.h"

namespace smallset {

inline constexpr const char* kDLinkScriptName = "dlink.js";
inline constexpr const char* kDLinkPlaceholder = "_PLACE_DIRECT_LINK_COMBO_HERE_";
inline constexpr const char* kDLinkObjectName = "DirectLink Combo";
inline constexpr const char* kDLinkPageTitle = "Rorida Ziro Zover";
inline constexpr const char* kDLinkMessageTitle = "Rorida Ziro Zover Wizard";

inline constexpr const char* kFailedOpeningHtml = "Failed opening the Html file";
inline constexpr const char* kFailedAfterBody = "Failed inserting the code after <body> tag.";
inline constexpr const char* kReplaceCodeMissing = "Could not find the Replace code in the file";

// One entry of the list.
struct SDLink {
    std::string m_strLabel;
    std::string m_strTarget;  // "_blank", "_self", "_parent", "_top", a frame name, or empty
    std::string m_strLink;    // may be empty (the prompt row)
};

class CDLinkList {
public:
    // Appends an entry; returns its index (the option value in the code).
    int Add(const std::string& label, const std::string& link, const std::string& target);
    void RemoveAll() { m_links.clear(); }
    int GetCount() const { return static_cast<int>(m_links.size()); }
    const SDLink& Get(int index) const { return m_links.at(static_cast<std::size_t>(index)); }
    const std::vector<SDLink>& Links() const { return m_links; }

private:
    std::vector<SDLink> m_links;
};

class CDLinkScanner : public CHTMLScanner {
public:
    std::string GetModuleSignature() const override { return "_DIRECT_LINK_WIZ_"; }
    // Back to the page as read, with no edits pending against it.
    void RevertToLoaded() {
        Revert();
        m_nInsertionOffset = 0;
    }
};

// Code text 1 is the form and its script, code text 2 the inclusion line.
class CDLinkCodeGen : public CCodeGen {
public:
    explicit CDLinkCodeGen(const CDLinkList& list);
    ~CDLinkCodeGen() override;

    // Rebuilds the inclusion line (script name alone) and the code; always 1.
    int GenerateCode() override;
    // Puts the code into the page: a new page is written first when asked
    // (and the code then goes after its body tag). 1 when the page was
    // written, 0 when nothing was (after a message saying why).
    int Insert(const std::string& pagePath, const std::string& scriptPath, bool createNew,
               bool afterBody);

    const std::string& GetPagePath() const { return m_strPagePath; }
    CDLinkScanner& GetScanner() { return m_scanner; }

private:
    void BuildCode();

    const CDLinkList& m_list;
    std::string m_strPagePath;
    CDLinkScanner m_scanner;
};

}  // namespace smallset
