#include "EditorDialog.h"

#include "FocusRing.h"
#include "Mnemonic.h"
#include "WindowPlacement.h"
#include "editors/EditorWindowModel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace zb {

namespace {
// What a desktop takes of a screen beside the window: a panel the screen may
// not report, the window manager's title bar and borders.
constexpr int kPanel = 32;
constexpr int kTitleBar = 32;
constexpr int kBorder = 8;
// The least of the contents that shows when they scroll, in lines and characters.
constexpr int kLeastLines = 5;
constexpr int kLeastChars = 24;
} // namespace

EditorDialog::EditorDialog(EditorWindowModel& model, QWidget* owner) : QDialog(owner), model_(model)
{
    setObjectName(model_.objectName());
    setWindowTitle(model_.title());
    setModal(true);
    FocusRing::install();
    model_.closeRequested = [this] { done(QDialog::Accepted); };
    model_.askSaveChanges = [this](const QString& question) { return askSaveChanges(question); };
}

EditorDialog::~EditorDialog()
{
    model_.closeRequested = nullptr;
    model_.askSaveChanges = nullptr;
}

EditorWindowModel::SaveAnswer EditorDialog::askSaveChanges(const QString& question)
{
    QMessageBox box(QMessageBox::Question, model_.title(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SAVE_CHANGES_QUESTION"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return EditorWindowModel::SaveAnswer::Save;
    case QMessageBox::Discard:
        return EditorWindowModel::SaveAnswer::Discard;
    default:
        return EditorWindowModel::SaveAnswer::Cancel;
    }
}

void EditorDialog::closeWithoutAsking()
{
    if (const QString dropped = model_.droppedEditsNote(); !dropped.isEmpty())
        std::fprintf(stderr, "ZB-SEQUENTA: %s\n", qPrintable(dropped));
    closingUnasked_ = true;
    reject();
}

QVBoxLayout* EditorDialog::scrollingBody(QBoxLayout* root)
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("CONTENTS"));
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(root->spacing());
    scroll_ = new QScrollArea;
    scroll_->setObjectName(QStringLiteral("CONTENTS_SCROLL"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content);
    // Not a Tab stop of its own: Tab goes through the fields, and the area
    // scrolls to the one that takes the focus.
    scroll_->setFocusPolicy(Qt::NoFocus);
    root->addWidget(scroll_, 1);
    // However the focus comes to a field (Tab, Shift+Tab from the buttons, an
    // Alt key), the field scrolls into view.
    connect(qApp, &QApplication::focusChanged, scroll_, [this](QWidget*, QWidget* now) {
        if (now != nullptr && scroll_->widget()->isAncestorOf(now))
            scroll_->ensureWidgetVisible(now);
    });
    return body;
}

void EditorDialog::stackWhenNarrow(QBoxLayout* row) { stackable_.push_back(row); }

QSize EditorDialog::roomOnScreen() const
{
    const QScreen* on = screen();
    if (on == nullptr)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize screenRoom = on->availableGeometry().size();
    return {screenRoom.width() - 2 * kBorder, screenRoom.height() - kPanel - kTitleBar - kBorder};
}

namespace {
void setDirection(QBoxLayout* row, QBoxLayout::Direction direction)
{
    row->setDirection(direction);
    for (int i = 0; i < row->count(); ++i)
        if (auto* rule = qobject_cast<QFrame*>(row->itemAt(i)->widget());
            rule != nullptr && (rule->frameShape() == QFrame::VLine || rule->frameShape() == QFrame::HLine))
            rule->setFrameShape(direction == QBoxLayout::LeftToRight ? QFrame::VLine : QFrame::HLine);
}
} // namespace

void EditorDialog::limitToScreen()
{
    if (layout() == nullptr)
        return;
    const QSize room = roomOnScreen();
    QWidget* content = scroll_ != nullptr ? scroll_->widget() : this;
    const auto whole = [content] {
        content->layout()->activate();
        return content->minimumSizeHint().expandedTo(content->minimumSize());
    };
    for (QBoxLayout* row : stackable_)
        setDirection(row, QBoxLayout::LeftToRight);
    if (!stackable_.empty() && whole().width() > room.width())
        for (QBoxLayout* row : stackable_)
            setDirection(row, QBoxLayout::TopToBottom);
    if (scroll_ == nullptr)
        return;
    const QSize least = whole();
    scroll_->setMinimumSize(least);
    layout()->activate();
    const QMargins m = layout()->contentsMargins();
    const int wide = room.width() - m.left() - m.right();
    const int high = room.height() - (minimumSizeHint().height() - least.height());
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    bool vertical = least.height() > high;
    const bool horizontal = least.width() + (vertical ? bar : 0) > wide;
    vertical = vertical || (horizontal && least.height() + bar > high);
    const int width = std::min(least.width() + (vertical ? bar : 0), wide);
    const int height = std::min(least.height() + (horizontal ? bar : 0), high);
    scroll_->setMinimumSize(std::max(width, fontMetrics().averageCharWidth() * kLeastChars),
                            std::max(height, fontMetrics().lineSpacing() * kLeastLines));
    // The window's own least size follows now, before it is placed.
    layout()->activate();
}

void EditorDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // A new font or style gives the contents another size.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        limitToScreen();
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Moved to another screen, the window has another room: fit it there.
    if (!screenWatched_ && windowHandle() != nullptr) {
        connect(windowHandle(), &QWindow::screenChanged, this, [this] { limitToScreen(); });
        screenWatched_ = true;
    }
}

void EditorDialog::applyGeometry()
{
    limitToScreen();
    giveStandardMnemonics();
    // A button made the default before it was in the window is not yet the
    // window's: made it again, it stays the default when another button has
    // had the focus, and no other becomes it when the window shows.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->isDefault()) {
            b->setDefault(false);
            b->setDefault(true);
        }
    read_ = model_.geometry();
    const keys::GeometryKeys& d = model_.geometryKeys();
    placement_.apply(this, read_, {d.left, d.top, d.width, d.height});
    // Room for the window manager's frame too, which the screen does not
    // count until the window is framed.
    if (const QSize room = roomOnScreen(); width() > room.width() || height() > room.height())
        resize(size().boundedTo(room));
    placed_ = true;
}

void EditorDialog::giveStandardMnemonics()
{
    const struct {
        const char* button;
        char key;
    } keys[] = {{"OK_BUTTON", 'O'}, {"SAVE_BUTTON", 'S'}, {"CANCEL_BUTTON", 'C'}, {"CLOSE_BUTTON", 'C'}};
    for (const auto& k : keys)
        if (auto* b = findChild<QPushButton*>(QLatin1String(k.button)))
            giveMnemonic(b, QLatin1Char(k.key));
}

void EditorDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (isVisible())
        reportPosition();
}

void EditorDialog::reportPosition()
{
    if (!placed_)
        return;
    // Unmoved, the window keeps the position it read, to the fraction.
    double left = read_.left;
    double top = read_.top;
    placement_.position(left, top);
    model_.setPosition(left, top);
}

void EditorDialog::done(int result)
{
    if (!model_.unloaded() && !closingUnasked_) {
        if (!model_.mayClose())
            return;
        if (model_.unloaded())
            return; // the program closed it while the question was open
    }
    reportPosition();
    model_.Form_Unload();
    QDialog::done(result);
}

} // namespace zb
