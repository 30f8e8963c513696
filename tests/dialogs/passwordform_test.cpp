#include "gui/dialogs/passwordform.h"
#include "testsupport/screenshots.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using zob::TPasswordForm;

TEST(PasswordForm, LayoutAndMask) {
    TPasswordForm form;
    EXPECT_EQ(form.windowTitle(), "Password Form");
    EXPECT_EQ(form.size(), QSize(292, 106));
    EXPECT_TRUE(form.Button1->isDefault());

    form.show();
    QTest::keyClicks(form.passEdit, QStringLiteral("s3cr"));
    EXPECT_EQ(form.passEdit->displayText(), "****");
    EXPECT_EQ(form.password(), "s3cr");
    EXPECT_EQ(form.focusWidget(), form.passEdit);
    EXPECT_EQ(form.passEdit->nextInFocusChain(), form.Button1);
    zob::testing::saveScreenshot(form, QStringLiteral("password"));
}

TEST(PasswordForm, EnterAcceptsWithTheTypedText) {
    TPasswordForm form;
    form.open();
    QTest::keyClicks(form.passEdit, QStringLiteral("hunter2"));
    QTest::keyClick(form.passEdit, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.password(), "hunter2");
}

TEST(PasswordForm, EscapeCancelAndFrameCloseReject) {
    {
        TPasswordForm form;
        form.open();
        QTest::keyClicks(form.passEdit, QStringLiteral("x"));
        QTest::keyClick(form.passEdit, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        TPasswordForm form;
        form.open();
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        TPasswordForm form;
        form.open();
        form.setResult(QDialog::Accepted);
        form.close();
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        TPasswordForm form;
        form.open();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.password(), "");
    }
}

TEST(PasswordForm, CentresItselfWhenShownAndMoved) {
    TPasswordForm form;
    form.show();
    const QScreen& screen = *form.screen();
    const QPoint centred((screen.geometry().width() - form.frameGeometry().width()) / 2,
                         (screen.virtualGeometry().height() - form.frameGeometry().height()) / 2);
    EXPECT_EQ(form.frameGeometry().topLeft(), centred);

    form.move(0, 0);
    form.resize(292, 106);
    QResizeEvent resize(form.size(), form.size());
    QCoreApplication::sendEvent(&form, &resize);
    EXPECT_EQ(form.frameGeometry().topLeft(), centred);
}

} // namespace
