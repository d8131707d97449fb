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
// History's result for a pass that STOP ended.
const QString kStoppedLastRun = QStringLiteral("STOPPED");

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
    chain_.onPassBegins = [this](PassStart how) { passBegins(how); };
    chain_.onChainEnded = [this] { chainEnded(); };
    chain_.onStopped = [this](bool passRan) { passStopped(passRan); };
}

void RunControl::StartRunFromAutostart()
{
    chain_.endEarlierPass();
    // The pass, and its start e-mail, begin with its first task: a stop in
    // the second before leaves nothing behind.
    chain_.beginPassWhenATaskStarts(PassStart::Autostart);
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("STARTING RUNTIME TIMER!!!"));
    main_.runtimeSeconds = 0;
    main_.RUNTIME_TEXTBOX.setText(runtimeClockText(0));
    main_.RUNTIME_TIMER.setEnabled(true);
    chain_.startPass();
    main_.MAIN_START_STOP_BUTTON.setCaption(text::kStop);
}

void RunControl::passBegins(PassStart how)
{
    if (how == PassStart::ByHand)
        return;
    Label& status = main_.CURRENT_STATUS_LABEL;
    if (main_.START_EMAIL_TICKBOX.ticked()) {
        status.setCaption(QStringLiteral("SENDING START EMAIL"));
        RunEmailBatch(EmailBatch::Start);
    } else {
        status.setCaption(QStringLiteral("SKIPPING START EMAIL"));
    }
}

void RunControl::chainEnded()
{
    passOver();
    const QString text = recorder_.chainResult();
    showLastRun(text, text == text::kCompletedSuccessfully ? colour::Green : colour::Red);
    storeLastRun(text);
}

void RunControl::passStopped(bool passRan)
{
    passOver();
    // As History and --last tell it: the latest pass is the stopped one.
    if (!passRan)
        return;
    showLastRun(kStoppedLastRun, colour::Red);
    storeLastRun(kStoppedLastRun);
}

void RunControl::passOver()
{
    main_.RUNTIME_TIMER.setEnabled(false);
    const bool closing =
        main_.AUTOCLOSE_TIMER.enabled() && (main_.autocloseStartedByHand || main_.AUTOCLOSE_TICKBOX.ticked());
    const bool countdownHolds = main_.AUTOSTART_TIMER.enabled() || closing;
    main_.SETTINGS_BUTTON.setEnabled(!countdownHolds);
}

void RunControl::storeLastRun(const QString& text)
{
    const SettingsBatch batch(main_.settings().store());
    main_.settings().writeText(keys::LAST_RUN, text);
    main_.settings().writeText(keys::LAST_RUN_TIME, main_.lastRunTime());
}

void RunControl::autocloseArmedByHand()
{
    // A pass under way is the autoclose's to tell; one that had ended is not.
    toldAlready_ = recorder_.passUnderWay() ? std::nullopt : std::optional<QString>(recorder_.passId());
}

bool RunControl::passClean() const
{
    const QString result = recorder_.chainResult();
    return result.isEmpty() || result == text::kCompletedSuccessfully;
}

void RunControl::FinishRunAndClose()
{
    Label& status = main_.CURRENT_STATUS_LABEL;
    // Armed by hand after a pass had ended, the autoclose has no pass of its
    // own to tell: it closes without a mail and leaves the last run alone.
    if (main_.autocloseStartedByHand && toldAlready_ == recorder_.passId()) {
        closeUnlessEditing();
        return;
    }
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
    showLastRun(lastRun, lastRun == text::kCompletedSuccessfully ? colour::Green : colour::Red);
    storeLastRun(lastRun);
    recorder_.passClosed(lastRun);
    closeUnlessEditing();
}

void RunControl::closeUnlessEditing()
{
    // Someone is at the machine, mid-edit: the pass is told and stored, and
    // the window stays, rather than drop what they typed.
    const QString editing = main_.openEditor ? main_.openEditor() : QString();
    if (editing.isEmpty()) {
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("!!! AUTOCLOSING !!!"));
        main_.close();
        return;
    }
    // Off, and ready to count the full eleven seconds when started again.
    main_.AUTOCLOSE_TIMER.setEnabled(false);
    main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStart);
    main_.autocloseCountdown = kCountdownStartSeconds;
    main_.AUTOCLOSE_TIMER_TEXTBOX.setText(countdownFieldText(kCountdownStartSeconds));
    main_.autocloseStartedByHand = false;
    main_.AUTOCLOSE_TICKBOX.setEnabled(true);
    passOver();
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("NOT CLOSED - %1 HAS UNSAVED CHANGES").arg(editing.toUpper()));
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
