#pragma once

// Answers the core's questions with message boxes. Workers call it too: their calls
// wait on the window's thread, so a box is never built off it.

#include "platform/userprompt.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <string>

namespace zob {

class MessageBoxPrompt : public QObject, public UserPrompt {
    Q_OBJECT

public:
    // Must be created on the window's thread; boxes are centred over `parentWindow`.
    explicit MessageBoxPrompt(QWidget* parentWindow = nullptr);

    void showMessage(const std::string& title, const std::string& text) override;
    PromptAnswer askYesNo(const std::string& title, const std::string& text,
                          PromptAnswer defaultAnswer = PromptAnswer::Yes) override;
    PromptAnswer askYesNoCancel(const std::string& title, const std::string& text,
                                PromptAnswer defaultAnswer = PromptAnswer::Yes) override;

private:
    enum class Kind { Message, YesNo, YesNoCancel };

    PromptAnswer ask(Kind kind, const std::string& title, const std::string& text,
                     PromptAnswer defaultAnswer);
    PromptAnswer runBox(Kind kind, const std::string& title, const std::string& text,
                        PromptAnswer defaultAnswer);

    QPointer<QWidget> parentWindow_;
};

} // namespace zob
