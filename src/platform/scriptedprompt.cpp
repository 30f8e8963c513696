#include "platform/scriptedprompt.h"

namespace zob {

ScriptedPrompt::ScriptedPrompt(PromptAnswer fallback) : fallback_(fallback) {}

void ScriptedPrompt::script(std::initializer_list<PromptAnswer> answers) {
    const std::lock_guard lock(mutex_);
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

std::vector<ScriptedPrompt::Shown> ScriptedPrompt::shown() const {
    const std::lock_guard lock(mutex_);
    return shown_;
}

void ScriptedPrompt::clear() {
    const std::lock_guard lock(mutex_);
    answers_.clear();
    shown_.clear();
}

void ScriptedPrompt::showMessage(const std::string& title, const std::string& text) {
    const std::lock_guard lock(mutex_);
    shown_.push_back({Kind::Message, title, text, PromptAnswer::Ok});
}

PromptAnswer ScriptedPrompt::askYesNo(const std::string& title, const std::string& text,
                                      PromptAnswer /*defaultAnswer*/) {
    return answerFor(Kind::YesNo, title, text);
}

PromptAnswer ScriptedPrompt::askYesNoCancel(const std::string& title, const std::string& text,
                                            PromptAnswer /*defaultAnswer*/) {
    return answerFor(Kind::YesNoCancel, title, text);
}

PromptAnswer ScriptedPrompt::answerFor(Kind kind, const std::string& title,
                                       const std::string& text) {
    const std::lock_guard lock(mutex_);
    PromptAnswer answer = fallback_;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({kind, title, text, answer});
    return answer;
}

} // namespace zob
