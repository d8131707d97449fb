#pragma once

#include "EmailSettings.h"
#include "MailerProfile.h"
#include "TlsTickGroup.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"

#include <array>

namespace zb {

class FileDialog;

// What the two e-mail settings windows share: the mailer's home folder, the
// server, the login, the addresses, the TLS choice, the password with its
// show tick, "Use", the folder browser, OK and Cancel; and the loading and
// saving of those values in a settings section.
class EmailSettingsFormModel : public EditorWindowModel {
public:
    void USE_BUTTON_Click();
    // A chosen folder replaces the home field; a cancel leaves it.
    void BROWSE_SE_HOME_FOLDER_BUTTON_Click();
    void SHOW_PASSWORD_TICKBOX_Click();
    void TLS_NO_TICKBOX_Click() { tls_.noClicked(); }
    void TLS_YES_TICKBOX_Click() { tls_.yesClicked(); }
    void TLS_AUTO_TICKBOX_Click() { tls_.autoClicked(); }
    void CANCEL_BUTTON_Click() { close(); }

    // The eight texts, then the TLS choice, into the same-named controls of
    // another window; its own TLS rules run as its ticks change.
    void copyValuesTo(EmailSettingsFormModel& other) const;

    Label TITLE_LABEL_1;
    Label TITLE_LABEL_2;
    Label SE_HOME_LABEL;
    Label SMTP_SERVER_ADDRESS_PORT_LABEL;
    Label SMTP_USERNAME_LABEL;
    Label SMTP_PASSWORD_LABEL;
    Label SEND_FROM_ADDRESS_LABEL;
    Label SEND_TO_ADDRESS_LABEL;
    Label SEND_CC_ADDRESS_LABEL;
    Label SEND_BCC_ADDRESS_LABEL;
    Label TLS_FRAME;

    TextField SE_HOME_TEXTBOX;
    TextField SMTP_SERVER_ADDRESS_PORT_TEXTBOX;
    TextField SMTP_USERNAME_TEXTBOX;
    TextField SMTP_PASSWORD_TEXTBOX;
    TextField SEND_FROM_ADDRESS_TEXTBOX;
    TextField SEND_TO_ADDRESS_TEXTBOX;
    TextField SEND_CC_ADDRESS_TEXTBOX;
    TextField SEND_BCC_ADDRESS_TEXTBOX;

    TickBox TLS_NO_TICKBOX;
    TickBox TLS_YES_TICKBOX;
    TickBox TLS_AUTO_TICKBOX;
    TickBox SHOW_PASSWORD_TICKBOX;

    Button BROWSE_SE_HOME_FOLDER_BUTTON;
    Button USE_BUTTON;
    Button OK_BUTTON; // each window wires its own OK
    Button CANCEL_BUTTON;

protected:
    EmailSettingsFormModel(Settings& settings, const keys::GeometryKeys& geometryKeys, QString objectName,
                           QString title, QString heading, FileDialog& fileDialog, CommandProfile profile,
                           std::function<void(const QString&)> tlsSetting);
    ~EmailSettingsFormModel() = default;

    // The values from the section: each text, then the stored TLS choice
    // (kept, with the boxes as a click on it leaves them); the password
    // masked.
    void loadValues(const QString& section);
    // The eight texts and the three ticks, in that order.
    void saveValues(const QString& section);
    EmailSettings record(const QString& tls) const;

    CommandProfile profile_;

private:
    struct TextBinding {
        TextField EmailSettingsFormModel::*field;
        const keys::TextKey* key;
    };
    static const std::array<TextBinding, 8> kTexts;

    FileDialog& fileDialog_;
    MailerTexts texts_;
    TlsTickGroup tls_;
};

} // namespace zb
