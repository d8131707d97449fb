#include "platform/qt/IniSettingsStore.h"
#include "core/Settings.h"
#include "platform/fake/FakeExecutableInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zb {
namespace {

class IniSettingsStoreTest : public ::testing::Test {
protected:
    QString path() const { return dir.path() + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini"); }
    void writeFile(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(IniSettingsStoreTest, AwkwardValuesRoundTripThroughTheFile)
{
    const QStringList values = {
        QStringLiteral("\"C:\\Program Files\\app.exe\" --flag"),
        QStringLiteral("a, b,c"),
        QStringLiteral("key=value; # not a comment"),
        QStringLiteral("   leading and trailing blanks   "),
        QStringLiteral("[not a section]"),
        QStringLiteral("ünïcødé ✓ 日本"),
        QStringLiteral("it's \"quoted\""),
        QStringLiteral("line\\nnot a break"),
        QString(),
        QStringLiteral("@Variant(not really)"),
    };
    {
        IniSettingsStore store(path());
        for (int i = 0; i < values.size(); ++i)
            store.saveSetting(QStringLiteral("copy one"), QStringLiteral("K%1").arg(i), values[i]);
        // Visible at once to the same store.
        EXPECT_EQ(store.getSetting(QStringLiteral("copy one"), QStringLiteral("K1"), {}), values[1]);
    }
    IniSettingsStore reopened(path());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reopened.getSetting(QStringLiteral("copy one"), QStringLiteral("K%1").arg(i), QStringLiteral("?")),
                  values[i])
            << i;
    EXPECT_EQ(reopened.getSetting(QStringLiteral("copy one"), QStringLiteral("missing"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_EQ(reopened.getSetting(QStringLiteral("copy two"), QStringLiteral("K1"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_FALSE(reopened.startedOnDefaults());
}

TEST_F(IniSettingsStoreTest, EveryWriteIsOnDiskForAnotherReaderAndOwnerOnly)
{
    IniSettingsStore writer(path());
    writer.saveSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    IniSettingsStore reader(path());
    EXPECT_EQ(reader.getSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), {}),
              QStringLiteral("COMPLETED SUCCESSFULLY"));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(path()).permissions() & others, QFileDevice::Permissions()) << "readable by its owner only";
    {
        // A file written earlier with wider rights is narrowed on opening.
        QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
        IniSettingsStore reopened(path());
        reopened.saveSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("again"));
        EXPECT_EQ(QFileInfo(path()).permissions() & others, QFileDevice::Permissions());
    }
    const QStringList leftovers = QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files);
    EXPECT_EQ(leftovers, QStringList{QStringLiteral("ZB-SEQUENTA.ini")}) << "no temporary files left behind";
}

TEST_F(IniSettingsStoreTest, AHandWrittenFileIsReadAsWrittenAndKeptWhole)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QByteArray file = "\xEF\xBB\xBF# seeded by hand\n"
                            "[nightly]\n"
                            "TASK_1_CMD=/bin/sh -c \"cd /tmp; echo ran >> log\"\n"
                            "TASK_2_CMD=argv.sh a,b,c\n"
                            "TASK_3_CMD=argv.sh \"q r\" s\n"
                            "TASK_5_ENA\n"
                            "[wee\n"
                            "[weekly]\n"
                            "LAST_RUN=kept\n";
    writeFile(file);
    IniSettingsStore store(path());
    EXPECT_FALSE(store.startedOnDefaults());
    const QString nightly = QStringLiteral("nightly");
    EXPECT_EQ(store.getSetting(nightly, QStringLiteral("TASK_1_CMD"), {}),
              QStringLiteral("/bin/sh -c \"cd /tmp; echo ran >> log\""));
    EXPECT_EQ(store.getSetting(nightly, QStringLiteral("TASK_2_CMD"), {}), QStringLiteral("argv.sh a,b,c"));
    EXPECT_EQ(store.getSetting(nightly, QStringLiteral("TASK_3_CMD"), {}), QStringLiteral("argv.sh \"q r\" s"));

    QStringList notices;
    store.setNoticeReceiver([&](const QString& text) { notices.append(text); });
    EXPECT_EQ(notices, QStringList{QStringLiteral("SETTINGS FILE LINES 6, 7 NOT UNDERSTOOD - KEPT AS IS")});

    store.saveSetting(nightly, QStringLiteral("TASK_4_CMD"), QStringLiteral("new"));
    EXPECT_EQ(notices.size(), 1) << "said once";
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected = file;
    expected.insert(expected.indexOf("TASK_5_ENA"), "TASK_4_CMD=new\n");
    EXPECT_EQ(f.readAll(), expected) << "what the person wrote stays, and the other copy's section too";
    EXPECT_EQ(IniSettingsStore(path()).getSetting(QStringLiteral("weekly"), QStringLiteral("LAST_RUN"), {}),
              QStringLiteral("kept"));
}

TEST_F(IniSettingsStoreTest, AFileThatCannotBeReadIsNeverWrittenOver)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QByteArray garbage("\x7f"
                             "ELF\x02\x01\x01\0\0\0\0garbage\n[zb]\nLAST_RUN=x\n",
                             32);
    writeFile(garbage);
    IniSettingsStore store(path());
    EXPECT_TRUE(store.startedOnDefaults());
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("d")),
              QStringLiteral("d"));
    QStringList notices;
    store.setNoticeReceiver([&](const QString& text) { notices.append(text); });
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("new"));
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("newer"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("SETTINGS FILE NOT WRITTEN - ") + path()))
        << notices[0].toStdString();
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
    QFile copy(path() + QStringLiteral(".damaged"));
    EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == garbage) << "a copy is kept beside";
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), {}), QStringLiteral("newer"))
        << "the program goes on with what was set";
}

