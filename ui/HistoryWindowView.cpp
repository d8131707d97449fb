#include "HistoryWindowView.h"

#include "EditorStyle.h"
#include "core/ControlTexts.h"
#include "engine/HistoryRows.h"
#include "engine/HistoryWindowModel.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
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
    tree_->setAccessibleName(text::kSpokenHistory);
    tree_->setHeaderLabels(
        {QStringLiteral("Started"), QStringLiteral("How"), QStringLiteral("Took"), QStringLiteral("Result")});
    tree_->setRootIsDecorated(true);
    tree_->setAlternatingRowColors(true);
    fillTree();
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A long result scrolls sideways, never cut.
    tree_->header()->setStretchLastSection(false);
    QObject::connect(tree_, &QTreeWidget::currentItemChanged, tree_, [this](QTreeWidgetItem* current) {
        if (current == nullptr)
            model_.select(-1, 0);
        else
            model_.select(current->data(0, kPassRole).toInt(), current->data(0, kSlotRole).toInt());
    });
    // Reaching the end of the list reads older passes, as the button does.
    QScrollBar* treeScroll = tree_->verticalScrollBar();
    QObject::connect(treeScroll, &QScrollBar::valueChanged, tree_, [this, treeScroll](int value) {
        if (value > 0 && value == treeScroll->maximum())
            model_.LOAD_OLDER_BUTTON.click();
    });
    QObject::connect(tree_, &QTreeWidget::itemActivated, tree_, [this](QTreeWidgetItem* item) {
        if (item->data(0, kSlotRole).toInt() > 0)
            model_.OPEN_OUTPUT_BUTTON.click();
    });

    // The passes above, the output of the task picked below.
    auto* output = new QWidget;
    auto* column = new QVBoxLayout(output);
    column->setContentsMargins(0, 0, 0, 0);
    auto* outputLabel = bindings_.bind(model.TASK_OUTPUT_LABEL, new QLabel);
    outputLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outputLabel->setWordWrap(true);
    column->addWidget(outputLabel);
    auto* text = bindings_.bind(model.TASK_OUTPUT_TEXTBOX, new QPlainTextEdit);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The newest lines are the ones wanted: show the end, also once the
    // field has its final size.
    QObject::connect(text, &QPlainTextEdit::textChanged, text, [text] { text->moveCursor(QTextCursor::End); });
    QScrollBar* scroll = text->verticalScrollBar();
    QObject::connect(scroll, &QScrollBar::rangeChanged, scroll, [scroll](int, int end) { scroll->setValue(end); });
    outputLabel->setBuddy(text);
    column->addWidget(text, 1);
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("HISTORY_SPLITTER"));
    split->setChildrenCollapsible(false);
    split->addWidget(tree_);
    split->addWidget(output);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    root->addWidget(split, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model.OPEN_OUTPUT_BUTTON, new QPushButton));
    bottom->addWidget(bindings_.bind(model.OPEN_FOLDER_BUTTON, new QPushButton));
    bottom->addWidget(bindings_.bind(model.LOAD_OLDER_BUTTON, new QPushButton));
    auto* problem = bindings_.bind(model.OPEN_MESSAGE_LABEL, new QLabel);
    problem->setWordWrap(true);
    problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(problem, 1);
    auto* close = bindings_.bind(model.CLOSE_BUTTON, new QPushButton);
    close->setDefault(true);
    bottom->addWidget(close);
    root->addLayout(bottom);

    model_.openPath = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    model_.passesChanged = [this] {
        fillTree();
        growToShowColumns();
    };
    applyGeometry();
    growToShowColumns();
}

// The passes read so far, each with its rows; the row picked stays picked
// and the list where it was scrolled.
void HistoryWindowView::fillTree()
{
    const QSignalBlocker quiet(tree_);
    // The pass at the top of the list, to keep it there: newer passes may come in above it.
    const auto key = [](const QTreeWidgetItem* pass) { return pass->text(0) + QLatin1Char('\n') + pass->text(1); };
    QString anchor;
    for (QTreeWidgetItem* top = tree_->itemAt(0, 0); top != nullptr; top = top->parent())
        anchor = key(top);
    // Passes opened stay open.
    QSet<QString> open;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (tree_->topLevelItem(i)->isExpanded())
            open.insert(key(tree_->topLevelItem(i)));
    const bool first = tree_->topLevelItemCount() == 0;
    tree_->clear();
    QTreeWidgetItem* picked = nullptr;
    const QList<HistoryPass>& passes = model_.passes();
    for (int i = 0; i < passes.size(); ++i) {
        const HistoryPass& p = passes[i];
        auto* item = new QTreeWidgetItem(
            tree_, {p.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), p.how, p.took, p.result});
        item->setData(0, kPassRole, i);
        item->setData(0, kSlotRole, 0);
        if (i == model_.pickedPass() && model_.pickedSlot() == 0)
            picked = item;
        for (const HistoryRow& row : historyRows(p)) {
            auto* child = new QTreeWidgetItem(item, {row.tasks, QString(), QString(), row.outcome});
            child->setData(0, kPassRole, i);
            child->setData(0, kSlotRole, row.slot);
            if (i == model_.pickedPass() && row.slot == model_.pickedSlot() && row.slot > 0)
                picked = child;
            for (const HistorySlot& s : p.slots)
                if (s.slot == row.slot && row.slot > 0 && !s.outputFile.isEmpty())
                    child->setToolTip(3, s.outputFile);
        }
        item->setExpanded(open.contains(key(item)));
    }
    if (first && tree_->topLevelItemCount() > 0)
        tree_->topLevelItem(0)->setExpanded(true);
    if (picked != nullptr) {
        if (picked->parent() != nullptr)
            picked->parent()->setExpanded(true);
        tree_->setCurrentItem(picked);
    }
    for (int i = 0; i < tree_->topLevelItemCount() && !anchor.isEmpty(); ++i) {
        QTreeWidgetItem* item = tree_->topLevelItem(i);
        if (key(item) == anchor) {
            tree_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            break;
        }
    }
}

// Wider than its stored size, up to its screen's width, when the columns
// need it.
void HistoryWindowView::growToShowColumns()
{
    tree_->header()->resizeSections(QHeaderView::ResizeToContents);
    const int columns = tree_->header()->length();
    const QMargins around = layout()->contentsMargins();
    const int wanted = columns + 2 * tree_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       around.left() + around.right();
    if (wanted <= width() || screen() == nullptr)
        return;
    // Room for the window manager's border either side.
    const QRect room = screen()->availableGeometry().adjusted(8, 0, -8, 0);
    resize(std::min(wanted, room.width()), height());
    if (geometry().right() > room.right())
        move(std::max(room.left(), room.right() - width()), y());
}

HistoryWindowView::~HistoryWindowView()
{
    model_.openPath = nullptr;
    model_.passesChanged = nullptr;
}

} // namespace zb
