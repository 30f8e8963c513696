#pragma once

// The borderless "please wait" window shown while lists load and while the program
// stops. It stays hidden until the first message arrives.

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace zob {

class TsplashForm : public QWidget {
    Q_OBJECT

public:
    explicit TsplashForm(QWidget* parent = nullptr);

    // Shows `text` centred in the window and paints it at once, without running the
    // event loop: callers may be inside a worker's synchronous message.
    void setMessage(const QString& text);
    QString message() const;

    void setProgress(int position);
    int progress() const;

    // The stopping state: no progress bar, "terminating..." where the message was.
    void showTerminating();

    QLabel* msg = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

private:
    void showNow();
};

} // namespace zob
