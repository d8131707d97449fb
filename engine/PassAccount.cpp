#include "PassAccount.h"

#include "ClockTexts.h"
#include "PassOutcome.h"
#include "RunJournal.h"
#include "core/SlotArray.h"

#include <QHash>
#include <QMap>
#include <algorithm>

namespace zb {

namespace {

using Kind = JournalEvent::Kind;

QString tookText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool endedBadly(const JournalEvent& e) { return e.signal != 0 || e.exitCode != 0; }

// A pass being read.
struct Reading {
    HistoryPass pass;
    QString firstProblem;
    bool chainEnded = false;
    bool closed = false;     // a stored last-run text stands
    bool hasStart = false;   // its start line is in view
    QDateTime chainEndedAt;  // when its chain ended, was stopped or cut short
    QMap<qint64, int> tasks; // pid to slot, of its tasks without an end yet
};

HistorySlot& slotOf(HistoryPass& pass, int n)
{
    for (HistorySlot& s : pass.slots)
        if (s.slot == n)
            return s;
    pass.slots.append(HistorySlot{n, QString(), QString(), false});
    return pass.slots.last();
}

// What an outcome says of the slot's wait ("; waited 5 s"), kept when the
// task's end is told after it.
QString waitNote(const QString& outcome)
{
    const qsizetype at = outcome.indexOf(QLatin1String("; wait"));
    return at < 0 ? QString() : outcome.mid(at);
}

void noteProblem(Reading& r, const QString& problem)
{
    if (!r.closed && r.firstProblem.isEmpty())
        r.firstProblem = problem;
}

void endPass(Reading& r, const QString& result)
{
    if (r.pass.ended)
        return;
    r.pass.ended = true;
    r.pass.result = result;
}

void applyEmail(Reading& r, const JournalEvent& e)
{
    const bool start = e.email == EmailBatch::Start;
    switch (e.kind) {
    case Kind::EmailMissing:
    case Kind::EmailFailed:
        noteProblem(r, start ? problem::startEmailNotSent() : problem::endEmailNotSent());
        break;
    case Kind::EmailEnded:
        if (!endedBadly(e))
            break;
        if (start)
            noteProblem(r, problem::startEmailFailed());
        else
            r.pass.endEmailProblem =
                (e.signal != 0 ? QStringLiteral("was ") : QString()) + processEndText(e.exitCode, e.signal);
        break;
    case Kind::EmailStillRunning:
        if (!start)
            r.pass.endEmailProblem = QStringLiteral("was still running when the program ended");
        break;
    default:
        break;
    }
}

void apply(Reading& r, const JournalEvent& e)
{
    HistoryPass& pass = r.pass;
    switch (e.kind) {
    case Kind::TaskSkipped: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = e.reason.isEmpty() ? QStringLiteral("skipped") : QStringLiteral("skipped: ") + e.reason;
        s.skipped = true;
        pass.turn = e.slot + 1;
        break;
    }
    case Kind::TaskFailed:
        slotOf(pass, e.slot).outcome = QStringLiteral("failed to start: ") + e.reason;
        slotOf(pass, e.slot).failed = true;
        slotOf(pass, e.slot).name = e.name;
        noteProblem(r, problem::taskFailedToStart(e.slot));
        pass.turn = e.slot + 1;
        break;
    case Kind::TaskStarted: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("started, pid %1").arg(e.pid);
        if (e.file.isEmpty() && !e.reason.isEmpty())
            s.outcome += QStringLiteral("; output not kept: ") + e.reason;
        s.outputFile = e.file;
        s.failed = false;
        s.name = e.name;
        s.ranBeside = QList<int>(r.tasks.cbegin(), r.tasks.cend());
        std::sort(s.ranBeside.begin(), s.ranBeside.end());
        pass.turn = e.slot;
        if (e.pid != 0)
            r.tasks.insert(e.pid, e.slot);
        break;
    }
    case Kind::WaitBegan:
        pass.turn = e.slot;
        break;
    case Kind::WaitEnded:
        slotOf(pass, e.slot).outcome += QStringLiteral("; waited %1 s").arg(e.seconds);
        pass.turn = e.slot + 1;
        break;
    case Kind::WaitStopped:
        slotOf(pass, e.slot).outcome += QStringLiteral("; wait stopped after %1 s").arg(e.seconds);
        break;
    case Kind::TaskTimedOut:
        slotOf(pass, e.slot).outcome += QStringLiteral("; wait timed out after ") + tookText(e.seconds);
        slotOf(pass, e.slot).failed = true;
        noteProblem(r, problem::taskTimedOut(e.slot));
        pass.turn = e.slot + 1;
        break;
    case Kind::TaskSignalled:
        slotOf(pass, e.slot).outcome +=
            (e.signal == 9 ? QStringLiteral(", SIGKILL") : QStringLiteral(", SIGTERM")) +
            (e.reason.isEmpty() ? QStringLiteral(" sent") : QStringLiteral(": ") + e.reason);
        break;
    case Kind::TaskExited: {
        r.tasks.remove(e.pid);
        HistorySlot& s = slotOf(pass, e.slot);
        const bool timedOut = s.outcome.contains(QLatin1String("; wait timed out"));
        s.outcome = processEndText(e.exitCode, e.signal) + QStringLiteral(" after ") + tookText(e.runMs / 1000) +
                    waitNote(s.outcome);
        s.failed = timedOut || endedBadly(e);
        if (endedBadly(e) && !timedOut)
            noteProblem(r, problem::taskExitedWith(e.slot, lastRunEndWord(e.exitCode, e.signal)));
        break;
    }
    case Kind::TaskStillRunning: {
        r.tasks.remove(e.pid);
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("still running at close") + waitNote(s.outcome);
        break;
    }
    case Kind::PassStopped:
        endPass(r, QStringLiteral("STOPPED"));
        break;
    case Kind::ChainEnded:
        r.chainEnded = !pass.ended;
        endPass(r, QString());
        break;
    case Kind::Autoclosed:
    case Kind::PassEndFound:
        // What was stored stands, also over an earlier end.
        pass.ended = true;
        pass.result = e.reason;
        r.closed = true;
        break;
    case Kind::PassInterrupted:
        endPass(r, interruptedLastRun(e.slot));
        break;
    case Kind::EmailMissing:
    case Kind::EmailFailed:
    case Kind::EmailEnded:
    case Kind::EmailStillRunning:
        applyEmail(r, e);
        break;
    case Kind::PassStarted:
    case Kind::ScheduledStart:
    case Kind::ScheduledStartNotRun:
    case Kind::EmailStarted:
        break;
    }
}