TEST_F(IniSettingsStoreTest, AFailedWriteIsSaidOnceAndGoesWithTheNextWriteThatWorks)
{
    // The folder cannot be made: a file stands where it should be.
    QFile blocker(QFileInfo(path()).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniSettingsStore store(path());
    QStringList notices;
    store.setNoticeReceiver([&](const QString& text) { notices.append(text); });
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("A"), QStringLiteral("1"));
    {
        const SettingsBatch batch(store);
        store.saveSetting(QStringLiteral("zb"), QStringLiteral("B"), QStringLiteral("2"));
        store.saveSetting(QStringLiteral("zb"), QStringLiteral("A"), QStringLiteral("3"));
    }
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(path())) << notices[0].toStdString();
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("A"), {}), QStringLiteral("3"));

    ASSERT_TRUE(QFile::remove(QFileInfo(path()).absolutePath()));
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("C"), QStringLiteral("4"));
    const IniSettingsStore reader(path());
    EXPECT_EQ(reader.getSetting(QStringLiteral("zb"), QStringLiteral("A"), {}), QStringLiteral("3"));
    EXPECT_EQ(reader.getSetting(QStringLiteral("zb"), QStringLiteral("B"), {}), QStringLiteral("2"));
    EXPECT_EQ(reader.getSetting(QStringLiteral("zb"), QStringLiteral("C"), {}), QStringLiteral("4"));
}

TEST_F(IniSettingsStoreTest, ACopySeesWhatAnotherWroteAndNeitherLosesTheOthersKeys)
{
    IniSettingsStore first(path());
    IniSettingsStore second(path());
    const QString shared = QStringLiteral("ZB-SEQUENTA-SHARED-EMAIL-SETTINGS");
    EXPECT_EQ(first.getSetting(shared, QStringLiteral("SMTP"), QStringLiteral("none")), QStringLiteral("none"));
    second.saveSetting(shared, QStringLiteral("SMTP"), QStringLiteral("mail.example:25"));
    EXPECT_EQ(first.getSetting(shared, QStringLiteral("SMTP"), {}), QStringLiteral("mail.example:25"))
        << "without writing anything itself";

    // Two processes writing at once.
    constexpr int kWrites = 40;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const QString mine = child == 0 ? QStringLiteral("child") : QStringLiteral("parent");
    {
        IniSettingsStore store(path());
        for (int i = 0; i < kWrites; ++i)
            store.saveSetting(mine, QStringLiteral("K%1").arg(i), QString::number(i));
    }
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const IniSettingsStore after(path());
    for (const QString& section : {QStringLiteral("child"), QStringLiteral("parent")})
        for (int i = 0; i < kWrites; ++i)
            EXPECT_EQ(after.getSetting(section, QStringLiteral("K%1").arg(i), {}), QString::number(i))
                << section.toStdString() << i;
    EXPECT_EQ(after.getSetting(shared, QStringLiteral("SMTP"), {}), QStringLiteral("mail.example:25"));
}

TEST_F(IniSettingsStoreTest, ALockHeldByAKilledWriterAndItsTemporaryFileAreGone)
{
    IniSettingsStore store(path());
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("A"), QStringLiteral("1"));
    const QString leftover = QFileInfo(path()).absolutePath() + QStringLiteral("/.ZB-SEQUENTA.ini.tmp-99999");
    QFile(leftover).open(QIODevice::WriteOnly);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(QFile::encodeName(path()).constData(), O_RDWR);
        ::flock(fd, LOCK_EX);
        ::pause(); // killed while it holds the lock
        ::_exit(0);
    }
    ::usleep(50'000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("B"), QStringLiteral("2"));
    EXPECT_EQ(IniSettingsStore(path()).getSetting(QStringLiteral("zb"), QStringLiteral("B"), {}), QStringLiteral("2"));
    EXPECT_FALSE(QFileInfo::exists(leftover));
}

