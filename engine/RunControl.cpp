#include "RunControl.h"

#include "ClockTexts.h"
#include "JournalText.h"
#include "PassOutcome.h"
#include "RunRecorder.h"
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

RunControl::RunControl(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, Launcher& launcher, Files& files,
                       const ExecutableInfo& exe)
    : main_(main),
      chain_(chain),
      recorder_(recorder),
      launcher_(launcher),
      files_(files),
      exe_(exe)
{
    main_.RUNTIME_TIMER.onTick = [this] { RUNTIME_TIMER_Timer(); };
}

void RunControl::StartRunFromAutostart()
{
    Label& status = main_.CURRENT_STATUS_LABEL;
    chain_.endEarlierPass();
    recorder_.beginPass(PassStart::Autostart);
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
    main_.LAST_RUN_TEXTBOX.setText(recorder_.outcome().lastRunText());
    main_.settings().writeText(keys::LAST_RUN, main_.LAST_RUN_TEXTBOX.text());
    const QString endedAt = isoTimeWithOffset(recorder_.wallClock());
    main_.settings().writeText(keys::LAST_RUN_TIME, endedAt);
    main_.showLastRunTime(endedAt);
    recorder_.record({.kind = JournalEvent::Kind::Autoclosed, .reason = main_.LAST_RUN_TEXTBOX.text()});
    status.setCaption(QStringLiteral("!!! AUTOCLOSING !!!"));
    main_.close();
}

void RunControl::RunEmailBatch(EmailBatch kind)
{
    const QString path = emailBatchPath(exe_.programFolder(), exe_.baseName(), kind);
    const QString notSent = kind == EmailBatch::Start ? problem::startEmailNotSent() : problem::endEmailNotSent();
    if (!files_.exists(path)) {
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchNotFoundText(kind));
        recorder_.record({.kind = JournalEvent::Kind::EmailMissing, .email = kind, .file = path});
        recorder_.problem(notSent);
        return;
    }
    const LaunchResult launched = launcher_.launchArgv({kBatchShell, path}, WindowStyle::Hidden);
    if (!launched.started) {
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchFailedText(kind));
        recorder_.record(
            {.kind = JournalEvent::Kind::EmailFailed, .email = kind, .reason = launched.error, .file = path});
        recorder_.problem(notSent);
        return;
    }
    recorder_.record({.kind = JournalEvent::Kind::EmailStarted, .email = kind, .pid = launched.pid, .file = path});
}

void RunControl::RUNTIME_TIMER_Timer()
{
    ++main_.runtimeSeconds;
    main_.RUNTIME_TEXTBOX.setText(runtimeClockText(main_.runtimeSeconds));
}

} // namespace zb
