#include "gui/dialogs/messageboxprompt.h"

#include "gui/displaytext.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace zob {

namespace {

QMessageBox::StandardButton buttonFor(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

PromptAnswer answerFor(QMessageBox::StandardButton button, PromptAnswer dismissed) {
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        return dismissed;
    }
}

// The choice lines (name, tab, description) as a table: spaces cannot line
// up the descriptions in a proportional font. Other lines stay lines.
QString withChoiceTable(const QString& text) {
    QString html;
    bool inTable = false;
    for (const QString& line : text.split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab < 0) {
            if (inTable) {
                html += QStringLiteral("</table>");
                inTable = false;
            }
            html += line.toHtmlEscaped() + QStringLiteral("<br>");
            continue;
        }
        if (!inTable) {
            html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
            inTable = true;
        }
        html += QStringLiteral("<tr><td><b>") + line.left(tab).toHtmlEscaped() +
                QStringLiteral("</b>&nbsp;&nbsp;&nbsp;</td><td>") +
                line.mid(tab + 1).toHtmlEscaped() + QStringLiteral("</td></tr>");
    }
    if (inTable) {
        html += QStringLiteral("</table>");
    }
    return html;
}

} // namespace

MessageBoxPrompt::MessageBoxPrompt(QWidget* parentWindow) : parentWindow_(parentWindow) {}

void MessageBoxPrompt::showMessage(const std::string& title, const std::string& text) {
    ask(Kind::Message, title, text, PromptAnswer::Ok);
}

PromptAnswer MessageBoxPrompt::askYesNo(const std::string& title, const std::string& text,
                                        PromptAnswer defaultAnswer) {
    return ask(Kind::YesNo, title, text, defaultAnswer);
}

PromptAnswer MessageBoxPrompt::askYesNoCancel(const std::string& title, const std::string& text,
                                              PromptAnswer defaultAnswer) {
    return ask(Kind::YesNoCancel, title, text, defaultAnswer);
}

PromptAnswer MessageBoxPrompt::ask(Kind kind, const std::string& title, const std::string& text,
                                   PromptAnswer defaultAnswer) {
    if (QThread::currentThread() == thread()) {
        return runBox(kind, title, text, defaultAnswer);
    }
    PromptAnswer answer = PromptAnswer::Cancel;
    QMetaObject::invokeMethod(
        this, [&] { answer = runBox(kind, title, text, defaultAnswer); },
        Qt::BlockingQueuedConnection);
    return answer;
}

PromptAnswer MessageBoxPrompt::runBox(Kind kind, const std::string& title, const std::string& text,
                                      PromptAnswer defaultAnswer) {
    QMessageBox box(parentWindow_.data());
    box.setWindowTitle(toDisplay(title));
    const QString shown = displayLineBreaks(text);
    if (shown.contains(u'\t')) {
        box.setTextFormat(Qt::RichText);
        box.setText(withChoiceTable(shown));
    } else {
        box.setTextFormat(Qt::PlainText);
        box.setText(shown);
    }

    // What Escape or the frame's close button stands for.
    PromptAnswer dismissed = PromptAnswer::Ok;
    switch (kind) {
    case Kind::Message:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Kind::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        dismissed = PromptAnswer::No;
        break;
    case Kind::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        dismissed = PromptAnswer::Cancel;
        break;
    }
    if (kind != Kind::Message && box.button(buttonFor(defaultAnswer)) != nullptr) {
        box.setDefaultButton(buttonFor(defaultAnswer));
    }
    box.exec();
    return answerFor(box.standardButton(box.clickedButton()), dismissed);
}

} // namespace zob
