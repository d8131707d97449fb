#pragma once

class QBoxLayout;
class QWidget;

namespace zb {

class Bindings;
class EmailSettingsFormModel;

// The value controls both e-mail settings windows show, laid out alike: the
// mailer's home with its browser and "Use", the server and login on the
// left, the addresses on the right, the TLS choice below.
QWidget* buildEmailSettingsForm(Bindings& bindings, EmailSettingsFormModel& model);
// The two columns of fields, side by side.
QBoxLayout* emailColumns(QWidget* form);
// Starts a window's focus on the form's first field a user fills: the
// server, as the mailer's home is usually found for them.
void focusFirstEmailField(QWidget* window, EmailSettingsFormModel& model);

} // namespace zb
