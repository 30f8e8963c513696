#include "cli/terminalprompt.h"

#include "platform/textencoding.h"

#include <iostream>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace zob {

namespace {

const char* answerName(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return "OK";
    case PromptAnswer::Yes:
        return "Yes";
    case PromptAnswer::No:
        return "No";
    case PromptAnswer::Cancel:
        return "Cancel";
    }
    return "?";
}

void printBox(const std::string& title, const std::string& text) {
    if (title.empty()) {
        std::cerr << terminalText(text) << '\n';
    } else {
        std::cerr << terminalText(title) << ": " << terminalText(text) << '\n';
    }
}

// Switches terminal echo off for its lifetime.
class EchoOff {
public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff() {
        if (active_) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

} // namespace

std::string terminalText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        out += terminalSafe(std::string_view(text).substr(lineStart, i - lineStart));
        if (i < text.size()) {
            out += '\n';
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        }
        lineStart = i + 1;
    }
    return out;
}

TerminalPrompt::TerminalPrompt(PromptAnswer unattendedAnswer)
    : unattendedAnswer_(unattendedAnswer),
      interactive_(::isatty(STDIN_FILENO) != 0 && ::isatty(STDERR_FILENO) != 0) {}

void TerminalPrompt::showMessage(const std::string& title, const std::string& text) {
    const std::lock_guard lock(mutex_);
    printBox(title, text);
}

PromptAnswer TerminalPrompt::askYesNo(const std::string& title, const std::string& text,
                                      PromptAnswer defaultAnswer) {
    return ask(title, text, false, defaultAnswer);
}

PromptAnswer TerminalPrompt::askYesNoCancel(const std::string& title, const std::string& text,
                                            PromptAnswer defaultAnswer) {
    return ask(title, text, true, defaultAnswer);
}

PromptAnswer TerminalPrompt::ask(const std::string& title, const std::string& text, bool withCancel,
                                 PromptAnswer defaultAnswer) {
    const std::lock_guard lock(mutex_);
    printBox(title, text);
    if (!interactive_) {
        std::cerr << "(no terminal: answered " << answerName(unattendedAnswer_) << ")\n";
        return unattendedAnswer_;
    }
    const std::string choices = withCancel ? "[y]es / [n]o / [c]ancel" : "[y]es / [n]o";
    for (;;) {
        std::cerr << choices << " (Enter: " << answerName(defaultAnswer) << ")? " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
        }
        if (line.empty()) {
            return defaultAnswer;
        }
        switch (line.front()) {
        case 'y':
        case 'Y':
            return PromptAnswer::Yes;
        case 'n':
        case 'N':
            return PromptAnswer::No;
        case 'c':
        case 'C':
            if (withCancel) {
                return PromptAnswer::Cancel;
            }
            break;
        default:
            break;
        }
    }
}

std::optional<std::string> TerminalPrompt::askPassword(const std::string& question) {
    const std::lock_guard lock(mutex_);
    if (!interactive_) {
        return std::nullopt;
    }
    std::cerr << question << std::flush;
    std::string line;
    bool gotLine = false;
    {
        const EchoOff echoOff;
        gotLine = static_cast<bool>(std::getline(std::cin, line));
    }
    std::cerr << '\n';
    if (!gotLine) {
        return std::nullopt;
    }
    return line;
}

} // namespace zob
