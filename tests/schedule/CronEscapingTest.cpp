// Every byte of the program's path and of the variables reaches the program
// unchanged through cron's unescaping and the real sh, for folder names that
// would otherwise be taken apart. The long real-cron check runs the same
// table through the daemon itself.
#include "HostileNames.h"
#include "schedule/CronEntry.h"
#include "schedule/WindowsCommands.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb::schedule {
namespace {

TEST(CronEscaping, HostileFolderNamesReachTheProgramByteForByteThroughSh)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QStringList names = test::hostileFolderNames();
    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const QString folder = root.filePath(name);
        ASSERT_TRUE(QDir().mkpath(folder)) << name.toStdString();
        const QString program = folder + QStringLiteral("/probe");
        ASSERT_TRUE(test::writeProbe(program));
        const QString out = root.filePath(QStringLiteral("out-%1").arg(i));
        const auto line =
            composeEntry({0, 0, 0}, {{QStringLiteral("ZB_PROBE_OUT"), out}, {QStringLiteral("ZB_PROBE_VALUE"), name}},
                         program, taskName(name));
        ASSERT_TRUE(line.error.isEmpty()) << line.error.toStdString();

        // As cron runs it: its unescaping, then sh -c in cron's bare environment.
        QProcess sh;
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        sh.setProcessEnvironment(env);
        sh.setWorkingDirectory(root.path());
        sh.start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"), QString::fromUtf8(cronUnescaped(test::cronCommand(line.line)))});
        ASSERT_TRUE(sh.waitForFinished(10'000));
        EXPECT_EQ(sh.exitCode(), 0) << name.toStdString() << sh.readAllStandardError().toStdString();
        QFile written(out);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(written.readAll(), (program + QLatin1Char('\n') + name + QStringLiteral("\n1\n")).toUtf8())
            << line.line.toStdString();
    }
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("pwned"))));
}

} // namespace
} // namespace zb::schedule
