#pragma once

#include "core/WindowOpener.h"
#include "editors/AboutWindowModel.h"
#include "editors/AllTaskSettingsWindowModel.h"
#include "editors/DonationsWindowModel.h"
#include "editors/MainSettingsWindowModel.h"
#include "editors/ManageTasksWindowModel.h"
#include "editors/SingleTaskSettingsWindowModel.h"
#include "tests/support/Harness.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace zb::test {

// Records the windows asked for; onShow plays the user inside the one just
// opened, as the real modal window would before it returns.
class RecordingWindowOpener : public WindowOpener {
public:
    void showModal(WindowKind kind) override
    {
        opened.push_back(kind);
        if (onShow)
            onShow(kind);
    }

    std::vector<WindowKind> opened;
    std::function<void(WindowKind)> onShow;
};

// The editor windows of a started harness, built as the real opener builds
// them; Form_Load is left to the test.
inline MainSettingsWindowModel mainSettingsWindow(Harness& h, WindowOpener* opener = nullptr)
{
    return MainSettingsWindowModel(h.program->settings, h.main(), opener, h.folders, h.exe);
}

inline ManageTasksWindowModel manageTasksWindow(Harness& h)
{
    return ManageTasksWindowModel(h.program->settings, h.main());
}

inline SingleTaskSettingsWindowModel singleTaskWindow(Harness& h, WindowOpener* opener = nullptr)
{
    return SingleTaskSettingsWindowModel(h.program->settings, h.main(), opener, h.fileDialog, h.exe);
}

inline AllTaskSettingsWindowModel allTasksWindow(Harness& h)
{
    return AllTaskSettingsWindowModel(h.program->settings, h.main());
}

inline AboutWindowModel aboutWindow(Harness& h, WindowOpener* opener = nullptr)
{
    return AboutWindowModel(h.program->settings, h.clock, opener);
}

inline DonationsWindowModel donationsWindow(Harness& h) { return DonationsWindowModel(h.program->settings, &h.data); }

// The keys written so far, in order.
inline QStringList writtenKeys(const Harness& h)
{
    QStringList out;
    for (const auto& w : h.store.writes())
        out << w.key;
    return out;
}

// "TASK_1_<suffix>" … "TASK_20_<suffix>".
inline QStringList slotKeys(const char* suffix)
{
    QStringList out;
    for (int n = 1; n <= 20; ++n)
        out << QStringLiteral("TASK_%1_%2").arg(n).arg(QLatin1String(suffix));
    return out;
}

} // namespace zb::test
