#include "formwarden/ErrorsDialog.h"

#include <utility>

#include "ondrelo/Prompt.h"

namespace formwarden {

namespace {
ErrorsDialogHandler& Handler() {
    static ErrorsDialogHandler handler;
    return handler;
}
}  // namespace

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
