#pragma once

namespace zb {

class TimerHost;
class SettingsStore;
class ExecutableInfo;
class Launcher;
class ProcessQuery;
class Folders;
class FileDialog;
class Files;
class CommandShell;
class Crontab;
class Keyboard;
class WindowStacking;
class ScreenSaverInhibitor;
class ProgramData;

// The operating-system services the program's logic uses, one interface each.
struct Services {
    TimerHost& timers;
    SettingsStore& store;
    ExecutableInfo& exe;
    Launcher& launcher;
    ProcessQuery& processes;
    Folders& folders;
    FileDialog& fileDialog;
    Files& files;
    CommandShell& shell;
    // The user's crontab; none where the program has no scheduler.
    Crontab* crontab = nullptr;
    // The desk's: none given stands for a system without them.
    Keyboard* keyboard = nullptr;
    WindowStacking* stacking = nullptr;
    ScreenSaverInhibitor* screenSaver = nullptr;
    // The data files installed with the program; none given: none installed.
    const ProgramData* data = nullptr;
};

} // namespace zb
