// The settings store as it was before, on QSettings, kept only as the
// benchmark's baseline.
#include "QSettingsBaselineStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zb {

namespace {

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString groupKey(const QString& section, const QString& key)
{
    // QSettings reads '/' and '\' as group separators; neither may split a
    // section name into groups.
    QString safe = section;
    safe.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return safe + QLatin1Char('/') + key;
}

// Makes an empty owner-only file before QSettings first writes it: its
// atomic replacement keeps the rights of the file it replaces.
void createOwnerOnlyFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(path, kOwnerOnly);
}

} // namespace

QSettingsBaselineStore::QSettingsBaselineStore(const QString& filePath) : filePath_(filePath) { open(); }

QSettingsBaselineStore::~QSettingsBaselineStore() = default;

void QSettingsBaselineStore::open()
{
    const bool existed = QFileInfo::exists(filePath_);
    settings_ = std::make_unique<QSettings>(filePath_, QSettings::IniFormat);
    settings_->setAtomicSyncRequired(true);
    (void)settings_->allKeys(); // parse now, so status() speaks of the file
    const QSettings::Status status = settings_->status();
    if (status == QSettings::NoError) {
        // A file from before may have been readable by others.
        if (existed && QFileInfo(filePath_).isFile())
            QFile::setPermissions(filePath_, kOwnerOnly);
        return;
    }

    startedOnDefaults_ = existed;
    if (status == QSettings::FormatError) {
        // Keep what the user had, then start a fresh file in its place.
        const QString damaged = filePath_ + QStringLiteral(".damaged");
        QFile::remove(damaged);
        QFile::rename(filePath_, damaged);
        settings_ = std::make_unique<QSettings>(filePath_, QSettings::IniFormat);
        settings_->setAtomicSyncRequired(true);
    }
}

QString QSettingsBaselineStore::getSetting(const QString& section, const QString& key, const QString& fallback) const
{
    if (startedOnDefaults_ && settings_->status() == QSettings::AccessError)
        return fallback;
    const QVariant value = settings_->value(groupKey(section, key));
    if (!value.isValid())
        return fallback;
    // A hand-written value with unquoted commas reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void QSettingsBaselineStore::saveSetting(const QString& section, const QString& key, const QString& value)
{
    if (!QFileInfo::exists(filePath_))
        createOwnerOnlyFile(filePath_);
    settings_->setValue(groupKey(section, key), value);
    settings_->sync();
}

} // namespace zb
