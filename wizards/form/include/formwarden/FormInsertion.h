// The three ways the form wizard puts its code into a page, called back by
// the insertion component. Each returns true when the page was saved; on
// failure no page file is written.
#pragma once

#include <string>

#include "formwarden/FormCodeGen.h"
#include "formwarden/FormPageScanner.h"

namespace formwarden {

// Placement of a designed form in an existing page.
enum EFormPlacement : int {
    kPlaceAfterBodyTag = 1,  // just after the body start tag
    kPlaceAtPlaceholder = 2  // in place of every "_PLACE_THE_FORM_HERE_" (any value but 1)
};

// The script inclusion line for a page and the copied script (string 117
// with the relative path). False, after showing why, when no relative path
// can be formed.
bool BuildScriptInclusion(const std::string& pagePath, const std::string& scriptDestination,
                          std::string& line);

// A form read from a page: the page scanner returns to the text as opened,
// gets the inclusion line between head and body and the validator script
// after the form's end tag (both marked), and saves the page.
bool InsertValidationsIntoPage(CFormPageScanner& pageScanner, CFormCodeGen& generator,
                               const CHtmlForm& form, const std::string& scriptDestination);

// A designed form into a new file: copies the validator script from the
// scripts folder to its destination and writes a whole page around the form.
// A failed copy is reported (message 105) and the page is still written.
bool InsertFormIntoNewFile(CHTMLScanner& scanner, CFormCodeGen& generator,
                           const std::string& htmlPath, const std::string& scriptDestination);

// A designed form into an existing page, after its body tag or at the
// placeholder. The scanner is closed without saving when anything fails.
//
// A page that already holds the form the wizard inserted in an earlier run
// (recognised by the marked validator script right after it, for a form of
// the same name) gets the new form in place of the old one: at the
// placeholder when the page holds one (the old form is then taken out),
// else where the old form stood. Where that cannot be decided safely the
// user is asked before anything is written:
// - the wizard's form in the page has another name: replace it, keep it
//   (it loses its validations, which go with the new form), or cancel;
// - the page holds a form of the new form's name that is not recognised as
//   the wizard's: it is left as it is and the new form added, or cancel.
bool InsertFormIntoExistingFile(CFormPageScanner& scanner, CFormCodeGen& generator,
                                const std::string& htmlPath, const std::string& scriptDestination,
                                int placement);

// What the insertion component's InsertCode callback runs: the operation
// that fits the generator's model (validations only for a form read from a
// page, else a new or an existing file). A designed form uses the
// generator's own scanner. On success the form is marked not modified.
bool InsertFormCode(CFormCodeGen& generator, const std::string& htmlPath,
                    const std::string& scriptDestination, bool createNewFile, int placement);

}  // namespace formwarden
