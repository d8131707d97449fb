#include "platform/qt/IniSettingsStore.h"
#include "core/Settings.h"
#include "platform/fake/FakeExecutableInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST_F(IniSettingsStoreTest, HandWrittenFileReadsAsAPersonMeansIt)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    writeFile("[nightly]\nTASK_1_ENABLE_TICKBOX=1\nTASK_1_CMD=/bin/echo hello, world\n"
              "TASK_2_CMD=\"/bin/echo a,b\"\n");
    IniSettingsStore store(path());
    EXPECT_EQ(store.getSetting(QStringLiteral("nightly"), QStringLiteral("TASK_1_ENABLE_TICKBOX"), {}),
              QStringLiteral("1"));
    EXPECT_EQ(store.getSetting(QStringLiteral("nightly"), QStringLiteral("TASK_1_CMD"), {}),
              QStringLiteral("/bin/echo hello, world"));
    EXPECT_EQ(store.getSetting(QStringLiteral("nightly"), QStringLiteral("TASK_2_CMD"), {}),
              QStringLiteral("/bin/echo a,b"));
}

TEST_F(IniSettingsStoreTest, ADamagedFileStartsOnDefaultsAndIsKeptAside)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    writeFile(QByteArray("[zb]\nLAST_RUN=kept\n[broken\n") + QByteArray("\x01\x02=\xff\xfe\n"));
    IniSettingsStore store(path());
    if (!store.startedOnDefaults())
        GTEST_SKIP() << "this Qt reads the file without complaint";
    EXPECT_EQ(store.getSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_TRUE(QFileInfo::exists(path() + QStringLiteral(".damaged")));
    store.saveSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), QStringLiteral("new"));
    EXPECT_EQ(IniSettingsStore(path()).getSetting(QStringLiteral("zb"), QStringLiteral("LAST_RUN"), {}),
              QStringLiteral("new"));
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