TEST_F(IniSettingsStoreTest, AnUnreadableFileStartsOnDefaultsWithoutCrashing)
{
    QDir().mkpath(path()); // a folder where the file should be
    IniSettingsStore store(path());
    EXPECT_TRUE(store.startedOnDefaults());
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("X"), QStringLiteral("d")), QStringLiteral("d"));
    const QFileDevice::Permissions before = QFileInfo(path()).permissions();
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("X"), QStringLiteral("v")); // must not crash
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(QFileInfo(path()).permissions(), before) << "what stands in the file's place is left alone";
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST_F(IniSettingsStoreTest, AChangedWriteIsOneReplaceAndACloseThatChangesNothingWritesNothing)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    writeFile("[zb]\nA=1\n");
    IniSettingsStore store(path());
    int replaces = 0;
    store.beforeReplace = [&] { ++replaces; };
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("C"), QStringLiteral("3"));
    EXPECT_EQ(readBytes(path()), QByteArray("[zb]\nA=1\nC=3\n"));
    EXPECT_EQ(replaces, 1) << "a changed write is one replace";

    // A close that stores what the file holds already touches nothing.
    store.beforeReplace = nullptr;
    const std::optional<FileStamp> before = stampOf(path());
    store.beginBatch();
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("A"), QStringLiteral("1"));
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("C"), QStringLiteral("3"));
    store.commitBatch();
    EXPECT_EQ(stampOf(path()), before) << "no replace, no sync";
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("A"), QStringLiteral("2"));
    EXPECT_NE(stampOf(path()), before);
}

TEST_F(IniSettingsStoreTest, HandAppendsAtAThousandLinesASecondAreAllKeptWhileTheStoreWrites)
{
    IniSettingsStore store(path());
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("OURS"), QStringLiteral("0"));
    // Each line by an open, a write and a close, as `>>` does.
    const QString appendLines =
        QStringLiteral("for (0 .. 999) { open(F, q(>>), $ARGV[0]); print F qq(K$_=v\\n); close F;"
                       " select(undef, undef, undef, 0.001) }");
    QProcess appender;
    appender.start(QStringLiteral("/usr/bin/perl"), {QStringLiteral("-e"), appendLines, path()});
    for (int i = 0; appender.waitForStarted() && !appender.waitForFinished(0); ++i)
        store.saveSetting(QStringLiteral("zb"), QStringLiteral("OURS"), QString::number(i));
    const QByteArray kept = readBytes(path());
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(kept.contains("\nK" + QByteArray::number(i) + "=v\n")) << i;
}

TEST_F(IniSettingsStoreTest, LinksAreFollowedToTheRealFileAndANulIsNeverStoredOrRead)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QString real = dir.filePath(QStringLiteral("real.ini"));
    const QString middle = dir.filePath(QStringLiteral("middle.ini"));
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[zb]\nSMTP_PASSWORD_TEXTBOX=\"se\\0cret\"\nA=1\n");
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("real.ini"), middle)); // relative, as ln -s makes it
    ASSERT_TRUE(QFile::link(middle, path()));

    IniSettingsStore store(path());
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("SMTP_PASSWORD_TEXTBOX"), QStringLiteral("none")),
              QStringLiteral("none"))
        << "a NUL in a value is refused, not cut at";
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("B"), QStringLiteral("2"));
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("C"), QString::fromUtf8("nul\0here", 8));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(QFileInfo(middle).isSymLink()) << "the middle link stays a link";
    EXPECT_EQ(readBytes(real), QByteArray("[zb]\nSMTP_PASSWORD_TEXTBOX=\"se\\0cret\"\nA=1\nB=2\n"));
}

TEST(SettingsDecoding, TicksAndTwips)
{
    const struct {
        const char* text;
        int expected;
    } ticks[] = {{"0", 0}, {"1", 1}, {" 1", 1}, {"2", 7}, {"-1", 7}, {"yes", 7}, {"", 7}, {"1.0", 7}};
    for (const auto& t : ticks)
        EXPECT_EQ(Settings::decodeTick(QString::fromLatin1(t.text), 7), t.expected) << t.text;

    EXPECT_EQ(Settings::decodeTwips(QStringLiteral("1000"), 5), 1000);
    EXPECT_EQ(Settings::decodeTwips(QStringLiteral("-120.5"), 5), -120.5);
    EXPECT_EQ(Settings::decodeTwips(QStringLiteral("inf"), 5), 5);
    EXPECT_EQ(Settings::decodeTwips(QStringLiteral("12px"), 5), 5);
    EXPECT_EQ(Settings::encodeTwips(1000), QStringLiteral("1000"));
    EXPECT_EQ(Settings::encodeTwips(1234.5), QStringLiteral("1234.5"));
    EXPECT_EQ(Settings::encodeTwips(-15), QStringLiteral("-15"));
}

} // namespace
} // namespace zb
