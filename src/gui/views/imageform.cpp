#include "gui/views/imageform.h"

#include "config/configinfo.h"
#include "gui/displaytext.h"
#include "gui/views/imagefit.h"
#include "gui/views/jpegimage.h"
#include "gui/views/pictureview.h"
#include "platform/debuglog.h"
#include "platform/jpegdecode.h"
#include "platform/threadinfo.h"

#include <QAction>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace zob {

namespace {

using imagefit::pictureTop;

constexpr int panelHeight = 25;

QFont pixelFont(int pixels) {
    QFont font("Tahoma");
    font.setPixelSize(pixels);
    return font;
}

QString filePathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

QStringList viewerArguments(const QString& parameters, const QString& file) {
    QStringList arguments = QProcess::splitCommand(parameters);
    for (QString& argument : arguments) {
        const qsizetype at = argument.indexOf("%f");
        if (at >= 0) {
            argument.replace(at, 2, file);
            break;
        }
    }
    return arguments;
}

TImageForm::TImageForm(configInfoClass& config, DebugLog& log, QWidget* parent)
    : QWidget(parent, Qt::Tool), config_(config), log_(log), mainWindow_(parent) {
    setObjectName("ImageForm");
    setWindowTitle("SideImage");

    LargeLogoImg = new PictureView(this);
    LargeLogoImg->setObjectName("LargeLogoImg");
    LargeLogoImg->setCursor(Qt::PointingHandCursor);
    LargeLogoImg->installEventFilter(this);

    // The panel lies over the picture's top 5 pixels, so it comes after it.
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    FileNameLabel = new QLabel(Panel1);
    FileNameLabel->setObjectName("FileNameLabel");
    FileNameLabel->setFont(pixelFont(12));
    FileNameLabel->move(7, 4);

    WarnLabel = new QLabel(this);
    WarnLabel->setObjectName("WarnLabel");
    WarnLabel->setAlignment(Qt::AlignCenter);
    WarnLabel->setFont(pixelFont(21));
    WarnLabel->hide();

    ImagePopup = new QMenu(this);
    ImagePopup->setObjectName("ImagePopup");
    // A left click fits the window to the picture and a resize fits the
    // picture to the window; this entry only reminds of that.
    mnFitWindow = ImagePopup->addAction("Fit to window");
    mnFitWindow->setObjectName("mnFitWindow");
    mnOriginal = ImagePopup->addAction("To Original size");
    mnOriginal->setObjectName("mnOriginal");
    connect(mnOriginal, &QAction::triggered, this, [this] { mnOriginalClick(); });

    resize(imagefit::designClientWidth, 675);
    FormCreate();
}

void TImageForm::FormCreate() {
    dragged_ = false;
    pressed_ = false;
    naturalSizeMode_ = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // The frame is the window manager's and unknown until the window shows;
    // the title bar is most of it.
    const int measured = frameGeometry().height() - height();
    const int border =
        measured > 0 ? measured : style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    resize(imagefit::initialClientSize(screen->availableGeometry().height(), border));
}

void TImageForm::setImage(const std::string& file) {
    const QString shown = toDisplay(file);
    if (WarnLabel->isHidden() && FileNameLabel->text() == shown) {
        return;
    }
    trace("enter setImage");
    FileNameLabel->setText(shown);
    FileNameLabel->adjustSize();
    currentFile_ = file;
    updateImage();
}

void TImageForm::updateImage() {
    const std::filesystem::path path(currentFile_);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        clearPicture();
        showWarning("The image hasn't loaded yet.");
        return;
    }
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (error || fileSize == 0) {
        clearPicture();
        showWarning("Image is corrupted");
    } else {
        showWarning("");
        trace("before LoadFromFile");
        // Cleared first: a picture that fails to decode must not leave the
        // previous one under the new name.
        clearPicture();
        const std::optional<JpegSize> natural = jpegNaturalSize(path);
        if (!natural) {
            throw JpegError("not a JPEG picture: " + currentFile_);
        }
        const QSize naturalSize(natural->width, natural->height);
        const bool pointerInside = frameGeometry().contains(QCursor::pos());
        // Decoded only as large as it will show: the whole file only when it
        // stays at its natural size.
        const QSize wanted = naturalSizeMode_ && pointerInside
                                 ? naturalSize
                                 : imagefit::fitToArea(naturalSize, size()).size();
        LargeLogoImg->setImage(loadJpegImage(currentFile_, wanted.width(), wanted.height()));
        naturalSize_ = naturalSize;
        trace("after LoadFromFile");
        if (!pointerInside) {
            dragged_ = false;
            pressed_ = false;
            naturalSizeMode_ = false;
        }
        if (naturalSizeMode_) {
            sharpen(naturalSize_);
            LargeLogoImg->resize(naturalSize_);
        }
        trace("before adjustImage");
        adjustImage();
        trace("after adjustImage");
    }
    // Right-aligned: the main window lies to the right.
    LargeLogoImg->move(width() - LargeLogoImg->width(), pictureTop);
    placedFor_ = size();
}

void TImageForm::adjustImage() {
    if (naturalSizeMode_ || naturalSize_.width() <= 0) {
        return;
    }
    const QRect fitted = imagefit::fitToArea(naturalSize_, size());
    sharpen(fitted.size());
    LargeLogoImg->setGeometry(fitted);
    placedFor_ = size();
}

