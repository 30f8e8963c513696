#include "gui/splashholder.h"

#include "gui/dialogs/splashform.h"

#include <QProgressBar>

namespace zob {

SplashHolder::SplashHolder() : form_(std::make_unique<TsplashForm>()) {}

SplashHolder::~SplashHolder() = default;

void SplashHolder::showMessage(const QString& text) {
    if (!form_) {
        form_ = std::make_unique<TsplashForm>();
    }
    form_->ProgressBar1->show();
    form_->setMessage(text);
}

void SplashHolder::showText(const QString& text) {
    showMessage(text);
    form_->ProgressBar1->hide();
}

void SplashHolder::showTerminating() {
    if (!form_) {
        form_ = std::make_unique<TsplashForm>();
    }
    form_->showTerminating();
}

void SplashHolder::release() {
    if (form_) {
        form_->hide();
        // The caller may be inside a handler that still uses the splash.
        form_.release()->deleteLater();
    }
}

} // namespace zob
