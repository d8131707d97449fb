// Renders every window of the program over a seeded in-memory store and the
// simulated clock, and saves each as a PNG: zb_screenshots <folder>.
#include "app/Program.h"
#include "editors/AboutWindowModel.h"
#include "editors/AllTaskSettingsWindowModel.h"
#include "editors/DonationsWindowModel.h"
#include "editors/MainSettingsWindowModel.h"
#include "editors/ManageTasksWindowModel.h"
#include "editors/SingleTaskSettingsWindowModel.h"
#include "engine/HistoryWindowModel.h"
#include "engine/JournalText.h"
#include "mail/EmailMainSettingsWindowModel.h"
#include "mail/EmailOutputCommandsWindowModel.h"
#include "platform/fake/FakeCommandShell.h"
#include "platform/fake/FakeCrontab.h"
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeKeyboard.h"
#include "platform/fake/FakeLauncher.h"
#include "platform/fake/FakeProcessQuery.h"
#include "platform/fake/FakeWindowStacking.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/SimulatedClock.h"
#include "platform/qt/InstalledProgramData.h"
#include "schedule/SchedulerWindowModel.h"
#include "ui/AboutWindowView.h"
#include "ui/AllTaskSettingsWindowView.h"
#include "ui/DonationsWindowView.h"
#include "ui/EmailMainSettingsWindowView.h"
#include "ui/EmailOutputCommandsWindowView.h"
#include "ui/HistoryWindowView.h"
#include "ui/MainSettingsWindowView.h"
#include "ui/MainWindowView.h"
#include "ui/ManageTasksWindowView.h"
#include "ui/ProgramIdentity.h"
#include "ui/SchedulerWindowView.h"
#include "ui/SingleTaskSettingsWindowView.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPixmap>
#include <QTimeZone>
#include <QTreeWidget>
#include <cstdio>

