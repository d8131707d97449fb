#include "platform/qt/InstalledProgramData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

void write(const QString& path, const QByteArray& content)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TEST(InstalledProgramData, FoundUnderThePrefixOfAnyInstallElseBesideTheProgram)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString prefix = root.filePath(QStringLiteral("opt/zb"));
    write(prefix + QStringLiteral("/share/zb-sequenta/donations.txt"), "Web page: https://example.org\n");
    write(prefix + QStringLiteral("/bin/share/zb-sequenta/donations.txt"), "beside\n");
    const QString build = root.filePath(QStringLiteral("build"));
    write(build + QStringLiteral("/share/zb-sequenta/donations.txt"), "in the build tree\n");
    write(build + QStringLiteral("/share/zb-sequenta/big.txt"),
          QByteArray(InstalledProgramData::kMaxFileBytes + 1, 'x'));

    const InstalledProgramData installed(InstalledProgramData::foldersFor(prefix + QStringLiteral("/bin")));
    EXPECT_EQ(installed.readText(QStringLiteral("donations.txt")), QStringLiteral("Web page: https://example.org\n"))
        << "the prefix's share comes first";
    const InstalledProgramData inBuildTree(InstalledProgramData::foldersFor(build));
    EXPECT_EQ(inBuildTree.readText(QStringLiteral("donations.txt")), QStringLiteral("in the build tree\n"));
    EXPECT_EQ(inBuildTree.readText(QStringLiteral("big.txt")), QString()) << "too large to be ours";
    EXPECT_EQ(inBuildTree.readText(QStringLiteral("missing.txt")), QString());
    const InstalledProgramData nowhere(InstalledProgramData::foldersFor(root.filePath(QStringLiteral("elsewhere"))));
    EXPECT_EQ(nowhere.readText(QStringLiteral("donations.txt")), QString());
}

TEST(InstalledProgramData, TheBuildTreeCarriesTheShippedDonationsFileWithNoDetailsInIt)
{
    const InstalledProgramData data(InstalledProgramData::foldersFor(QStringLiteral(ZB_BUILD_DIR)));
    const QString text = data.readText(QStringLiteral("donations.txt"));
    ASSERT_FALSE(text.isEmpty());
    for (const QString& line : text.split(QLatin1Char('\n')))
        EXPECT_TRUE(line.isEmpty() || line.startsWith(QLatin1Char('#'))) << line.toStdString();
}

} // namespace
} // namespace zb
