#include "EmailSettingsFormModel.h"

#include "editors/EditorTexts.h"
#include "platform/FileDialog.h"
#include "platform/SettingsStore.h"

namespace zb {

const std::array<EmailSettingsFormModel::TextBinding, 8> EmailSettingsFormModel::kTexts = {{
    {&EmailSettingsFormModel::SE_HOME_TEXTBOX, &keys::SE_HOME_TEXTBOX},
    {&EmailSettingsFormModel::SMTP_SERVER_ADDRESS_PORT_TEXTBOX, &keys::SMTP_SERVER_ADDRESS_PORT_TEXTBOX},
    {&EmailSettingsFormModel::SMTP_USERNAME_TEXTBOX, &keys::SMTP_USERNAME_TEXTBOX},
    {&EmailSettingsFormModel::SMTP_PASSWORD_TEXTBOX, &keys::SMTP_PASSWORD_TEXTBOX},
    {&EmailSettingsFormModel::SEND_FROM_ADDRESS_TEXTBOX, &keys::SEND_FROM_ADDRESS_TEXTBOX},
    {&EmailSettingsFormModel::SEND_TO_ADDRESS_TEXTBOX, &keys::SEND_TO_ADDRESS_TEXTBOX},
    {&EmailSettingsFormModel::SEND_CC_ADDRESS_TEXTBOX, &keys::SEND_CC_ADDRESS_TEXTBOX},
    {&EmailSettingsFormModel::SEND_BCC_ADDRESS_TEXTBOX, &keys::SEND_BCC_ADDRESS_TEXTBOX},
}};

EmailSettingsFormModel::EmailSettingsFormModel(Settings& settings, const keys::GeometryKeys& geometryKeys,
                                               QString objectName, QString title, QString heading,
                                               FileDialog& fileDialog, CommandProfile profile,
                                               std::function<void(const QString&)> tlsSetting)
    : EditorWindowModel(settings, geometryKeys, std::move(objectName), std::move(title)),
      TITLE_LABEL_1(QStringLiteral("TITLE_LABEL_1"), text::kProgramTitle),
      TITLE_LABEL_2(QStringLiteral("TITLE_LABEL_2"), std::move(heading)),
      SE_HOME_LABEL(QStringLiteral("SE_HOME_LABEL"), mailerTexts(profile).homeLabel),
      SMTP_SERVER_ADDRESS_PORT_LABEL(QStringLiteral("SMTP_SERVER_ADDRESS_PORT_LABEL"),
                                     QStringLiteral("SMTP SERVER:PORT - e.g. IP:25 or FQDN:25")),
      SMTP_USERNAME_LABEL(QStringLiteral("SMTP_USERNAME_LABEL"), QStringLiteral("SMTP Username")),
      SMTP_PASSWORD_LABEL(QStringLiteral("SMTP_PASSWORD_LABEL"), QStringLiteral("Password")),
      SEND_FROM_ADDRESS_LABEL(QStringLiteral("SEND_FROM_ADDRESS_LABEL"), QStringLiteral("From")),
      SEND_TO_ADDRESS_LABEL(QStringLiteral("SEND_TO_ADDRESS_LABEL"), QStringLiteral("To")),
      SEND_CC_ADDRESS_LABEL(QStringLiteral("SEND_CC_ADDRESS_LABEL"), QStringLiteral("Cc")),
      SEND_BCC_ADDRESS_LABEL(QStringLiteral("SEND_BCC_ADDRESS_LABEL"), QStringLiteral("Bcc")),
      TLS_FRAME(QStringLiteral("TLS_FRAME"), QStringLiteral("TLS")),
      SE_HOME_TEXTBOX(QStringLiteral("SE_HOME_TEXTBOX"), QString()),
      SMTP_SERVER_ADDRESS_PORT_TEXTBOX(QStringLiteral("SMTP_SERVER_ADDRESS_PORT_TEXTBOX"), QString()),
      SMTP_USERNAME_TEXTBOX(QStringLiteral("SMTP_USERNAME_TEXTBOX"), QString()),
      SMTP_PASSWORD_TEXTBOX(QStringLiteral("SMTP_PASSWORD_TEXTBOX"), QString()),
      SEND_FROM_ADDRESS_TEXTBOX(QStringLiteral("SEND_FROM_ADDRESS_TEXTBOX"), QString()),
      SEND_TO_ADDRESS_TEXTBOX(QStringLiteral("SEND_TO_ADDRESS_TEXTBOX"), QString()),
      SEND_CC_ADDRESS_TEXTBOX(QStringLiteral("SEND_CC_ADDRESS_TEXTBOX"), QString()),
      SEND_BCC_ADDRESS_TEXTBOX(QStringLiteral("SEND_BCC_ADDRESS_TEXTBOX"), QString()),
      TLS_NO_TICKBOX(QStringLiteral("TLS_NO_TICKBOX"), QStringLiteral("no"), 1),
      TLS_YES_TICKBOX(QStringLiteral("TLS_YES_TICKBOX"), QStringLiteral("yes")),
      TLS_AUTO_TICKBOX(QStringLiteral("TLS_AUTO_TICKBOX"), QStringLiteral("auto")),
      SHOW_PASSWORD_TICKBOX(QStringLiteral("SHOW_PASSWORD_TICKBOX"), QStringLiteral("Show Password")),
      BROWSE_SE_HOME_FOLDER_BUTTON(QStringLiteral("BROWSE_SE_HOME_FOLDER_BUTTON"), QString()),
      USE_BUTTON(QStringLiteral("USE_BUTTON"), QStringLiteral("Use")),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      CANCEL_BUTTON(QStringLiteral("CANCEL_BUTTON"), QStringLiteral("Cancel")),
      profile_(profile),
      fileDialog_(fileDialog),
      texts_(mailerTexts(profile)),
      tls_(TLS_NO_TICKBOX, TLS_YES_TICKBOX, TLS_AUTO_TICKBOX, std::move(tlsSetting))
{
    // The design state: "no" ticked, the other two clear and disabled.
    TLS_YES_TICKBOX.setEnabled(false);
    TLS_AUTO_TICKBOX.setEnabled(false);
    SMTP_PASSWORD_TEXTBOX.setMasked(true);
    BROWSE_SE_HOME_FOLDER_BUTTON.setToolTip(texts_.browserTitle);
    USE_BUTTON.setToolTip(texts_.homeExample);

    USE_BUTTON.onClick = [this] { USE_BUTTON_Click(); };
    BROWSE_SE_HOME_FOLDER_BUTTON.onClick = [this] { BROWSE_SE_HOME_FOLDER_BUTTON_Click(); };
    SHOW_PASSWORD_TICKBOX.onClick = [this] { SHOW_PASSWORD_TICKBOX_Click(); };
    TLS_NO_TICKBOX.onClick = [this] { TLS_NO_TICKBOX_Click(); };
    TLS_YES_TICKBOX.onClick = [this] { TLS_YES_TICKBOX_Click(); };
    TLS_AUTO_TICKBOX.onClick = [this] { TLS_AUTO_TICKBOX_Click(); };
    CANCEL_BUTTON.onClick = [this] { CANCEL_BUTTON_Click(); };
}

void EmailSettingsFormModel::USE_BUTTON_Click() { SE_HOME_TEXTBOX.setText(texts_.homeExample); }

void EmailSettingsFormModel::BROWSE_SE_HOME_FOLDER_BUTTON_Click()
{
    if (const std::optional<QString> folder = fileDialog_.chooseFolder(texts_.browserTitle, SE_HOME_TEXTBOX.text()))
        SE_HOME_TEXTBOX.setText(*folder);
}

void EmailSettingsFormModel::SHOW_PASSWORD_TICKBOX_Click()
{
    SMTP_PASSWORD_TEXTBOX.setMasked(!SHOW_PASSWORD_TICKBOX.ticked());
}

void EmailSettingsFormModel::copyValuesTo(EmailSettingsFormModel& other) const
{
    for (const TextBinding& t : kTexts)
        (other.*t.field).setText((this->*t.field).text());
    other.tls_.choose(TLS_NO_TICKBOX.value(), TLS_YES_TICKBOX.value(), TLS_AUTO_TICKBOX.value());
}

void EmailSettingsFormModel::loadValues(const QString& section)
{
    const SettingsStore& store = settings_.store();
    for (const TextBinding& t : kTexts)
        (this->*t.field).setText(store.getSetting(section, t.key->name, t.key->fallback));
    const auto tick = [&](const keys::TickKey& key) {
        return Settings::decodeTick(store.getSetting(section, key.name, QString::number(key.fallback)), key.fallback);
    };
    tls_.choose(tick(keys::TLS_NO_TICKBOX), tick(keys::TLS_YES_TICKBOX), tick(keys::TLS_AUTO_TICKBOX));
    SHOW_PASSWORD_TICKBOX_Click();
}

void EmailSettingsFormModel::saveValues(const QString& section)
{
    SettingsStore& store = settings_.store();
    for (const TextBinding& t : kTexts)
        store.saveSetting(section, t.key->name, (this->*t.field).text());
    store.saveSetting(section, keys::TLS_NO_TICKBOX.name, QString::number(TLS_NO_TICKBOX.value()));
    store.saveSetting(section, keys::TLS_YES_TICKBOX.name, QString::number(TLS_YES_TICKBOX.value()));
    store.saveSetting(section, keys::TLS_AUTO_TICKBOX.name, QString::number(TLS_AUTO_TICKBOX.value()));
}

EmailSettings EmailSettingsFormModel::record(const QString& tls) const
{
    return {SE_HOME_TEXTBOX.text(),         SMTP_SERVER_ADDRESS_PORT_TEXTBOX.text(), SMTP_USERNAME_TEXTBOX.text(),
            SMTP_PASSWORD_TEXTBOX.text(),   SEND_FROM_ADDRESS_TEXTBOX.text(),        SEND_TO_ADDRESS_TEXTBOX.text(),
            SEND_CC_ADDRESS_TEXTBOX.text(), SEND_BCC_ADDRESS_TEXTBOX.text(),         tls};
}

} // namespace zb
