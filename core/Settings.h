#pragma once

#include "SettingsKeys.h"
#include "WindowGeometry.h"

namespace zb {

class SettingsStore;
class ExecutableInfo;

// Typed reads and writes of the catalogue keys in this copy's section (the
// executable base name). A stored tick or number that is not valid reads as
// the key's default.
class Settings {
public:
    Settings(SettingsStore& store, const ExecutableInfo& exe);

    QString section() const;

    int readTick(const keys::TickKey& key) const;
    void writeTick(const keys::TickKey& key, int value);
    QString readText(const keys::TextKey& key) const;
    void writeText(const keys::TextKey& key, const QString& value);

    WindowGeometry readGeometry(const keys::GeometryKeys& keys) const;
    void writePosition(const keys::GeometryKeys& keys, double left, double top);

    bool startedOnDefaults() const;
    SettingsStore& store() { return store_; }

    // Decoding and encoding rules, shared with anything that reads the store.
    static int decodeTick(const QString& text, int fallback);
    static double decodeTwips(const QString& text, double fallback);
    static QString encodeTwips(double twips);

private:
    double readTwips(const QString& key, double fallback) const;

    SettingsStore& store_;
    const ExecutableInfo& exe_;
};

} // namespace zb
