#include "gui/dialogs/messageboxprompt.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using zob::MessageBoxPrompt;
using zob::PromptAnswer;

// What the box looked like when it was answered.
struct SeenBox {
    QString title;
    QString text;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool onGuiThread = false;
};

// Waits on the GUI thread for the next modal message box, records it and lets
// `answer` dismiss it.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::function<void(QMessageBox&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { tryAnswer(); });
        poll_.start(10);
    }

    bool answered() const { return answered_; }
    const SeenBox& seen() const { return seen_; }

private:
    void tryAnswer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || answered_) {
            return;
        }
        poll_.stop();
        seen_.title = box->windowTitle();
        seen_.text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            seen_.buttons.append(box->standardButton(button));
        }
        if (box->defaultButton() != nullptr) {
            seen_.defaultButton = box->standardButton(box->defaultButton());
        }
        seen_.onGuiThread = QThread::currentThread() == box->thread() &&
                            box->thread() == QApplication::instance()->thread();
        answered_ = true;
        answer_(*box);
    }

    std::function<void(QMessageBox&)> answer_;
    QTimer poll_;
    bool answered_ = false;
    SeenBox seen_;
};

std::function<void(QMessageBox&)> click(QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) { box.button(which)->click(); };
}

std::function<void(QMessageBox&)> press(Qt::Key key) {
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}

TEST(MessageBoxPrompt, MessageShowsTitleAndBrokenLines) {
    MessageBoxPrompt prompt;
    BoxAnswerer answerer(click(QMessageBox::Ok));
    prompt.showMessage("Fatal error", "first line\r\nsecond\rthird");
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.seen().title, "Fatal error");
    EXPECT_EQ(answerer.seen().text, "first line\nsecond\nthird");
    EXPECT_EQ(answerer.seen().buttons, QList{QMessageBox::Ok});
}

TEST(MessageBoxPrompt, ButtonsAndDefaults) {
    MessageBoxPrompt prompt;
    {
        BoxAnswerer answerer(press(Qt::Key_Return));
        EXPECT_EQ(prompt.askYesNo("Question", "Go on?", PromptAnswer::No), PromptAnswer::No);
        EXPECT_EQ(answerer.seen().defaultButton, QMessageBox::No);
        EXPECT_EQ(answerer.seen().buttons.size(), 2);
    }
    {
        BoxAnswerer answerer(click(QMessageBox::Yes));
        EXPECT_EQ(prompt.askYesNo("Question", "Go on?"), PromptAnswer::Yes);
        EXPECT_EQ(answerer.seen().defaultButton, QMessageBox::Yes);
    }
    {
        BoxAnswerer answerer(press(Qt::Key_Return));
        EXPECT_EQ(prompt.askYesNoCancel("Connection", "Retry?", PromptAnswer::Cancel),
                  PromptAnswer::Cancel);
        EXPECT_EQ(answerer.seen().buttons.size(), 3);
    }
    {
        BoxAnswerer answerer(click(QMessageBox::No));
        EXPECT_EQ(prompt.askYesNoCancel("Connection", "Retry?"), PromptAnswer::No);
    }
}

TEST(MessageBoxPrompt, EscapeMeansCancelOrNo) {
    MessageBoxPrompt prompt;
    {
        BoxAnswerer answerer(press(Qt::Key_Escape));
        EXPECT_EQ(prompt.askYesNoCancel("t", "x"), PromptAnswer::Cancel);
    }
    {
        BoxAnswerer answerer(press(Qt::Key_Escape));
        EXPECT_EQ(prompt.askYesNo("t", "x"), PromptAnswer::No);
    }
    {
        BoxAnswerer answerer([](QMessageBox& box) { box.close(); });
        EXPECT_EQ(prompt.askYesNoCancel("t", "x"), PromptAnswer::Cancel);
    }
}

TEST(MessageBoxPrompt, ChoiceLinesLineUpInATableBelowTheQuestion) {
    MessageBoxPrompt prompt;
    BoxAnswerer answerer(click(QMessageBox::Cancel));
    prompt.askYesNoCancel("confirmation", "Sure <&> certain?\rYES\tgo on\rNO\tstop here");
    QTextDocument shown;
    shown.setHtml(answerer.seen().text);
    EXPECT_EQ(shown.toPlainText().section(u'\n', 0, 0), "Sure <&> certain?");
    QTextTable* table = nullptr;
    for (QTextFrame* frame : shown.rootFrame()->childFrames()) {
        table = table != nullptr ? table : qobject_cast<QTextTable*>(frame);
    }
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(1, 0).firstCursorPosition().block().text().trimmed(), "NO");
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), "stop here");
}

TEST(MessageBoxPrompt, WorkerCallWaitsForTheAnswerGivenOnTheGuiThread) {
    MessageBoxPrompt prompt;
    QEventLoop loop;
    BoxAnswerer answerer(click(QMessageBox::No));
    std::atomic<PromptAnswer> answer{PromptAnswer::Ok};
    std::thread worker([&] {
        answer = prompt.askYesNoCancel("From a worker", "Stop\r\nnow?");
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    if (!answerer.answered()) {
        worker.detach(); // still blocked in the box; joining would hang the run
        FAIL() << "no box appeared";
    }
    worker.join();
    EXPECT_EQ(answer.load(), PromptAnswer::No);
    EXPECT_TRUE(answerer.seen().onGuiThread);
    EXPECT_EQ(answerer.seen().title, "From a worker");
    EXPECT_EQ(answerer.seen().text, "Stop\nnow?");
}

} // namespace
