#include "DialogWindowOpener.h"

#include "Program.h"
#include "editors/AboutWindowModel.h"
#include "editors/AllTaskSettingsWindowModel.h"
#include "editors/DonationsWindowModel.h"
#include "editors/MainSettingsWindowModel.h"
#include "editors/ManageTasksWindowModel.h"
#include "editors/SingleTaskSettingsWindowModel.h"
#include "engine/HistoryWindowModel.h"
#include "mail/EmailMainSettingsWindowModel.h"
#include "mail/EmailOutputCommandsWindowModel.h"
#include "mail/EmailSharedSettingsWindowModel.h"
#include "platform/CommandShell.h"
#include "platform/ExecutableInfo.h"
#include "platform/Folders.h"
#include "platform/null/NullCrontab.h"
#include "schedule/SchedulerWindowModel.h"
#include "ui/AboutWindowView.h"
#include "ui/AllTaskSettingsWindowView.h"
#include "ui/DonationsWindowView.h"
#include "ui/EmailMainSettingsWindowView.h"
#include "ui/EmailOutputCommandsWindowView.h"
#include "ui/EmailSharedSettingsWindowView.h"
#include "ui/HistoryWindowView.h"
#include "ui/MainSettingsWindowView.h"
#include "ui/ManageTasksWindowView.h"
#include "ui/SchedulerWindowView.h"
#include "ui/SingleTaskSettingsWindowView.h"

#include <QApplication>

#include <QDir>

namespace zb {

DialogWindowOpener::DialogWindowOpener(Program& program, QWidget* mainWindow)
    : program_(program),
      mainWindow_(mainWindow)
{}

QWidget* DialogWindowOpener::owner() const
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : mainWindow_;
}

template <typename View, typename Model>
void DialogWindowOpener::run(Model& model)
{
    model.Form_Load();
    View view(model, owner());
    view.exec();
}

void DialogWindowOpener::showModal(WindowKind kind)
{
    Program& p = program_;
    switch (kind) {
    case WindowKind::MainSettings: {
        MainSettingsWindowModel model(p.settings, p.main, this, p.services.folders, p.services.exe);
        run<MainSettingsWindowView>(model);
        break;
    }
    case WindowKind::ManageTasks: {
        ManageTasksWindowModel model(p.settings, p.main);
        run<ManageTasksWindowView>(model);
        break;
    }
    case WindowKind::SingleTaskSettings: {
        SingleTaskSettingsWindowModel model(p.settings, p.main, this, p.services.fileDialog, p.services.exe);
        run<SingleTaskSettingsWindowView>(model);
        break;
    }
    case WindowKind::AllTaskSettings: {
        AllTaskSettingsWindowModel model(p.settings, p.main);
        run<AllTaskSettingsWindowView>(model);
        break;
    }
    case WindowKind::About: {
        AboutWindowModel model(p.settings, p.services.timers, this);
        run<AboutWindowView>(model);
        break;
    }
    case WindowKind::Donations: {
        DonationsWindowModel model(p.settings, p.services.data);
        run<DonationsWindowView>(model);
        break;
    }
    case WindowKind::EmailSettings: {
        const Services& s = p.services;
        EmailMainSettingsWindowModel model(p.settings, p.main, this, s.fileDialog, s.files, s.shell, s.exe, s.timers);
        model.createFolders = [&s] {
            QStringList failed;
            for (const char* name : {"BATS", "LOGS"})
                if (const FolderResult r =
                        s.folders.makeFolder(QDir(s.exe.programFolder()).filePath(QLatin1String(name)));
                    !r.ok)
                    failed << r.error;
            return failed.join(QStringLiteral("; "));
        };
        EmailMainSettingsWindowModel* outer = emailWindow_;
        emailWindow_ = &model;
        run<EmailMainSettingsWindowView>(model);
        emailWindow_ = outer;
        break;
    }
    case WindowKind::EmailSharedSettings: {
        if (emailWindow_ == nullptr)
            break; // only ever opened from the e-mail settings window
        EmailSharedSettingsWindowModel model(p.settings, *emailWindow_, p.services.fileDialog,
                                             p.services.shell.profile());
        run<EmailSharedSettingsWindowView>(model);
        break;
    }
    case WindowKind::EmailOutputCommands: {
        EmailOutputCommandsWindowModel model(p.settings, p.main, p.services.exe, p.services.shell.profile());
        run<EmailOutputCommandsWindowView>(model);
        break;
    }
    case WindowKind::SchedulerSettings: {
        NullCrontab none;
        Crontab& crontab = p.services.crontab != nullptr ? *p.services.crontab : none;
        SchedulerWindowModel model(p.settings, crontab, p.services.processes, p.services.exe);
        model.setJournal(&p.engine.recorder().journal());
        run<SchedulerWindowView>(model);
        break;
    }
    case WindowKind::History: {
        HistoryWindowModel model(p.settings, p.engine.recorder().journal(), p.services.files,
                                 p.engine.recorder().hasPass());
        model.readInBackground();
        run<HistoryWindowView>(model);
        break;
    }
    }
}

} // namespace zb
