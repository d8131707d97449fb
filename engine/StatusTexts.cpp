#include "StatusTexts.h"

namespace zb::status {

QString handedOver(int n, bool stillRunning, const QString& failedHow)
{
    if (!failedHow.isEmpty())
        return QStringLiteral("TASK %1 FAILED - %2").arg(n).arg(failedHow.toUpper());
    if (stillRunning)
        return QStringLiteral("TASK %1 STARTED - STILL RUNNING").arg(n);
    return QStringLiteral("TASK %1 COMPLETED").arg(n);
}

QString ready(bool clean)
{
    return clean ? QStringLiteral("COMPLETED - READY...") : QStringLiteral("ENDED WITH ERRORS - SEE LAST RUN");
}

QString stopped(bool beforeAnyTask, int turn)
{
    if (beforeAnyTask)
        return QStringLiteral("STOPPED - NO TASK HAD STARTED");
    if (turn > 0)
        return QStringLiteral("STOPPED AT TASK %1").arg(turn);
    return QStringLiteral("STOPPED - READY");
}

} // namespace zb::status
