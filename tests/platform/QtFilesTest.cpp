#include "platform/qt/QtFiles.h"
#include "platform/linux/PosixLauncher.h"
#include "platform/qt/IniSettingsStore.h"

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

    // A link in the script's place is not written through.
    const QString link = dir.filePath(QStringLiteral("link.sh"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(files.writePrivateFile(link, "through\n").ok);
    EXPECT_EQ(contentOf(path), QByteArray("new\n"));
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

TEST(QtFiles, TheTailOfAnOutputIsItsLastLinesReadFromNearItsEnd)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const char* name, const QByteArray& content) {
        QFile f(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    struct Case {
        QByteArray content;
        int lines;
        QString text;
        bool cut;
    };
    const Case cases[] = {
        {"a\nb\nc\n", 2, QStringLiteral("b\nc"), true},
        {"a\nb\nc", 3, QStringLiteral("a\nb\nc"), false},
        {"a\nb\nc\n", 5, QStringLiteral("a\nb\nc"), false},
        {"\nb\n", 2, QStringLiteral("\nb"), false}, // an empty first line is a line
        {"\nb\n", 1, QStringLiteral("b"), true},
        {"", 200, QString(), false},
        {"caf\xc3\xa9\n", 1, QStringLiteral("caf\u00e9"), false},
        // A huge file is read from near its end only: the first line there is
        // most likely a part of one, and is left out.
        {QByteArray(QtFiles::kTailBytes + 100, 'x') + "\nlast but one\nlast\n", 200,
         QStringLiteral("last but one\nlast"), true},
    };
    QtFiles files;
    for (const Case& c : cases) {
        const FileText t = files.readTail(write("out.log", c.content), c.lines);
        ASSERT_TRUE(t.ok) << t.error.toStdString();
        EXPECT_EQ(t.text, c.text) << c.content.right(40).toStdString();
        EXPECT_EQ(t.cut, c.cut) << c.content.right(40).toStdString();
    }

    const FileText missing = files.readTail(dir.filePath(QStringLiteral("gone.log")), 200);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, QStringLiteral("No such file or directory"));
    EXPECT_FALSE(files.readTail(dir.path(), 200).ok) << "a folder is no output";
    EXPECT_TRUE(files.folderExists(dir.path()));
    EXPECT_FALSE(files.folderExists(dir.filePath(QStringLiteral("gone.log"))));
}

// A task may put a FIFO (or a device) or a folder in place of its output;
// nothing that opens such a file may wait for good.
TEST(QtFiles, AFifoOrAFolderInPlaceOfAFileKeepsNobodyWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    PosixLauncher launcher;
    for (const QString& path : {fifo, dir.path()}) {
        EXPECT_FALSE(QtFiles().readTail(path, 20).ok);
        EXPECT_EQ(QtFiles().readEnd(path, 100), QByteArray());
        EXPECT_FALSE(launcher.launchLogged(QStringLiteral("/bin/true"), path).outputError.isEmpty());
        EXPECT_TRUE(IniSettingsStore(path).startedOnDefaults());
    }
}

} // namespace
} // namespace zb
