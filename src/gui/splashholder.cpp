#include "gui/splashholder.h"

#include "gui/dialogs/splashform.h"

#include <QProgressBar>

namespace zob {

SplashHolder::SplashHolder() : form_(std::make_unique<TsplashForm>()) {}

SplashHolder::~SplashHolder() = default;

void SplashHolder::showMessage(const QString& text) {
    show(text, true);
}

void SplashHolder::showText(const QString& text) {
    show(text, false);
}

void SplashHolder::show(const QString& text, bool withProgress) {
    if (!form_) {
        form_ = std::make_unique<TsplashForm>();
        form_->setCancel(cancel_);
    }
    form_->ProgressBar1->setVisible(withProgress);
    showing_ = true;
    form_->setMessage(text);
    showing_ = false;
    if (releaseAsked_) {
        releaseAsked_ = false;
        release();
    }
}

void SplashHolder::showTerminating() {
    if (!form_) {
        form_ = std::make_unique<TsplashForm>();
    }
    form_->showTerminating();
}

void SplashHolder::offerCancel(std::function<void()> cancel) {
    cancel_ = std::move(cancel);
    if (form_) {
        form_->setCancel(cancel_);
    }
}

void SplashHolder::release() {
    if (showing_) {
        releaseAsked_ = true;
        return;
    }
    if (form_) {
        form_->hide();
        // The caller may be inside a handler that still uses the splash.
        form_.release()->deleteLater();
    }
}

} // namespace zob
