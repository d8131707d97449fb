#include "ui/DialogWindowOpener.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"

#include <QPushButton>

namespace zb {
namespace {

using test::child;
using test::Harness;

struct Opened {
    QString window;
    QString owner;
    bool operator==(const Opened&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Opened& o)
{
    return os << o.window.toStdString() << " owned by " << o.owner.toStdString();
}

Opened opened(const char* window, const char* owner) { return {QLatin1String(window), QLatin1String(owner)}; }

class DialogWindowOpenerTest : public ::testing::Test {
protected:
    DialogWindowOpenerTest() : program(h.start()), mainView(program.main), opener(program, &mainView)
    {
        program.main.setWindowOpener(&opener);
        mainView.show();
    }
    ~DialogWindowOpenerTest() override { program.main.setWindowOpener(nullptr); }

    void record(const QWidget* w)
    {
        seen.push_back({w->objectName(), w->parentWidget() != nullptr ? w->parentWidget()->objectName() : QString()});
    }
    // Records the next window, then closes it with the named button.
    void closeNextWith(const char* button)
    {
        test::onNextModal([this, button](QWidget* w) {
            record(w);
            child<QPushButton>(*w, button)->click();
        });
    }

    Harness h;
    Program& program;
    MainWindowView mainView;
    DialogWindowOpener opener;
    std::vector<Opened> seen;
};

TEST_F(DialogWindowOpenerTest, EachWindowIsOwnedByTheWindowWhoseButtonOpenedIt)
{
    test::onNextModal([this](QWidget* settings) {
        record(settings);
        test::onNextModal([this](QWidget* single) {
            record(single);
            closeNextWith("CANCEL_BUTTON");
            child<QPushButton>(*single, "VIEW_ALL_SETTINGS_BUTTON")->click();
            single->close(); // by the close box
        });
        child<QPushButton>(*settings, "VIEW_SINGLE_SETTINGS_BUTTON")->click();
        closeNextWith("OK_BUTTON");
        child<QPushButton>(*settings, "MANAGE_TASKS_BUTTON")->click();
        closeNextWith("OK_BUTTON");
        child<QPushButton>(*settings, "ABOUT_BUTTON")->click();
        child<QPushButton>(*settings, "OK_BUTTON")->click();
    });
    child<QPushButton>(mainView, "SETTINGS_BUTTON")->click();

    closeNextWith("OK_BUTTON");
    child<QPushButton>(mainView, "MANAGE_TASKS_BUTTON")->click();

    EXPECT_EQ(seen, (std::vector<Opened>{
                        opened("ZB_SEQUENTA_MAIN_SETTINGS_WINDOW", "ZB_SEQUENTA_MAIN"),
                        opened("ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW", "ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        opened("ZB_SEQUENTA_SETTINGS", "ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW"),
                        opened("ZB_SEQUENTA_MANAGE_TASKS_WINDOW", "ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        opened("ZB_SEQUENTA_ABOUT", "ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        opened("ZB_SEQUENTA_MANAGE_TASKS_WINDOW", "ZB_SEQUENTA_MAIN"),
                    }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Every window stored its position when it closed.
    for (const char* prefix : {"MAIN_SETTINGS", "SINGLE_SETTINGS", "SETTINGS", "MANAGE_TASKS_WINDOW", "ABOUT"})
        EXPECT_EQ(h.stored(QStringLiteral("%1-Left").arg(QLatin1String(prefix))), QStringLiteral("1000")) << prefix;
}

TEST_F(DialogWindowOpenerTest, WindowsNotBuiltYetOpenNothing)
{
    opener.showModal(WindowKind::EmailSettings);
    opener.showModal(WindowKind::SchedulerSettings);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace zb
