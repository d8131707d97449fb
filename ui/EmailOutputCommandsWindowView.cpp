#include "EmailOutputCommandsWindowView.h"

#include "EditorStyle.h"
#include "mail/EmailOutputCommandsWindowModel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

EmailOutputCommandsWindowView::EmailOutputCommandsWindowView(EmailOutputCommandsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner)
{
    auto* root = style::windowLayout(this, 8);
    root->addWidget(style::titleStrip(bindings_, {&model.TITLE_LABEL, &model.VIEW_OUTPUT_COMMANDS_LABEL}));

    auto* choose = new QHBoxLayout;
    choose->addWidget(bindings_.bind(model.START_EMAIL_COMMAND_BUTTON, new QPushButton));
    choose->addWidget(bindings_.bind(model.END_EMAIL_COMMAND_BUTTON, new QPushButton));
    choose->addStretch(1);
    QVBoxLayout* body = scrollingBody(root);
    body->addLayout(choose);

    auto* name = bindings_.bind(model.COMMAND_NAME_LABEL, new QLabel);
    name->setFont(style::bold());
    body->addWidget(name);
    auto* command = bindings_.bind(model.ALL_COMMANDS_TEXTBOX, new QPlainTextEdit);
    command->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    command->setMinimumHeight(command->fontMetrics().lineSpacing() * 5);
    name->setBuddy(command);
    body->addWidget(command, 1);

    auto* location = new QHBoxLayout;
    auto* locationLabel = bindings_.bind(model.FILE_LOCATION_LABEL, new QLabel);
    location->addWidget(locationLabel);
    auto* locations = bindings_.bind(model.ALL_LOCATIONS_TEXTBOX, new QLineEdit);
    locationLabel->setBuddy(locations);
    location->addWidget(locations, 1);
    auto* ok = bindings_.bind(model.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    style::wideButton(ok);
    location->addWidget(ok);
    root->addLayout(location);
    applyGeometry();
}

} // namespace zb
