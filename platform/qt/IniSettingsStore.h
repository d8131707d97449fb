#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <memory>

namespace zb {

// The settings store as one INI file (one group per section), readable by
// its owner only. Every write reaches the disk before the call returns and
// replaces the file atomically. A file that cannot be parsed is kept beside
// as "<name>.damaged" and the program starts on defaults.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& filePath);
    ~IniSettingsStore() override;

    QString getSetting(const QString& section, const QString& key, const QString& fallback) const override;
    void saveSetting(const QString& section, const QString& key, const QString& value) override;
    bool startedOnDefaults() const override { return startedOnDefaults_; }

    const QString& filePath() const { return filePath_; }

private:
    void open();

    QString filePath_;
    std::unique_ptr<QSettings> settings_;
    bool startedOnDefaults_ = false;
};

} // namespace zb
