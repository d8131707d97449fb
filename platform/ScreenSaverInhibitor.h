#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace zb {

// Who holds the session awake for this program.
enum class InhibitionHolder {
    None,
    ScreenSaver, // the session's screensaver service
    Portal,      // the desktop portal, where there is no screensaver service
};

// Holds off the session's screensaver and screen lock through the desktop's
// own service, where the session offers one. Nothing here waits for the
// service: an inhibition is held once it has answered, taken again whenever
// the service comes back, and the holder changes under the caller's feet.
class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor() = default;
    // Wants an inhibition, giving the reason the desktop may show. Asking
    // again while one is wanted keeps it.
    virtual void inhibit(const QString& reason) = 0;
    // No longer wants one: a held inhibition is given back.
    virtual void release() = 0;
    virtual InhibitionHolder holder() const = 0;
    bool held() const { return holder() != InhibitionHolder::None; }

    // Called whenever holder() has changed.
    void setChangeListener(std::function<void()> onChange) { onChange_ = std::move(onChange); }

protected:
    void holderChanged() const
    {
        if (onChange_)
            onChange_();
    }

private:
    std::function<void()> onChange_;
};

} // namespace zb
