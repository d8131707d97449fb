#pragma once

#include "platform/FileDialog.h"

namespace zb {

// The Qt file-open dialog, owned by the active modal window.
class QtFileDialog : public FileDialog {
public:
    std::optional<QString> openFile(const OpenFileRequest& request) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override;
};

} // namespace zb