namespace zb {
namespace {

struct Slot {
    int n;
    const char* name;
    const char* command;
    const char* process;
    bool enabled;
    bool pause;
};

// A workstation's nightly chain.
const Slot kSlots[] = {
    {1, "Mount backup disk", "/usr/local/bin/mount-backup.sh", "", true, false},
    {2, "Mirror home", "/usr/bin/rsync -a --delete /home /mnt/backup", "rsync", true, true},
    {3, "Database dump", "/opt/tools/db-dump.sh --all", "", true, false},
    {4, "Rotate logs", "/usr/sbin/logrotate /etc/logrotate.conf", "logrotate", false, false},
    {5, "Update index", "/usr/bin/updatedb", "updatedb", true, true},
    {6, "Nightly report", "/opt/tools/report.sh --mail ops", "", true, false},
    {12, "Clean temp", "/usr/bin/find /var/tmp -mtime +7 -delete", "", false, false},
};

void seed(MemorySettingsStore& store, const QString& section)
{
    auto put = [&](const QString& key, const QString& value) { store.seed(section, key, value); };
    put(QStringLiteral("MAIN-Width"), QStringLiteral("13500"));
    put(QStringLiteral("MAIN-Height"), QStringLiteral("9600"));
    put(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    put(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    put(QStringLiteral("END_EMAIL_TICKBOX"), QStringLiteral("1"));
    for (const Slot& s : kSlots) {
        const QString prefix = QStringLiteral("TASK_%1_").arg(s.n);
        put(prefix + QStringLiteral("TICKBOX_CAPTION"), QString::fromUtf8(s.name));
        put(prefix + QStringLiteral("CMD"), QString::fromUtf8(s.command));
        put(prefix + QStringLiteral("PROCESS_NAME_TEXTBOX"), QString::fromUtf8(s.process));
        put(prefix + QStringLiteral("ENABLE_TICKBOX"), s.enabled ? QStringLiteral("1") : QStringLiteral("0"));
        put(prefix + QStringLiteral("PAUSE_TICKBOX"), s.pause ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

// Three nights of the journal, each started by cron: one clean without a
// window; one with a task that failed and an end e-mail that could not be
// sent; one cut short during slot 5's wait and found so at the next start.
class SampleJournal : public NullRunJournal {
public:
    QString journalFile() const override { return QStringLiteral("~/.local/state/ZB-SEQUENTA/zb-sequenta-runs.log"); }
    QStringList readLines() const override
    {
        using K = JournalEvent::Kind;
        QStringList lines;
        const QDateTime night(QDate(2026, 12, 5), QTime(2, 0), Qt::OffsetFromUTC, 3600);
        for (int d = 0; d < 3; ++d) {
            const QDateTime at = night.addDays(d);
            auto add = [&](int s, const JournalEvent& e) { lines << journalLine(at.addSecs(s), e); };
            add(-11, {.kind = K::ScheduledStart, .windowless = d == 0});
            add(0, {.kind = K::PassStarted, .start = PassStart::Schedule, .windowless = d == 0});
            add(1, {.kind = K::TaskStarted, .slot = 1, .pid = 4100 + d, .file = QStringLiteral("/tmp/1.log")});
            add(3, {.kind = K::TaskStarted, .slot = 2, .pid = 4200 + d, .file = QStringLiteral("/tmp/2.log")});
            add(4, {.kind = K::WaitBegan, .slot = 2, .name = QStringLiteral("rsync")});
            add(830, {.kind = K::TaskExited, .slot = 2, .pid = 4200 + d, .exitCode = d == 0 ? 0 : 23, .runMs = 827000});
            add(831, {.kind = K::WaitEnded, .slot = 2, .seconds = 827});
            if (d == 2) {
                add(832, {.kind = K::TaskSkipped, .slot = 3});
                add(833, {.kind = K::TaskSkipped, .slot = 4});
                add(834, {.kind = K::TaskStarted, .slot = 5, .pid = 4500, .file = QStringLiteral("/tmp/5.log")});
                add(835, {.kind = K::WaitBegan, .slot = 5, .name = QStringLiteral("updatedb")});
                add(30000, {.kind = K::PassInterrupted, .slot = 5, .reason = QStringLiteral("found at start")});
                break;
            }
            for (int n = 3; n <= 20; ++n)
                add(832, {.kind = K::TaskSkipped, .slot = n});
            add(900, {.kind = K::TaskExited, .slot = 1, .pid = 4100 + d, .runMs = 899000});
            add(917, {.kind = K::ChainEnded});
            add(928, {.kind = K::Autoclosed,
                      .reason = d == 0 ? QStringLiteral("COMPLETED SUCCESSFULLY")
                                       : QStringLiteral("COMPLETED WITH ERRORS - TASK 2 EXITED WITH 23")});
            if (d == 1) {
                add(928, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 4900});
                add(990, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 4900, .exitCode = 1});
            }
        }
        return lines;
    }
};

// The theme the pictures are taken in: "" for the light one, "-dark" for a
// dark one, whose pictures carry that suffix.
QString themeSuffix;

bool save(QWidget& window, const QDir& folder, const char* file)
{
    window.show();
    // Twice: a scroll area lays its contents out again once it knows whether
    // it needs its scroll bars.
    QApplication::processEvents();
    QApplication::processEvents();
    QString name = QLatin1String(file);
    name.insert(name.lastIndexOf(QLatin1Char('.')), themeSuffix);
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <typename View, typename Model, typename Prepare>
bool shoot(Model& model, QWidget& owner, const QDir& folder, const char* file, Prepare prepare)
{
    model.Form_Load();
    prepare(model);
    View view(model, &owner);
    const bool ok = save(view, folder, file);
    view.close();
    return ok;
}

// A dark theme as desktops set it: dark fields, light text.
QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35), base(0x2d, 0x2d, 0x2d), text(0xee, 0xee, 0xec);
    for (auto [role, colour] : {std::pair{QPalette::Window, window},
                                {QPalette::WindowText, text},
                                {QPalette::Base, base},
                                {QPalette::AlternateBase, window},
                                {QPalette::Text, text},
                                {QPalette::Button, window},
                                {QPalette::ButtonText, text},
                                {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                {QPalette::HighlightedText, Qt::white},
                                {QPalette::ToolTipBase, base},
                                {QPalette::ToolTipText, text},
                                {QPalette::PlaceholderText, QColor(0x99, 0x99, 0x99)}})
        p.setColor(role, colour);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return p;
}

int run(const QDir& folder)
{
    SimulatedClock clock;
    MemorySettingsStore store;
    FakeExecutableInfo exe(QStringLiteral("zb-sequenta"), QStringLiteral("/opt/zb-sequenta"));
    FakeLauncher launcher;
    FakeProcessQuery processes;
    FakeFolders folders;
    FakeFileDialog fileDialog;
    FakeFiles files;
    FakeCommandShell shell;
    seed(store, exe.baseName());
    processes.running.insert(QStringLiteral("rsync"), -1);

    // A desktop whose lock keys and window stacking answer: Num Lock on.
    FakeKeyboard keyboard;
    keyboard.states = {LockState::On, LockState::Off, LockState::Off};
    FakeWindowStacking stacking;
    Services services{clock, store, exe, launcher, processes, folders, fileDialog, files, shell};
    services.keyboard = &keyboard;
    services.stacking = &stacking;
    Program p(services);
    MainWindowView main(p.main);
    p.start();
    // Mid-run: slot 1's task ended badly after the chain had moved on, slot 2
    // waits for its process.
    p.main.MAIN_START_STOP_BUTTON.click();
    clock.advance(6000);
    launcher.end(1000, 3);

    bool ok = save(main, folder, "main-window.png");
    auto none = [](auto&) {};
    MainSettingsWindowModel settings(p.settings, p.main, nullptr, folders, exe);
    ok &= shoot<MainSettingsWindowView>(settings, main, folder, "main-settings.png", none);
    ManageTasksWindowModel manage(p.settings, p.main);
    ok &= shoot<ManageTasksWindowView>(manage, main, folder, "manage-tasks.png", none);
    SingleTaskSettingsWindowModel single(p.settings, p.main, nullptr, fileDialog, exe);
    ok &= shoot<SingleTaskSettingsWindowView>(single, main, folder, "single-task-settings.png",
                                              [](SingleTaskSettingsWindowModel& m) { m.TASK_LOAD_BUTTON[2].click(); });
    AllTaskSettingsWindowModel all(p.settings, p.main);
    ok &= shoot<AllTaskSettingsWindowView>(all, main, folder, "all-task-settings.png", none);
    EmailMainSettingsWindowModel email(p.settings, p.main, nullptr, fileDialog, files, shell, exe, clock);
    ok &= shoot<EmailMainSettingsWindowView>(
        email, main, folder, "email-settings.png", [](EmailMainSettingsWindowModel& m) {
            m.USE_BUTTON.click();
            m.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(QStringLiteral("mail.example.org:587"));
            m.SMTP_USERNAME_TEXTBOX.edit(QStringLiteral("backup-robot"));
            m.SMTP_PASSWORD_TEXTBOX.edit(QStringLiteral("correct horse"));
            m.SEND_FROM_ADDRESS_TEXTBOX.edit(QStringLiteral("backup-robot@example.org"));
            m.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("ops@example.org"));
            m.SEND_CC_ADDRESS_TEXTBOX.edit(QStringLiteral("lead@example.org"));
            m.TLS_NO_TICKBOX.click();
            m.TLS_YES_TICKBOX.click();
            m.COMMAND_UPDATE_TIMER_Timer();
        });
    EmailOutputCommandsWindowModel commands(p.settings, p.main, exe, shell.profile());
    ok &= shoot<EmailOutputCommandsWindowView>(
        commands, main, folder, "email-output-commands.png",
        [](EmailOutputCommandsWindowModel& m) { m.START_EMAIL_COMMAND_BUTTON.click(); });
    AboutWindowModel about(p.settings, clock, nullptr);
    // A moment into the colour ring.
    ok &= shoot<AboutWindowView>(about, main, folder, "about.png", [&clock](auto&) { clock.advance(600); });
    // The donations file as this build ships it.
    const InstalledProgramData data(
        InstalledProgramData::foldersFor(QCoreApplication::applicationDirPath() + QStringLiteral("/..")));
    DonationsWindowModel donations(p.settings, &data);
    ok &= shoot<DonationsWindowView>(donations, main, folder, "donations.png", none);
    // A daily start, created and running, the morning after a clean night.
    FakeCrontab crontab;
    processes.running.insert(QStringLiteral("cron"), -1);
    store.seed(exe.baseName(), QStringLiteral("TASK_STATUS_TEXTBOX"), QStringLiteral("TASK-CREATED"));
    store.seed(exe.baseName(), QStringLiteral("SELECT_ALL_DAYS_TICKBOX"), QStringLiteral("1"));
    store.seed(exe.baseName(), QStringLiteral("TASK_RUN_TIME_TEXTBOX"), QStringLiteral("01:59"));
    store.seed(exe.baseName(), QStringLiteral("ENABLE_SCHED_TASK_TICKBOX"), QStringLiteral("1"));
    store.seed(exe.baseName(), QStringLiteral("SCHEDULED_SINCE"), QStringLiteral("2026-12-01T18:00:00+01:00"));
    const QByteArray line = "59 1 * * * ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' PATH='/usr/local/bin:/usr/bin:/bin' "
                            "LANG='en_GB.UTF-8' '/opt/zb-sequenta/zb-sequenta' # ZB-SEQUENTA - zb-sequenta";
    crontab.table = line + '\n';
    SampleJournal journal;
    SchedulerWindowModel scheduler(p.settings, crontab, processes, exe);
    scheduler.zone = QTimeZone(QByteArray("Europe/Berlin"));
    scheduler.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(9, 0), QTimeZone(QByteArray("Europe/Berlin"))); };
    scheduler.setJournal(&journal);
    ok &= shoot<SchedulerWindowView>(scheduler, main, folder, "scheduler.png", [line](SchedulerWindowModel& m) {
        m.OUTPUT_COMMAND_TEXTBOX.setText(QString::fromUtf8(line));
    });
    HistoryWindowModel history(p.settings, journal, files);
    // The last night's mirror picked, with the end of its output.
    QByteArray output;
    for (int i = 1; i <= 40; ++i)
        output += "home/me/projects/file-" + QByteArray::number(i) + ".txt\n";
    output += "\nsent 1,204,331 bytes  received 2,114 bytes  1,455.09 bytes/sec\n"
              "total size is 9,812,400,122  speedup is 8,143.22\n";
    files.texts.insert(QStringLiteral("/tmp/2.log"), output);
    history.Form_Load();
    {
        HistoryWindowView view(history, &main);
        QTreeWidgetItem* night = view.tree()->topLevelItem(0);
        view.tree()->setCurrentItem(night->child(1));
        ok &= save(view, folder, "history.png");
        view.close();
    }
    return ok ? 0 : 1;
}

} // namespace
} // namespace zb

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots"));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    zb::applyProgramIdentity();
    int status = zb::run(folder);
    // The same windows in a dark theme.
    QApplication::setPalette(zb::darkPalette());
    zb::themeSuffix = QStringLiteral("-dark");
    status |= zb::run(folder);
    return status;
}
