#include "views/imageform.h"

#include "config/configinfo.h"
#include "download/downloadfile.h"
#include "platform/jpegdecode.h"
#include "shell/gui/displaytext.h"
#include "views/jpegimage.h"

#include <QLabel>
#include <QMoveEvent>
#include <QResizeEvent>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zob {

namespace {

// The file-name panel lies over the picture's top.
constexpr int pictureTop = 20;

} // namespace

TImageForm::TImageForm(configInfoClass& config, QWidget* parent)
    : QWidget(parent, Qt::Tool), config_(config) {
    setObjectName("ImageForm");
    setWindowTitle("SideImage");
    resize(std::max(100, config.sideWidth), std::max(100, config.sideHeight));
    if (config.sideX != -1 && config.sideY != -1) {
        move(config.sideX, config.sideY);
    }
    LargeLogoImg = new QLabel(this);
    LargeLogoImg->setObjectName("LargeLogoImg");
    LargeLogoImg->setAlignment(Qt::AlignCenter);
    LargeLogoImg->setCursor(Qt::PointingHandCursor);
    FileNameLabel = new QLabel(this);
    FileNameLabel->setObjectName("FileNameLabel");
    FileNameLabel->setAutoFillBackground(true);
    QFont small;
    small.setPixelSize(12);
    FileNameLabel->setFont(small);
    WarnLabel = new QLabel(this);
    WarnLabel->setObjectName("WarnLabel");
    WarnLabel->setAlignment(Qt::AlignCenter);
    QFont warn;
    warn.setPixelSize(21);
    WarnLabel->setFont(warn);
    WarnLabel->hide();
}

void TImageForm::setImage(const std::string& file) {
    currentFile_ = file;
    updateImage();
}

void TImageForm::updateImage() {
    FileNameLabel->setText(toDisplay(currentFile_));
    picture_ = QImage();
    WarnLabel->hide();
    std::error_code error;
    if (!std::filesystem::is_regular_file(currentFile_, error)) {
        WarnLabel->setText("The image hasn't loaded yet.");
        WarnLabel->show();
    } else if (!hasContent(currentFile_)) {
        WarnLabel->setText("Image is corrupted");
        WarnLabel->show();
    } else {
        try {
            // Decoded no larger than the area needs.
            picture_ = loadJpegImage(currentFile_, 0, 0);
        } catch (const JpegError&) {
            WarnLabel->setText("Image is corrupted");
            WarnLabel->show();
        }
    }
    adjustImage();
}

void TImageForm::adjustImage() {
    const QSize area(width(), std::max(1, height() - pictureTop));
    FileNameLabel->setGeometry(0, 0, width(), 25);
    WarnLabel->setGeometry(0, pictureTop, area.width(), area.height());
    LargeLogoImg->setGeometry(0, pictureTop, area.width(), area.height());
    if (picture_.isNull()) {
        LargeLogoImg->clear();
        return;
    }
    const QSize fitted = picture_.size().scaled(area, Qt::KeepAspectRatio);
    const QSize shown = picture_.width() <= area.width() && picture_.height() <= area.height()
                            ? picture_.size()
                            : fitted;
    LargeLogoImg->setPixmap(
        QPixmap::fromImage(picture_.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    FileNameLabel->raise();
}

void TImageForm::resizeEvent(QResizeEvent* /*event*/) {
    config_.sideWidth = width();
    config_.sideHeight = height();
    adjustImage();
}

void TImageForm::moveEvent(QMoveEvent* /*event*/) {
    if (isVisible()) {
        config_.sideX = x();
        config_.sideY = y();
    }
}

} // namespace zob
