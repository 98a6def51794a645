#include "ondrelo/CodeGen.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <utility>

#include "ondrelo/Common.h"
#include "ondrelo/HTMLScanner.h"

const char* const pszMasterScriptFileName = "gen_validatorv3.js";

CCodeGen::CCodeGen() = default;
CCodeGen::CCodeGen(const CCodeGen&) = default;
CCodeGen& CCodeGen::operator=(const CCodeGen&) = default;
CCodeGen::~CCodeGen() = default;

namespace {
std::mutex g_randomMutex;
std::vector<int> g_fixedNumbers;
std::size_t g_nextFixed = 0;
}  // namespace

int CCodeGen::DrawRandomNumber() {
    {
        std::lock_guard<std::mutex> lock(g_randomMutex);
        if (!g_fixedNumbers.empty()) {
            const int number = g_fixedNumbers[g_nextFixed];
            if (g_nextFixed + 1 < g_fixedNumbers.size()) {
                ++g_nextFixed;
            }
            return number;
        }
    }
    return std::rand() % 32768;
}

void CCodeGen::SeedRandomNumbers() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

void CCodeGen::SetFixedRandomNumbers(std::vector<int> numbers) {
    std::lock_guard<std::mutex> lock(g_randomMutex);
    g_fixedNumbers = std::move(numbers);
    g_nextFixed = 0;
}

std::string CCodeGen::GetStartOfScript() const {
    return "<SCRIPT LANGUAGE=\"JavaScript\">" + m_strLineBreak;
}

std::string CCodeGen::GetEndOfScript() const {
    return m_strLineBreak + "</SCRIPT>";
}

std::string CCodeGen::GetOndHtmlCommentStartPart() const {
    return "\r\n<!--- Code Added by Ondrelo(Start) -->\r\n";
}

std::string CCodeGen::GetOndHtmlCommentEndPart() const {
    return "\r\n<!--- Code Added by Ondrelo(End) -->\r\n";
}

void CCodeGen::AddWarning(const std::string& text) {
    m_strWarnings += text;
    m_strWarnings += m_strLineBreak;
}

std::string CCodeGen::GenerateScriptInclusion(const std::string& pagePath,
                                              const std::string& scriptPath,
                                              const std::string& scriptName) {
    std::string reference = scriptName;
    if (!scriptPath.empty()) {
        std::string relative;
        if (CCommon::FindRelativePath(pagePath, scriptPath, relative)) {
            reference = relative;
        } else {
            // The line is produced anyway, with the bare name.
            CCommon::ShowErrorMessage(relative);
        }
    }
    return "<SCRIPT src='" + reference + "' language='JavaScript'></SCRIPT>";
}

int CCodeGen::GetCode(std::string& text1, std::string& text2, std::string& text3,
                      std::string& warnings) {
    int result = 1;
    if (m_bModified) {
        result = GenerateCode();
        if (result != 0) {
            m_bModified = false;
        }
    }
    warnings = m_strWarnings;
    text1 = m_strCode1;
    text2 = m_strCode2;
    text3 = m_strCode3;
    return result;
}

std::string CCodeGen::GetHtmlHeadPart(const std::string& title) {
    // The title goes in as it is, so "%" and "<" need no care here.
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n\n<html>\n<head>\n"
           "\t<title>" +
           title + "</title>\n</head>\n\n";
}

std::string CCodeGen::GetHtmlBottomPart() {
    return "</body>\n</html>";
}

namespace ondrelo {

void CreateNewHtmlPage(CHTMLScanner& scanner, const std::string& path, const std::string& title) {
    scanner.CreateFileA(path);
    scanner.Append(CCodeGen::GetHtmlHeadPart(title), false);
    scanner.Append("<body>\r\n", false);
    scanner.Append(CCodeGen::GetHtmlBottomPart(), false);
    scanner.SaveFile();
    scanner.Close();
}

}  // namespace ondrelo
