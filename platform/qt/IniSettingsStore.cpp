#include "IniSettingsStore.h"

#include "platform/linux/PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace zb {

namespace {

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString linesNotUnderstoodText(const QList<int>& lines)
{
    if (lines.size() == 1)
        return QStringLiteral("SETTINGS FILE LINE %1 NOT UNDERSTOOD - KEPT AS IS").arg(lines.first());
    QStringList numbers;
    for (int n : lines.first(qMin<qsizetype>(lines.size(), 5)))
        numbers.append(QString::number(n));
    if (lines.size() > 5)
        numbers.append(QStringLiteral("..."));
    return QStringLiteral("SETTINGS FILE LINES %1 NOT UNDERSTOOD - KEPT AS IS").arg(numbers.join(QStringLiteral(", ")));
}

constexpr int kMergeAttempts = 8;

bool appendToFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file;
    const int fd = openPlainFile(path, O_WRONLY | O_APPEND, error);
    if (fd < 0 || !file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    ::fsync(fd);
    return true;
}

// Keeps the bytes of a settings file that cannot be read beside it, so
// that a person who starts afresh loses nothing. An older copy is kept.
bool keepDamagedCopy(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path + QStringLiteral(".damaged"));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    for (ssize_t n = 0; done < bytes.size(); done += n)
        if ((n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done))) <= 0)
            break;
    const bool whole = done == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!whole)
        ::unlink(name.constData());
    return whole;
}

} // namespace

IniSettingsStore::IniSettingsStore(const QString& filePath) : filePath_(filePath)
{
    const FileRead read = readWholeFile(filePath_);
    if (read.result == FileRead::Result::Missing)
        return;
    IniDocument document = IniDocument::parse(read.bytes);
    if (read.result == FileRead::Result::Failed || document.unreadable()) {
        startedOnDefaults_ = true;
        stamp_ = stampOf(filePath_);
        const QString reason = read.result == FileRead::Result::Failed ? read.error : QStringLiteral("it is not text");
        const bool copied = read.result == FileRead::Result::Read && keepDamagedCopy(filePath_, read.bytes);
        std::fprintf(stderr,
                     "ZB-SEQUENTA: cannot read the settings file %s (%s): started on defaults; the file is "
                     "left as it is%s\n",
                     qPrintable(filePath_), qPrintable(reason),
                     copied ? qPrintable(QStringLiteral(", and a copy is kept as %1.damaged").arg(filePath_)) : "");
        return;
    }
    document_ = std::move(document);
    stamp_ = read.stamp;
    const QList<int>& bad = document_.linesNotUnderstood();
    // The line itself is never shown: it may hold a password.
    for (int n : bad) {
        const QString why = document_.whyNotUnderstood(n);
        std::fprintf(stderr, "ZB-SEQUENTA: %s line %d not understood, kept as is%s\n", qPrintable(filePath_), n,
                     why.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + why));
    }
    if (!bad.isEmpty())
        heldNotices_.append(linesNotUnderstoodText(bad));
    // A file from before may have been readable by others.
    if ((QFileInfo(filePath_).permissions() & ~(kOwnerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser)) != 0)
        QFile::setPermissions(filePath_, kOwnerOnly);
}

IniSettingsStore::~IniSettingsStore() = default;

void IniSettingsStore::refresh() const
{
    const std::optional<FileStamp> now = stampOf(filePath_);
    if (now == stamp_)
        return;
    const FileRead read = readWholeFile(filePath_);
    if (read.result == FileRead::Result::Missing) {
        document_ = IniDocument();
        stamp_.reset();
        return;
    }
    // A file that cannot be read now keeps the values last read.
    stamp_ = read.result == FileRead::Result::Read ? read.stamp : now;
    if (read.result == FileRead::Result::Read)
        if (IniDocument document = IniDocument::parse(read.bytes); !document.unreadable())
            document_ = std::move(document);
}

