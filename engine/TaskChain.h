#pragma once

namespace zb {

class MainWindowModel;
class Launcher;
class TimerHost;

// Walks the twenty slots of the main window, one slot per tick of its
// TASK_n_MAIN_TIMER: launches each enabled slot's command, paints the light,
// writes the status line and hands over to the next slot, to the slot's
// watcher, or after slot 20 to AUTOCLOSE_TIMER.
class TaskChain {
public:
    TaskChain(MainWindowModel& main, Launcher& launcher);
    TaskChain(const TaskChain&) = delete;
    TaskChain& operator=(const TaskChain&) = delete;

    void MAIN_START_STOP_BUTTON_Click();
    void TASK_MAIN_TIMER_Timer(int n);

    // Starts a pass at slot 1. A new pass supersedes the end-of-run step of
    // an earlier one, so AUTOCLOSE_TIMER goes off unless the user started the
    // autoclose countdown by hand.
    void startPass();
    // Arms what follows slot n: slot n + 1, or AUTOCLOSE_TIMER after slot 20.
    void enableSuccessor(int n);
    // Switches off every slot's main timer, in slot order.
    void stopMainTimers();
    // Switches off every slot's watcher, so that a stopped pass stays stopped.
    void stopWatchers();

private:
    // Switches off the end-of-run step of an earlier pass and resets its
    // countdown.
    void stopEndOfRunStep();

    MainWindowModel& main_;
    Launcher& launcher_;
};

} // namespace zb
