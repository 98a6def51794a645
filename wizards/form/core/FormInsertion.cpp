#include "formwarden/FormInsertion.h"

#include <cctype>

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
    if (html) {
        *html = generator.GenerateFormHTML();
    }
    script = generator.GenerateValidatorScript();
    generator.ClearWarnings();
    for (std::size_t start = 0; start < shown.size();) {
        std::size_t end = shown.find("\r\n", start);
        if (end == std::string::npos) {
            end = shown.size();
        }
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
            !BuildScriptInclusion(pageScanner.GetFilePath(), scriptDestination, line)) {
            return false;
        }
        std::string script;
        GeneratePieces(generator, nullptr, script);
        // The script goes in first, at the form's end as found in the text as
        // opened; the inclusion line then finds its place in the changed text.
        pageScanner.InsertAt(form.m_nFormEndOffset, script, true, true);
        if (!pageScanner.InsertScriptInclusion(line)) {
            return false;
        }
        return pageScanner.SaveFile() == 1;
    });
    // A failed insertion leaves the scanner as opened for the next try.
    if (!done) {
        pageScanner.Revert();
    }
    return done;
}

bool InsertFormIntoNewFile(CHTMLScanner& scanner, CFormCodeGen& generator,
                           const std::string& htmlPath, const std::string& scriptDestination) {
    if (!generator.GetForm()) {
        return false;
    }
    const bool done = Guarded([&] {
        std::string line;
        if (!BuildScriptInclusion(htmlPath, scriptDestination, line)) {
            return false;
        }
        std::string html;
        std::string script;
        GeneratePieces(generator, &html, script);
        if (!scriptDestination.empty() &&
            !CCommon::CopyScriptFile(
                COndRegistryHandler::GetScriptsPath() + "/" + kValidatorScriptFileName,
                scriptDestination)) {
            // As with the insertion component's own copy, the page is still
            // written (it works once the script is put there), but the user
            // hears that the script is missing.
            FormErrorMessage(text::ReplaceAll(FormString(IDS_COPY_FAILED), "%s",
                                              scriptDestination));
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

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The name a form goes by in the validator call.
std::string ScriptName(const std::string& name) {
    return text::RemoveChars(name, " -\"'");
}

const char* PlacementText(int placement) {
    return placement == kPlaceAfterBodyTag ? "just after the body tag"
                                           : "in place of _PLACE_THE_FORM_HERE_";
}

// Which earlier forms of the page the new one replaces. False when the user
// cancelled.
bool ChooseFormsToReplace(CFormPageScanner& scanner, const std::string& newName, int placement,
                          std::vector<SInsertedForm>& replaced) {
    replaced.clear();
    std::vector<SInsertedForm> renamed;
    for (const SInsertedForm& old : scanner.GetInsertedForms()) {
        if (ScriptName(old.m_strName) == ScriptName(newName)) {
            replaced.push_back(old);
        } else {
            renamed.push_back(old);
        }
    }
    if (!renamed.empty()) {
        const int answer = FormMessageBox(
            text::Format(
                "This page already holds the form '%s' that this wizard inserted earlier. Its "
                "validations are taken out of the page when the form '%s' is inserted.\n\n"
                "Yes: replace the form '%s' with the new form.\n"
                "No: keep the form '%s' without validations and add the new form %s.\n"
                "Cancel: leave the page as it is.",
                renamed.front().m_strName.c_str(), newName.c_str(),
                renamed.front().m_strName.c_str(), renamed.front().m_strName.c_str(),
                PlacementText(placement)),
            MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDCANCEL) {
            return false;
        }
        if (answer == IDYES) {
            replaced.insert(replaced.end(), renamed.begin(), renamed.end());
        }
    }
    if (!replaced.empty()) {
        return true;
    }
    for (const SPageForm& form : scanner.FindForms()) {
        bool recognised = false;
        for (const SInsertedForm& old : scanner.GetInsertedForms()) {
            recognised = recognised || (old.m_nEnd >= form.m_nEnd && old.m_nStart <= form.m_nStart);
        }
        if (recognised || !SameNameNoCase(ScriptName(form.m_strName), ScriptName(newName))) {
            continue;
        }
        const int answer = FormMessageBox(
            text::Format("This page already holds a form named '%s' that this wizard does not "
                         "recognise as the one it inserted. That form stays as it is, without "
                         "validations from this wizard, and the new form is added %s.",
                         form.m_strName.c_str(), PlacementText(placement)),
            MB_OKCANCEL | MB_ICONWARNING);
        return answer == IDOK;
    }
    return true;
}

}  // namespace

bool InsertFormIntoExistingFile(CFormPageScanner& scanner, CFormCodeGen& generator,
                                const std::string& htmlPath, const std::string& scriptDestination,
                                int placement) {
    if (!generator.GetForm()) {
        return false;
    }
    const bool done = Guarded([&] {
        if (scanner.IsOpen(htmlPath)) {
            scanner.Revert();
        } else if (!scanner.OpenFile(htmlPath)) {
            return false;
        }
        std::vector<SInsertedForm> replaced;
        if (!ChooseFormsToReplace(scanner, generator.GetForm()->m_strName, placement, replaced)) {
            return false;
        }
        std::string line;
        if (!BuildScriptInclusion(htmlPath, scriptDestination, line)) {
            return false;
        }
        std::string html;
        std::string script;
        GeneratePieces(generator, &html, script);
        int added = 0;
        scanner.InsertSignature(script, added);
        const std::string code = html + script;
        // Earlier forms go first, while their offsets in the text as opened
        // still hold: from the last one back, each replaced by the new form,
        // or taken out when the new form goes to the placeholder.
        const bool toPlaceholder = placement != kPlaceAfterBodyTag &&
                                   scanner.GetText().find(kFormPlaceholder) != std::string::npos;
        for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
            std::uint32_t end = it->m_nEnd;
            if (toPlaceholder) {
                // The line end after the old form goes with it.
                const std::string& text = scanner.GetText();
                if (end < text.size() && text[end] == '\r') {
                    ++end;
                }
                if (end < text.size() && text[end] == '\n') {
                    ++end;
                }
            }
            scanner.ReplaceRange(it->m_nStart, end, toPlaceholder ? std::string() : code);
        }
        if (!scanner.InsertScriptInclusion(line)) {
            return false;
        }
        if (!replaced.empty() && !toPlaceholder) {
            return scanner.SaveFile() == 1;
        }
        // A page the code cannot go into after its body tag raises the
        // scanner's error, which says why; a missing placeholder is told here.
        if (placement == kPlaceAfterBodyTag) {
            if (!scanner.InsertAfterBodyTag(code)) {
                return false;
            }
        } else if (!scanner.ReplaceStringWithCode(kFormPlaceholder, code, false)) {
            FormErrorMessage(FormString(IDS_REPLACE_FAILED));
            return false;
        }
        return scanner.SaveFile() == 1;
    });
    if (!done) {
        scanner.Close();
    }
    return done;
}

bool InsertFormCode(CFormCodeGen& generator, const std::string& htmlPath,
                    const std::string& scriptDestination, bool createNewFile, int placement) {
    CHtmlForm* form = generator.GetForm();
    if (!form) {
        return false;
    }
    bool done = false;
    if (CFormPageScanner* page = generator.GetPageScanner()) {
        done = InsertValidationsIntoPage(*page, generator, *form, scriptDestination);
    } else if (createNewFile) {
        done = InsertFormIntoNewFile(generator.GetOwnScanner(), generator, htmlPath,
                                     scriptDestination);
    } else {
        done = InsertFormIntoExistingFile(generator.GetOwnScanner(), generator, htmlPath,
                                          scriptDestination, placement);
    }
    // What is in the page now matches the form: restarting loses nothing.
    if (done) {
        form->m_bModified = false;
    }
    return done;
}

}  // namespace formwarden
