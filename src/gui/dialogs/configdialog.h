#pragma once

// The one place where the user edits the settings. It works on the settings object
// itself, so there is no copy for Cancel to throw away; only the offline box writes
// at once, everything else waits for OK.

#include "config/configinfo.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zob {

class TConfigForm : public QDialog {
    Q_OBJECT

public:
    explicit TConfigForm(configInfoClass& config, QWidget* parent = nullptr);

    QLineEdit* LoginID = nullptr;
    QLineEdit* Password = nullptr;
    QCheckBox* UseProxyChk = nullptr;
    QLabel* ProxyLbl1 = nullptr;
    QLineEdit* ProxyServer = nullptr;
    QLabel* ProxyLbl2 = nullptr;
    QLineEdit* ProxyPort = nullptr;
    QLineEdit* LocalFolder = nullptr;
    QLineEdit* ExternalViewer = nullptr;
    QLineEdit* Externalparam = nullptr;
    QCheckBox* offlineChk = nullptr;
    QComboBox* defaultResolution = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void fillFromSettings();
    void copyToSettings();
    void useProxyChanged();
    void offlineChanged();

    configInfoClass& config_;
};

} // namespace zob
