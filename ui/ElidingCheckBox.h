#pragma once

#include <QCheckBox>

namespace zb {

// A tick box whose caption, when too long for its room, ends in "…"; the
// whole caption is then its tooltip. Captions show literally: an '&' is a
// character, never a shortcut.
class ElidingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }
    // The tooltip while the whole caption shows.
    void setFullToolTip(const QString& tip);
    bool elided() const { return elided_; }

    // Room for the whole caption, up to a good many characters; at least
    // room for a short one.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QSize sizeFor(const QString& text) const;
    void elide();

    QString fullText_;
    QString fullToolTip_;
    bool elided_ = false;
};

// A caption as QAbstractButton shows it literally.
QString literalCaption(const QString& caption);

} // namespace zb
