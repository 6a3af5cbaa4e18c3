#pragma once
// A file-exists prompt that answers from a script and notes what it was asked.
#include <functional>
#include <vector>

#include "OutputResolver.h"

class ScriptedPrompt : public IFileExistsPrompt {
public:
    struct Answer {
        int answer;
        const wchar_t* newTitle;
    };
    explicit ScriptedPrompt(std::vector<Answer> answers) : m_answers(std::move(answers)) {}

    int Ask(const CString& folder, const CString& title, const CString& extension, CString& newTitle) override
    {
        m_asked.push_back(title + extension);
        if (m_onAsk)
            m_onAsk();
        if (m_next >= m_answers.size())
            return EXISTS_CANCEL;
        const Answer& a = m_answers[m_next++];
        newTitle = a.newTitle ? a.newTitle : L"";
        return a.answer;
    }

    std::vector<Answer> m_answers;
    size_t m_next = 0;
    std::vector<CString> m_asked;
    std::function<void()> m_onAsk;
};

