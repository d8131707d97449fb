#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <memory>

namespace zb {

// The earlier settings store (QSettings, one atomic rewrite of the whole
// file per write), kept for the benchmark's side-by-side only.
class QSettingsBaselineStore : public SettingsStore {
public:
    explicit QSettingsBaselineStore(const QString& filePath);
    ~QSettingsBaselineStore() override;

    QString getSetting(const QString& section, const QString& key, const QString& fallback) const override;
    void saveSetting(const QString& section, const QString& key, const QString& value) override;
    bool startedOnDefaults() const override { return startedOnDefaults_; }

private:
    void open();

    QString filePath_;
    std::unique_ptr<QSettings> settings_;
    bool startedOnDefaults_ = false;
};

} // namespace zb
