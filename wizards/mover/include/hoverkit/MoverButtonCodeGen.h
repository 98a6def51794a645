// The button's code: the link with its image, the script that makes the
// button object, the inclusion line of the runtime script, and their
// insertion into a page.
#pragma once

#include <memory>
#include <string>

#include "hoverkit/MoverButtonInfo.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/HTMLScanner.h"

// The scanner of this wizard: its markers carry the signature "M_OVER_WIZ".
class CMoverButtonScanner : public CHTMLScanner {
public:
    std::string GetModuleSignature() const override;
};

class CMoverButtonCodeGen : public CCodeGen {
public:
    CMoverButtonCodeGen();
    ~CMoverButtonCodeGen() override;
    CMoverButtonCodeGen(const CMoverButtonCodeGen&) = delete;
    CMoverButtonCodeGen& operator=(const CMoverButtonCodeGen&) = delete;

    void SetButtonInfo(CMoverButtonInfo* info) { m_pInfo = info; }
    CMoverButtonInfo* GetButtonInfo() const { return m_pInfo; }

    // Builds the inclusion line and the button code when the record changed
    // since the last generation; always succeeds.
    int GenerateCode() override;
    // Marks the generator modified when the attached record changed.
    void UpdateModified();
    // Puts the code into the page (a new one when createNew is set): the
    // inclusion line between head and body, the button after the body tag
    // or at every "_PLACE_MOVER_BUTTON_HERE_". 1 when the page was saved.
    int Insert(const std::string& scriptPath, const std::string& pagePath, bool createNew,
               bool afterBody);
    // Closes the scanner and forgets the page.
    void Reset();

    const std::string& GetPagePath() const { return m_strPagePath; }
    // The page the code is meant for before any insertion (code shown for a
    // known page names its files relative to it).
    void SetPagePath(const std::string& path) { m_strPagePath = path; }
    const std::string& GetButtonCode() const { return m_strCode1; }
    const std::string& GetInclusionLine() const { return m_strCode2; }
    const std::string& GetWarnings() const { return m_strWarnings; }
    CMoverButtonScanner& GetScanner() { return *m_pScanner; }

private:
    void BuildInclusionLine(const std::string& scriptPath);
    void BuildButtonCode();
    int InsertSteps(const std::string& scriptPath, const std::string& pagePath, bool createNew,
                    bool afterBody);

    CMoverButtonInfo* m_pInfo = nullptr;
    std::string m_strPagePath;
    std::unique_ptr<CMoverButtonScanner> m_pScanner;
};

namespace hoverkit {

// A text made safe for a single-quoted HTML attribute: every "'" becomes
// "&#39;"; nothing else changes, so entities the author typed stay as typed.
std::string EscapeAttribute(const std::string& text);
// A text made safe for a double-quoted script string inside a script block:
// backslash, double quote and line breaks are escaped, and "</" becomes "<\/"
// so that no "</script" can end the block.
std::string EscapeScriptString(const std::string& text);

// Writes a new page for the button (title "Mouse Over Button").
void CreateButtonPage(const std::string& path);

}  // namespace hoverkit
