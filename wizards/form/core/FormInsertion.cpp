#include "formwarden/FormInsertion.h"

#include "Text.h"
#include "formwarden/FormResources.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"

namespace formwarden {

namespace {

// The form HTML and the validator script, made without adding to the
// warnings that the last page already showed.
void GeneratePieces(CFormCodeGen& generator, std::string* html, std::string& script) {
    const std::string shown = generator.GetWarnings();
    if (html)
        *html = generator.GenerateFormHTML();
    script = generator.GenerateValidatorScript();
    generator.ClearWarnings();
    for (std::size_t start = 0; start < shown.size();) {
        std::size_t end = shown.find("\r\n", start);
        if (end == std::string::npos)
            end = shown.size();
        generator.AddWarning(shown.substr(start, end - start));
        start = end + 2;
    }
}

// Runs an insertion step; what it raises is reported and counts as failure.
template <class Operation>
bool Guarded(Operation operation) {
    try {
        return operation();
    } catch (const ondrelo::CFileException& e) {
        FormErrorMessage(std::string("Exception Occured:") + e.what());
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception& e) {
        // Anything else (an allocation, a page the expression engine gives
        // up on) fails the insertion instead of escaping into the caller.
        FormErrorMessage(std::string("Exception Occured:") + e.what());
    }
    return false;
}

}  // namespace

bool BuildScriptInclusion(const std::string& pagePath, const std::string& scriptDestination,
                          std::string& line) {
    std::string reference = kValidatorScriptFileName;
    if (!scriptDestination.empty() &&
        !CCommon::FindRelativePath(pagePath, scriptDestination, reference)) {
        FormErrorMessage(reference);
        return false;
    }
    line = text::ReplaceAll(FormString(IDS_SCRIPT_INCLUSION), "%s", reference);
    return true;
}

bool InsertValidationsIntoPage(CFormPageScanner& pageScanner, CFormCodeGen& generator,
                               const CHtmlForm& form, const std::string& scriptDestination) {
    pageScanner.Revert();
    const bool done = Guarded([&] {
        std::string line;
        if (pageScanner.GetText().empty() || form.m_nFormEndOffset == 0 ||
            !BuildScriptInclusion(pageScanner.GetFilePath(), scriptDestination, line))
            return false;
        std::string script;
        GeneratePieces(generator, nullptr, script);
        // The script goes in first, at the form's end as found in the text as
        // opened; the inclusion line then finds its place in the changed text.
        pageScanner.InsertAt(form.m_nFormEndOffset, script, true, true);
        if (!pageScanner.InsertScriptInclusion(line))
            return false;
        return pageScanner.SaveFile() == 1;
    });
    // A failed insertion leaves the scanner as opened for the next try.
    if (!done)
        pageScanner.Revert();
    return done;
}

bool InsertFormIntoNewFile(CHTMLScanner& scanner, CFormCodeGen& generator,
                           const std::string& htmlPath, const std::string& scriptDestination) {
    if (!generator.GetForm())
        return false;
    const bool done = Guarded([&] {
        std::string line;
        if (!BuildScriptInclusion(htmlPath, scriptDestination, line))
            return false;
        std::string html;
        std::string script;
        GeneratePieces(generator, &html, script);
        if (!scriptDestination.empty()) {
            // As with the insertion component's own copy, a failed copy does
            // not stop the page from being written.
            CCommon::CopyScriptFile(
                COndRegistryHandler::GetScriptsPath() + "/" + kValidatorScriptFileName,
                scriptDestination);
        }
        scanner.CreateFileA(htmlPath);
        scanner.Append(CCodeGen::GetHtmlHeadPart("HTML Form:" + generator.GetForm()->m_strName),
                       false);
        scanner.Append(line, true);
        scanner.Append("<body>\r\n", false);
        scanner.Append(html, false);
        scanner.Append(script, true);
        scanner.Append(CCodeGen::GetHtmlBottomPart(), false);
        return scanner.SaveFile() == 1;
    });
    scanner.Close();
    return done;
}

bool InsertFormIntoExistingFile(CHTMLScanner& scanner, CFormCodeGen& generator,
                                const std::string& htmlPath, const std::string& scriptDestination,
                                int placement) {
    if (!generator.GetForm())
        return false;
    const bool done = Guarded([&] {
        if (scanner.IsOpen(htmlPath))
            scanner.Revert();
        else if (!scanner.OpenFile(htmlPath))
            return false;
        std::string line;
        if (!BuildScriptInclusion(htmlPath, scriptDestination, line))
            return false;
        if (!scanner.InsertScriptInclusion(line))
            return false;
        std::string html;
        std::string script;
        GeneratePieces(generator, &html, script);
        int added = 0;
        scanner.InsertSignature(script, added);
        const std::string code = html + script;
        // A page the code cannot go into after its body tag raises the
        // scanner's error, which says why; a missing placeholder is told here.
        if (placement == kPlaceAfterBodyTag) {
            scanner.InsertAfterBodyTag(code);
        } else if (!scanner.ReplaceStringWithCode(kFormPlaceholder, code, false)) {
            FormErrorMessage(FormString(IDS_REPLACE_FAILED));
            return false;
        }
        return scanner.SaveFile() == 1;
    });
    if (!done)
        scanner.Close();
    return done;
}

bool InsertFormCode(CFormCodeGen& generator, const std::string& htmlPath,
                    const std::string& scriptDestination, bool createNewFile, int placement) {
    CHtmlForm* form = generator.GetForm();
    if (!form)
        return false;
    if (CFormPageScanner* page = generator.GetPageScanner())
        return InsertValidationsIntoPage(*page, generator, *form, scriptDestination);
    if (createNewFile)
        return InsertFormIntoNewFile(generator.GetOwnScanner(), generator, htmlPath,
                                     scriptDestination);
    return InsertFormIntoExistingFile(generator.GetOwnScanner(), generator, htmlPath,
                                      scriptDestination, placement);
}

}  // namespace formwarden
