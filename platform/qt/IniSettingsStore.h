#pragma once

#include "IniDocument.h"
#include "platform/SettingsStore.h"
#include "platform/linux/SettingsFile.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <functional>

namespace zb {

// The settings store as one INI file that a person may edit (one section per
// copy of the program), readable by its owner only. What the person wrote is
// kept: comments, order and lines the store does not understand. A read
// first looks whether another process changed the file; a write (or a group
// of them) merges into the file as it is on disk under a lock and is on disk
// before the call returns. A file that cannot be read at all is never
// written over.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& filePath);
    ~IniSettingsStore() override;

    QString getSetting(const QString& section, const QString& key, const QString& fallback) const override;
    void saveSetting(const QString& section, const QString& key, const QString& value) override;
    bool startedOnDefaults() const override { return startedOnDefaults_; }
    void beginBatch() override { ++batchDepth_; }
    void commitBatch() override;
    void setNoticeReceiver(NoticeReceiver receiver) override;

    const QString& filePath() const { return filePath_; }

    // Tries once more to write what could not be written; true when nothing
    // set is left unwritten. `lastWriteError` says why it was not.
    bool flush();
    const QString& lastWriteError() const { return lastWriteError_; }

    // Runs between the last look at the file and the replace, the moment a
    // writer that takes no lock can still come in; tests write there.
    std::function<void()> beforeReplace;

private:
    struct Write {
        QString section;
        QString key;
        QString value;
    };

    void refresh() const;
    void commit();
    // Merges the unsaved values into the file on disk under its lock; false
    // (and *error) when they could not be written.
    bool mergeIntoFile(QString* error);

    QString filePath_;
    mutable IniDocument document_;
    mutable std::optional<FileStamp> stamp_;
    // Set but not yet on disk, in the order set; kept after a failed write
    // so that the next write carries them too.
    QList<Write> unsaved_;
    QHash<QPair<QString, QString>, QString> unsavedValues_;
    int batchDepth_ = 0;
    bool startedOnDefaults_ = false;
    QString lastWriteError_;
    NoticeReceiver receiver_;
    QStringList heldNotices_;
};

} // namespace zb
