#pragma once

#include "platform/CommandShell.h"

namespace zb {

// Runs command lines with /bin/sh -c, each in a process group of its own so
// that a timeout stops the shell and whatever it started.
class PosixCommandShell : public CommandShell {
public:
    CommandProfile profile() const override { return CommandProfile::PosixShell; }
    void run(const QString& commandLine, int timeoutMs, std::function<void(const CommandOutcome&)> done) override;
};

} // namespace zb
