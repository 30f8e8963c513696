#pragma once

#include <QString>
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
    // Hidden at once, deleted once the caller's handler has returned.
    void release();

private:
    std::unique_ptr<TsplashForm> form_;
};

} // namespace zob
