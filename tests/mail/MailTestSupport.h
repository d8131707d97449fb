#pragma once

#include "mail/EmailMainSettingsWindowModel.h"
#include "mail/EmailOutputCommandsWindowModel.h"
#include "mail/EmailSharedSettingsWindowModel.h"
#include "tests/editors/EditorTestSupport.h"

namespace zb::test {

// The e-mail windows of a started harness, built as the real opener builds
// them; Form_Load is left to the test.
inline EmailMainSettingsWindowModel emailMainWindow(Harness& h, WindowOpener* opener = nullptr)
{
    return EmailMainSettingsWindowModel(h.program->settings, h.main(), opener, h.fileDialog, h.files, h.shell, h.exe,
                                        h.clock);
}

inline EmailSharedSettingsWindowModel emailSharedWindow(Harness& h, EmailSettingsFormModel& mainEmailWindow)
{
    return EmailSharedSettingsWindowModel(h.program->settings, mainEmailWindow, h.fileDialog, h.shell.profile());
}

inline EmailOutputCommandsWindowModel outputCommandsWindow(Harness& h)
{
    return EmailOutputCommandsWindowModel(h.program->settings, h.main(), h.exe, h.shell.profile());
}

// The three TLS boxes as "value/enabled" for each, then the setting:
// "1e 0d 0d no".
inline std::string tlsState(const EmailSettingsFormModel& w, const QString& setting = QString())
{
    QString out;
    for (const TickBox* t : {&w.TLS_NO_TICKBOX, &w.TLS_YES_TICKBOX, &w.TLS_AUTO_TICKBOX})
        out += QString::number(t->value()) + (t->enabled() ? QLatin1Char('e') : QLatin1Char('d')) + QLatin1Char(' ');
    return (out + setting).trimmed().toStdString();
}

} // namespace zb::test
