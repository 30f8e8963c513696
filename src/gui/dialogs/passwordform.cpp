#include "gui/dialogs/passwordform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace zob {

TPasswordForm::TPasswordForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Password Form"));
    setFixedSize(292, 106);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    Ent = new QLabel(QStringLiteral("Enter your password:"), this);
    Ent->move(24, 20);
    Ent->adjustSize();

    passEdit = new QLineEdit(this);
    passEdit->setObjectName(QStringLiteral("passEdit"));
    passEdit->setGeometry(40, 46, 209, passEdit->sizeHint().height());
    passEdit->setEchoMode(QLineEdit::Password);
    passEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(53, 73, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setGeometry(166, 73, 75, 25);

    setTabOrder(passEdit, Button1);
    setTabOrder(Button1, Button2);
    passEdit->setFocus();

    // QDialog already treats Escape and the frame's close button as reject.
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QString TPasswordForm::password() const {
    return passEdit->text();
}

void TPasswordForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    centre();
}

void TPasswordForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centre();
}

void TPasswordForm::centre() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    // Vertically over the whole desktop, which spans every monitor.
    const QSize frame = frameGeometry().size();
    move((screen->geometry().width() - frame.width()) / 2,
         (screen->virtualGeometry().height() - frame.height()) / 2);
}

} // namespace zob
