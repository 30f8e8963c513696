#pragma once

// The borderless "please wait" window shown while lists load and while the program
// stops. It stays hidden until the first message arrives.

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zob {

class TsplashForm : public QWidget {
    Q_OBJECT

public:
    explicit TsplashForm(QWidget* parent = nullptr);

    // Shows `text` centred in the window and paints it at once, so that it is
    // visible even while the caller keeps the window's thread busy. A splash
    // shown for the first time waits (briefly) for the display to map it,
    // handling the events that come meanwhile but no user input.
    void setMessage(const QString& text);
    QString message() const;

    void setProgress(int position);
    int progress() const;

    // The stopping state: no progress bar, "terminating..." where the message was.
    void showTerminating();

    // A "Cancel" button that calls `cancel`; none when it is empty.
    void setCancel(std::function<void()> cancel);

    QLabel* msg = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

private:
    void showNow();

    QPushButton* cancelButton_ = nullptr;
    std::function<void()> cancel_;
};

} // namespace zob
