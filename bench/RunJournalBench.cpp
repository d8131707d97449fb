// The cost of one run-journal event, as the engine pays it in a tick: the
// line formatted with its time and appended with one write to the journal
// file (a real file in a temporary folder, no sync). Baselines in the same
// run: a bare write() of a line of the same size to an O_APPEND file, and the
// formatting alone.
//
// History's open on journals of 1, 10 and 100 MB: the newest passes read
// from the end, beside the earlier read of the whole journal.
#include "engine/FileRunJournal.h"
#include "engine/JournalText.h"
#include "engine/PassAccount.h"
#include "platform/linux/LinuxJournalFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace zb {
namespace {

JournalEvent typicalEvent()
{
    return {.kind = JournalEvent::Kind::TaskStarted,
            .slot = 7,
            .pid = 123456,
            .command = QStringLiteral("/usr/bin/rsync -a --delete /home/user/Documents /mnt/backup/documents"),
            .file =
                QStringLiteral("/home/user/.local/state/ZB-SEQUENTA/output/zb-sequenta/20261207-020000-task-7.log")};
}

void BM_JournalEvent(benchmark::State& state)
{
    QTemporaryDir dir;
    FileRunJournal journal(std::make_unique<LinuxJournalFile>(dir.path(), QStringLiteral("bench")));
    const JournalEvent e = typicalEvent();
    for (auto _ : state)
        journal.record(e);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_JournalEvent);

void BM_Baseline_FormatOnly(benchmark::State& state)
{
    const JournalEvent e = typicalEvent();
    for (auto _ : state) {
        const QByteArray line = journalLine(QDateTime::currentDateTime(), e).toUtf8();
        benchmark::DoNotOptimize(line.constData());
    }
}
BENCHMARK(BM_Baseline_FormatOnly);

void BM_Baseline_BareAppendWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("bare.log")));
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const QByteArray line = (journalLine(QDateTime::currentDateTime(), typicalEvent()) + QLatin1Char('\n')).toUtf8();
    for (auto _ : state) {
        benchmark::DoNotOptimize(write(fd, line.constData(), static_cast<size_t>(line.size())));
        // Kept small, like the journal, so that both write to a file of the same size.
        if (lseek(fd, 0, SEEK_END) > 1024 * 1024)
            (void)!ftruncate(fd, 0);
    }
    close(fd);
}
BENCHMARK(BM_Baseline_BareAppendWrite);

// A journal of `megabytes` of passes of 20 slots each.
class BigJournal {
public:
    explicit BigJournal(qint64 megabytes)
        : journal_(std::make_unique<LinuxJournalFile>(dir_.path(), QStringLiteral("bench")))
    {
        QFile f(journal_.journalFile());
        if (!f.open(QIODevice::WriteOnly))
            return;
        const QDateTime night(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);
        for (int pass = 0; f.size() < megabytes * 1024 * 1024; ++pass) {
            const QDateTime start = night.addSecs(qint64{pass} * 3600);
            const QString id = passIdFor(start, 4242);
            QByteArray text = journalLine(start, {.kind = JournalEvent::Kind::PassStarted}, id).toUtf8() + '\n';
            for (int slot = 1; slot <= 20; ++slot) {
                JournalEvent e = typicalEvent();
                e.slot = slot;
                text += journalLine(start.addSecs(slot), e, id).toUtf8() + '\n';
                text += journalLine(start.addSecs(slot + 1),
                                    {.kind = JournalEvent::Kind::TaskExited, .slot = slot, .pid = e.pid}, id)
                            .toUtf8() +
                        '\n';
            }
            text += journalLine(start.addSecs(30), {.kind = JournalEvent::Kind::ChainEnded}, id).toUtf8() + '\n';
            f.write(text);
        }
    }
    const RunJournal& journal() const { return journal_; }

private:
    QTemporaryDir dir_;
    FileRunJournal journal_;
};

void BM_HistoryOpen(benchmark::State& state)
{
    const BigJournal big(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(newestPasses(big.journal(), 50, false).passes.size());
}
BENCHMARK(BM_HistoryOpen)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_Baseline_HistoryWholeRead(benchmark::State& state)
{
    const BigJournal big(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(historyFromJournal(big.journal().readLines()).size());
}
BENCHMARK(BM_Baseline_HistoryWholeRead)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace zb
