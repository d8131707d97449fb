#pragma once

#include <QString>

namespace zb {

class RunJournal;

// What `--last` prints and how it exits.
struct LastPassCheck {
    QString output;
    int exitStatus = 0;
};

// Exit statuses of `--last`.
inline constexpr int kLastCompleted = 0;
inline constexpr int kLastNotCompleted = 1;
inline constexpr int kLastNoPass = 3;

// The newest pass of a journal as History shows it: exit status 0 when it
// completed successfully, 1 for any other result (also one still running, when
// `copyRunsNow`), 3 when the journal holds no pass.
LastPassCheck lastPassCheck(const RunJournal& journal, bool copyRunsNow);

} // namespace zb
