#include "platform/qt/QtFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zb {
namespace {

mode_t modeOf(const QString& path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(QtFiles, APrivateFileReplacesAnOlderOneWhollyAndTakesOwnerOnlyRights)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("x-START-EMAIL.sh"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older, much longer script that must not survive in any part\n");
        old.close();
        ASSERT_TRUE(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    QtFiles files;
    const FileResult r = files.writePrivateFile(path, "new\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(contentOf(path), QByteArray("new\n"));
    EXPECT_EQ(modeOf(path), mode_t(0600));

    const FileResult missing = files.writePrivateFile(dir.filePath(QStringLiteral("BATS/x.sh")), "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
}

TEST(QtFiles, APrivateLogIsMadeEmptyOnceAndAnExistingOneIsLeftAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("x-SEND-EMAIL.LOG"));
    QtFiles files;
    ASSERT_TRUE(files.createPrivateFile(log).ok);
    EXPECT_EQ(modeOf(log), mode_t(0600));
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("a line the mailer wrote\n");
    }
    EXPECT_TRUE(files.createPrivateFile(log).ok);
    EXPECT_EQ(contentOf(log), QByteArray("a line the mailer wrote\n"));
    EXPECT_FALSE(files.createPrivateFile(dir.filePath(QStringLiteral("LOGS/x.LOG"))).ok);
}

} // namespace
} // namespace zb
