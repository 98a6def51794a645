// Fuzz target: the form wizard's page reader on a page loaded from bytes: it
// takes out the old generated blocks (remembering their validator calls and
// the forms inserted with them), reads the first form with its elements and
// validations, and lists the page's forms.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formwarden/FormPageScanner.h"
#include "ondrelo/OndException.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    formwarden::CFormPageScanner scanner;
    formwarden::CHtmlForm form;
    try {
        // What OpenFile does once it has read the file.
        scanner.SetContent(page);
        scanner.RemoveOldCode();
        const std::string& text = scanner.GetText();
        for (const auto& inserted : scanner.GetInsertedForms()) {
            if (inserted.m_nStart > inserted.m_nEnd || inserted.m_nEnd > text.size()) {
                __builtin_trap();
            }
        }
        if (scanner.ReadForm(form, form.m_Elements)) {
            (void)formwarden::CheckPageFormNames(form);
        }
        for (const auto& found : scanner.FindForms()) {
            if (found.m_nStart > found.m_nEnd || found.m_nEnd > text.size()) {
                __builtin_trap();
            }
            (void)formwarden::IsValidPageName(found.m_strName);
        }
    } catch (COndException* e) {
        // Pages too large or too tangled for the expression engine.
        const bool scannerError = e->GetErrorCode() == 1003u;
        delete e;
        if (!scannerError) {
            __builtin_trap();
        }
    }
    return 0;
}
