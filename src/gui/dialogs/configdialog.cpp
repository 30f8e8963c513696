#include "gui/dialogs/configdialog.h"

#include "gui/displaytext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>

namespace zob {

namespace {

constexpr int lowResolution = 2;
constexpr int editHeight = 21;

// A caption just left of `edit`, on its text line, whatever width the font gives it.
QLabel* addLabelFor(QWidget* parent, const QString& text, const QWidget& edit) {
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    label->move(std::max(4, edit.x() - 4 - label->width()),
                edit.y() + (edit.height() - label->height()) / 2);
    return label;
}

QLineEdit* addEdit(QWidget* parent, const char* name, int left, int top, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, editHeight);
    return edit;
}

QPushButton* addButton(QWidget* parent, const QString& text, const char* name, int left, int top) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 75, 25);
    return button;
}

QCheckBox* addCheckBox(QWidget* parent, const QString& text, const char* name, int left, int top) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->move(left, top);
    box->adjustSize();
    return box;
}

} // namespace

TConfigForm::TConfigForm(configInfoClass& config, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      config_(config) {
    setWindowTitle(QStringLiteral("Configure"));
    setFixedSize(384, 334);
    // The places below were laid out for a small dialog font; larger text would overlap.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    createControls();

    // Down the form as it reads, the buttons last: Enter takes OK from any
    // field, Escape cancels.
    setTabOrder(LoginID, Password);
    setTabOrder(Password, offlineChk);
    setTabOrder(offlineChk, UseProxyChk);
    setTabOrder(UseProxyChk, ProxyServer);
    setTabOrder(ProxyServer, ProxyPort);
    setTabOrder(ProxyPort, LocalFolder);
    setTabOrder(LocalFolder, ExternalViewer);
    setTabOrder(ExternalViewer, Externalparam);
    setTabOrder(Externalparam, defaultResolution);
    setTabOrder(defaultResolution, Button1);
    setTabOrder(Button1, Button2);

    connect(UseProxyChk, &QCheckBox::toggled, this, &TConfigForm::useProxyChanged);
    connect(offlineChk, &QCheckBox::toggled, this, &TConfigForm::offlineChanged);
    connect(Button1, &QPushButton::clicked, this, [this] {
        copyToSettings();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TConfigForm::createControls() {
    // Drawn first so that the viewer controls lie on top of their group frame.
    auto* viewerGroup = new QGroupBox(QStringLiteral("External ImageViewer"), this);
    viewerGroup->setGeometry(16, 208, 353, 84);

    LoginID = addEdit(this, "LoginID", 64, 16, 129);
    addLabelFor(this, QStringLiteral("LoginID"), *LoginID);
    Password = addEdit(this, "Password", 64, 48, 129);
    addLabelFor(this, QStringLiteral("Password"), *Password);

    offlineChk = addCheckBox(this, QStringLiteral("Offline Mode"), "offlineChk", 200, 16);
    Button1 = addButton(this, QStringLiteral("OK"), "Button1", 288, 16);
    Button1->setDefault(true);
    Button2 = addButton(this, QStringLiteral("Cancel"), "Button2", 288, 48);

    UseProxyChk = addCheckBox(this, QStringLiteral("Use Proxy"), "UseProxyChk", 24, 80);
    ProxyServer = addEdit(this, "ProxyServer", 112, 104, 249);
    ProxyLbl1 = addLabelFor(this, QStringLiteral("Proxy Server"), *ProxyServer);
    ProxyPort = addEdit(this, "ProxyPort", 112, 136, 57);
    ProxyLbl2 = addLabelFor(this, QStringLiteral("Port Number"), *ProxyPort);
    ProxyPort->setText(QStringLiteral("80"));
    useProxyChanged();

    LocalFolder = addEdit(this, "LocalFolder", 80, 176, 249);
    addLabelFor(this, QStringLiteral("Local Folder"), *LocalFolder);

    ExternalViewer = addEdit(this, "ExternalViewer", 56, 232, 305);
    addLabelFor(this, QStringLiteral("cmd"), *ExternalViewer);
    Externalparam = addEdit(this, "Externalparam", 72, 264, 121);
    addLabelFor(this, QStringLiteral("Params"), *Externalparam);

    defaultResolution = new QComboBox(this);
    defaultResolution->setObjectName(QStringLiteral("defaultResolution"));
    defaultResolution->addItems({QStringLiteral("High-res"), QStringLiteral("Mid-res"),
                                 QStringLiteral("Low-res"), QStringLiteral("Thumb only")});
    defaultResolution->setEditable(false);
    defaultResolution->setGeometry(120, 296, 105, editHeight + 2);
    defaultResolution->setCurrentIndex(lowResolution);
    addLabelFor(this, QStringLiteral("Default Resolusion"), *defaultResolution);
}

void TConfigForm::showEvent(QShowEvent* event) {
    fillFromSettings();
    QDialog::showEvent(event);
}

void TConfigForm::fillFromSettings() {
    LoginID->setText(toDisplay(config_.login));
    Password->setText(toDisplay(config_.password));
    UseProxyChk->setChecked(config_.useProxy);
    ProxyServer->setText(toDisplay(config_.server));
    ProxyPort->setText(toDisplay(config_.port));
    LocalFolder->setText(toDisplay(config_.local));
    ExternalViewer->setText(toDisplay(config_.viewerCmd));
    Externalparam->setText(toDisplay(config_.viewerParam));
    offlineChk->setChecked(config_.offline);
    // Any other stored value is downloaded at low resolution, so show it as such.
    const int resolution = config_.resolution < defaultResolution->count()
                               ? static_cast<int>(config_.resolution)
                               : lowResolution;
    defaultResolution->setCurrentIndex(resolution);
    // toggled() stays silent when a box keeps its state; the dependants must follow anyway.
    useProxyChanged();
    offlineChanged();
}

void TConfigForm::copyToSettings() {
    config_.login = fromDisplay(LoginID->text());
    config_.password = fromDisplay(Password->text());
    config_.useProxy = UseProxyChk->isChecked();
    config_.server = fromDisplay(ProxyServer->text());
    config_.port = fromDisplay(ProxyPort->text());
    config_.local = fromDisplay(LocalFolder->text());
    config_.viewerCmd = fromDisplay(ExternalViewer->text());
    config_.viewerParam = fromDisplay(Externalparam->text());
    config_.resolution = static_cast<std::uint8_t>(defaultResolution->currentIndex());
}

void TConfigForm::useProxyChanged() {
    const bool on = UseProxyChk->isChecked();
    const std::array<QWidget*, 4> proxyControls{ProxyLbl1, ProxyServer, ProxyLbl2, ProxyPort};
    for (QWidget* control : proxyControls) {
        control->setEnabled(on);
    }
}

void TConfigForm::offlineChanged() {
    // Written at once: the caller goes offline afterwards however the dialog was closed.
    config_.offline = offlineChk->isChecked();
    LoginID->setEnabled(!config_.offline);
    Password->setEnabled(!config_.offline);
}

} // namespace zob
