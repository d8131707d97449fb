#include "FocusRing.h"

#include "Bindings.h"
#include "core/ColourContrast.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace zb {

namespace {

QPointer<FocusRing> theRing;
bool installed = false;

// Hands every focus change, with its reason, to the ring.
class FocusWatch : public QObject {
public:
    FocusWatch() : QObject(qApp) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            if (theRing != nullptr)
                theRing->follow(byMouse ? nullptr : widget);
            else if (!byMouse)
                FocusRing::create()->follow(widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

FocusRing::FocusRing()
{
    setObjectName(QStringLiteral("FOCUS_RING"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::install()
{
    if (installed || qApp == nullptr)
        return;
    installed = true;
    qApp->installEventFilter(new FocusWatch);
}

FocusRing* FocusRing::create()
{
    // Its first target's parent takes it over at once, and a later one when
    // that parent goes; then the next focus change makes a new ring.
    theRing = new FocusRing;
    return theRing;
}

FocusRing* FocusRing::instance() { return theRing; }

namespace {

// The widget the ring is drawn in: the nearest ancestor of `target` with room
// for the whole ring, so that a control at the edge of a box without margins
// keeps its ring whole. It stays inside a scrolled list, whose rows it must
// scroll with.
QWidget* hostFor(QWidget* target, int out)
{
    QWidget* host = target->parentWidget();
    QRect ring = target->geometry().adjusted(-out, -out, out, out);
    while (!host->rect().contains(ring) && !host->isWindow() && host->parentWidget() != nullptr &&
           host->parentWidget()->objectName() != QLatin1String("qt_scrollarea_viewport")) {
        ring.translate(host->pos());
        host = host->parentWidget();
    }
    return host;
}

} // namespace

void FocusRing::follow(QWidget* target)
{
    for (QWidget* w : watched_)
        if (w != nullptr)
            w->removeEventFilter(this);
    watched_.clear();
    target_ = target;
    if (target == nullptr || target->isWindow() || target->parentWidget() == nullptr) {
        target_ = nullptr;
        hide();
        if (parentWidget() == nullptr)
            deleteLater(); // a ring that never found a home
        return;
    }
    QWidget* host = hostFor(target, kWidth + kGap);
    if (parentWidget() != host)
        setParent(host);
    // The target and every box between it and the ring's host: when any of
    // them moves, the ring moves along.
    for (QWidget* w = target; w != host; w = w->parentWidget()) {
        w->installEventFilter(this);
        watched_ << w;
    }
    place();
}

void FocusRing::place()
{
    if (target_ == nullptr || !target_->isVisible() || !target_->hasFocus() || parentWidget() == nullptr) {
        hide();
        return;
    }
    const int out = kWidth + kGap;
    const QPoint at = target_->mapTo(parentWidget(), QPoint(0, 0));
    setGeometry(QRect(at, target_->size()).adjusted(-out, -out, out, out));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    const bool isTarget = watched == target_;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        place();
        break;
    case QEvent::Hide:
        hide();
        break;
    case QEvent::FocusOut:
        if (isTarget)
            hide();
        break;
    case QEvent::ParentChange:
        follow(target_);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QColor FocusRing::colour() const
{
    const QWidget* behind = parentWidget() != nullptr ? parentWidget() : this;
    const QPalette& p = behind->palette();
    const Colour background = fromQColor(p.color(QPalette::Window));
    return toQColor(readableTextOn(background, fromQColor(p.color(QPalette::Highlight)), kVisibleContrast));
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(colour(), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal half = kWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

} // namespace zb
