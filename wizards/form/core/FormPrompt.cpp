#include "formwarden/FormPrompt.h"

#include <utility>

namespace formwarden {

namespace {
ErrorsDialogHandler& Handler() {
    static ErrorsDialogHandler handler;
    return handler;
}
}  // namespace

int ShowFormMessage(const std::string& text, unsigned style) {
    return ondrelo::Prompt().MessageBox(nullptr, kFormWizardTitle, text, style);
}

void ShowErrorsDialog(const std::string& text) {
    if (Handler()) {
        Handler()(text);
        return;
    }
    ondrelo::Prompt().MessageBox(nullptr, "Errors!", text, MB_OK);
}

ErrorsDialogHandler SetErrorsDialogHandler(ErrorsDialogHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

}  // namespace formwarden
