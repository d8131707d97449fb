#pragma once

#include "EditorDialog.h"

class QTreeWidget;

namespace zb {

class HistoryWindowModel;

// ZB_SEQUENTA_HISTORY: the passes in a tree, each with its slots; the
// buttons open a task's output and the journal's folder with the desktop's
// own programs.
class HistoryWindowView : public EditorDialog {
public:
    HistoryWindowView(HistoryWindowModel& model, QWidget* owner);
    ~HistoryWindowView() override;

    QTreeWidget* tree() const { return tree_; }

private:
    void fillTree();
    void growToShowColumns();

    HistoryWindowModel& model_;
    QTreeWidget* tree_ = nullptr;
};

} // namespace zb
