#pragma once

#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <utility>
#include <vector>

namespace zb::test {

// Records the status line every time it changes, with the time.
struct StatusLog {
    explicit StatusLog(Harness& h)
    {
        h.main().CURRENT_STATUS_LABEL.setChangeListener([&h, this] {
            entries.push_back({h.clock.now(), h.main().CURRENT_STATUS_LABEL.caption()});
        });
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& e : entries)
            out << e.second;
        return out;
    }
    // The texts shown from `fromMs` on.
    QStringList textsSince(SimulatedClock::Ms fromMs) const
    {
        QStringList out;
        for (const auto& e : entries)
            if (e.first >= fromMs)
                out << e.second;
        return out;
    }
    std::vector<std::pair<SimulatedClock::Ms, QString>> entries;
};

inline void enableSlot(MainWindowModel& m, int n, const QString& command)
{
    m.TASK_ENABLE_TICKBOX[n].setValue(1);
    m.TASK_CMD_TEXTBOX[n].setText(command);
}

// An enabled slot that waits for processes of `processName` after its launch.
inline void pauseSlot(MainWindowModel& m, int n, const QString& command, const QString& processName)
{
    enableSlot(m, n, command);
    m.TASK_PAUSE_TICKBOX[n].setValue(1);
    m.TASK_PROCESS_NAME_TEXTBOX[n].setText(processName);
}

} // namespace zb::test
