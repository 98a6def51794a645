// The form wizard's numbered texts and its message boxes.
#pragma once

#include <string>

#include "ondrelo/Prompt.h"
#include "ondrelo/Resources.h"

namespace formwarden {

// Message numbers of the form wizard's string table.
enum EFormStringId : unsigned {
    IDS_INSERT_FAILED = 101,
    IDS_OPEN_FILE_FAILED = 102,
    IDS_SAVE_FILE_FAILED = 103,
    IDS_COPY_FAILED = 105,
    IDS_REPLACE_FAILED = 106,
    IDS_NAME_ALNUM_ONLY = 107,
    IDS_NAME_EXISTS = 108,
    IDS_FORM_NAME_EMPTY = 109,
    IDS_LIST_ITEM_NAME = 110,
    IDS_TYPE_CHANGE = 111,
    IDS_FORM_NAME_INVALID = 112,
    IDS_NO_ELEMENTS = 113,
    IDS_SCRIPT_INCLUSION = 117,
    IDS_COPY_FORM_CODE = 118,
    IDS_COPY_VALIDATIONS = 119,
    IDS_REMOVE_ELEMENTS = 120,
    IDS_LOAD_TEMPLATE_LOSES_DATA = 121,
    IDS_FILE_PATH_EMPTY = 122,
};

// Caption of the wizard's message boxes, which its first page sets as
// Common's message title.
inline constexpr const char* kFormWizardTitle = "Form Validation Wizard";

// The form wizard's resources, for CModuleResourceScope.
const ondrelo::SModuleResources& FormwardenResources();
// A text of the form wizard's table, then Common's; empty when neither has it.
std::string FormString(unsigned id);

// Message box of the form wizard: the caption is Common's message title
// (the wizard's title once the first page has set it). Returns the button.
int FormMessageBox(const std::string& text, unsigned style = MB_OK, HWND owner = nullptr);
inline int FormMessageBox(unsigned id, unsigned style = MB_OK, HWND owner = nullptr) {
    return FormMessageBox(FormString(id), style, owner);
}
// Message box with the error icon and an OK button.
inline void FormErrorMessage(const std::string& text) {
    FormMessageBox(text, MB_OK | MB_ICONERROR);
}

}  // namespace formwarden
