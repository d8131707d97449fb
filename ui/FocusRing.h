#pragma once

#include <QPointer>
#include <QWidget>

namespace zb {

// A ring drawn around the control that has the keyboard focus, so that the
// focus shows in every style and theme, also on the black title strips. It
// follows focus that the keyboard or the program moves; a mouse click shows
// the style's own mark. One ring serves the whole application.
class FocusRing : public QWidget {
public:
    // Installs the ring once; later calls do nothing.
    static void install();
    // The ring, once installed; for tests.
    static FocusRing* instance();
    // A new ring without a home; the next target's parent takes it.
    static FocusRing* create();

    // Moves the ring around `target`, or hides it for none.
    void follow(QWidget* target);

    QWidget* target() const { return target_; }
    // The ring's colour around the current target.
    QColor colour() const;

    static constexpr int kWidth = 2;
    static constexpr int kGap = 1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FocusRing();
    void place();

    QPointer<QWidget> target_;
    QList<QPointer<QWidget>> watched_;
};

} // namespace zb
