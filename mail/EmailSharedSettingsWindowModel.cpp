#include "EmailSharedSettingsWindowModel.h"

#include "platform/SettingsStore.h"

namespace zb {

EmailSharedSettingsWindowModel::EmailSharedSettingsWindowModel(Settings& settings,
                                                               EmailSettingsFormModel& mainEmailWindow,
                                                               FileDialog& fileDialog, CommandProfile profile)
    : EmailSettingsFormModel(settings, keys::SHARED_SETTINGS, QStringLiteral("ZB_SEQUENTA_EMAIL_SHARED_SETTINGS"),
                             QStringLiteral("ZB-SEQUENTA - EMAIL SHARED SETTINGS"),
                             QStringLiteral("EMAIL SHARED SETTINGS"), fileDialog, profile, nullptr),
      USE_THESE_SHARED_SETTINGS_BUTTON(QStringLiteral("USE_THESE_SHARED_SETTINGS_BUTTON"),
                                       QStringLiteral("USE THESE SHARED SETTINGS")),
      mainEmailWindow_(mainEmailWindow)
{
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    USE_THESE_SHARED_SETTINGS_BUTTON.onClick = [this] { USE_THESE_SHARED_SETTINGS_BUTTON_Click(); };
}

void EmailSharedSettingsWindowModel::Form_Load()
{
    loadGeometry();
    loadValues(keys::kSharedEmailSection);
}

void EmailSharedSettingsWindowModel::OK_BUTTON_Click()
{
    {
        const SettingsBatch batch(settings_.store());
        storePosition();
        saveValues(keys::kSharedEmailSection);
    }
    close();
}

void EmailSharedSettingsWindowModel::USE_THESE_SHARED_SETTINGS_BUTTON_Click() { copyValuesTo(mainEmailWindow_); }

} // namespace zb