// Whether the event is news about a process that an earlier event started.
bool endsAProcess(Kind kind)
{
    return kind == Kind::TaskExited || kind == Kind::TaskStillRunning || kind == Kind::EmailEnded ||
           kind == Kind::EmailStillRunning || kind == Kind::TaskSignalled;
}

// Said after the pass's end, by the next start: nothing of how long it took.
bool saidLater(const JournalEvent& e)
{
    return e.kind == Kind::PassEndFound || (e.kind == Kind::PassInterrupted && e.reason == kInterruptionFoundAtStart);
}

HistoryPass finished(const Reading& r, bool runsNow)
{
    HistoryPass p = r.pass;
    // Up to its chain's end: the autoclose's wait and tasks that ran on
    // after it are not the chain's time.
    const QDateTime end = r.chainEndedAt.isValid() ? r.chainEndedAt : p.lastEvent;
    p.took = tookText(std::max<qint64>(0, p.started.secsTo(end)));
    if (r.chainEnded)
        p.chainResult = completedLastRun(r.firstProblem);
    // Its chain has ended, but not the pass while one of its tasks runs.
    if (p.ended && r.chainEnded && !r.closed && !r.tasks.isEmpty()) {
        p.ended = false;
        p.turn = *std::min_element(r.tasks.cbegin(), r.tasks.cend());
    }
    if (!p.ended && runsNow) {
        p.running = true;
        p.result = kPassRunning;
    } else if (!p.ended) {
        p.result = interruptedLastRun(std::clamp(p.turn, 1, kSlotCount));
    } else if (r.chainEnded && !r.closed) {
        p.result = completedLastRun(r.firstProblem);
    }
    if (!p.endEmailProblem.isEmpty())
        p.result += QStringLiteral("; end e-mail script ") + p.endEmailProblem;
    std::sort(p.slots.begin(), p.slots.end(),
              [](const HistorySlot& a, const HistorySlot& b) { return a.slot < b.slot; });
    for (HistorySlot& s : p.slots) {
        QStringList beside;
        for (int n : s.ranBeside)
            beside << QStringLiteral("TASK %1").arg(n);
        if (!beside.isEmpty())
            s.outcome += QStringLiteral("; started while %1 still ran").arg(beside.join(QStringLiteral(", ")));
    }
    return p;
}

// Whether the event ends the chain's run: its end, a stop, a close.
bool endsTheChain(const JournalEvent& e)
{
    return e.kind == Kind::ChainEnded || e.kind == Kind::PassStopped || e.kind == Kind::Autoclosed ||
           (e.kind == Kind::PassInterrupted && !saidLater(e));
}

