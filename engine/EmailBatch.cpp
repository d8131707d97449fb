#include "EmailBatch.h"

namespace zb {

namespace {
QString word(EmailBatch kind) { return kind == EmailBatch::Start ? QStringLiteral("START") : QStringLiteral("END"); }
} // namespace

QString emailBatchPath(const QString& programFolder, const QString& baseName, EmailBatch kind)
{
    return programFolder + QStringLiteral("/BATS/") + baseName + QLatin1Char('-') + word(kind) +
           QStringLiteral("-EMAIL.sh");
}

QString endEmailMessagePath(const QString& programFolder, const QString& baseName)
{
    return programFolder + QStringLiteral("/LOGS/") + baseName + QStringLiteral("-END-EMAIL.txt");
}

QString emailBatchNotFoundText(EmailBatch kind) { return word(kind) + QStringLiteral(" EMAIL BATCH FILE NOT FOUND"); }

QString emailBatchFailedText(EmailBatch kind)
{
    return word(kind) + QStringLiteral(" EMAIL BATCH FILE FAILED TO START");
}

} // namespace zb
