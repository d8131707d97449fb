#pragma once

#include <QString>

namespace zb {

// What went wrong in the current pass, so that its end is stored as it was:
// "COMPLETED SUCCESSFULLY" only when nothing did, otherwise
// "COMPLETED WITH ERRORS - " and the first problem.
class PassOutcome {
public:
    // A new pass: nothing has gone wrong in it yet.
    void begin();
    // Keeps the first problem of the pass; later ones are only counted.
    void note(const QString& problem);

    // Which pass is under way, so that news from an earlier one can be told apart.
    int pass() const { return pass_; }
    const QString& firstProblem() const { return first_; }
    int problems() const { return count_; }
    // The last-run text for the end of this pass.
    QString lastRunText() const;

private:
    int pass_ = 0;
    int count_ = 0;
    QString first_;
};

// The problems a pass can have, as they are stored after "COMPLETED WITH ERRORS - ".
namespace problem {
QString taskFailedToStart(int n);
QString startEmailNotSent();
QString endEmailNotSent();
// `how` is the exit status ("3") or the signal ("SIGNAL 9").
QString taskExitedWith(int n, const QString& how);
} // namespace problem

} // namespace zb
