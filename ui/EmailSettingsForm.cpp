#include "EmailSettingsForm.h"

#include "Bindings.h"
#include "EditorStyle.h"
#include "core/ControlTexts.h"
#include "mail/EmailSettingsFormModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zb {

namespace {

// A caption above its field.
void addField(Bindings& b, QVBoxLayout* column, Label& label, TextField& field)
{
    auto* caption = b.bind(label, new QLabel);
    column->addWidget(caption);
    auto* edit = b.bind(field, new QLineEdit);
    caption->setBuddy(edit);
    edit->setMinimumWidth(style::charsWide(edit, 36));
    column->addWidget(edit);
}

} // namespace

QWidget* buildEmailSettingsForm(Bindings& b, EmailSettingsFormModel& m)
{
    auto* form = new QWidget;
    auto* root = new QVBoxLayout(form);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(8);

    auto* homeLabel = b.bind(m.SE_HOME_LABEL, new QLabel);
    root->addWidget(homeLabel);
    auto* home = new QHBoxLayout;
    auto* browse = new QPushButton;
    b.bind(m.BROWSE_SE_HOME_FOLDER_BUTTON, browse,
           [browse] { browse->setAccessibleName(text::kSpokenBrowseMailerFolder); });
    browse->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    style::squareButton(browse);
    home->addWidget(browse);
    auto* homeField = b.bind(m.SE_HOME_TEXTBOX, new QLineEdit);
    homeLabel->setBuddy(homeField);
    home->addWidget(homeField, 1);
    home->addWidget(b.bind(m.USE_BUTTON, new QPushButton));
    root->addLayout(home);

    auto* columns = new QHBoxLayout;
    columns->setObjectName(QStringLiteral("EMAIL_COLUMNS"));
    columns->setSpacing(16);
    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    addField(b, left, m.SMTP_SERVER_ADDRESS_PORT_LABEL, m.SMTP_SERVER_ADDRESS_PORT_TEXTBOX);
    addField(b, left, m.SMTP_USERNAME_LABEL, m.SMTP_USERNAME_TEXTBOX);
    addField(b, left, m.SMTP_PASSWORD_LABEL, m.SMTP_PASSWORD_TEXTBOX);
    left->addWidget(b.bind(m.SHOW_PASSWORD_TICKBOX, new QCheckBox));

    auto* tls = new QGroupBox(m.TLS_FRAME.caption());
    tls->setObjectName(m.TLS_FRAME.objectName());
    auto* ticks = new QHBoxLayout(tls);
    for (TickBox* t : {&m.TLS_NO_TICKBOX, &m.TLS_YES_TICKBOX, &m.TLS_AUTO_TICKBOX})
        ticks->addWidget(b.bind(*t, new QCheckBox));
    ticks->addStretch(1);
    left->addWidget(tls);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    addField(b, right, m.SEND_FROM_ADDRESS_LABEL, m.SEND_FROM_ADDRESS_TEXTBOX);
    addField(b, right, m.SEND_TO_ADDRESS_LABEL, m.SEND_TO_ADDRESS_TEXTBOX);
    addField(b, right, m.SEND_CC_ADDRESS_LABEL, m.SEND_CC_ADDRESS_TEXTBOX);
    addField(b, right, m.SEND_BCC_ADDRESS_LABEL, m.SEND_BCC_ADDRESS_TEXTBOX);
    right->addStretch(1);

    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    root->addLayout(columns);
    return form;
}

QBoxLayout* emailColumns(QWidget* form) { return form->findChild<QBoxLayout*>(QStringLiteral("EMAIL_COLUMNS")); }

void focusFirstEmailField(QWidget* window, EmailSettingsFormModel& m)
{
    window->findChild<QLineEdit*>(m.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.objectName())->setFocus();
}

} // namespace zb
