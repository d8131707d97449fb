#pragma once

#include <QString>
#include <functional>

namespace zb {

class TickBox;

// The TLS choice: three tick boxes "no", "yes" and "auto" that act as one
// exclusive choice. The ticked box disables the other two; clearing "yes" or
// "auto" falls back to "no"; clearing "no" leaves all three clear and
// enabled, which means "no". The rules lean on a tick box running its click
// handling whenever code changes its value.
class TlsTickGroup {
public:
    // setting receives "no", "yes" or "auto" as the choice changes; it may be
    // empty where the window keeps no such value.
    TlsTickGroup(TickBox& no, TickBox& yes, TickBox& autoBox, std::function<void(const QString&)> setting);

    void noClicked();
    void yesClicked();
    void autoClicked();

    // After the three boxes were loaded: keeps the loaded choice and brings
    // the boxes into the state a click on it gives. More than one box ticked
    // (a file edited by hand) counts as "no".
    void settleLoadedChoice();

private:
    void set(const char* value);

    TickBox& no_;
    TickBox& yes_;
    TickBox& auto_;
    std::function<void(const QString&)> setting_;
};

} // namespace zb
