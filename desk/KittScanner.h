#pragma once

namespace zb {

class MainWindowModel;

// The seven scanner lights KITT_LABEL_1..7: a red dot that runs there and
// back over sixteen one-shot timers of 100 ms, KITT_RED_TIMER_1..16, each
// doing one step and arming the next. KITT_START_BUTTON starts and stops it,
// and the heartbeat with it.
class KittScanner {
public:
    explicit KittScanner(MainWindowModel& main);
    KittScanner(const KittScanner&) = delete;
    KittScanner& operator=(const KittScanner&) = delete;

    void KITT_START_BUTTON_Click();
    // Step k of the ring, 1 to 16.
    void KITT_RED_TIMER_Timer(int k);

private:
    MainWindowModel& main_;
};

} // namespace zb
