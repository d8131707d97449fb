#pragma once

#include "RunJournal.h"
#include "core/SlotArray.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace zb {

class MainWindowModel;
class Launcher;
class ProcessQuery;
class RunRecorder;

// Walks the twenty slots of the main window, one slot per tick of its
// TASK_n_MAIN_TIMER: launches each enabled slot's command, paints the light,
// writes the status line and hands over to the next slot, to the slot's
// watcher, or after slot 20 to AUTOCLOSE_TIMER.
//
// After a launch the chain holds for one second before it hands over. The
// hold is the slot's main timer left on for one more tick, so the window
// goes on answering meanwhile, and whatever stops the main timers ends it.
class TaskChain {
public:
    TaskChain(MainWindowModel& main, Launcher& launcher, ProcessQuery& processes, RunRecorder& recorder);
    TaskChain(const TaskChain&) = delete;
    TaskChain& operator=(const TaskChain&) = delete;

    void MAIN_START_STOP_BUTTON_Click();
    void TASK_MAIN_TIMER_Timer(int n);

    // A pass of this kind is about to start at slot 1. It is journaled, and
    // onPassBegins runs, only when its first task is about to start: a pass
    // stopped before that ran nothing and leaves no trace of a pass.
    void beginPassWhenATaskStarts(PassStart how);
    bool passPending() const { return pending_.has_value(); }
    // The pending pass of that kind is journaled now, with the slots it has
    // skipped so far.
    std::function<void(PassStart)> onPassBegins;
    // The chain has passed slot 20, or STOP has ended it.
    std::function<void()> onChainEnded;
    std::function<void()> onStartedByHand;
    // STOP has ended the chain; `passRan` when a pass had begun.
    std::function<void(bool passRan)> onStopped;

    // Starts a pass at slot 1. A new pass supersedes the end-of-run step of
    // an earlier one, so AUTOCLOSE_TIMER goes off unless the user started the
    // autoclose countdown by hand.
    void startPass();
    // Ends what is left of an earlier pass, before a new one is begun.
    void endEarlierPass();
    // Arms what follows slot n: slot n + 1, or AUTOCLOSE_TIMER after slot 20.
    void enableSuccessor(int n);
    // Switches off every slot's main timer, in slot order.
    void stopMainTimers();
    // Switches off every slot's watcher, so that a stopped pass stays stopped.
    void stopWatchers();
    // The slot whose turn it is: its main timer or its watcher is on; 0 when
    // no slot's is.
    int turn() const;
    // Slot n has handed over: green, unless its task has already ended badly.
    void showHandedOver(int n);
    // Slot n, which held the chain, failed and its slot says stop: the slots
    // after it are skipped for `why`, and the pass ends as after slot 20.
    void stopChainAfter(int n, const QString& why);

private:
    void launch(int n);
    void endHold(int n);
    // Slot n's task failed: stops the chain when it still holds on the task
    // and the slot says so.
    void taskFailed(int n);
    // Switches off the end-of-run step of an earlier pass and resets its
    // countdown.
    void stopEndOfRunStep();
    void beginPendingPass();

    std::optional<PassStart> pending_;
    QList<int> pendingSkips_;

    MainWindowModel& main_;
    Launcher& launcher_;
    ProcessQuery& processes_;
    RunRecorder& recorder_;
    // Slot n has launched its task and holds: its next tick hands over.
    std::array<bool, kSlotCount + 1> holding_{};
};

} // namespace zb
