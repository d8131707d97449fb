#pragma once

#include <QString>

namespace zb {

// The per-user key/value store. Values are strings addressed by section and
// key; the application name is fixed by the implementation.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `fallback` when the key does not exist.
    virtual QString getSetting(const QString& section, const QString& key, const QString& fallback) const = 0;
    // Creates or overwrites the key; visible to the next read at once.
    virtual void saveSetting(const QString& section, const QString& key, const QString& value) = 0;
    // True when the backing file existed but could not be read or parsed, so
    // that the program started on defaults.
    virtual bool startedOnDefaults() const { return false; }
};

} // namespace zb
