#include "platform/qt/InstalledProgramData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(InstalledProgramData, FoundUnderThePrefixOfAnyInstallElseBesideTheProgramAsInTheBuildTree)
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("opt/zb/bin"));
    for (const char* folder : {"/../share/zb-sequenta", "/share/zb-sequenta"}) {
        ASSERT_TRUE(QDir().mkpath(bin + QLatin1String(folder)));
        QFile out(bin + QLatin1String(folder) + QStringLiteral("/donations.txt"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(folder) > 0);
    }
    const InstalledProgramData installed(InstalledProgramData::foldersFor(bin));
    EXPECT_EQ(installed.readText(QStringLiteral("donations.txt")), QStringLiteral("/../share/zb-sequenta"));
    EXPECT_EQ(installed.readText(QStringLiteral("missing.txt")), QString());

    // The build tree's copy is the file as shipped: comments only.
    const InstalledProgramData built(InstalledProgramData::foldersFor(QStringLiteral(ZB_BUILD_DIR)));
    const QString shipped = built.readText(QStringLiteral("donations.txt"));
    ASSERT_FALSE(shipped.isEmpty());
    for (const QString& line : shipped.split(QLatin1Char('\n')))
        EXPECT_TRUE(line.isEmpty() || line.startsWith(QLatin1Char('#'))) << line.toStdString();
}

} // namespace
} // namespace zb
