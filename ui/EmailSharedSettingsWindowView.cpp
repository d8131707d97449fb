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
    root->addWidget(buildEmailSettingsForm(bindings_, model));
    focusFirstEmailField(this, model);
    root->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model.USE_THESE_SHARED_SETTINGS_BUTTON, new QPushButton));
    bottom->addStretch(1);
    auto* ok = bindings_.bind(model.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    ok->setMinimumWidth(100);
    bottom->addWidget(ok);
    auto* cancel = bindings_.bind(model.CANCEL_BUTTON, new QPushButton);
    cancel->setMinimumWidth(100);
    bottom->addWidget(cancel);
    root->addLayout(bottom);
    applyGeometry();
}

} // namespace zb
