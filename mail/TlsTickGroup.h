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

    // Brings the group to the choice that three stored or copied ticks make,
    // in the state that clicking that choice gives, through the click rules.
    // Ticking the boxes one by one instead would let "no" being cleared clear
    // the box just ticked. More than one tick (a file edited by hand) means
    // "no"; none at all leaves the three clear and enabled.
    void choose(int no, int yes, int autoTick);

private:
    void set(const char* value);

    TickBox& no_;
    TickBox& yes_;
    TickBox& auto_;
    std::function<void(const QString&)> setting_;
};

} // namespace zb
