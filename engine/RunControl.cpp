#include "RunControl.h"

#include "ClockTexts.h"
#include "JournalText.h"
#include "PassAccount.h"
#include "PassOutcome.h"
#include "PassReport.h"
#include "RunRecorder.h"
#include "TaskChain.h"
#include "core/MainWindowModel.h"
#include "platform/ExecutableInfo.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/SettingsStore.h"

#include <QElapsedTimer>
#include <algorithm>

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
    // The autoclose started by hand can run out while a pass runs: that pass
    // did not end.
    if (recorder_.passUnderWay())
        recorder_.passInterrupted(std::max(1, chain_.turn()), kInterruptionClosed);
    // The mail goes as the program closes: tasks that still run are told so.
    recorder_.programClosing();
    if (main_.END_EMAIL_TICKBOX.ticked()) {
        status.setCaption(QStringLiteral("SENDING END EMAIL"));
        sendEndEmail(recorder_.passResult());
    } else {
        status.setCaption(QStringLiteral("SKIPPING END EMAIL"));
    }
    const QString lastRun = recorder_.passResult();
    // Its colours are left: the window closes at once.
    main_.LAST_RUN_TEXTBOX.setText(lastRun);
    main_.showLastRunTime(isoTimeWithOffset(recorder_.wallClock()));
    {
        const SettingsBatch batch(main_.settings().store());
        main_.settings().writeText(keys::LAST_RUN, lastRun);
        main_.settings().writeText(keys::LAST_RUN_TIME, main_.lastRunTime());
    }
    recorder_.passClosed(lastRun);
    status.setCaption(QStringLiteral("!!! AUTOCLOSING !!!"));
    main_.close();
}

void RunControl::sendEndEmail(const QString& lastRun)
{
    // The report tells the pass as it stands now, ended as it is about to be stored.
    QList<JournalEntry> entries = recorder_.passEntries();
    entries.append(JournalEntry{
        recorder_.wallClock(), {.kind = JournalEvent::Kind::Autoclosed, .reason = lastRun}, recorder_.passId()});
    const QList<HistoryPass> passes = historyFromEntries(entries);
    const QString subject = endEmailSubjectFor(exe_.baseName(), lastRun == text::kCompletedSuccessfully);
    QStringList arguments{subject};
    if (!passes.isEmpty()) {
        const QString report = passReportText(
            subject, passes.first(), [this](const QString& file, qint64 bytes) { return files_.readEnd(file, bytes); });
        // Without the file the mail still goes, with the subject as its text.
        const QString messageFile = endEmailMessagePath(exe_.programFolder(), exe_.baseName());
        if (files_.writePrivateFile(messageFile, report.toUtf8()).ok)
            arguments << messageFile;
    }
    RunEmailBatch(EmailBatch::End, arguments);
}

void RunControl::RunEmailBatch(EmailBatch kind, const QStringList& arguments)
{
    const QString path = emailBatchPath(exe_.programFolder(), exe_.baseName(), kind);
    if (!files_.exists(path)) {
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchNotFoundText(kind));
        recorder_.record({.kind = JournalEvent::Kind::EmailMissing, .email = kind, .file = path});
        return;
    }
    const LaunchResult launched = launcher_.launchArgv(QStringList{kBatchShell, path} + arguments, WindowStyle::Hidden);
    if (!launched.started) {
        main_.CURRENT_STATUS_LABEL.setCaption(emailBatchFailedText(kind));
        recorder_.record(
            {.kind = JournalEvent::Kind::EmailFailed, .email = kind, .reason = launched.error, .file = path});
        return;
    }
    recorder_.emailStarted(kind, launched.pid, path);
}

void RunControl::RUNTIME_TIMER_Timer()
{
    ++main_.runtimeSeconds;
    main_.RUNTIME_TEXTBOX.setText(runtimeClockText(main_.runtimeSeconds));
}

void RunControl::showLastRun(const QString& text, Colour background)
{
    main_.showLastRun(text, background, isoTimeWithOffset(recorder_.wallClock()));
}

void RunControl::programClosing()
{
    if (!recorder_.passUnderWay())
        return;
    const int turn = std::max(1, chain_.turn());
    showLastRun(interruptedLastRun(turn), colour::Red);
    recorder_.passInterrupted(turn, kInterruptionClosed);
}

void RunControl::lookBack()
{
    const QList<HistoryPass> passes = newestPasses(recorder_.journal());
    // A scheduled start that could not run since says nothing of the last pass.
    const auto ran = std::find_if(passes.cbegin(), passes.cend(), [](const HistoryPass& p) { return !p.notRun; });
    if (ran == passes.cend())
        return;
    const HistoryPass& last = *ran;
    if (!last.ended) {
        // Stored at or after its start, the last-run text is this pass's own:
        // only its journal line was lost (a full disk), and the text stands.
        const QString stored = main_.settings().readText(keys::LAST_RUN);
        const QDateTime storedAt = QDateTime::fromString(main_.settings().readText(keys::LAST_RUN_TIME), Qt::ISODate);
        const QDateTime started = last.started.addMSecs(-last.started.time().msec());
        if (!stored.isEmpty() && storedAt.isValid() && storedAt >= started) {
            recorder_.earlierPassEndFound(last.id, stored);
            return;
        }
        // Cut short without a word (killed, a crash, the power): nothing
        // could be stored then, so it is now, and journaled once.
        const int turn = std::clamp(last.turn, 1, kSlotCount);
        const QString text = interruptedLastRun(turn);
        main_.showLastRun(text, colour::Red, isoTimeWithOffset(last.lastEvent));
        const SettingsBatch batch(main_.settings().store());
        main_.settings().writeText(keys::LAST_RUN, text);
        main_.settings().writeText(keys::LAST_RUN_TIME, main_.lastRunTime());
        recorder_.earlierPassCutShort(last.id, turn);
        return;
    }
    if (!last.endEmailProblem.isEmpty())
        main_.showLastRunTime(
            main_.lastRunTime(),
            QStringLiteral("The end e-mail script %1: the mail may not have gone.").arg(last.endEmailProblem));
}

void RunControl::awaitEmails(int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (qint64 pid : recorder_.runningEmails())
        launcher_.awaitEnd(pid, std::max<int>(0, timeoutMs - static_cast<int>(elapsed.elapsed())));
    recorder_.programEnding();
}

} // namespace zb
