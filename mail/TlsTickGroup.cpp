#include "TlsTickGroup.h"

#include "core/Control.h"

namespace zb {

TlsTickGroup::TlsTickGroup(TickBox& no, TickBox& yes, TickBox& autoBox, std::function<void(const QString&)> setting)
    : no_(no),
      yes_(yes),
      auto_(autoBox),
      setting_(std::move(setting))
{}

void TlsTickGroup::set(const char* value)
{
    if (setting_)
        setting_(QLatin1String(value));
}

void TlsTickGroup::noClicked()
{
    set("no");
    const bool ticked = no_.ticked();
    yes_.setValue(0);
    yes_.setEnabled(!ticked);
    auto_.setValue(0);
    auto_.setEnabled(!ticked);
}

void TlsTickGroup::yesClicked()
{
    if (yes_.ticked()) {
        set("yes");
        no_.setValue(0);
        no_.setEnabled(false);
    } else {
        set("no");
        no_.setValue(1);
        no_.setEnabled(true);
    }
    auto_.setValue(0);
    auto_.setEnabled(false);
}

void TlsTickGroup::autoClicked()
{
    if (auto_.ticked()) {
        set("auto");
        no_.setValue(0);
        no_.setEnabled(false);
    } else {
        set("no");
        no_.setValue(1);
        no_.setEnabled(true);
    }
    yes_.setValue(0);
    yes_.setEnabled(false);
}

void TlsTickGroup::choose(int no, int yes, int autoTick)
{
    const int ticks = (no != 0) + (yes != 0) + (autoTick != 0);
    // First "no", whatever the boxes hold now.
    no_.setEnabled(true);
    if (no_.ticked())
        noClicked();
    else
        no_.setValue(1);
    if (ticks > 1 || no != 0)
        return;
    no_.setValue(0); // all three clear and enabled
    if (yes != 0)
        yes_.setValue(1);
    else if (autoTick != 0)
        auto_.setValue(1);
}

} // namespace zb
