#pragma once

#include <QString>
#include <functional>

namespace zb {

// The per-user key/value store. Values are strings addressed by section and
// key; the application name is fixed by the implementation.
class SettingsStore {
public:
    using NoticeReceiver = std::function<void(const QString&)>;

    virtual ~SettingsStore() = default;

    // The stored text, or `fallback` when the key does not exist.
    virtual QString getSetting(const QString& section, const QString& key, const QString& fallback) const = 0;
    // Creates or overwrites the key; visible to the next read at once.
    virtual void saveSetting(const QString& section, const QString& key, const QString& value) = 0;
    // True when the backing file existed but could not be read, so that the
    // program started on defaults.
    virtual bool startedOnDefaults() const { return false; }

    // The writes between these two reach the store together, in the order
    // they were made, at the outermost commit. Use SettingsBatch.
    virtual void beginBatch() {}
    virtual void commitBatch() {}

    // Receives, once each, what the user should read about the file (a line
    // kept unread, a write that failed). Notices from before a receiver was
    // set are handed to it at once. An empty receiver detaches.
    virtual void setNoticeReceiver(NoticeReceiver receiver) { (void)receiver; }
};

// Groups the writes of its lifetime into one commit.
class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore& store) : store_(store) { store_.beginBatch(); }
    ~SettingsBatch() { store_.commitBatch(); }
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& store_;
};

} // namespace zb