void account(Reading& r, const JournalEntry& entry)
{
    apply(r, entry.event);
    if (saidLater(entry.event))
        return;
    r.pass.lastEvent = std::max(r.pass.lastEvent, entry.when);
    if (endsTheChain(entry.event) && !r.chainEndedAt.isValid())
        r.chainEndedAt = entry.when;
}

// The fold: one journal entry at a time, in the journal's order.
class Fold {
public:
    void take(const JournalEntry& entry);
    QList<HistoryPass> passes(bool newestRunsNow) const;

private:
    int begin(const JournalEntry& entry, bool hasStart);
    // The pass a line that names `id` belongs to; -1 when it is one of an
    // older pass whose start is out of view.
    int passNamed(const JournalEntry& entry);
    void takeUnnamed(const JournalEntry& entry);

    QList<Reading> read_;
    QHash<QString, int> byId_;
    // Older journals: the pass that unnamed events belong to, and the pass
    // that started each process.
    int current_ = -1;
    QHash<qint64, int> passOfPid_;
    // The newest pass that ran: a start that did not run is never the one running now.
    int newest_ = -1;
    // When the newest pass with its start in view began.
    QDateTime newestStart_;
};

int Fold::begin(const JournalEntry& entry, bool hasStart)
{
    Reading r;
    r.hasStart = hasStart;
    r.pass.id = entry.pass;
    const QDateTime fromId = passIdStart(entry.pass);
    r.pass.started = hasStart || !fromId.isValid() ? entry.when : fromId;
    r.pass.lastEvent = hasStart ? entry.when : r.pass.started;
    r.pass.how = hasStart ? passStartText(entry.event) : kUnknownStart;
    read_.append(r);
    const int index = static_cast<int>(read_.size()) - 1;
    if (!entry.pass.isEmpty())
        byId_.insert(entry.pass, index);
    newest_ = index;
    if (hasStart)
        newestStart_ = r.pass.started;
    return index;
}

int Fold::passNamed(const JournalEntry& entry)
{
    if (const auto found = byId_.constFind(entry.pass); found != byId_.cend())
        return *found;
    const QDateTime start = passIdStart(entry.pass);
    // Its start line went missing, or lies before the lines in view.
    if (saidLater(entry.event) || (newestStart_.isValid() && (!start.isValid() || start < newestStart_)))
        return -1;
    return begin(entry, false);
}

void Fold::take(const JournalEntry& entry)
{
    const JournalEvent& e = entry.event;
    if (e.kind == Kind::ScheduledStartNotRun) {
        Reading r;
        r.pass.started = r.pass.lastEvent = entry.when;
        r.pass.how = passStartText(e);
        r.pass.ended = r.pass.notRun = true;
        r.pass.result = notRunText(e.reason);
        read_.append(r);
        return;
    }
    if (e.kind == Kind::PassStarted) {
        const auto known = byId_.constFind(entry.pass);
        if (entry.pass.isEmpty() || known == byId_.cend()) {
            current_ = begin(entry, true);
            return;
        }
        current_ = *known; // a second start line of the same pass says nothing new
        return;
    }
    if (entry.pass.isEmpty()) {
        takeUnnamed(entry);
        return;
    }
    const int index = passNamed(entry);
    if (index < 0)
        return;
    account(read_[index], entry);
}

void Fold::takeUnnamed(const JournalEntry& entry)
{
    const JournalEvent& e = entry.event;
    // A new start of the program: what follows is no longer the last pass's,
    // but for the word that it was found cut short.
    if (e.kind == Kind::ScheduledStart)
        current_ = -1;
    const bool foundAtStart = saidLater(e);
    if (current_ < 0 && !(foundAtStart && newest_ >= 0))
        return;
    int index = foundAtStart ? newest_ : current_;
    if (e.kind == Kind::TaskStarted || e.kind == Kind::EmailStarted)
        passOfPid_.insert(e.pid, index);
    if (endsAProcess(e.kind)) {
        // The end of a process whose start is not in the journal belongs
        // to no pass that can be told.
        if (!passOfPid_.contains(e.pid))
            return;
        index = e.kind == Kind::TaskStillRunning ? passOfPid_.value(e.pid) : passOfPid_.take(e.pid);
    }
    account(read_[index], entry);
}

