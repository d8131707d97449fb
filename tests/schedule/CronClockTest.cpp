// When cron really starts an entry, across the clock changes of a few time
// zones, and the health line's account of the last scheduled start.
#include "schedule/CronClock.h"
#include "engine/JournalText.h"
#include "engine/PassAccount.h"
#include "schedule/ScheduleHealth.h"

#include <gtest/gtest.h>

namespace zb::schedule {
namespace {

QTimeZone zoneOf(const char* id) { return QTimeZone(QByteArray(id)); }

// "2026-03-29T03:00:00+02:00" in the zone's own time.
std::string iso(const QDateTime& at, const QTimeZone& zone)
{
    return at.isValid() ? at.toTimeZone(zone).toString(Qt::ISODate).toStdString() : "invalid";
}

QDateTime at(const char* isoText) { return QDateTime::fromString(QString::fromLatin1(isoText), Qt::ISODate); }

TEST(CronClock, NextStartOnTheChangeDaysIsWhenCronRunsIt)
{
    const struct {
        const char* zone;
        const char* now;
        CronSchedule when;
        const char* next;
    } cases[] = {
        // Spring: 02:00 to 03:00. A skipped minute runs at 03:00, that day.
        {"Europe/Berlin", "2026-03-28T12:00:00+01:00", {30, 2, weekdayBit(7)}, "2026-03-29T03:00:00+02:00"},
        {"Europe/Berlin", "2026-03-27T12:00:00+01:00", {30, 7, kMondayToFriday}, "2026-03-30T07:30:00+02:00"},
        {"Europe/Berlin",
         "2026-03-30T08:00:00+02:00",
         {30, 7, weekdayBit(1) | weekdayBit(3)},
         "2026-04-01T07:30:00+02:00"},
        {"Europe/Berlin", "2026-03-28T12:00:00+01:00", {30, 2, 0}, "2026-03-29T03:00:00+02:00"},
        {"Europe/Berlin", "2026-03-28T12:00:00+01:00", {0, 2, 0}, "2026-03-29T03:00:00+02:00"},
        {"Europe/Berlin", "2026-03-28T12:00:00+01:00", {59, 1, 0}, "2026-03-29T01:59:00+01:00"},
        {"Europe/Berlin", "2026-03-28T12:00:00+01:00", {0, 3, 0}, "2026-03-29T03:00:00+02:00"},
        {"Europe/Berlin", "2026-03-29T03:00:30+02:00", {30, 2, 0}, "2026-03-30T02:30:00+02:00"},
        // Autumn: 03:00 back to 02:00. The twice-met minute runs the first time.
        {"Europe/Berlin", "2026-10-24T12:00:00+02:00", {30, 2, 0}, "2026-10-25T02:30:00+02:00"},
        {"Europe/Berlin", "2026-10-25T02:40:00+02:00", {30, 2, 0}, "2026-10-26T02:30:00+01:00"},
        {"Europe/Berlin", "2026-10-25T02:10:00+01:00", {30, 2, 0}, "2026-10-26T02:30:00+01:00"},
        {"Europe/Berlin", "2026-10-25T02:10:00+01:00", {0, 3, weekdayBit(7)}, "2026-10-25T03:00:00+01:00"},
        {"America/New_York", "2026-03-07T12:00:00-05:00", {30, 2, 0}, "2026-03-08T03:00:00-04:00"},
        {"America/New_York", "2026-10-31T12:00:00-04:00", {30, 1, weekdayBit(7)}, "2026-11-01T01:30:00-04:00"},
        // The southern half: autumn in April, spring in October.
        {"Australia/Sydney", "2026-04-04T12:00:00+11:00", {30, 2, 0}, "2026-04-05T02:30:00+11:00"},
        {"Australia/Sydney", "2026-10-03T12:00:00+10:00", {30, 2, weekdayBit(7)}, "2026-10-04T03:00:00+11:00"},
        // Half an hour: 02:00 to 02:30 in spring, 02:00 back to 01:30 in autumn.
        {"Australia/Lord_Howe", "2026-10-03T12:00:00+10:30", {15, 2, 0}, "2026-10-04T02:30:00+11:00"},
        {"Australia/Lord_Howe", "2026-10-03T12:00:00+10:30", {30, 2, 0}, "2026-10-04T02:30:00+11:00"},
        {"Australia/Lord_Howe", "2026-04-04T12:00:00+11:00", {45, 1, 0}, "2026-04-05T01:45:00+11:00"},
        // At midnight: Sunday 00:00 to 01:00; Saturday 23:59 back to 23:00.
        {"America/Santiago", "2026-09-05T12:00:00-04:00", {30, 0, weekdayBit(7)}, "2026-09-06T01:00:00-03:00"},
        {"America/Santiago", "2026-04-04T12:00:00-03:00", {30, 23, weekdayBit(6)}, "2026-04-04T23:30:00-03:00"},
        {"America/Santiago", "2026-04-04T23:40:00-03:00", {30, 23, weekdayBit(6)}, "2026-04-11T23:30:00-04:00"},
    };
    for (const auto& c : cases) {
        const QTimeZone zone = zoneOf(c.zone);
        ASSERT_TRUE(zone.isValid()) << c.zone;
        EXPECT_EQ(iso(nextStart(c.when, at(c.now), zone), zone), c.next) << c.zone << " " << c.now;
    }
    const QTimeZone berlin = zoneOf("Europe/Berlin");
    EXPECT_EQ(iso(lastStart({30, 2, 0}, at("2026-03-29T12:00:00+02:00"), berlin), berlin), "2026-03-29T03:00:00+02:00");
    EXPECT_EQ(iso(lastStart({30, 2, 0}, at("2026-10-25T02:40:00+01:00"), berlin), berlin), "2026-10-25T02:30:00+02:00");
    EXPECT_EQ(nextStartText({30, 2, weekdayBit(7)}, at("2026-03-28T12:00:00+01:00"), berlin).toStdString(),
              "Next start: Sun 2026-03-29 03:00 (02:30 is skipped by the clock change)");
}

TEST(CronClock, TheNextStartIsNeverMissingOnAnyDayOfTheYear)
{
    const CronSchedule entries[] = {{30, 2, 0},
                                    {30, 2, weekdayBit(7)},
                                    {0, 0, 0},
                                    {30, 0, weekdayBit(7)},
                                    {45, 1, weekdayBit(6)},
                                    {30, 23, kMondayToFriday}};
    for (const char* id : {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "America/Santiago"}) {
        const QTimeZone zone = zoneOf(id);
        for (QDate day(2026, 1, 1); day.year() == 2026; day = day.addDays(1)) {
            for (const QTime time : {QTime(2, 40), QTime(23, 45)}) {
                const QDateTime now(day, time, zone);
                for (const CronSchedule& e : entries) {
                    const QDateTime next = nextStart(e, now, zone);
                    ASSERT_TRUE(next.isValid()) << id << " " << iso(now, zone);
                    ASSERT_GT(next, now) << id << " " << iso(now, zone);
                    ASSERT_LE(now.secsTo(next), 8 * 24 * 3600) << id << " " << iso(now, zone);
                    ASSERT_LE(lastStart(e, now, zone), now) << id << " " << iso(now, zone);
                    ASSERT_FALSE(nextStartText(e, now, zone).isEmpty());
                }
            }
        }
    }
}

TEST(ScheduleHealth, TheLastScheduledStartIsToldOrItsAbsence)
{
    const QTimeZone zone = zoneOf("Europe/Berlin");
    using K = JournalEvent::Kind;
    const auto line = [](const char* when, const JournalEvent& e) { return journalLine(at(when), e); };
    const QStringList ran{
        line("2026-12-07T07:30:01+01:00", {.kind = K::ScheduledStart}),
        line("2026-12-07T07:30:12+01:00", {.kind = K::PassStarted, .start = PassStart::Schedule}),
        line("2026-12-07T07:31:00+01:00", {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}),
    };
    const QStringList notRun{
        line("2026-12-07T07:30:01+01:00", {.kind = K::ScheduledStartNotRun, .reason = QStringLiteral("no display")})};
    const QStringList windowOnly{line("2026-12-07T07:30:01+01:00", {.kind = K::ScheduledStart})};
    const QStringList byHand{line("2026-12-07T07:35:00+01:00", {.kind = K::PassStarted})};
    // A full disk took the pass's start line; its other lines name it.
    const QString lost = passIdFor(at("2026-12-07T07:30:12+01:00"), 77);
    const QStringList startLost{
        line("2026-12-07T07:30:01+01:00", {.kind = K::ScheduledStart}),
        journalLine(at("2026-12-07T07:30:13+01:00"), {.kind = K::TaskFailed, .slot = 1}, lost),
        journalLine(at("2026-12-07T07:30:40+01:00"), {.kind = K::ChainEnded}, lost),
    };
    // The machine was off at 07:30; the line at boot ran the start at 09:12.
    const QStringList caughtUp{
        line("2026-12-07T09:12:01+01:00", {.kind = K::ScheduledStart}),
        line("2026-12-07T09:12:12+01:00", {.kind = K::PassStarted,
                                           .start = PassStart::Schedule,
                                           .reason = QStringLiteral("caught up, planned for 2026-12-07 07:30")}),
        line("2026-12-07T09:13:00+01:00", {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}),
    };
    const QDateTime since = at("2026-12-01T12:00:00+01:00");
    const CronSchedule daily{30, 7, 0};
    const struct {
        QStringList journal;
        const char* now;
        QDateTime since;
        bool marks;
        const char* text;
        bool warn;
    } cases[] = {
        {ran, "2026-12-07T12:00:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 07:30, COMPLETED SUCCESSFULLY", false},
        {notRun, "2026-12-07T12:00:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 07:30, NOT RUN: no display", true},
        {windowOnly, "2026-12-07T12:00:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 07:30, opened its window; AutoStart Timer was clear, so no pass ran",
         false},
        {startLost, "2026-12-07T12:00:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 07:30, COMPLETED WITH ERRORS - TASK 1 FAILED TO START", true},
        {caughtUp, "2026-12-07T12:00:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 09:12 at boot (caught up, planned for 2026-12-07 07:30), COMPLETED "
         "SUCCESSFULLY",
         false},
        {byHand, "2026-12-07T12:00:00+01:00", since, true,
         "Mon 07:30 did not start: the machine was off or cron was not running", true},
        // The day after, today's start is missed; yesterday's is not the last.
        {ran, "2026-12-08T12:00:00+01:00", since, true,
         "Tue 07:30 did not start: the machine was off or cron was not running", true},
        // Due a minute ago: on its way, so yesterday's counts.
        {ran, "2026-12-08T07:31:00+01:00", since, true,
         "Last scheduled start: Mon 2026-12-07 07:30, COMPLETED SUCCESSFULLY", false},
        // Not expected: made after it, made by an earlier version, or when unknown.
        {{}, "2026-12-07T12:00:00+01:00", at("2026-12-07T08:00:00+01:00"), true, "", false},
        {{}, "2026-12-07T12:00:00+01:00", since, false, "", false},
        {ran, "2026-12-08T12:00:00+01:00", QDateTime(), true,
         "Last scheduled start: Mon 2026-12-07 07:30, COMPLETED SUCCESSFULLY", false},
    };
    for (const auto& c : cases) {
        const HealthPart part = lastStartText(c.journal, daily, at(c.now), zone, c.since, c.marks);
        EXPECT_EQ(part.text.toStdString(), c.text) << c.now;
        EXPECT_EQ(part.warn, c.warn) << c.text;
    }
}

TEST(ScheduleHealth, AnEntryMadeInAnotherSessionIsToldWithItsValuesAndTheCure)
{
    QList<EnvAssignment> session = {{QStringLiteral("XAUTHORITY"), QStringLiteral("/it's 100%")},
                                    {QStringLiteral("DISPLAY"), QStringLiteral(":150")}};
    const QByteArray line = composeEntry({30, 7, 0}, session, QStringLiteral("/opt/n"), QStringLiteral("n")).line;
    EXPECT_EQ(sessionMismatchText(line, session), QString());
    session[1].value = QStringLiteral(":151");
    EXPECT_TRUE(sessionMismatchText(line, session)
                    .startsWith(QStringLiteral(
                        "The entry was made in another session (its display :150, this session's is :151)")));
}

} // namespace
} // namespace zb::schedule
