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

void TlsTickGroup::settleLoadedChoice()
{
    const int ticked = no_.value() + yes_.value() + auto_.value();
    if (ticked == 1 && yes_.ticked()) {
        yes_.setEnabled(true);
        yesClicked();
    } else if (ticked == 1 && auto_.ticked()) {
        auto_.setEnabled(true);
        autoClicked();
    } else {
        // "no", ticked or (all three clear) not.
        if (ticked > 1)
            no_.setValue(1);
        no_.setEnabled(true);
        noClicked();
    }
}

} // namespace zb
