#include "RunControl.h"

#include "ClockTexts.h"
#include "TaskChain.h"
#include "core/MainWindowModel.h"
#include "platform/ExecutableInfo.h"
#include "platform/Files.h"
#include "platform/Launcher.h"

namespace zb {

namespace {
// The batch files are shell scripts, run by the system shell.
const QString kBatchShell = QStringLiteral("/bin/sh");
} // namespace

RunControl::RunControl(MainWindowModel& main, TaskChain& chain, Launcher& launcher, Files& files,
                       const ExecutableInfo& exe)
    : main_(main),
      chain_(chain),
      launcher_(launcher),
      files_(files),
      exe_(exe)
{
    main_.RUNTIME_TIMER.onTick = [this] { RUNTIME_TIMER_Timer(); };
}

void RunControl::StartRunFromAutostart()
{
    Label& status = main_.CURRENT_STATUS_LABEL;
    status.setCaption(QStringLiteral("STARTING RUNTIME TIMER!!!"));
    main_.RUNTIME_TIMER.setEnabled(true);
    if (main_.START_EMAIL_TICKBOX.ticked()) {
        status.setCaption(QStringLiteral("SENDING START EMAIL"));
        RunEmailBatch(EmailBatch::Start);
    } else {
        status.setCaption(QStringLiteral("SKIPPING START EMAIL"));
    }
    chain_.startPass();
    main_.MAIN_START_STOP_BUTTON.setCaption(text::kStop);
}

void RunControl::FinishRunAndClose()
{
    Label& status = main_.CURRENT_STATUS_LABEL;
    if (main_.END_EMAIL_TICKBOX.ticked()) {
        status.setCaption(QStringLiteral("SENDING END EMAIL"));
        RunEmailBatch(EmailBatch::End);
    } else {
        status.setCaption(QStringLiteral("SKIPPING END EMAIL"));
    }
    main_.LAST_RUN_TEXTBOX.setText(text::kCompletedSuccessfully);
    main_.settings().writeText(keys::LAST_RUN, main_.LAST_RUN_TEXTBOX.text());
    status.setCaption(QStringLiteral("!!! AUTOCLOSING !!!"));
    main_.close();
}

void RunControl::RunEmailBatch(EmailBatch kind)
{
    const QString path = emailBatchPath(exe_.programFolder(), exe_.baseName(), kind);
    if (!files_.exists(path)) {
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchNotFoundText(kind));
        return;
    }
    if (!launcher_.launchArgv({kBatchShell, path}, WindowStyle::Hidden).started)
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchFailedText(kind));
}

void RunControl::RUNTIME_TIMER_Timer()
{
    ++main_.runtimeSeconds;
    main_.RUNTIME_TEXTBOX.setText(runtimeClockText(main_.runtimeSeconds));
}

} // namespace zb
