// The main window by keyboard alone: where the focus starts, where Tab takes
// it, that it always shows, and that lights and lock keys answer keys too.
#include "tests/support/Harness.h"
#include "tests/ui/ThemeSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/FocusRing.h"
#include "ui/MainWindowView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace zb {
namespace {

using test::child;

// A shown, active main window over the harness.
struct ShownMain {
    explicit ShownMain(test::Harness& h) : view(h.start().main)
    {
        view.applyGeometry();
        view.show();
        QApplication::setActiveWindow(&view);
        QApplication::processEvents();
    }
    QString focused() const
    {
        QWidget* w = view.focusWidget();
        return w != nullptr ? w->objectName() : QStringLiteral("<none>");
    }
    MainWindowView view;
};

// Picks the action named `label` in the menu that pops up next.
void pickInNextMenu(const QString& label, QStringList* offered = nullptr)
{
    QTimer::singleShot(0, qApp, [label, offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu for " << label.toStdString();
        QAction* pick = nullptr;
        for (QAction* a : menu->actions()) {
            if (offered != nullptr)
                *offered << a->text();
            if (a->text() == label)
                pick = a;
        }
        EXPECT_NE(pick, nullptr) << label.toStdString();
        if (pick != nullptr)
            pick->trigger();
        menu->close();
    });
}

// The Menu key (or Shift+F10) on a control, as the desktop delivers it.
void pressMenuKey(QWidget* w)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &event);
}

TEST(MainWindowKeyboard, StartHasTheFocusAtOnceAndTabFollowsTheReadingOrder)
{
    test::Harness h;
    ShownMain main(h);
    EXPECT_EQ(main.focused(), QStringLiteral("MAIN_START_STOP_BUTTON"));
    {
        test::Harness fresh;
        ShownMain other(fresh);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(fresh.main().MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP")) << "Enter presses START";
    }
    QApplication::setActiveWindow(&main.view);

    // The title strip, then the run controls row by row, then the slot rows
    // as one stop; no light, clock, read-only field or the list itself on
    // the way.
    QStringList expected = QStringLiteral("HISTORY_BUTTON MAIN_START_STOP_BUTTON AUTOSTART_TICKBOX "
                                          "AUTOSTART_START_BUTTON START_EMAIL_TICKBOX AlwaysOnTopTimer_TICKBOX "
                                          "SETTINGS_BUTTON AUTOCLOSE_TICKBOX END_EMAIL_TICKBOX "
                                          "KITT_AUTOSTART_TICKBOX MANAGE_TASKS_BUTTON KITT_START_BUTTON")
                               .split(QLatin1Char(' '));
    expected << QStringLiteral("TASK_1_ENABLE_TICKBOX");

    QStringList order{main.focused()};
    for (int step = 0; step < 200; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (main.focused() == order.first())
            break;
        order << main.focused();
    }
    expected.move(0, expected.size() - 1); // from START round to the title strip
    EXPECT_EQ(order, expected);
    // History is one Shift+Tab from START.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(main.focused(), QStringLiteral("HISTORY_BUTTON"));

    // Inside the rows the arrow keys move: across a field only past its
    // text's ends, never beyond the last row; the row's light stays in view.
    h.main().TASK_CMD_TEXTBOX[20].setText(QStringLiteral("ab"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    const struct {
        Qt::Key key;
        int times;
        const char* lands;
    } moves[] = {{Qt::Key_Down, 25, "TASK_20_ENABLE_TICKBOX"},
                 {Qt::Key_Right, 2, "TASK_20_CMD_TEXTBOX"},
                 {Qt::Key_Right, 2, "TASK_20_CMD_TEXTBOX"},
                 {Qt::Key_Right, 1, "TASK_20_PROCESS_NAME_TEXTBOX"},
                 {Qt::Key_Right, 1, "TASK_20_PROCESS_NAME_TEXTBOX"},
                 {Qt::Key_Up, 1, "TASK_19_PROCESS_NAME_TEXTBOX"},
                 {Qt::Key_Left, 1, "TASK_19_CMD_TEXTBOX"}};
    for (const auto& m : moves) {
        for (int i = 0; i < m.times; ++i)
            QTest::keyClick(QApplication::focusWidget(), m.key);
        EXPECT_EQ(main.focused(), QLatin1String(m.lands));
    }
    QWidget* list = child<QWidget>(main.view, "TASK_LIST");
    QWidget* light = child<QWidget>(main.view, "TASK_19_LIGHT");
    EXPECT_TRUE(list->rect().contains(QRect(light->mapTo(list, QPoint()), light->size()))) << "slot number in view";
    // Tab leaves the rows; the way back lands where the user was.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(main.focused(), QStringLiteral("HISTORY_BUTTON"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(main.focused(), QStringLiteral("TASK_19_CMD_TEXTBOX"));
}

TEST(MainWindowKeyboard, LightsAndLockKeysAnswerTheKeyboard)
{
    test::Harness h;
    ShownMain main(h);
    MainWindowModel& m = h.main();
    for (int n : {3, 4, 5})
        m.TASK_LIGHT[n].setBackground(colour::Red);

    // The Menu key on a slot's tick box offers its light; the tick stays.
    QWidget* tick = child<QWidget>(main.view, "TASK_3_ENABLE_TICKBOX");
    tick->setFocus(Qt::TabFocusReason);
    pickInNextMenu(QStringLiteral("Reset Light 3"));
    pressMenuKey(tick);
    EXPECT_EQ(m.TASK_LIGHT[3].background(), colour::White);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].value(), 0);

    // A light that has the focus answers Space and Enter, and its own menu.
    auto* four = child<QLineEdit>(main.view, "TASK_4_LIGHT");
    QTest::mouseClick(four, Qt::LeftButton);
    ASSERT_EQ(main.focused(), QStringLiteral("TASK_4_LIGHT"));
    QTest::keyClick(four, Qt::Key_Space);
    EXPECT_EQ(m.TASK_LIGHT[4].background(), colour::White);
    auto* five = child<QLineEdit>(main.view, "TASK_5_LIGHT");
    five->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(five, Qt::Key_Return);
    EXPECT_EQ(m.TASK_LIGHT[5].background(), colour::White);
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("START")) << "Enter on a light is the light's";

    // The lock keys: from the window's menu (the Menu key on START) and from
    // a focused lock light.
    QStringList offered;
    pickInNextMenu(QStringLiteral("Press Caps Lock"), &offered);
    pressMenuKey(child<QWidget>(main.view, "MAIN_START_STOP_BUTTON"));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Press Num Lock"), QStringLiteral("Press Caps Lock"),
                                    QStringLiteral("Press Scroll Lock")}));
    auto* num = child<QLineEdit>(main.view, "VERT_NUM_LIGHT_LABEL");
    num->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(num, Qt::Key_Space);
    ASSERT_EQ(h.keyboard.presses.size(), 2);
    EXPECT_EQ(h.keyboard.presses[0].key, LockKey::Caps);
    EXPECT_EQ(h.keyboard.presses[1].key, LockKey::Num);
}

