// The cost of one run-journal event, as the engine pays it in a tick: the
// line formatted with its time and appended with one write to the journal
// file (a real file in a temporary folder, no sync). Baselines in the same
// run: a bare write() of a line of the same size to an O_APPEND file, and the
// formatting alone.
#include "engine/FileRunJournal.h"
#include "engine/JournalText.h"
#include "platform/linux/LinuxJournalFile.h"

#include <QByteArray>
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

} // namespace
} // namespace zb
