#pragma once

#include "platform/FileDialog.h"

#include <QList>

namespace zb {

// Answers with a scripted path (or a cancel) and records each request.
class FakeFileDialog : public FileDialog {
public:
    std::optional<QString> openFile(const OpenFileRequest& request) override
    {
        requests.append(request);
        return answer;
    }

    std::optional<QString> answer;
    QList<OpenFileRequest> requests;
};

} // namespace zb
