#pragma once

#include "platform/SettingsStore.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace zb {

// An in-memory settings store that records every write in order.
class MemorySettingsStore : public SettingsStore {
public:
    struct Write {
        QString section;
        QString key;
        QString value;
    };

    QString getSetting(const QString& section, const QString& key, const QString& fallback) const override
    {
        const auto it = values_.find({section, key});
        return it == values_.end() ? fallback : it.value();
    }
    void saveSetting(const QString& section, const QString& key, const QString& value) override
    {
        values_[{section, key}] = value;
        writes_.append({section, key, value});
    }
    bool startedOnDefaults() const override { return startedOnDefaults_; }

    // Seeds a value without recording a write.
    void seed(const QString& section, const QString& key, const QString& value) { values_[{section, key}] = value; }
    bool contains(const QString& section, const QString& key) const { return values_.contains({section, key}); }
    const QList<Write>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }
    void setStartedOnDefaults(bool v) { startedOnDefaults_ = v; }

private:
    QMap<QPair<QString, QString>, QString> values_;
    QList<Write> writes_;
    bool startedOnDefaults_ = false;
};

} // namespace zb
