#include "HistoryWindowView.h"

#include "EditorStyle.h"
#include "engine/HistoryWindowModel.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace zb {

namespace {
constexpr int kPassRole = Qt::UserRole;
constexpr int kSlotRole = Qt::UserRole + 1;
} // namespace

HistoryWindowView::HistoryWindowView(HistoryWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 10, 8);
    auto* status = bindings_.bind(model.HISTORY_STATUS_LABEL, new QLabel);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    root->addWidget(status);

    tree_ = new QTreeWidget;
    tree_->setObjectName(QStringLiteral("HISTORY_TREE"));
    tree_->setHeaderLabels(
        {QStringLiteral("Started"), QStringLiteral("How"), QStringLiteral("Took"), QStringLiteral("Result")});
    tree_->setRootIsDecorated(true);
    tree_->setAlternatingRowColors(true);
    const QList<HistoryPass>& passes = model.passes();
    for (int i = 0; i < passes.size(); ++i) {
        const HistoryPass& p = passes[i];
        auto* item = new QTreeWidgetItem(
            tree_, {p.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), p.how, p.took, p.result});
        item->setData(0, kPassRole, i);
        item->setData(0, kSlotRole, 0);
        for (const HistorySlot& s : p.slots) {
            auto* child =
                new QTreeWidgetItem(item, {QStringLiteral("TASK %1").arg(s.slot), QString(), QString(), s.outcome});
            child->setData(0, kPassRole, i);
            child->setData(0, kSlotRole, s.slot);
            if (!s.outputFile.isEmpty())
                child->setToolTip(3, s.outputFile);
        }
    }
    if (tree_->topLevelItemCount() > 0)
        tree_->topLevelItem(0)->setExpanded(true);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(true);
    QObject::connect(tree_, &QTreeWidget::currentItemChanged, tree_, [this](QTreeWidgetItem* current) {
        if (current == nullptr)
            model_.select(-1, 0);
        else
            model_.select(current->data(0, kPassRole).toInt(), current->data(0, kSlotRole).toInt());
    });
    QObject::connect(tree_, &QTreeWidget::itemActivated, tree_, [this](QTreeWidgetItem* item) {
        if (item->data(0, kSlotRole).toInt() > 0)
            model_.OPEN_OUTPUT_BUTTON.click();
    });
    root->addWidget(tree_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model.OPEN_OUTPUT_BUTTON, new QPushButton));
    bottom->addWidget(bindings_.bind(model.OPEN_FOLDER_BUTTON, new QPushButton));
    bottom->addStretch(1);
    auto* close = bindings_.bind(model.CLOSE_BUTTON, new QPushButton);
    close->setDefault(true);
    bottom->addWidget(close);
    root->addLayout(bottom);

    model_.openPath = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    applyGeometry();
}

HistoryWindowView::~HistoryWindowView() { model_.openPath = nullptr; }

} // namespace zb
