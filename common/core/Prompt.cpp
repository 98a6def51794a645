#include "ondrelo/Prompt.h"

#include <cstdio>

namespace ondrelo {

IPrompt::~IPrompt() = default;
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

CScriptedPrompt::CScriptedPrompt() : m_previous(SetPrompt(this)) {}

CScriptedPrompt::~CScriptedPrompt() {
    if (g_prompt == this)
        SetPrompt(m_previous);
}

int CScriptedPrompt::MessageBox(HWND, const std::string& caption, const std::string& text,
                                unsigned style) {
    SRecord record;
    record.kind = EPromptKind::MessageBox;
    record.caption = caption;
    record.text = text;
    record.style = style;
    m_records.push_back(std::move(record));
    if (m_messageAnswers.empty())
        return CautiousAnswer(style);
    int answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

bool CScriptedPrompt::FileDialog(const SFileDialogSpec& request, std::string& path) {
    SRecord record;
    record.kind = request.open ? EPromptKind::OpenFile : EPromptKind::SaveFile;
    record.text = request.title;
    record.dialog = request;
    m_records.push_back(std::move(record));
    if (m_fileAnswers.empty())
        return false;
    std::optional<std::string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    if (!answer)
        return false;
    path = *answer;
    return true;
}

std::vector<std::string> CScriptedPrompt::MessageTexts() const {
    std::vector<std::string> texts;
    for (const SRecord& r : m_records) {
        if (r.kind == EPromptKind::MessageBox)
            texts.push_back(r.text);
    }
    return texts;
}

}  // namespace ondrelo
