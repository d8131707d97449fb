#include "engine/ClockTexts.h"
#include "engine/EmailBatch.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(ClockTexts, CountdownFieldShowsTheSecondsOfTheMagnitude)
{
    const struct {
        qint64 seconds;
        const char* text;
    } cases[] = {
        {11, "11"}, {10, "10"},  {9, "09"},   {1, "01"},   {0, "00"},  {-1, "01"},
        {-9, "09"}, {-59, "59"}, {-60, "00"}, {-61, "01"}, {60, "00"}, {125, "05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countdownFieldText(c.seconds), QLatin1String(c.text)) << c.seconds;
}

TEST(ClockTexts, RuntimeClockShowsTheTimeOfDayAndWrapsAfterTwentyFourHours)
{
    const struct {
        qint64 seconds;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},     {1, "00:00:01"},
        {59, "00:00:59"},    {60, "00:01:00"},
        {3599, "00:59:59"},  {3600, "01:00:00"},
        {86399, "23:59:59"}, {86400, "00:00:00"},
        {86401, "00:00:01"}, {3 * 86400 + 3723, "01:02:03"},
        {-1, "23:59:59"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtimeClockText(c.seconds), QLatin1String(c.text)) << c.seconds;
}

TEST(EmailBatch, PathsAreJoinedAsWrittenUnderBats)
{
    EXPECT_EQ(emailBatchPath(QStringLiteral("/opt/zb"), QStringLiteral("nightly"), EmailBatch::Start),
              QStringLiteral("/opt/zb/BATS/nightly-START-EMAIL.sh"));
    EXPECT_EQ(emailBatchPath(QStringLiteral("/opt/zb"), QStringLiteral("nightly"), EmailBatch::End),
              QStringLiteral("/opt/zb/BATS/nightly-END-EMAIL.sh"));
    // The folder is not tidied: a trailing slash stays.
    EXPECT_EQ(emailBatchPath(QStringLiteral("/"), QStringLiteral("copy two"), EmailBatch::End),
              QStringLiteral("//BATS/copy two-END-EMAIL.sh"));
}

} // namespace
} // namespace zb