QString IniSettingsStore::getSetting(const QString& section, const QString& key, const QString& fallback) const
{
    if (const auto it = unsavedValues_.constFind({section, key}); it != unsavedValues_.constEnd())
        return it.value();
    refresh();
    return document_.value(section, key).value_or(fallback);
}

void IniSettingsStore::saveSetting(const QString& section, const QString& key, const QString& value)
{
    // Such a value would not read back: the file keeps what it had.
    if (value.contains(QChar(0))) {
        std::fprintf(stderr, "ZB-SEQUENTA: the value for key %s holds a NUL character: not written\n", qPrintable(key));
        return;
    }
    unsaved_.append({section, key, value});
    unsavedValues_.insert({section, key}, value);
    if (batchDepth_ == 0)
        commit();
}

void IniSettingsStore::commitBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        commit();
}

void IniSettingsStore::commit()
{
    if (unsaved_.isEmpty())
        return;
    QString error;
    if (mergeIntoFile(&error)) {
        unsaved_.clear();
        unsavedValues_.clear();
        lastWriteError_.clear();
        return;
    }
    // The values stay in memory and go with the next write.
    if (error == lastWriteError_)
        return;
    lastWriteError_ = error;
    std::fprintf(stderr, "ZB-SEQUENTA: cannot write the settings file %s: %s\n", qPrintable(filePath_),
                 qPrintable(error));
    const QString text = QStringLiteral("SETTINGS FILE NOT WRITTEN - %1: %2").arg(filePath_, error);
    if (receiver_)
        receiver_(text);
    else
        heldNotices_.append(text);
}

bool IniSettingsStore::flush()
{
    if (batchDepth_ == 0)
        commit();
    return unsaved_.isEmpty();
}

bool IniSettingsStore::mergeIntoFile(QString* error)
{
    std::unique_ptr<LockedFile> file = LockedFile::open(filePath_, error);
    for (int attempt = 0; file != nullptr && attempt < kMergeAttempts; ++attempt) {
        QByteArray bytes;
        FileStamp read;
        if (!file->readAll(&bytes, &read, error))
            return false;
        IniDocument merged = IniDocument::parse(bytes);
        if (merged.unreadable()) {
            *error = QStringLiteral("it cannot be read, so it is left as it is");
            return false;
        }
        for (const Write& w : unsaved_)
            merged.setValue(w.section, w.key, w.value);
        const QByteArray out = merged.serialize();
        // Nothing changes on disk: no write, no sync.
        if (out == bytes && file->pathNamesHeldFile()) {
            document_ = std::move(merged);
            stamp_ = read;
            return true;
        }
        FileStamp written;
        const auto unchanged = [&] {
            const bool same = file->heldStamp() == read && file->pathNamesHeldFile();
            if (beforeReplace)
                beforeReplace();
            return same;
        };
        switch (file->replace(out, unchanged, &written, error)) {
        case LockedFile::Replaced::Failed:
            return false;
        case LockedFile::Replaced::ChangedMeanwhile:
            if (!file->pathNamesHeldFile()) // another file was put in its place
                file = LockedFile::open(filePath_, error);
            continue;
        case LockedFile::Replaced::Done:
            break;
        }
        document_ = std::move(merged);
        stamp_ = written;
        // Lines appended by hand while the file was replaced went to the old
        // file: they go on at the end of the new one, where they would have
        // gone a moment later.
        if (const QByteArray late = file->appendedSince(read); !late.isEmpty()) {
            if (!appendToFile(filePath_, late, error))
                return false;
            stamp_.reset(); // read again at the next look
        }
        return true;
    }
    if (file != nullptr)
        *error = QStringLiteral("the file kept changing while it was written");
    return false;
}

void IniSettingsStore::setNoticeReceiver(NoticeReceiver receiver)
{
    receiver_ = std::move(receiver);
    if (!receiver_)
        return;
    for (const QString& text : std::exchange(heldNotices_, {}))
        receiver_(text);
}

} // namespace zb
