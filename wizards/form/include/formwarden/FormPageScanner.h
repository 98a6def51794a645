// Reading a form back from an HTML page: the wizard's scanner, which takes
// out the validator code it generated earlier and remembers its calls, reads
// the page's first form with its elements, and attaches the remembered
// validations to them.
#pragma once

#include <string>
#include <vector>

#include "formwarden/FormModel.h"
#include "ondrelo/HTMLScanner.h"

namespace formwarden {

// Signature word of the form wizard's insertion markers.
inline constexpr const char* kFormSignature = "FORM_WIZ";

// One validator call found in an old generated block, as the script holds
// it after its escapes were undone.
struct SFoundCall {
    std::string m_strElement;
    std::string m_strDescriptor;
    std::string m_strMessage;
    bool operator==(const SFoundCall&) const = default;
};

class CFormPageScanner : public CHTMLScanner {
public:
    CFormPageScanner();
    ~CFormPageScanner() override;

    // Forgets the calls found before, then loads the page (which removes the
    // old marked blocks and passes each to ScanOldCode).
    bool OpenFile(const std::string& path) override;
    std::string GetModuleSignature() const override;
    // Remembers every validator call of the block.
    void ScanOldCode(const std::string& block) override;

    // Reads the first form of the working text into the form (name, action,
    // method, page positions) and appends its elements to the list, in page
    // order, with the remembered validations. False for an empty page.
    virtual bool ReadForm(CHtmlForm& form, CFormElementList& elements);

    // Open, clear the elements, read, check the names; failures are shown
    // to the user. On success the form is marked as read from a page.
    bool LoadPage(const std::string& path, CHtmlForm& form);

    const std::vector<SFoundCall>& GetFoundCalls() const { return m_FoundCalls; }

private:
    std::vector<SFoundCall> m_FoundCalls;
};

// The problems of the form's and the elements' names ("" when all are valid).
std::string CheckPageFormNames(const CHtmlForm& form);
// Whether a name read from a page is valid: letters, digits and
// underscores, not empty, not beginning with a digit.
bool IsValidPageName(const std::string& name);

// One validation from a descriptor of a generated call, or false when the
// descriptor is not one of the validator's.
bool DecodeDescriptor(const std::string& descriptor, CValidation& validation);

// Inverse of the generator's escapes of a message: \" gives a double quote,
// \\ a backslash, \n a line feed and \/ a slash; any other backslash stays
// as it is.
std::string UnescapeScriptMessage(const std::string& literal);
// Inverse of the generator's escape of a descriptor: \" gives a double
// quote and \/ a slash; backslash pairs stay as they are (the doubled
// backslashes of an expression or a value are undone by DecodeDescriptor).
std::string UnescapeScriptDescriptor(const std::string& literal);

}  // namespace formwarden
