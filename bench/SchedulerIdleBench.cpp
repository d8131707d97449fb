// What an open scheduled-task window costs while the user only looks at it:
// the day list refreshed by a 1 ms timer (the baseline), against refreshed
// only when a day tick changes (this program). Prints CPU time and wake-ups
// over the same span of real time, one after the other in one run.
#include "platform/fake/FakeCrontab.h"
#include "schedule/SchedulerWindowModel.h"
#include "tests/support/Harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include <sys/resource.h>

namespace {

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

long wakeups()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

// Runs the event loop for ms of real time; returns CPU ms and context
// switches spent.
void measure(const char* what, int ms, QTimer* refresher)
{
    const double cpu0 = cpuMs();
    const long wake0 = wakeups();
    if (refresher != nullptr)
        refresher->start();
    QTimer::singleShot(ms, qApp, [] { QCoreApplication::exit(); });
    QCoreApplication::exec();
    if (refresher != nullptr)
        refresher->stop();
    std::printf("%-44s %8.1f ms CPU  %7ld context switches  in %d ms\n", what, cpuMs() - cpu0, wakeups() - wake0, ms);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    zb::test::Harness h;
    h.start();
    zb::FakeCrontab crontab;
    zb::SchedulerWindowModel window(h.program->settings, crontab, h.processes, h.exe);
    window.Form_Load();
    window.MON_TICKBOX.click();

    constexpr int kSpan = 3000;
    QTimer everyMs;
    everyMs.setInterval(1);
    long refreshes = 0;
    QObject::connect(&everyMs, &QTimer::timeout, [&] {
        window.updateDayList();
        ++refreshes;
    });
    measure("baseline: day list on a 1 ms timer", kSpan, &everyMs);
    std::printf("%-44s %8ld refreshes\n", "", refreshes);
    measure("this program: day list on day-tick change", kSpan, nullptr);
    return 0;
}
