// Stateless helpers shared by every deliverable: messages, path arithmetic,
// the two file dialogs, script copying, input checks and number formatting.
#pragma once

#include <string>
#include <vector>

#include "ondrelo/Prompt.h"
#include "ondrelo/Window.h"
#include "ondrelo/commoncore_export.h"

// Common's message numbers.
inline constexpr unsigned IDS_FILE_MODIFIED_BY_OTHER = 202;
inline constexpr unsigned IDS_FILE_MODIFIED_OUTSIDE = 203;
inline constexpr unsigned IDS_HTML_NOT_FORMATTED = 204;

class ONDCORE_EXPORT CCommon {
public:
    static void SetMessageTitle(const std::string& title);
    static const std::string& GetMessageTitle();

    // Modal message box with the caption "Ondrelo"; returns the button pressed.
    static int ShowMessageBox(const std::string& text, HWND owner = nullptr,
                              unsigned style = MB_OK);
    static int ShowMessageBox(unsigned textId, HWND owner = nullptr, unsigned style = MB_OK);
    // Message box with the error icon and an OK button.
    static void ShowErrorMessage(const std::string& text);
    static void ShowErrorMessage(unsigned textId);

    // "C:\site\pages\index.html" -> "C:", "\site\pages\", "index", ".html".
    // Both separators are accepted; a drive is a letter and a colon.
    static void SplitPath(const std::string& path, std::string& drive, std::string& dir,
                          std::string& name, std::string& ext);
    // Appends every maximal run of characters outside the delimiter set.
    static void Tokenise(const std::string& text, const std::string& delimiters,
                         std::vector<std::string>& tokens);
    // The relative reference (forward slashes) from the folder of the page
    // `from` to the file `to`. On failure result holds the error text.
    static bool FindRelativePath(const std::string& from, const std::string& to,
                                 std::string& result);

    // Remembers the destination's folder as the last script folder, then
    // copies the file byte for byte, replacing the destination atomically.
    static bool CopyScriptFile(const std::string& source, const std::string& destination);
    // Save-as dialog for the script file's destination.
    // startFolder, when given, is where the dialog opens (the folder of a
    // destination already chosen); otherwise the last script folder.
    static bool ShowCopyJSFile(const std::string& fileName, std::string& chosenPath,
                               const std::string& startFolder = {});
    // Open dialog for an HTML file; the field (if any) shows the chosen path.
    static bool ShowOpenHtmlFile(std::string& path, ondrelo::ITextField* field = nullptr);

    // Whole-text match of a regular expression (case-sensitive). A pattern
    // that does not compile raises boost::regex_error.
    static bool RexExpMatch(const std::string& pattern, const std::string& text);
    // Shortest plain decimal text of a number for generated code.
    static std::string NormalizeFloat(double value);

    static const char* const kProductName;  // "Ondrelo": caption of Common's message boxes

private:
    static std::string m_strMessageTitle;
};
