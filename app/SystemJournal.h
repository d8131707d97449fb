#pragma once

#include "engine/RunJournal.h"

#include <memory>

namespace zb {

// The run journal of the copy called `name`, in the system's journal file.
std::unique_ptr<RunJournal> createSystemJournal(const QString& name);

} // namespace zb