void TImageForm::showWarning(const QString& text) {
    WarnLabel->setText(text);
    WarnLabel->adjustSize();
    WarnLabel->setVisible(!text.isEmpty());
    placeWarning();
}

void TImageForm::placeWarning() {
    const int areaHeight = height() - pictureTop;
    WarnLabel->move((width() - WarnLabel->width()) / 2,
                    pictureTop + (areaHeight - WarnLabel->height()) / 2);
    WarnLabel->raise();
}

void TImageForm::resizeEvent(QResizeEvent* /*event*/) {
    Panel1->setGeometry(0, 0, width(), panelHeight);
    FileNameLabel->resize(std::max(0, width() - 14), FileNameLabel->height());
    placeWarning();
    // A hidden window gets its resize only when it shows; the picture was
    // placed for that size already and keeps its place.
    if (size() != placedFor_) {
        adjustImage();
    }
}

bool TImageForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != LargeLogoImg) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        LargeLogoImgMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        LargeLogoImgMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        LargeLogoImgMouseUp(mouse->button(), mouse->position().toPoint(),
                            mouse->globalPosition().toPoint());
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void TImageForm::LargeLogoImgMouseDown(QPoint position) {
    if (!naturalSizeMode_) {
        return;
    }
    press_ = position;
    pressed_ = true;
}

void TImageForm::LargeLogoImgMouseMove(QPoint position) {
    if (!(pressed_ || dragged_) || !imagefit::dragStarted(press_, position)) {
        return;
    }
    pressed_ = false;
    dragged_ = true;
    // The picture follows the pointer, so the press point stays under it.
    LargeLogoImg->move(
        imagefit::dragTarget(LargeLogoImg->pos(), LargeLogoImg->size(), size(), position - press_));
}

void TImageForm::LargeLogoImgMouseUp(Qt::MouseButton button, QPoint position,
                                     QPoint globalPosition) {
    if (button == Qt::RightButton) {
        ImagePopup->popup(globalPosition);
    } else if (button == Qt::LeftButton && LargeLogoImg->rect().contains(position)) {
        LargeLogoImgClick();
    }
}

void TImageForm::LargeLogoImgClick() {
    if (!config_.viewerCmd.empty()) {
        startExternalViewer();
    } else if (!dragged_) {
        fitWindowToPicture();
    } else {
        dragged_ = false;
    }
}

void TImageForm::startExternalViewer() const {
    // Never through a shell: a file name is data, whatever it contains. A
    // viewer that does not start is the user's to notice.
    QProcess::startDetached(
        filePathText(config_.viewerCmd),
        viewerArguments(toDisplay(config_.viewerParam), filePathText(currentFile_)));
}

void TImageForm::fitWindowToPicture() {
    const QRect frame = frameGeometry();
    const int rightEdge = frame.left() + frame.width();
    const int frameWidth = frame.width() - width();
    const int frameHeight = frame.height() - height();
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const int mainWidth = mainWindow_ != nullptr ? mainWindow_->frameGeometry().width() : 0;
    const int maxWidth = screen->geometry().width() - mainWidth;
    const int maxHeight = screen->availableGeometry().height() - frameHeight - pictureTop;
    const std::optional<QSize> fitted = imagefit::windowFitSize(naturalSize_, maxWidth, maxHeight);
    if (!fitted) {
        return;
    }
    // Cleared before resizing, so the resize fits the picture to the new
    // window instead of leaving it at its natural size.
    dragged_ = false;
    pressed_ = false;
    naturalSizeMode_ = false;
    sharpen(*fitted);
    resize(fitted->width(), fitted->height() + pictureTop);
    int top = frame.top();
    if (top + fitted->height() + pictureTop + frameHeight >= maxHeight + pictureTop) {
        top = 0;
    }
    LargeLogoImg->setGeometry(QRect(QPoint(0, pictureTop), *fitted));
    // The right edge stays by the main window.
    move(rightEdge - (fitted->width() + frameWidth), top);
}

void TImageForm::mnOriginalClick() {
    if (naturalSize_.isEmpty()) {
        return;
    }
    sharpen(naturalSize_);
    LargeLogoImg->setGeometry(QRect(imagefit::centredOrigin(naturalSize_, size()), naturalSize_));
    naturalSizeMode_ = true;
    pressed_ = false;
    dragged_ = false;
}

void TImageForm::clearPicture() {
    LargeLogoImg->clear();
    naturalSize_ = QSize();
}

void TImageForm::sharpen(QSize shown) {
    const QSize needed = shown.boundedTo(naturalSize_);
    const QImage& decoded = LargeLogoImg->image();
    if (decoded.isNull() ||
        (decoded.width() >= needed.width() && decoded.height() >= needed.height())) {
        return;
    }
    try {
        LargeLogoImg->setImage(loadJpegImage(currentFile_, needed.width(), needed.height()));
    } catch (const JpegError&) {
        // Gone or changed since it was shown: the smaller copy still serves.
    }
}

void TImageForm::trace(const char* event) const {
    log_.dbgLog(std::string(event) + ": " + std::to_string(static_cast<std::int32_t>(tickCount())),
                true);
}

} // namespace zob
