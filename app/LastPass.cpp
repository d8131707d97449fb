#include "LastPass.h"

#include "core/MainWindowModel.h"
#include "engine/HistoryText.h"
#include "engine/PassAccount.h"
#include "engine/RunJournal.h"

namespace zb {

LastPassCheck lastPassCheck(const RunJournal& journal, bool copyRunsNow)
{
    const QList<HistoryPass> passes = newestPasses(journal, copyRunsNow);
    if (passes.isEmpty()) {
        const QString file = journal.journalFile();
        return {file.isEmpty() ? QStringLiteral("This copy keeps no journal.\n")
                               : QStringLiteral("No passes yet in %1\n").arg(file),
                kLastNoPass};
    }
    const HistoryPass& last = passes.first();
    return {historyPassText(last), last.result == text::kCompletedSuccessfully ? kLastCompleted : kLastNotCompleted};
}

} // namespace zb
