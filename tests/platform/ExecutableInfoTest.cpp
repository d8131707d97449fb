#include "platform/qt/ArgvExecutableInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(ArgvExecutableInfo, BaseNameIsTheNameAsStartedWithoutExe)
{
    const struct {
        const char* argv0;
        const char* base;
        const char* folder;
        const char* file; // the real file name, as the scheduler starts it
    } cases[] = {
        {"/opt/zb/zb-sequenta", "zb-sequenta", "/opt/zb", "zb-sequenta"},
        {"/opt/zb/NIGHTLY.EXE", "NIGHTLY", "/opt/zb", "NIGHTLY.EXE"},
        {"/opt/zb/../zb/copy two.exe", "copy two", "/opt/zb", "copy two.exe"},
        {"/opt/zb/weekly.exe.bak", "weekly.exe.bak", "/opt/zb", "weekly.exe.bak"},
    };
    for (const auto& c : cases) {
        const ArgvExecutableInfo info(QString::fromUtf8(c.argv0));
        EXPECT_EQ(info.baseName(), QString::fromUtf8(c.base)) << c.argv0;
        EXPECT_EQ(info.programFolder(), QString::fromUtf8(c.folder)) << c.argv0;
        EXPECT_EQ(info.fileName(), QString::fromUtf8(c.file)) << c.argv0;
    }
}

TEST(ArgvExecutableInfo, ALinkUnderAnotherNameIsAnotherCopyInTheLinksFolder)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/real"));
    QDir().mkpath(dir.path() + QStringLiteral("/links"));
    const QString target = dir.path() + QStringLiteral("/real/zb-sequenta");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString link = dir.path() + QStringLiteral("/links/evening");
    ASSERT_TRUE(QFile::link(target, link));
    const ArgvExecutableInfo info(link);
    EXPECT_EQ(info.baseName(), QStringLiteral("evening"));
    EXPECT_EQ(info.programFolder(), QDir::cleanPath(dir.path() + QStringLiteral("/links")));
}

TEST(ArgvExecutableInfo, ABareNameIsFoundOnThePath)
{
    const ArgvExecutableInfo info(QStringLiteral("sh"));
    EXPECT_EQ(info.baseName(), QStringLiteral("sh"));
    EXPECT_TRUE(QFile::exists(info.programFolder() + QStringLiteral("/sh")));
}

TEST(ArgvExecutableInfo, ABareNameNotOnThePathIsInTheRunningProgramsFolderNotTheCurrentOne)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/install"));
    const QString target = dir.path() + QStringLiteral("/install/zb-sequenta");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString self = dir.path() + QStringLiteral("/self-exe");
    ASSERT_TRUE(QFile::link(target, self));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // where BATS and LOGS must not be looked for
    const ArgvExecutableInfo info(QStringLiteral("zb-no-such-name-on-path"), self);
    QDir::setCurrent(previous);
    EXPECT_EQ(info.baseName(), QStringLiteral("zb-no-such-name-on-path"));
    EXPECT_EQ(info.programFolder(), QFileInfo(dir.path() + QStringLiteral("/install")).canonicalFilePath());
}

} // namespace
} // namespace zb
