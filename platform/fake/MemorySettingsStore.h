#pragma once

#include "platform/SettingsStore.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>
#include <utility>

namespace zb {

// An in-memory settings store that records every write in order, and each
// commit: a lone write, or the writes of a batch.
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
        if (batchDepth_ == 0)
            commits_.append(1);
        else
            ++pendingInBatch_;
    }
    void beginBatch() override { ++batchDepth_; }
    void commitBatch() override
    {
        if (batchDepth_ > 0 && --batchDepth_ == 0 && pendingInBatch_ > 0)
            commits_.append(std::exchange(pendingInBatch_, 0));
    }
    bool startedOnDefaults() const override { return startedOnDefaults_; }
    void setNoticeReceiver(NoticeReceiver receiver) override
    {
        receiver_ = std::move(receiver);
        if (receiver_)
            for (const QString& text : std::exchange(heldNotices_, {}))
                receiver_(text);
    }

    // Seeds a value without recording a write.
    void seed(const QString& section, const QString& key, const QString& value) { values_[{section, key}] = value; }
    bool contains(const QString& section, const QString& key) const { return values_.contains({section, key}); }
    const QList<Write>& writes() const { return writes_; }
    // The number of writes in each commit, in order.
    const QList<int>& commits() const { return commits_; }
    void clearWrites()
    {
        writes_.clear();
        commits_.clear();
    }
    void setStartedOnDefaults(bool v) { startedOnDefaults_ = v; }
    // Says something about the file, as the real store does.
    void notice(const QString& text)
    {
        if (receiver_)
            receiver_(text);
        else
            heldNotices_.append(text);
    }
    bool hasNoticeReceiver() const { return bool(receiver_); }

private:
    QMap<QPair<QString, QString>, QString> values_;
    QList<Write> writes_;
    QList<int> commits_;
    int batchDepth_ = 0;
    int pendingInBatch_ = 0;
    bool startedOnDefaults_ = false;
    NoticeReceiver receiver_;
    QStringList heldNotices_;
};

} // namespace zb
