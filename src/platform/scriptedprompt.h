#pragma once

#include "platform/userprompt.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace zob {

// A prompt that answers from a script and records what was shown, so every
// text can be checked exactly. Used by tests and by the command line when no
// one is there to ask. Thread-safe.
class ScriptedPrompt : public UserPrompt {
public:
    enum class Kind { Message, YesNo, YesNoCancel };
    struct Shown {
        Kind kind;
        std::string title;
        std::string text;
        PromptAnswer answer;
        bool operator==(const Shown&) const = default;
    };

    // `fallback` answers every question once the script has run out.
    explicit ScriptedPrompt(PromptAnswer fallback = PromptAnswer::Cancel);

    // Queues answers for the questions to come, in order.
    void script(std::initializer_list<PromptAnswer> answers);

    std::vector<Shown> shown() const;
    void clear();

    void showMessage(const std::string& title, const std::string& text) override;
    PromptAnswer askYesNo(const std::string& title, const std::string& text,
                          PromptAnswer defaultAnswer = PromptAnswer::Yes) override;
    PromptAnswer askYesNoCancel(const std::string& title, const std::string& text,
                                PromptAnswer defaultAnswer = PromptAnswer::Yes) override;

private:
    PromptAnswer answerFor(Kind kind, const std::string& title, const std::string& text);

    mutable std::mutex mutex_;
    PromptAnswer fallback_;
    std::deque<PromptAnswer> answers_;
    std::vector<Shown> shown_;
};

} // namespace zob
