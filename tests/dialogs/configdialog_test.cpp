#include "gui/dialogs/configdialog.h"
#include "testsupport/filetesting.h"
#include "testsupport/screenshots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

using zob::configInfoClass;
using zob::TConfigForm;

class ConfigFormTest : public testing::Test {
protected:
    ConfigFormTest() {
        config.login = "member42";
        config.password = "p\xC3\xA4ss";
        config.useProxy = true;
        config.server = "proxy.example.net";
        config.port = "3128";
        config.local = "/home/member/Zel-Ora";
        config.viewerCmd = "/usr/bin/eog";
        config.viewerParam = "--fullscreen %f";
        config.resolution = 1;
    }

    ScratchFolder folder;
    configInfoClass config = configInfoClass::defaults(folder / "ZObrowser.ini");
};

TEST_F(ConfigFormTest, ShowFillsEveryControlFromTheSettings) {
    TConfigForm form(config);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Configure");
    EXPECT_EQ(form.size(), QSize(384, 334));
    EXPECT_EQ(form.LoginID->text(), "member42");
    EXPECT_EQ(form.Password->text(), QStringLiteral(u"päss"));
    EXPECT_EQ(form.Password->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(form.UseProxyChk->isChecked());
    EXPECT_EQ(form.ProxyServer->text(), "proxy.example.net");
    EXPECT_EQ(form.ProxyPort->text(), "3128");
    EXPECT_EQ(form.LocalFolder->text(), "/home/member/Zel-Ora");
    EXPECT_EQ(form.ExternalViewer->text(), "/usr/bin/eog");
    EXPECT_EQ(form.Externalparam->text(), "--fullscreen %f");
    EXPECT_FALSE(form.offlineChk->isChecked());
    EXPECT_EQ(form.defaultResolution->currentText(), "Mid-res");
    for (QWidget* proxy :
         std::vector<QWidget*>{form.ProxyLbl1, form.ProxyServer, form.ProxyLbl2, form.ProxyPort}) {
        EXPECT_TRUE(proxy->isEnabled());
    }
    zob::testing::saveScreenshot(form, QStringLiteral("config"));

    // Shown again after the settings changed elsewhere: filled afresh.
    form.hide();
    config.useProxy = false;
    config.offline = true;
    config.login = "other";
    form.show();
    EXPECT_EQ(form.LoginID->text(), "other");
    EXPECT_FALSE(form.ProxyServer->isEnabled());
    EXPECT_FALSE(form.ProxyLbl2->isEnabled());
    EXPECT_FALSE(form.LoginID->isEnabled());
    EXPECT_FALSE(form.Password->isEnabled());
}

TEST_F(ConfigFormTest, ProxyBoxDrivesItsFields) {
    config.useProxy = false;
    TConfigForm form(config);
    EXPECT_FALSE(form.ProxyServer->isEnabled()) << "disabled before the first show";
    EXPECT_EQ(form.ProxyPort->text(), "80");
    form.show();
    EXPECT_FALSE(form.ProxyLbl1->isEnabled());
    QTest::mouseClick(form.UseProxyChk, Qt::LeftButton);
    EXPECT_TRUE(form.ProxyLbl1->isEnabled());
    EXPECT_TRUE(form.ProxyPort->isEnabled());
    EXPECT_FALSE(config.useProxy) << "only OK stores it";
}

TEST_F(ConfigFormTest, OfflineIsStoredAtOnceEvenWhenCancelled) {
    const configInfoClass before = config;
    TConfigForm form(config);
    form.show();
    form.LoginID->setText(QStringLiteral("changed"));
    QTest::mouseClick(form.offlineChk, Qt::LeftButton);
    EXPECT_TRUE(config.offline);
    EXPECT_FALSE(form.LoginID->isEnabled());
    EXPECT_FALSE(form.Password->isEnabled());

    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(config.offline);
    configInfoClass expected = before;
    expected.offline = true;
    EXPECT_EQ(config, expected);

    form.show();
    QTest::mouseClick(form.offlineChk, Qt::LeftButton);
    EXPECT_FALSE(config.offline);
    EXPECT_TRUE(form.LoginID->isEnabled());
}

TEST_F(ConfigFormTest, OkCopiesEveryFieldCancelNone) {
    TConfigForm form(config);
    const auto edit = [&form] {
        form.show();
        form.LoginID->setText(QStringLiteral("newid"));
        form.Password->setText(QStringLiteral(u"n€w"));
        QTest::mouseClick(form.UseProxyChk, Qt::LeftButton);
        form.ProxyServer->setText(QStringLiteral("p2"));
        form.ProxyPort->setText(QStringLiteral("8080"));
        form.LocalFolder->setText(QStringLiteral("/data/pics"));
        form.ExternalViewer->setText(QStringLiteral("feh"));
        form.Externalparam->setText(QStringLiteral("%f"));
        form.defaultResolution->setCurrentIndex(3);
    };

    const configInfoClass before = config;
    edit();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(config, before);

    edit();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(config.login, "newid");
    EXPECT_EQ(config.password, "n\xE2\x82\xACw");
    EXPECT_FALSE(config.useProxy);
    EXPECT_EQ(config.server, "p2");
    EXPECT_EQ(config.port, "8080");
    EXPECT_EQ(config.local, "/data/pics");
    EXPECT_EQ(config.viewerCmd, "feh");
    EXPECT_EQ(config.viewerParam, "%f");
    EXPECT_EQ(config.resolution, 3);
    EXPECT_FALSE(config.offline);
}

TEST_F(ConfigFormTest, ResolutionOffersOnlyItsFourEntries) {
    config.resolution = 255;
    TConfigForm form(config);
    ASSERT_EQ(form.defaultResolution->count(), 4);
    EXPECT_EQ(form.defaultResolution->itemText(0), "High-res");
    EXPECT_EQ(form.defaultResolution->itemText(1), "Mid-res");
    EXPECT_EQ(form.defaultResolution->itemText(2), "Low-res");
    EXPECT_EQ(form.defaultResolution->itemText(3), "Thumb only");
    EXPECT_FALSE(form.defaultResolution->isEditable());

    form.show();
    EXPECT_EQ(form.defaultResolution->currentText(), "Low-res");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(config.resolution, 2);
}

TEST_F(ConfigFormTest, TabOrderAndLayout) {
    TConfigForm form(config);
    const std::vector<QWidget*> expected{
        form.LoginID,       form.Password,          form.offlineChk,  form.UseProxyChk,
        form.ProxyServer,   form.ProxyPort,         form.LocalFolder, form.ExternalViewer,
        form.Externalparam, form.defaultResolution, form.Button1,     form.Button2};
    std::vector<QWidget*> order{form.LoginID};
    for (QWidget* next = form.LoginID->nextInFocusChain(); next != form.LoginID;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->window() == &form && next != &form) {
            order.push_back(next);
        }
    }
    EXPECT_EQ(order, expected);

    // Captions sit beside their fields, never over them.
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        for (const QWidget* field : form.findChildren<QWidget*>()) {
            if (qobject_cast<const QLineEdit*>(field) != nullptr ||
                qobject_cast<const QComboBox*>(field) != nullptr) {
                EXPECT_FALSE(label->geometry().intersects(field->geometry()))
                    << label->text().toStdString() << " over " << field->objectName().toStdString();
            }
        }
    }
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(ConfigFormTest, EnterFromAnyFieldAcceptsAndEscapeCancels) {
    for (const auto field : {&TConfigForm::LoginID, &TConfigForm::LocalFolder}) {
        TConfigForm form(config);
        form.open();
        QTest::keyClicks(form.*field, QStringLiteral("x"));
        QTest::keyClick(form.*field, Qt::Key_Return);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(config.login, "member42x");
    EXPECT_EQ(config.local, "/home/member/Zel-Orax");
    {
        TConfigForm form(config);
        form.open();
        QTest::keyClick(form.defaultResolution, Qt::Key_Enter);
        EXPECT_EQ(form.result(), QDialog::Accepted) << "from a drop-down list too";
    }
    {
        TConfigForm form(config);
        form.open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(form.focusWidget(), form.LoginID) << "the first field has the keyboard";
        QTest::keyClicks(form.LoginID, QStringLiteral("y"));
        QTest::keyClick(form.LoginID, Qt::Key_Escape);
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(config.login, "member42x");
}

TEST_F(ConfigFormTest, DestructionLeavesTheFileAlone) {
    {
        TConfigForm form(config);
        form.show();
        QTest::mouseClick(form.offlineChk, Qt::LeftButton);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    }
    EXPECT_EQ(folder.entryCount(), 0U);
}

} // namespace
