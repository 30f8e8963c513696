#include "gui/dialogs/splashform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace zob {

namespace {

constexpr int clientWidth = 300;
constexpr int clientHeight = 109;
// Long enough for a display server to map a small window, short enough not to
// hold the caller up when there is none that answers.
constexpr qint64 mapWaitMs = 500;

QFont messageFont(const QFont& base) {
    QFont font = base;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    font.setBold(false);
    return font;
}

} // namespace

TsplashForm::TsplashForm(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    setFixedSize(clientWidth, clientHeight);
    QPalette cream = palette();
    cream.setColor(QPalette::Window, QColor(255, 251, 240));
    setPalette(cream);
    setAutoFillBackground(true);

    const QFont font = messageFont(this->font());
    msg = new QLabel(QStringLiteral("initializing..."), this);
    msg->setObjectName(QStringLiteral("msg"));
    msg->setFont(font);
    msg->move(104, 8);
    msg->adjustSize();

    Label1 = new QLabel(QStringLiteral("Please wait"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(font);
    Label1->move(104, 32);
    Label1->adjustSize();

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 64, 257, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TsplashForm::setMessage(const QString& text) {
    msg->setText(text);
    msg->adjustSize();
    // A text wider than the window overflows equally on both sides.
    msg->move((width() - msg->width()) / 2, msg->y());
    showNow();
}

QString TsplashForm::message() const {
    return msg->text();
}

void TsplashForm::setProgress(int position) {
    ProgressBar1->setValue(position);
}

int TsplashForm::progress() const {
    return ProgressBar1->value();
}

void TsplashForm::showTerminating() {
    ProgressBar1->hide();
    msg->setText(QStringLiteral("terminating..."));
    msg->adjustSize();
    showNow();
}

void TsplashForm::setCancel(std::function<void()> cancel) {
    cancel_ = std::move(cancel);
    if (!cancel_) {
        if (cancelButton_ != nullptr) {
            cancelButton_->hide();
        }
        return;
    }
    if (cancelButton_ == nullptr) {
        cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
        cancelButton_->setObjectName(QStringLiteral("cancelButton"));
        cancelButton_->setGeometry(206, 29, 76, 26);
        connect(cancelButton_, &QPushButton::clicked, this, [this] {
            if (cancel_) {
                cancel_();
            }
        });
    }
    cancelButton_->show();
}

void TsplashForm::showNow() {
    if (isHidden()) {
        show();
    }
    raise();
    // A window the display has not mapped yet draws nothing: its first
    // repaint would be lost, and the thread may stay busy after this call.
    const QPointer<TsplashForm> self(this);
    if (const QWindow* handle = windowHandle(); handle != nullptr && !handle->isExposed()) {
        QElapsedTimer waited;
        waited.start();
        while (self && !handle->isExposed() && waited.elapsed() < mapWaitMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        }
    }
    // The events handled meanwhile may have closed the splash for good.
    if (self) {
        repaint();
    }
}

} // namespace zob
