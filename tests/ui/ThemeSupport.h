#pragma once

#include "core/ColourContrast.h"
#include "ui/Bindings.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QWidget>

namespace zb::test {

// A dark theme as a desktop sets it: dark fields, light text.
inline QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35), base(0x2d, 0x2d, 0x2d), text(0xee, 0xee, 0xec);
    for (auto [role, colour] : {std::pair{QPalette::Window, window},
                                {QPalette::WindowText, text},
                                {QPalette::Base, base},
                                {QPalette::AlternateBase, window},
                                {QPalette::Text, text},
                                {QPalette::Button, window},
                                {QPalette::ButtonText, text},
                                {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                {QPalette::HighlightedText, Qt::white},
                                {QPalette::ToolTipBase, base},
                                {QPalette::ToolTipText, text},
                                {QPalette::PlaceholderText, QColor(0x99, 0x99, 0x99)}})
        p.setColor(role, colour);
    return p;
}

// Sets the application's palette for a scope, then puts the old one back.
class ScopedPalette {
public:
    explicit ScopedPalette(const QPalette& p) : old_(QApplication::palette()) { QApplication::setPalette(p); }
    ~ScopedPalette() { QApplication::setPalette(old_); }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

private:
    QPalette old_;
};

// Sets the application's font for a scope.
class ScopedFont {
public:
    explicit ScopedFont(const QFont& f) : old_(QApplication::font()) { QApplication::setFont(f); }
    ~ScopedFont() { QApplication::setFont(old_); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    QFont old_;
};

// The two themes every colour test runs in.
struct Theme {
    const char* name;
    QPalette palette;
};
inline std::vector<Theme> lightAndDark() { return {{"light", QPalette(Qt::white)}, {"dark", darkPalette()}}; }

inline Colour pixel(const QImage& image, int x, int y) { return fromQColor(image.pixelColor(x, y)); }

// The colour most pixels in `area` have: a field's background.
inline Colour dominantColour(const QImage& image, const QRect& area)
{
    QHash<Colour, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[pixel(image, x, y)];
    Colour best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return best;
}

// The strongest contrast any pixel in `area` has to `background`: the core
// of a glyph drawn there, in the text's own colour.
inline double strongestContrast(const QImage& image, const QRect& area, Colour background)
{
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, contrastRatio(background, pixel(image, x, y)));
    return best;
}

// A widget as it shows on screen, at one pixel per logical pixel.
inline QImage shot(QWidget* w, const QRect& area = QRect())
{
    return w->grab(area.isNull() ? w->rect() : area).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace zb::test
