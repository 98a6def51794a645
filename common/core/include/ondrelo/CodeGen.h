// Base of every wizard's code generator: three code texts and the warnings,
// regenerated when the wizard's data changed, and the HTML and script pieces
// that all wizards share.
#pragma once

#include <string>
#include <vector>

#include "ondrelo/commoncore_export.h"

// File name of the form wizard's validator script.
ONDCORE_EXPORT extern const char* const pszMasterScriptFileName;

class ONDCORE_EXPORT CCodeGen {
public:
    CCodeGen();
    CCodeGen(const CCodeGen&);
    CCodeGen& operator=(const CCodeGen&);

    virtual std::string GetStartOfScript() const;
    virtual std::string GetEndOfScript() const;
    virtual std::string GetOndHtmlCommentStartPart() const;
    virtual std::string GetOndHtmlCommentEndPart() const;
    virtual void AddWarning(const std::string& text);
    // Fills the code texts and the warnings; non-zero means success.
    virtual int GenerateCode() = 0;
    virtual std::string GenerateScriptInclusion(const std::string& pagePath,
                                                const std::string& scriptPath,
                                                const std::string& scriptName);
    virtual ~CCodeGen();
    virtual int GetCode(std::string& text1, std::string& text2, std::string& text3,
                        std::string& warnings);

    void SetModified(bool modified) { m_bModified = modified; }
    bool IsModified() const { return m_bModified; }

    // Seeds the pseudo-random numbers that name a generator's page objects
    // with the current time in seconds; a generation seeds once, then draws.
    static void SeedRandomNumbers();
    // Draws the next pseudo-random number (0 to 32767), or, when fixed
    // numbers were set, the next of them (the last one repeats).
    static int DrawRandomNumber();
    // Fixes the numbers that DrawRandomNumber hands out, in order, for
    // reproducible output; an empty list goes back to the time-seeded draw.
    static void SetFixedRandomNumbers(std::vector<int> numbers);

    static std::string GetHtmlHeadPart(const std::string& title);
    static std::string GetHtmlBottomPart();

protected:
    std::string m_strLineBreak = "\r\n";
    std::string m_strQuote = "\"";
    std::string m_strClosingLine = "\r\n}";
    bool m_bModified = false;
    std::string m_strWarnings;
    std::string m_strCode1;
    std::string m_strCode2;
    std::string m_strCode3;
};

class CHTMLScanner;

namespace ondrelo {
// Builds a new HTML page on disk with the given title: head part, "<body>"
// and a line break, bottom part; saved, then the scanner is closed.
ONDCORE_EXPORT void CreateNewHtmlPage(CHTMLScanner& scanner, const std::string& path,
                                      const std::string& title);
}  // namespace ondrelo
