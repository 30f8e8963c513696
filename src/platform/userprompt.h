#pragma once

#include <string>

namespace zob {

// The buttons a message box can be answered with.
enum class PromptAnswer { Ok, Yes, No, Cancel };

// Everything the core needs to tell the user or ask of them. The window
// implements it with message boxes (marshalled to its own thread when a worker
// calls), the command line with its terminal, tests with a script.
// Implementations must accept calls from any thread.
//
// Lines in a text break at "\r" (or "\r\n"). A line holding a tab names a
// choice, the tab, then what it does; a run of such lines is shown with the
// descriptions lined up, whatever the font.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;

    // A plain box with one OK button; returns once dismissed.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    // Yes / No; `defaultAnswer` is the button Enter chooses.
    virtual PromptAnswer askYesNo(const std::string& title, const std::string& text,
                                  PromptAnswer defaultAnswer = PromptAnswer::Yes) = 0;
    // Yes / No / Cancel.
    virtual PromptAnswer askYesNoCancel(const std::string& title, const std::string& text,
                                        PromptAnswer defaultAnswer = PromptAnswer::Yes) = 0;
};

} // namespace zob
