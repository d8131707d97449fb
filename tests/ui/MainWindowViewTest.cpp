#include "ui/MainWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/Harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
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
    // Four buttons read START: each says, to the eye and to a screen reader, what it starts.
    for (const char* b :
         {"MAIN_START_STOP_BUTTON", "AUTOSTART_START_BUTTON", "AUTOCLOSE_START_BUTTON", "KITT_START_BUTTON"})
        EXPECT_TRUE(child<QPushButton>(view, b)->accessibleName().startsWith(QStringLiteral("Start or "))) << b;

    // A click on START reaches the model.
    QTest::mouseClick(child<QPushButton>(view, "MAIN_START_STOP_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_TRUE(p.main.TASK_MAIN_TIMER[1].enabled());
    EXPECT_EQ(child<QPushButton>(view, "MAIN_START_STOP_BUTTON")->text(), QStringLiteral("&STOP"));

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

TEST(MainWindowView, EnterPressesTheFocusedButtonAndStartOnlyOtherwise)
{
    test::Harness h;
    Program& p = h.start();
    test::RecordingWindowOpener opener;
    p.main.setWindowOpener(&opener);
    MainWindowView view(p.main);
    view.show();
    QApplication::setActiveWindow(&view);

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QPushButton* settings = child<QPushButton>(view, "SETTINGS_BUTTON");
        settings->setFocus();
        QTest::keyClick(settings, key);
        QPushButton* countdown = child<QPushButton>(view, "AUTOSTART_START_BUTTON");
        countdown->setFocus();
        QTest::keyClick(countdown, key);
        EXPECT_EQ(p.main.AUTOSTART_START_BUTTON.caption(), QStringLiteral("STOP"));
        QTest::keyClick(countdown, key);
        EXPECT_EQ(p.main.AUTOSTART_START_BUTTON.caption(), QStringLiteral("START"));
        EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("START")) << "Enter went to START";
    }
    EXPECT_EQ(opener.opened, (std::vector<WindowKind>{WindowKind::MainSettings, WindowKind::MainSettings}));

    // On a tick box Enter is the window's: START.
    QCheckBox* tick = child<QCheckBox>(view, "TASK_4_PAUSE_TICKBOX");
    tick->setFocus();
    QTest::keyClick(tick, Qt::Key_Return);
    EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_EQ(p.main.TASK_PAUSE_TICKBOX[4].value(), 0);
    p.main.setWindowOpener(nullptr);
}

TEST(MainWindowView, ButtonsHaveDistinctAltKeysAndSlotNamesMakeNone)
{
    test::Harness h;
    h.seed(QStringLiteral("TASK_2_TICKBOX_CAPTION"), QStringLiteral("Tom & Jerry"));
    h.seed(QStringLiteral("TASK_3_TICKBOX_CAPTION"), QStringLiteral("R&&D"));
    Program& p = h.start();
    MainWindowView view(p.main);
    view.show();
    QApplication::setActiveWindow(&view);
    QCheckBox* tom = child<QCheckBox>(view, "TASK_2_ENABLE_TICKBOX");
    QCheckBox* rnd = child<QCheckBox>(view, "TASK_3_ENABLE_TICKBOX");
    // What a check box draws is its text with "&&" as "&" and "&x" as an underlined x.
    EXPECT_EQ(QString(tom->text()).replace(QStringLiteral("&&"), QStringLiteral("&")), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(QString(rnd->text()).replace(QStringLiteral("&&"), QStringLiteral("&")), QStringLiteral("R&&D"));
    EXPECT_TRUE(QKeySequence::mnemonic(tom->text()).isEmpty());
    EXPECT_TRUE(QKeySequence::mnemonic(rnd->text()).isEmpty());

    // "Tom & Jerry" would have made Alt+Space tick slot 2.
    QTest::keyClick(&view, Qt::Key_Space, Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(p.main.TASK_ENABLE_TICKBOX[2].value(), 0);
    EXPECT_EQ(p.main.TASK_ENABLE_TICKBOX[3].value(), 0);

    // Every button shows an Alt key, as START and as STOP, and no two clash.
    Button* starts[] = {&p.main.MAIN_START_STOP_BUTTON, &p.main.AUTOSTART_START_BUTTON, &p.main.AUTOCLOSE_START_BUTTON,
                        &p.main.KITT_START_BUTTON};
    for (const QString& caption : {text::kStart, text::kStop}) {
        for (Button* b : starts)
            b->setCaption(caption);
        QSet<QKeySequence> keys;
        for (const char* name : {"MAIN_START_STOP_BUTTON", "AUTOSTART_START_BUTTON", "AUTOCLOSE_START_BUTTON",
                                 "KITT_START_BUTTON", "HISTORY_BUTTON", "SETTINGS_BUTTON", "MANAGE_TASKS_BUTTON"}) {
            const QKeySequence key = QKeySequence::mnemonic(child<QPushButton>(view, name)->text());
            EXPECT_FALSE(key.isEmpty()) << name << " as " << caption.toStdString();
            EXPECT_FALSE(keys.contains(key)) << name << " as " << caption.toStdString();
            keys.insert(key);
        }
    }
}

// Counts the widgets that were shown as windows of their own.
class WindowShowCounter : public QObject {
public:
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<QWidget*>(watched); w != nullptr && w->isWindow())
                shown << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                    : w->objectName());
        return QObject::eventFilter(watched, event);
    }
};

