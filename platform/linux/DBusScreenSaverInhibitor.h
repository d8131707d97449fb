#pragma once

#include "platform/ScreenSaverInhibitor.h"

#include <QString>
#include <optional>

namespace zb {

// The freedesktop ScreenSaver service on the session bus
// (org.freedesktop.ScreenSaver Inhibit and UnInhibit). Without a session bus
// or that service nothing is held. A held inhibition is given back on
// destruction; the service also drops it when the program's connection ends.
class DBusScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    explicit DBusScreenSaverInhibitor(QString applicationName);
    ~DBusScreenSaverInhibitor() override;
    DBusScreenSaverInhibitor(const DBusScreenSaverInhibitor&) = delete;
    DBusScreenSaverInhibitor& operator=(const DBusScreenSaverInhibitor&) = delete;

    bool inhibit(const QString& reason) override;
    void release() override;
    bool held() const override { return cookie_.has_value(); }

private:
    QString applicationName_;
    QString path_; // where the service answered
    std::optional<quint32> cookie_;
};

} // namespace zb
