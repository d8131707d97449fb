#pragma once

#include "core/ColourContrast.h"
#include "ui/Bindings.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QWidget>
#include <algorithm>

namespace zb::test {

// A dark theme as a desktop sets it: dark fields, light text.
inline QPalette darkPalette()
{
    const QColor text(0xee, 0xee, 0xec), window(0x35, 0x35, 0x35), base(0x2d, 0x2d, 0x2d);
    QPalette p(text, window, window.lighter(), window.darker(), window, text, Qt::white, base, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    return p;
}

// Sets an application-wide value for a scope, then puts the old one back.
template <typename T, T (*Get)(), void (*Set)(const T&)>
class Scoped {
public:
    explicit Scoped(const T& value) : old_(Get()) { Set(value); }
    ~Scoped() { Set(old_); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    T old_;
};
inline QPalette appPalette() { return QApplication::palette(); }
inline void setAppPalette(const QPalette& p) { QApplication::setPalette(p); }
inline QFont appFont() { return QApplication::font(); }
inline void setAppFont(const QFont& f) { QApplication::setFont(f); }
using ScopedPalette = Scoped<QPalette, appPalette, setAppPalette>;
using ScopedFont = Scoped<QFont, appFont, setAppFont>;

// The two themes every colour test runs in.
struct Theme {
    const char* name;
    QPalette palette;
};
inline std::vector<Theme> lightAndDark() { return {{"light", QPalette(Qt::white)}, {"dark", darkPalette()}}; }

inline Colour pixel(const QImage& image, int x, int y) { return fromQColor(image.pixelColor(x, y)); }

// The colour most pixels in `area` have (a field's background), and the
// strongest contrast any pixel there has to it (the core of a glyph, drawn in
// the text's own colour).
inline std::pair<Colour, double> backgroundAndContrast(const QImage& image, const QRect& area)
{
    QHash<Colour, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[pixel(image, x, y)];
    const Colour background = std::max_element(counts.cbegin(), counts.cend()).key();
    double strongest = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        strongest = std::max(strongest, contrastRatio(background, it.key()));
    return {background, strongest};
}

// A widget, or an area of it, as it shows on screen.
inline QImage shot(QWidget* w, const QRect& area = QRect())
{
    return w->grab(area.isNull() ? w->rect() : area).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace zb::test
