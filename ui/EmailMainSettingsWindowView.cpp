#include "EmailMainSettingsWindowView.h"

#include "EditorStyle.h"
#include "EmailSettingsForm.h"
#include "mail/EmailMainSettingsWindowModel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

EmailMainSettingsWindowView::EmailMainSettingsWindowView(EmailMainSettingsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 10);
    root->addWidget(style::titleStrip(bindings_, {&model_.TITLE_LABEL_1, &model_.TITLE_LABEL_2}));
    QVBoxLayout* body = scrollingBody(root);
    QWidget* form = buildEmailSettingsForm(bindings_, model_);
    body->addWidget(form);
    stackWhenNarrow(emailColumns(form));
    focusFirstEmailField(this, model_);
    body->addStretch(1);

    auto* bottom = new QHBoxLayout;
    for (Button* b :
         {&model_.SHARED_SETTINGS_BUTTON, &model_.VIEW_OUTPUT_COMMANDS_BUTTON, &model_.SEND_TEST_EMAIL_BUTTON})
        bottom->addWidget(bindings_.bind(*b, new QPushButton));
    bottom->addStretch(1);
    bottom->addWidget(style::dialogButtons(bindings_.bind(model_.OK_BUTTON, new QPushButton),
                                           bindings_.bind(model_.CANCEL_BUTTON, new QPushButton)));
    root->addLayout(bottom);

    const QString title = model_.title();
    model_.showError = [this, title](const QString& m) { QMessageBox::critical(this, title, m); };
    model_.showWarning = [this, title](const QString& m) { QMessageBox::warning(this, title, m); };
    model_.showInformation = [this, title](const QString& m) { QMessageBox::information(this, title, m); };
    model_.askYesNo = [this, title](const QString& q) {
        return QMessageBox::question(this, title, q, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
               QMessageBox::Yes;
    };
    applyGeometry();
}

EmailMainSettingsWindowView::~EmailMainSettingsWindowView()
{
    model_.showError = nullptr;
    model_.showWarning = nullptr;
    model_.showInformation = nullptr;
    model_.askYesNo = nullptr;
}

} // namespace zb
