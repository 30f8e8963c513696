#pragma once

#include "platform/userprompt.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

namespace zob {

// The command line's way of showing boxes: messages go to stderr as
// "title: text"; questions are asked on the terminal when there is one, and
// otherwise answered with `unattendedAnswer` (said on stderr too).
class TerminalPrompt : public UserPrompt {
public:
    explicit TerminalPrompt(PromptAnswer unattendedAnswer = PromptAnswer::Cancel);

    void showMessage(const std::string& title, const std::string& text) override;
    PromptAnswer askYesNo(const std::string& title, const std::string& text,
                          PromptAnswer defaultAnswer = PromptAnswer::Yes) override;
    PromptAnswer askYesNoCancel(const std::string& title, const std::string& text,
                                PromptAnswer defaultAnswer = PromptAnswer::Yes) override;

    // Reads a password without echo; nothing when there is no terminal or
    // the user gave up (end of input).
    std::optional<std::string> askPassword(const std::string& question);

    bool interactive() const { return interactive_; }

private:
    PromptAnswer ask(const std::string& title, const std::string& text, bool withCancel,
                     PromptAnswer defaultAnswer);

    std::mutex mutex_;
    PromptAnswer unattendedAnswer_;
    bool interactive_;
};

// Box texts break lines with "\r", "\n" or both; a terminal wants "\n", and
// each line made safe for it (see terminalSafe).
std::string terminalText(const std::string& text);

} // namespace zob
