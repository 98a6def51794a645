// The form wizard's code generator: the script inclusion line, the form's
// HTML followed by the validator script, the instruction line and the
// warnings.
#pragma once

#include <memory>
#include <string>

#include "formwarden/FormModel.h"
#include "formwarden/FormPageScanner.h"
#include "ondrelo/CodeGen.h"

namespace formwarden {

// File name of the validator runtime the generated script relies on.
inline constexpr const char* kValidatorScriptFileName = "gen_validatorv3.js";
// Text a user pastes into a page to mark where the form goes.
inline constexpr const char* kFormPlaceholder = "_PLACE_THE_FORM_HERE_";

class CFormCodeGen : public CCodeGen {
public:
    CFormCodeGen();
    ~CFormCodeGen() override;
    CFormCodeGen(const CFormCodeGen&) = delete;
    CFormCodeGen& operator=(const CFormCodeGen&) = delete;

    // Takes the model (not owned) and marks the generator modified. With a
    // page scanner the form was read from a page: only its validations are
    // generated.
    void SetModel(CHtmlForm* form, CFormElementList* elements, CFormPageScanner* pageScanner);
    CHtmlForm* GetForm() const { return m_pForm; }
    CFormPageScanner* GetPageScanner() const { return m_pPageScanner; }
    bool IsValidationsOnly() const { return m_pPageScanner != nullptr; }
    // A scanner owned by the generator, for inserting into a file.
    CFormPageScanner& GetOwnScanner() { return *m_pOwnScanner; }

    // Code 1: the inclusion line; code 2: line break, the form HTML (unless
    // validations only) and the validator script; code 3: the instruction.
    // Always succeeds; problems become warnings.
    int GenerateCode() override;

    // The form's HTML alone (warnings for an empty action and empty captions).
    std::string GenerateFormHTML();
    // The validator script block. Cleans the form's name of spaces, "-",
    // quotes and apostrophes (the form keeps the cleaned name).
    std::string GenerateValidatorScript();
    // "<FORM name='...' action='...' method='GET|POST'>"
    static std::string FormatFormTag(const std::string& name, const std::string& action,
                                     int method);

    const std::string& GetWarnings() const { return m_strWarnings; }
    void ClearWarnings() { m_strWarnings.clear(); }

private:
    CHtmlForm* m_pForm = nullptr;
    CFormElementList* m_pElements = nullptr;
    CFormPageScanner* m_pPageScanner = nullptr;
    std::unique_ptr<CFormPageScanner> m_pOwnScanner;
};

// The descriptor of a validation on an element of the given type ("req",
// "regexp=^\\d+$", "dontselect=2", ...); empty for an unknown kind.
std::string ValidationDescriptor(const CValidation& validation, int elementType);
// A message as a JavaScript string body: backslash, double quote and line
// feed escaped, carriage returns dropped, and "</" written as "<\/" so that
// the text cannot end the script block.
std::string EscapeScriptMessage(const std::string& message);
// A descriptor as a JavaScript string body: double quotes escaped and "</"
// written as "<\/" (backslashes were already doubled where a descriptor
// carries typed text).
std::string EscapeScriptDescriptor(const std::string& descriptor);
// A value for an attribute written between apostrophes: each apostrophe
// becomes "&#39;", everything else stays as typed.
std::string EscapeApostrophes(const std::string& value);

}  // namespace formwarden
