#pragma once

#include <QString>
#include <array>

// The command lines of the Windows task scheduler (SchTasks), composed
// exactly as that port starts them.
namespace zb::schedule {

// Every day, or a set of weekdays, Monday first.
struct DayChoice {
    bool everyDay = false;
    std::array<bool, 7> days{};
};

// "ZB-SEQUENTA - <base name>": the scheduled task of this copy.
QString taskName(const QString& baseName);
// "<folder>\<base name>.exe".
QString windowsTaskProgram(const QString& folder, const QString& baseName);

// "MON " ... "SUN ": a weekday's piece of the day list, with its blank.
QString dayCode(int day);
// "MON,TUE,WED,THU,FRI,SAT,SUN " for every day, else the ticked days'
// pieces joined, Monday first; empty when nothing is chosen.
QString dayList(const DayChoice& choice);

// The day list ends in a blank, so "/TN " follows it without one.
QString schTasksCreate(const QString& dayList, const QString& taskName, const QString& taskProgram,
                       const QString& runTime);
QString schTasksDelete(const QString& taskName);
QString schTasksEnable(const QString& taskName);
QString schTasksDisable(const QString& taskName);

} // namespace zb::schedule
