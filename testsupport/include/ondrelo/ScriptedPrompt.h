// A prompt for tests that answers from a script (see CScriptedPrompt).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ondrelo/Prompt.h"

namespace ondrelo {

// A prompt for tests: records every question and answers from queues. With
// an empty queue a message box gets the cautious answer and a file dialog is
// cancelled.
class CScriptedPrompt : public IPrompt {
public:
    struct SRecord {
        EPromptKind kind = EPromptKind::MessageBox;
        std::string caption;
        std::string text;  // message text, or the dialog's title
        unsigned style = 0;
        SFileDialogSpec dialog;  // for file dialogs
    };

    CScriptedPrompt();            // installs itself
    ~CScriptedPrompt() override;  // restores the previous prompt

    void AnswerMessage(int button) { m_messageAnswers.push_back(button); }
    void AnswerFile(std::optional<std::string> path) { m_fileAnswers.push_back(std::move(path)); }

    int MessageBox(HWND owner, const std::string& caption, const std::string& text,
                   unsigned style) override;
    bool FileDialog(const SFileDialogSpec& request, std::string& path) override;

    const std::vector<SRecord>& Records() const { return m_records; }
    std::vector<std::string> MessageTexts() const;
    void Clear() { m_records.clear(); }

private:
    IPrompt* m_previous;
    std::vector<SRecord> m_records;
    std::deque<int> m_messageAnswers;
    std::deque<std::optional<std::string>> m_fileAnswers;
};

}  // namespace ondrelo
