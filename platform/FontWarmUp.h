#pragma once

#include <memory>

namespace zb {

// Reading the system's font configuration is most of what the first text a
// window measures costs. Begun before the application object exists, it runs
// on a thread of its own while the window system is opened; Qt's own font
// classes are left to the main thread.
class FontWarmUp {
public:
    virtual ~FontWarmUp() = default;
    // Waits for it to end; before the first widget is built. Also done by
    // the destructor.
    virtual void finish() = 0;
};

std::unique_ptr<FontWarmUp> beginFontWarmUp();

} // namespace zb
