#pragma once

// Asks for the member's password when the settings hold a login without one.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zob {

class TPasswordForm : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordForm(QWidget* parent = nullptr);

    // What was typed; meaningful after the dialog closed with OK.
    QString password() const;

    QLabel* Ent = nullptr;
    QLineEdit* passEdit = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void centre();
};

} // namespace zob
