#include "EmailSharedSettingsWindowView.h"

#include "EditorStyle.h"
#include "EmailSettingsForm.h"
#include "mail/EmailSharedSettingsWindowModel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

EmailSharedSettingsWindowView::EmailSharedSettingsWindowView(EmailSharedSettingsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner)
{
    auto* root = style::windowLayout(this, 10);
    root->addWidget(style::titleStrip(bindings_, {&model.TITLE_LABEL_1, &model.TITLE_LABEL_2}));
    QVBoxLayout* body = scrollingBody(root);
    QWidget* form = buildEmailSettingsForm(bindings_, model);
    body->addWidget(form);
    stackWhenNarrow(emailColumns(form));
    focusFirstEmailField(this, model);
    body->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model.USE_THESE_SHARED_SETTINGS_BUTTON, new QPushButton));
    bottom->addStretch(1);
    bottom->addWidget(style::dialogButtons(bindings_.bind(model.OK_BUTTON, new QPushButton),
                                           bindings_.bind(model.CANCEL_BUTTON, new QPushButton)));
    root->addLayout(bottom);
    applyGeometry();
}

} // namespace zb
