#include "ondrelo/Prompt.h"

#include <cstdio>

namespace ondrelo {

IPrompt::~IPrompt() = default;

int IPrompt::ChooseOfThree(HWND owner, const std::string& caption, const std::string& text,
                           const std::string (&/*buttons*/)[3]) {
    switch (MessageBox(owner, caption, text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return 0;
    case IDNO:
        return 1;
    default:
        return 2;
    }
}
ITextField::~ITextField() = default;

int CautiousAnswer(unsigned style) {
    switch (style & 0x0F) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        default:  // OK/Cancel, Yes/No/Cancel, Retry/Cancel, ...
            return IDCANCEL;
    }
}

namespace {

// Used when no interactive prompt is installed (command-line tools, tests
// that did not script their prompts): the question goes to standard error
// and nothing is overwritten or chosen on the user's behalf.
class CNonInteractivePrompt : public IPrompt {
public:
    int MessageBox(HWND, const std::string& caption, const std::string& text,
                   unsigned style) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return CautiousAnswer(style);
    }
    bool FileDialog(const SFileDialogSpec&, std::string&) override { return false; }
};

CNonInteractivePrompt g_nonInteractive;
IPrompt* g_prompt = &g_nonInteractive;

}  // namespace

IPrompt& Prompt() {
    return *g_prompt;
}

IPrompt* SetPrompt(IPrompt* prompt) {
    IPrompt* previous = g_prompt;
    g_prompt = prompt ? prompt : &g_nonInteractive;
    return previous;
}

}  // namespace ondrelo
