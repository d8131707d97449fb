#include "Settings.h"

#include "platform/ExecutableInfo.h"
#include "platform/SettingsStore.h"

#include <cmath>

namespace zb {

Settings::Settings(SettingsStore& store, const ExecutableInfo& exe) : store_(store), exe_(exe) {}

QString Settings::section() const { return exe_.baseName(); }

int Settings::decodeTick(const QString& text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && (value == 0 || value == 1) ? value : fallback;
}

double Settings::decodeTwips(const QString& text, double fallback)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

QString Settings::encodeTwips(double twips)
{
    // Single precision, as the store has always held positions.
    return QString::number(static_cast<double>(static_cast<float>(twips)), 'g', 7);
}

int Settings::readTick(const keys::TickKey& key) const
{
    const QString fallback = QString::number(key.fallback);
    return decodeTick(store_.getSetting(section(), key.name, fallback), key.fallback);
}

void Settings::writeTick(const keys::TickKey& key, int value)
{
    store_.saveSetting(section(), key.name, QString::number(value));
}

QString Settings::readText(const keys::TextKey& key) const
{
    return store_.getSetting(section(), key.name, key.fallback);
}

void Settings::writeText(const keys::TextKey& key, const QString& value)
{
    store_.saveSetting(section(), key.name, value);
}

double Settings::readTwips(const QString& key, double fallback) const
{
    return decodeTwips(store_.getSetting(section(), key, encodeTwips(fallback)), fallback);
}

WindowGeometry Settings::readGeometry(const keys::GeometryKeys& keys) const
{
    return {readTwips(keys.leftKey(), keys.left), readTwips(keys.topKey(), keys.top),
            readTwips(keys.widthKey(), keys.width), readTwips(keys.heightKey(), keys.height)};
}

void Settings::writePosition(const keys::GeometryKeys& keys, double left, double top)
{
    const SettingsBatch batch(store_);
    store_.saveSetting(section(), keys.leftKey(), encodeTwips(left));
    store_.saveSetting(section(), keys.topKey(), encodeTwips(top));
}

bool Settings::startedOnDefaults() const { return store_.startedOnDefaults(); }

} // namespace zb
