#include "ondrelo/ScriptedPrompt.h"

namespace ondrelo {

CScriptedPrompt::CScriptedPrompt() : m_previous(SetPrompt(this)) {}

CScriptedPrompt::~CScriptedPrompt() {
    if (&Prompt() == this) {
        SetPrompt(m_previous);
    }
}

int CScriptedPrompt::MessageBox(HWND, const std::string& caption, const std::string& text,
                                unsigned style) {
    SRecord record;
    record.kind = EPromptKind::MessageBox;
    record.caption = caption;
    record.text = text;
    record.style = style;
    m_records.push_back(std::move(record));
    if (m_messageAnswers.empty()) {
        return CautiousAnswer(style);
    }
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
    if (m_fileAnswers.empty()) {
        return false;
    }
    std::optional<std::string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    if (!answer) {
        return false;
    }
    path = *answer;
    return true;
}

std::vector<std::string> CScriptedPrompt::MessageTexts() const {
    std::vector<std::string> texts;
    for (const SRecord& r : m_records) {
        if (r.kind == EPromptKind::MessageBox) {
            texts.push_back(r.text);
        }
    }
    return texts;
}

}  // namespace ondrelo
