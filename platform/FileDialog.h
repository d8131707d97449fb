#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zb {

struct OpenFileRequest {
    QString title;
    QString initialFolder;
    QStringList filters; // "Description (pattern)", the first one selected
    QString defaultSuffix;
};

// A modal file-open dialog: the chosen file's full path, or nothing when the
// user cancelled.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<QString> openFile(const OpenFileRequest& request) = 0;
    // A modal folder chooser: the chosen folder's path, or nothing when the
    // user cancelled.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) = 0;
};

} // namespace zb
