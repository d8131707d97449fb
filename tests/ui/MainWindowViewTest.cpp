#include "ui/MainWindowView.h"
#include "tests/support/Harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace zb {
namespace {

template <typename W>
W* child(QWidget& root, const char* name)
{
    W* w = root.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(MainWindowView, BuildsShowsTheModelAndHandsClicksToIt)
{
    test::Harness h;
    h.seed(QStringLiteral("TASK_3_TICKBOX_CAPTION"), QStringLiteral("Nightly backup"));
    h.seed(QStringLiteral("TASK_3_CMD"), QStringLiteral("/usr/bin/backup --all"));
    Program& p = h.start();
    MainWindowView view(p.main);
    view.applyGeometry();
    view.show();

    EXPECT_EQ(view.windowTitle(), QStringLiteral("ZB-SEQUENTA - zb-sequenta"));
    EXPECT_EQ(child<QCheckBox>(view, "TASK_3_ENABLE_TICKBOX")->text(), QStringLiteral("Nightly backup"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_3_CMD_TEXTBOX")->text(), QStringLiteral("/usr/bin/backup --all"));
    EXPECT_FALSE(child<QPushButton>(view, "AUTOCLOSE_START_BUTTON")->isEnabled());

    // A click on START reaches the model.
    QTest::mouseClick(child<QPushButton>(view, "MAIN_START_STOP_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_TRUE(p.main.TASK_MAIN_TIMER[1].enabled());
    EXPECT_EQ(child<QPushButton>(view, "MAIN_START_STOP_BUTTON")->text(), QStringLiteral("STOP"));

    // Model changes reach the widgets.
    h.seconds(1);
    EXPECT_EQ(child<QLabel>(view, "CURRENT_STATUS_LABEL")->text(), QStringLiteral("SKIPPING TASK 1"));
    QLineEdit* light = child<QLineEdit>(view, "TASK_1_LIGHT");
    EXPECT_EQ(light->palette().color(QPalette::Base), QColor(255, 0, 0));

    // A double-click on a light and a user tick reach the model.
    QTest::mouseDClick(light, Qt::LeftButton);
    EXPECT_EQ(p.main.TASK_LIGHT[1].background(), colour::White);
    QTest::mouseClick(child<QCheckBox>(view, "AUTOCLOSE_TICKBOX"), Qt::LeftButton);
    EXPECT_EQ(p.main.AUTOCLOSE_TICKBOX.value(), 1);
    EXPECT_TRUE(child<QPushButton>(view, "AUTOCLOSE_START_BUTTON")->isEnabled());

    // Typing in a command field reaches the model; closing saves.
    QLineEdit* cmd = child<QLineEdit>(view, "TASK_5_CMD_TEXTBOX");
    cmd->clear();
    QTest::keyClicks(cmd, QStringLiteral("echo hi"));
    EXPECT_EQ(p.main.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("echo hi"));
    view.close();
    EXPECT_TRUE(p.main.unloaded());
    EXPECT_NE(h.stored(QStringLiteral("MAIN-Left")), QStringLiteral("<absent>"));
}

TEST(MainWindowView, EnterPressesStart)
{
    test::Harness h;
    Program& p = h.start();
    MainWindowView view(p.main);
    view.show();
    QApplication::setActiveWindow(&view);
    QLineEdit* cmd = view.findChild<QLineEdit*>(QStringLiteral("TASK_2_CMD_TEXTBOX"));
    ASSERT_NE(cmd, nullptr);
    cmd->setFocus();
    QTest::keyClick(cmd, Qt::Key_Return);
    EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));
}

} // namespace
} // namespace zb
