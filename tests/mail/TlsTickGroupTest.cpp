#include "tests/mail/MailTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using test::tlsState;

enum Box { No, Yes, Auto };

TickBox& box(EmailSettingsFormModel& w, Box b)
{
    return b == No ? w.TLS_NO_TICKBOX : b == Yes ? w.TLS_YES_TICKBOX : w.TLS_AUTO_TICKBOX;
}

TEST(TlsTickGroup, UserClicksFollowTheRulesIncludingTheirCascades)
{
    const struct {
        std::vector<Box> clicks;
        const char* state; // NO YES AUTO (value, enabled), then the setting
    } cases[] = {
        {{}, "1e 0d 0d no"},
        {{No}, "0e 0e 0e no"},
        {{No, No}, "1e 0d 0d no"},
        {{No, Yes}, "0d 1e 0d yes"},
        {{No, Auto}, "0d 0d 1e auto"},
        {{No, Yes, Yes}, "1e 0d 0d no"},
        {{No, Auto, Auto}, "1e 0d 0d no"},
        {{No, Yes, Auto}, "0d 1e 0d yes"}, // AUTO is disabled: the click does nothing
        {{Yes}, "1e 0d 0d no"},            // likewise YES at the start
    };
    for (const auto& c : cases) {
        Harness h;
        h.start();
        auto w = test::emailMainWindow(h);
        w.Form_Load();
        std::string trace;
        for (Box b : c.clicks) {
            trace += std::to_string(b);
            box(w, b).click();
        }
        SCOPED_TRACE(trace);
        EXPECT_EQ(tlsState(w, w.TLS_TB_SETTING.text()), c.state);
        h.clock.advance(500);
        const QString tls = QStringLiteral("-o tls='%1'").arg(w.TLS_TB_SETTING.text());
        EXPECT_TRUE(w.EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text().contains(tls));
    }
}

TEST(TlsTickGroup, LoadingKeepsTheStoredChoiceInBothWindows)
{
    const struct {
        const char* no;
        const char* yes;
        const char* autoTick;
        const char* state;
    } cases[] = {
        {nullptr, nullptr, nullptr, "1e 0d 0d no"}, // nothing stored
        {"1", "0", "0", "1e 0d 0d no"},
        {"0", "1", "0", "0d 1e 0d yes"},
        {"0", "0", "1", "0d 0d 1e auto"},
        {"0", "0", "0", "0e 0e 0e no"},
        {"1", "1", "0", "1e 0d 0d no"}, // edited by hand: two ticks mean "no"
        {"0", "1", "1", "1e 0d 0d no"},
        {"x", "1", "0", "1e 0d 0d no"}, // unreadable NO reads as its default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Harness h;
        const auto seed = [&](const char* key, const char* value) {
            if (value == nullptr)
                return;
            h.seed(QLatin1String(key), QLatin1String(value));
            h.store.seed(keys::kSharedEmailSection, QLatin1String(key), QLatin1String(value));
        };
        seed("TLS_NO_TICKBOX", c.no);
        seed("TLS_YES_TICKBOX", c.yes);
        seed("TLS_AUTO_TICKBOX", c.autoTick);
        h.start();
        auto w = test::emailMainWindow(h);
        w.Form_Load();
        EXPECT_EQ(tlsState(w, w.TLS_TB_SETTING.text()), c.state);
        auto shared = test::emailSharedWindow(h, w);
        shared.Form_Load();
        std::string sharedExpected = c.state;
        sharedExpected.resize(sharedExpected.rfind(' '));
        EXPECT_EQ(tlsState(shared), sharedExpected);
    }
}

TEST(TlsTickGroup, UseTheseSharedSettingsCarriesTheChoiceIntoTheMainWindow)
{
    const struct {
        const char* mainStored; // this copy's YES / AUTO, or NO
        std::vector<Box> sharedClicks;
        const char* state;
    } cases[] = {
        {"no", {No, Yes}, "0d 1e 0d yes"},
        {"no", {No, Auto}, "0d 0d 1e auto"},
        {"auto", {}, "1e 0d 0d no"},
        {"yes", {No, Auto}, "0d 0d 1e auto"}, // one tick at a time would lose "auto" here {"yes", {No}, "1e 0d 0d no"},
                                              // // clearing YES there falls back to NO
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Harness h;
        const QString stored = QLatin1String(c.mainStored);
        h.seed(QStringLiteral("TLS_NO_TICKBOX"),
               stored == QStringLiteral("no") ? QStringLiteral("1") : QStringLiteral("0"));
        h.seed(QStringLiteral("TLS_YES_TICKBOX"),
               stored == QStringLiteral("yes") ? QStringLiteral("1") : QStringLiteral("0"));
        h.seed(QStringLiteral("TLS_AUTO_TICKBOX"),
               stored == QStringLiteral("auto") ? QStringLiteral("1") : QStringLiteral("0"));
        h.store.seed(keys::kSharedEmailSection, QStringLiteral("SMTP_PASSWORD_TEXTBOX"), QStringLiteral("shared pw"));
        h.start();
        auto w = test::emailMainWindow(h);
        w.Form_Load();
        ASSERT_EQ(w.TLS_TB_SETTING.text(), stored);
        auto shared = test::emailSharedWindow(h, w);
        shared.Form_Load();
        for (Box b : c.sharedClicks)
            box(shared, b).click();
        h.store.clearWrites();
        shared.USE_THESE_SHARED_SETTINGS_BUTTON.click();

        EXPECT_EQ(tlsState(w, w.TLS_TB_SETTING.text()), c.state);
        EXPECT_EQ(w.SMTP_PASSWORD_TEXTBOX.text(), QStringLiteral("shared pw"));
        EXPECT_FALSE(shared.unloaded());
        EXPECT_TRUE(h.store.writes().isEmpty()) << "nothing is saved until OK";
    }
}

} // namespace
} // namespace zb
