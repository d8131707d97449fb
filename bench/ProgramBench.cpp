// Start-up from a full store and one simulated twenty-slot pass, over fakes.
#include "tests/support/Harness.h"

#include <benchmark/benchmark.h>

namespace zb {
namespace {

void seedFullStore(test::Harness& h)
{
    for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "KITT_AUTOSTART_TICKBOX", "START_EMAIL_TICKBOX",
                            "END_EMAIL_TICKBOX", "AlwaysOnTopTimer_TICKBOX"})
        h.seed(QLatin1String(key), QStringLiteral("1"));
    h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    for (int n = 1; n <= 20; ++n) {
        h.seed(QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n), QStringLiteral("1"));
        h.seed(QStringLiteral("TASK_%1_PAUSE_TICKBOX").arg(n), QStringLiteral("0"));
        h.seed(QStringLiteral("TASK_%1_TICKBOX_CAPTION").arg(n), QStringLiteral("Job number %1").arg(n));
        h.seed(QStringLiteral("TASK_%1_CMD").arg(n), QStringLiteral("/usr/local/bin/job --slot %1 --verbose").arg(n));
        h.seed(QStringLiteral("TASK_%1_PROCESS_NAME_TEXTBOX").arg(n), QStringLiteral("job"));
    }
}

void BM_StartUpFromFullStore(benchmark::State& state)
{
    test::Harness h;
    seedFullStore(h);
    for (auto _ : state) {
        h.start();
        benchmark::DoNotOptimize(h.main().TASK_CMD_TEXTBOX[20].text());
    }
}
BENCHMARK(BM_StartUpFromFullStore)->Unit(benchmark::kMicrosecond);

void BM_TwentySlotPass(benchmark::State& state)
{
    test::Harness h;
    seedFullStore(h);
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("0"));
    h.start();
    for (auto _ : state) {
        h.launcher.calls.clear();
        h.main().AUTOCLOSE_TIMER.setEnabled(false);
        h.main().MAIN_START_STOP_BUTTON.setCaption(QStringLiteral("START"));
        h.main().MAIN_START_STOP_BUTTON.click();
        h.clock.runUntil([&] { return h.main().AUTOCLOSE_TIMER.enabled(); }, 60'000);
        if (h.launcher.calls.size() != 20)
            state.SkipWithError("the pass did not launch twenty slots");
    }
}
BENCHMARK(BM_TwentySlotPass)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zb
