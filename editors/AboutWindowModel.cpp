#include "AboutWindowModel.h"

#include "EditorTexts.h"

#include <cstddef>

namespace zb {

namespace {

Colour ringColour(int k) { return AboutWindowModel::kThankYouColours[static_cast<std::size_t>(k - 1)]; }

} // namespace

AboutWindowModel::AboutWindowModel(Settings& settings, TimerHost& timers, WindowOpener* opener)
    : EditorWindowModel(settings, keys::ABOUT, QStringLiteral("ZB_SEQUENTA_ABOUT"),
                        QStringLiteral("ZB-SEQUENTA - ABOUT")),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      ZB_SEQUENTA_VERSION(QStringLiteral("ZB_SEQUENTA_VERSION"), text::kVersion),
      THANK_YOU_LABEL(QStringLiteral("THANK_YOU_LABEL"), QStringLiteral("Thank you for using ZB-SEQUENTA!\n"
                                                                        "May your task chains run while you sleep.")),
      DONATIONS_BUTTON(QStringLiteral("DONATIONS_BUTTON"), QStringLiteral("DONATIONS")),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      THANK_YOU_TIMER([&timers](int k) { return Timer(timers, QStringLiteral("THANK_YOU_TIMER_%1").arg(k)); }),
      opener_(opener)
{
    THANK_YOU_LABEL.setBackground(colour::Black);
    THANK_YOU_LABEL.setForeground(ringColour(1));
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    DONATIONS_BUTTON.onClick = [this] { DONATIONS_BUTTON_Click(); };
    for (int k = 1; k <= kColourSteps; ++k) {
        THANK_YOU_TIMER[k].setInterval(kColourStepMs);
        THANK_YOU_TIMER[k].onTick = [this, k] { THANK_YOU_TIMER_Timer(k); };
    }
}

void AboutWindowModel::Form_Load()
{
    loadGeometry();
    THANK_YOU_LABEL.setForeground(ringColour(1));
    THANK_YOU_TIMER[1].setEnabled(true);
}

void AboutWindowModel::OK_BUTTON_Click()
{
    storePosition();
    close();
}

void AboutWindowModel::DONATIONS_BUTTON_Click()
{
    if (opener_ != nullptr)
        opener_->showModal(WindowKind::Donations);
}

void AboutWindowModel::THANK_YOU_TIMER_Timer(int k)
{
    const int next = k % kColourSteps + 1;
    THANK_YOU_LABEL.setForeground(ringColour(next));
    THANK_YOU_TIMER[next].setEnabled(true);
    THANK_YOU_TIMER[k].setEnabled(false);
}

void AboutWindowModel::unloading()
{
    for (Timer& t : THANK_YOU_TIMER)
        t.setEnabled(false);
}

} // namespace zb
