#include "RunJournal.h"

namespace zb {

void RunJournal::readBackward(const LineBatches& take) const
{
    const QStringList lines = readLines();
    if (!lines.isEmpty())
        take(lines);
}

} // namespace zb