TEST(MainWindowView, NoWidgetEverShowsAsAWindowOfItsOwn)
{
    test::Harness h;
    Program& p = h.start();
    WindowShowCounter counter;
    qApp->installEventFilter(&counter);
    {
        MainWindowView view(p.main);
        view.applyGeometry();
        view.show();
        QApplication::processEvents();
    }
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(counter.shown, QStringList{QStringLiteral("ZB_SEQUENTA_MAIN")});
}

TEST(MainWindowView, AMaximizedWindowGivesItsSpareHeightToTheTaskList)
{
    test::Harness h;
    Program& p = h.start();
    MainWindowView view(p.main);
    view.applyGeometry();
    view.show();
    QApplication::processEvents();
    QWidget* list = child<QWidget>(view, "TASK_LIST");
    QWidget* heading = child<QWidget>(view, "Label2");
    QWidget* first = child<QWidget>(view, "TASK_1_CMD_TEXTBOX");
    const int listHeight = list->height();
    const int gapAboveTask1 = first->y() - heading->geometry().bottom();
    const int controlsBottom = list->y();
    // It opens with room for its columns: a long command shows, and the
    // process column ends before the scroll bar.
    QWidget* viewport = static_cast<QScrollArea*>(list)->viewport();
    QWidget* process = child<QWidget>(view, "TASK_1_PROCESS_NAME_TEXTBOX");
    EXPECT_LE(process->mapTo(viewport, QPoint(process->width(), 0)).x(), viewport->width());
    EXPECT_GE(first->width(), first->fontMetrics().averageCharWidth() * 50);
    {
        test::Harness stored;
        stored.seed(QStringLiteral("MAIN-Width"), QStringLiteral("9000"));
        stored.seed(QStringLiteral("MAIN-Height"), QStringLiteral("6000"));
        MainWindowView small(stored.start().main);
        small.applyGeometry();
        EXPECT_EQ(small.size(), QSize(600, 400)) << "a stored size wins";
    }

    view.showMaximized();
    QApplication::processEvents();
    ASSERT_GT(view.height(), 1000);
    EXPECT_EQ(list->y(), controlsBottom) << "nothing above the list grows";
    EXPECT_GT(list->height(), listHeight + 300);
    EXPECT_EQ(first->y() - heading->geometry().bottom(), gapAboveTask1) << "no space opens above task 1";
    // The rows stay packed: all twenty show, one under the other.
    QWidget* last = child<QWidget>(view, "TASK_20_CMD_TEXTBOX");
    EXPECT_LE(last->mapTo(list, QPoint(0, last->height())).y(), list->height());
    EXPECT_LT(last->y() - first->y(), 20 * 2 * first->height());
}

} // namespace
} // namespace zb