// How many pixels around `target` changed, between before and after it took
// the focus, with at least the contrast a focus mark needs.
int focusMarkPixels(QWidget& window, QWidget* target)
{
    const QRect area = QRect(target->mapTo(&window, QPoint(0, 0)), target->size()).adjusted(-4, -4, 4, 4);
    if (QWidget* old = QApplication::focusWidget())
        old->clearFocus();
    QApplication::processEvents();
    const QImage before = test::shot(&window, area);
    target->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const QImage after = test::shot(&window, area);
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (contrastRatio(test::pixel(before, x, y), test::pixel(after, x, y)) >= kVisibleContrast)
                ++changed;
    return changed;
}

TEST(MainWindowKeyboard, TheFocusShowsOnEveryControlInLightAndDarkThemes)
{
    for (const test::Theme& theme : test::lightAndDark()) {
        test::ScopedPalette palette(theme.palette);
        test::Harness h;
        ShownMain main(h);
        // Every Tab stop of the title strip and the run controls, and a slot row.
        QList<QWidget*> stops;
        for (QWidget* w = child<QWidget>(main.view, "HISTORY_BUTTON"); stops.size() < 17; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && !stops.contains(w))
                stops << w;
        for (QWidget* w : stops) {
            // A mark all round: at least as many pixels as the control's rim.
            const int rim = 2 * (w->width() + w->height());
            EXPECT_GE(focusMarkPixels(main.view, w), rim) << theme.name << ": " << w->objectName().toStdString();
            ASSERT_NE(FocusRing::instance(), nullptr);
            EXPECT_EQ(FocusRing::instance()->target(), w);
        }
    }
}

} // namespace
} // namespace zb
