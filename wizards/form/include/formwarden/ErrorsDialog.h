// The "Errors!" window that lists the problems found in a page's form: a
// read-only multi-line text with a "Close" button.
#pragma once

#include <functional>
#include <string>

namespace formwarden {

// Shows the text in the "Errors!" window. Until the Qt layer installs its
// window, the text goes through the prompt interface as a message box
// captioned "Errors!".
void ShowErrorsDialog(const std::string& text);

using ErrorsDialogHandler = std::function<void(const std::string& text)>;
// Installs the window that shows the text (empty restores the default);
// returns the previous handler.
ErrorsDialogHandler SetErrorsDialogHandler(ErrorsDialogHandler handler);

}  // namespace formwarden
