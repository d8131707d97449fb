#pragma once

#include "platform/FileDialog.h"

#include <QList>
#include <QPair>

namespace zb {

// Answers with a scripted path (or a cancel) and records each request.
class FakeFileDialog : public FileDialog {
public:
    std::optional<QString> openFile(const OpenFileRequest& request) override
    {
        requests.append(request);
        return answer;
    }

    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override
    {
        folderRequests.append({title, initialFolder});
        return answer;
    }

    std::optional<QString> answer;
    QList<QPair<QString, QString>> folderRequests; // title, initial folder
    QList<OpenFileRequest> requests;
};

} // namespace zb
