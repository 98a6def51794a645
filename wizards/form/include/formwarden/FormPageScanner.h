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

// A form this wizard put into the page in an earlier run: the form's HTML
// directly followed by the wizard's marked validator script for a form of
// that name. Offsets are in the text as opened (old blocks removed).
struct SInsertedForm {
    std::string m_strName;       // the form's name attribute
    std::uint32_t m_nStart = 0;  // the "<CENTER>" just before the form tag, else the tag
    std::uint32_t m_nEnd = 0;    // just after the "</CENTER>" after the end tag, else the end tag
    bool operator==(const SInsertedForm&) const = default;
};

// A form of the page: its name and where it stands in the working text.
struct SPageForm {
    std::string m_strName;
    std::uint32_t m_nStart = 0;
    std::uint32_t m_nEnd = 0;
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
    // Notes the forms the wizard inserted before the blocks are removed.
    void RemoveOldCode() override;

    // Reads the first form of the working text into the form (name, action,
    // method, page positions) and appends its elements to the list, in page
    // order, with the remembered validations. False for an empty page.
    virtual bool ReadForm(CHtmlForm& form, CFormElementList& elements);

    // Open, clear the elements, read, check the names; failures are shown
    // to the user. On success the form is marked as read from a page, and
    // numbers beyond the element editor's limits are brought into range
    // and reported.
    bool LoadPage(const std::string& path, CHtmlForm& form);

    const std::vector<SFoundCall>& GetFoundCalls() const { return m_FoundCalls; }
    // The forms of the page as opened that this wizard inserted, in page order.
    const std::vector<SInsertedForm>& GetInsertedForms() const { return m_InsertedForms; }
    // Every form of the working text, in page order.
    std::vector<SPageForm> FindForms();
    // Replaces the characters from start to end of the working text.
    void ReplaceRange(std::uint32_t start, std::uint32_t end, const std::string& code);

private:
    std::vector<SFoundCall> m_FoundCalls;
    std::vector<SInsertedForm> m_InsertedForms;
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
