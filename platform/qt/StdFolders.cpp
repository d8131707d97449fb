#include "StdFolders.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace zb {

FolderResult StdFolders::makeFolder(const QString& path)
{
    const std::filesystem::path p(QFile::encodeName(path).toStdString());
    std::error_code ec;
    std::filesystem::create_directory(p, ec);
    if (ec)
        return {false, QString::fromLocal8Bit(ec.message().c_str())};
    if (!std::filesystem::is_directory(p, ec))
        return {false, QStringLiteral("a file of that name is in the way")};
    return {true, QString()};
}

} // namespace zb
