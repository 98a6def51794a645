// Messages of the form wizard: its own caption on message boxes, and the
// "Errors!" window that lists the problems found in a page's form.
#pragma once

#include <functional>
#include <string>

#include "ondrelo/Prompt.h"

namespace formwarden {

inline constexpr const char* kFormWizardTitle = "Form Validation Wizard";

// Message box with the caption "Form Validation Wizard"; returns the button pressed.
int ShowFormMessage(const std::string& text, unsigned style = MB_OK);

// Shows a read-only multi-line text in the "Errors!" window with a "Close"
// button. Until the Qt layer installs its window, the text goes through the
// prompt interface as a message box captioned "Errors!".
void ShowErrorsDialog(const std::string& text);
using ErrorsDialogHandler = std::function<void(const std::string& text)>;
// Installs the window that shows the text (empty restores the default);
// returns the previous handler.
ErrorsDialogHandler SetErrorsDialogHandler(ErrorsDialogHandler handler);

}  // namespace formwarden