QList<HistoryPass> Fold::passes(bool newestRunsNow) const
{
    // Lines before the first start in view are the end of a pass whose start
    // is out of view (the older file was dropped): a fragment, not a pass.
    const auto firstStart =
        std::find_if(read_.cbegin(), read_.cend(), [](const Reading& r) { return r.hasStart; }) - read_.cbegin();
    QList<HistoryPass> out;
    out.reserve(read_.size());
    for (qsizetype i = read_.size() - 1; i >= 0; --i)
        if (i >= firstStart || read_[i].hasStart || read_[i].pass.notRun || firstStart == read_.size())
            out.append(finished(read_[i], newestRunsNow && i == newest_));
    return out;
}

QList<JournalEntry> parsed(const QStringList& lines, bool& holdsStart, int& begun)
{
    QList<JournalEntry> entries;
    entries.reserve(lines.size());
    for (const QString& line : lines) {
        if (std::optional<JournalEntry> entry = parseJournalLine(line)) {
            holdsStart = holdsStart || entry->event.kind == Kind::PassStarted;
            begun += entry->event.kind == Kind::PassStarted || entry->event.kind == Kind::ScheduledStartNotRun;
            entries.append(std::move(*entry));
        }
    }
    return entries;
}

} // namespace

QString passIdFor(const QDateTime& start, qint64 programPid)
{
    return isoTimeWithOffset(start) + QLatin1Char('/') + QString::number(programPid);
}

QDateTime passIdStart(QStringView id)
{
    const qsizetype slash = id.indexOf(u'/');
    return slash <= 0 ? QDateTime() : QDateTime::fromString(id.left(slash).toString(), Qt::ISODate);
}

QString passStartText(const JournalEvent& started)
{
    switch (started.start) {
    case PassStart::Autostart:
        return QStringLiteral("Autostart");
    case PassStart::Schedule: {
        const QString how =
            started.windowless ? QStringLiteral("By schedule, without a window") : QStringLiteral("By schedule");
        return started.reason.isEmpty() ? how : how + QStringLiteral(", ") + started.reason;
    }
    case PassStart::ByHand:
        break;
    }
    return started.kind == Kind::ScheduledStartNotRun ? QStringLiteral("By schedule") : QStringLiteral("By hand");
}

QString slotLabel(int slot, const QString& name)
{
    const QString task = QStringLiteral("TASK %1").arg(slot);
    return name.isEmpty() ? task : task + QStringLiteral(" (") + name + QLatin1Char(')');
}

QString notRunText(const QString& reason) { return QStringLiteral("NOT RUN: ") + reason; }

QString processEndText(int exitCode, int signal)
{
    return signal != 0 ? QStringLiteral("killed by signal %1").arg(signal)
                       : QStringLiteral("exited with %1").arg(exitCode);
}

QString lastRunEndWord(int exitCode, int signal)
{
    return signal != 0 ? QStringLiteral("SIGNAL %1").arg(signal) : QString::number(exitCode);
}

void PassAccount::add(const QStringList& lines) { entries_.append(parsed(lines, holdsStart_, begun_)); }

void PassAccount::addEarlier(const QStringList& lines)
{
    QList<JournalEntry> earlier = parsed(lines, holdsStart_, begun_);
    earlier.append(std::move(entries_));
    entries_ = std::move(earlier);
}

QList<HistoryPass> PassAccount::passes(bool newestRunsNow) const
{
    Fold fold;
    for (const JournalEntry& entry : entries_)
        fold.take(entry);
    return fold.passes(newestRunsNow);
}

QList<HistoryPass> historyFromJournal(const QStringList& lines, bool newestRunsNow)
{
    PassAccount account;
    account.add(lines);
    return account.passes(newestRunsNow);
}

QList<HistoryPass> historyFromEntries(const QList<JournalEntry>& entries, bool newestRunsNow)
{
    PassAccount account;
    for (const JournalEntry& entry : entries)
        account.add(entry);
    return account.passes(newestRunsNow);
}

QList<HistoryPass> newestPasses(const RunJournal& journal, bool newestRunsNow)
{
    PassAccount account;
    journal.readBackward([&account](const QStringList& batch) {
        account.addEarlier(batch);
        return !account.holdsAPassStart();
    });
    return account.passes(newestRunsNow);
}

PassPage newestPasses(const RunJournal& journal, int count, bool newestRunsNow, const std::atomic_bool* stop)
{
    PassAccount account;
    PassPage page;
    journal.readBackward([&](const QStringList& batch) {
        if (stop != nullptr && *stop)
            return false;
        // A full page, and lines before it: say so, without reading them.
        if (account.passesBegun() >= count) {
            page.olderLeft = true;
            return false;
        }
        account.addEarlier(batch);
        return true;
    });
    page.passes = account.passes(newestRunsNow);
    return page;
}

} // namespace zb
