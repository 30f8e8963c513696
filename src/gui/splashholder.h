#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace zob {

class TsplashForm;

// The splash window of the start-up, the list loads and the close: made when
// a text is to be shown, gone once the list's covers are in.
class SplashHolder {
public:
    // The window starts with its splash made, hidden until it has a text.
    SplashHolder();
    ~SplashHolder();
    SplashHolder(const SplashHolder&) = delete;
    SplashHolder& operator=(const SplashHolder&) = delete;

    // None once released.
    TsplashForm* form() const { return form_.get(); }
    // The text with the progress bar, the splash made anew when gone.
    void showMessage(const QString& text);
    // The text alone: a long scan has no measure of its progress.
    void showText(const QString& text);
    void showTerminating();
    // The splash offers a "Cancel" that calls `cancel` (none when empty),
    // now and when it is made anew.
    void offerCancel(std::function<void()> cancel);
    // Hidden at once, deleted once the caller's handler has returned.
    void release();

private:
    // Shows `text` on the form, made when missing.
    void show(const QString& text, bool withProgress);

    std::unique_ptr<TsplashForm> form_;
    std::function<void()> cancel_;
    // A first show waits for the display and handles events meanwhile; a
    // release asked for then happens once the show is done.
    bool showing_ = false;
    bool releaseAsked_ = false;
};

} // namespace zob
