#include "WindowsCommands.h"

namespace zb::schedule {

namespace {
const QString q = QStringLiteral("\"");
const char* const kCodes[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};
} // namespace

QString taskName(const QString& baseName) { return QStringLiteral("ZB-SEQUENTA - ") + baseName; }

QString windowsTaskProgram(const QString& folder, const QString& baseName)
{
    return folder + QStringLiteral("\\") + baseName + QStringLiteral(".exe");
}

QString dayCode(int day) { return QLatin1String(kCodes[day]) + QLatin1Char(' '); }

QString dayList(const DayChoice& choice)
{
    if (choice.everyDay)
        return QStringLiteral("MON,TUE,WED,THU,FRI,SAT,SUN ");
    QString out;
    for (int d = 0; d < 7; ++d)
        if (choice.days[static_cast<std::size_t>(d)])
            out += dayCode(d);
    return out;
}

QString schTasksCreate(const QString& dayList, const QString& taskName, const QString& taskProgram,
                       const QString& runTime)
{
    return QStringLiteral("SchTasks /Create /SC WEEKLY /D ") + dayList + QStringLiteral("/TN ") + q + taskName + q +
           QStringLiteral(" /TR ") + q + taskProgram + q + QStringLiteral(" /ST ") + runTime;
}

QString schTasksDelete(const QString& taskName)
{
    return QStringLiteral("SchTasks /Delete /TN ") + q + taskName + q + QStringLiteral(" /F");
}

QString schTasksEnable(const QString& taskName)
{
    return QStringLiteral("SchTasks /Change /TN ") + q + taskName + q + QStringLiteral(" /ENABLE");
}

QString schTasksDisable(const QString& taskName)
{
    return QStringLiteral("SchTasks /Change /TN ") + q + taskName + q + QStringLiteral(" /DISABLE");
}

} // namespace zb::schedule
