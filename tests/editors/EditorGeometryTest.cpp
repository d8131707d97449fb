#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using Body = std::function<void(EditorWindowModel&)>;

// Opens one editor window of a started harness and runs body on it.
struct Window {
    const char* prefix;
    WindowGeometry defaults;
    void (*open)(Harness&, const Body&);
};

template <typename Model>
void loaded(Model&& w, const Body& body)
{
    w.Form_Load();
    body(w);
}

const Window kWindows[] = {
    {"MAIN_SETTINGS",
     {1000, 1000, 9360, 2790},
     [](Harness& h, const Body& b) { loaded(test::mainSettingsWindow(h), b); }},
    {"MANAGE_TASKS_WINDOW",
     {1000, 1000, 11550, 6885},
     [](Harness& h, const Body& b) { loaded(test::manageTasksWindow(h), b); }},
    {"SINGLE_SETTINGS",
     {1000, 1000, 11760, 4695},
     [](Harness& h, const Body& b) { loaded(test::singleTaskWindow(h), b); }},
    {"SETTINGS", {1000, 1000, 17400, 6180}, [](Harness& h, const Body& b) { loaded(test::allTasksWindow(h), b); }},
    {"ABOUT", {1000, 1000, 10170, 4095}, [](Harness& h, const Body& b) { loaded(test::aboutWindow(h), b); }},
    {"DONATIONS_WINDOW",
     {1000, 1000, 8880, 6330},
     [](Harness& h, const Body& b) { loaded(test::donationsWindow(h), b); }},
};

QString key(const Window& w, const char* edge)
{
    return QStringLiteral("%1-%2").arg(QLatin1String(w.prefix), QLatin1String(edge));
}

TEST(EditorGeometry, StoredNumbersAreUsedAndAnythingElseFallsBackPerKey)
{
    for (const Window& win : kWindows) {
        SCOPED_TRACE(win.prefix);
        Harness h;
        h.seed(key(win, "Left"), QStringLiteral("2880"));
        h.seed(key(win, "Top"), QStringLiteral("top"));
        h.seed(key(win, "Width"), QStringLiteral("12000.5"));
        h.start();
        win.open(h, [&](EditorWindowModel& w) {
            EXPECT_EQ(w.geometry(), (WindowGeometry{2880, win.defaults.top, 12000.5, win.defaults.height}));
        });
        EXPECT_TRUE(h.store.writes().isEmpty());
    }
}

TEST(EditorGeometry, ClosingStoresOnlyThePositionAndOnlyOnce)
{
    for (const Window& win : kWindows) {
        SCOPED_TRACE(win.prefix);
        Harness h;
        h.start();
        win.open(h, [&](EditorWindowModel& w) {
            w.setPosition(1440, 720.5);
            int viewCloses = 0;
            w.closeRequested = [&] {
                ++viewCloses;
                w.Form_Unload();
            };
            w.close();
            w.Form_Unload(); // the view's own close after the model asked for it
            EXPECT_EQ(viewCloses, 1);
        });
        EXPECT_EQ(test::writtenKeys(h), (QStringList{key(win, "Left"), key(win, "Top")}));
        EXPECT_EQ(h.stored(key(win, "Top")), QStringLiteral("720.5"));
    }
}

TEST(AboutWindow, ShowsTitleAndVersionAndOkStoresOnlyThePosition)
{
    Harness h;
    h.start();
    auto w = test::aboutWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.ZB_SEQUENTA_TITLE.caption(), QStringLiteral("ZB-SEQUENTA"));
    EXPECT_EQ(w.ZB_SEQUENTA_VERSION.caption(), QStringLiteral("Version " ZB_VERSION)) << "as --version says";
    w.setPosition(3000, 4000);
    w.OK_BUTTON.click();
    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("ABOUT-Left")), QStringLiteral("3000"));
    for (const QString& k : test::writtenKeys(h))
        EXPECT_TRUE(k.startsWith(QStringLiteral("ABOUT-"))) << k.toStdString();
}

} // namespace
} // namespace zb
