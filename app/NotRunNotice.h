#pragma once

#include "engine/RunJournal.h"

namespace zb {

class ExecutableInfo;

// A scheduled start that does not run: journaled, so that History and the
// scheduled-task window tell it, and mailed as "NOT RUN" when e-mail is set
// up, so that the night is never silently missing.
void tellScheduledStartNotRun(const ExecutableInfo& exe, const JournalEvent& record);

} // namespace zb
