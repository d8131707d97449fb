#include "SingleInstanceGuard.h"

#include "platform/SingleInstance.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace zb {

namespace {
constexpr int kMessageSeconds = 15;
}

bool claimOrHandOver(SingleInstance& instance, const QString& name, bool withWindow)
{
    if (instance.claim(name))
        return true;
    handOver(instance, name, withWindow);
    return false;
}

void handOver(SingleInstance& instance, const QString& name, bool withWindow)
{
    if (const QString why = instance.refusal(); !why.isEmpty()) {
        const QString text =
            QStringLiteral("%1 was not started, because one copy per name cannot be made sure: %2.").arg(name, why);
        std::fprintf(stderr, "ZB-SEQUENTA: %s\n", qPrintable(text));
        QMessageBox box(QMessageBox::Warning, QStringLiteral("ZB-SEQUENTA - ") + name, text, QMessageBox::Ok);
        box.setObjectName(QStringLiteral("LOCK_REFUSED_MESSAGE"));
        QTimer::singleShot(kMessageSeconds * 1000, &box, &QMessageBox::accept);
        if (withWindow)
            box.exec();
        return;
    }
    const QString pid = instance.runningPid() > 0 ? QStringLiteral(" (pid %1)").arg(instance.runningPid()) : QString();
    const bool raised = instance.askRunningToActivate();
    const QString text = QStringLiteral("%1 is already running%2.").arg(name, pid);
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (!withWindow)
        return;

    QMessageBox box(QMessageBox::Information, QStringLiteral("ZB-SEQUENTA - ") + name,
                    text + (raised ? QStringLiteral(" Its window has been brought to the front.") : QString()),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ALREADY_RUNNING_MESSAGE"));
    // Above the running copy's window, which may itself stay on top.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QTimer::singleShot(kMessageSeconds * 1000, &box, &QMessageBox::accept);
    box.exec();
}

void bringToFrontOnRequest(SingleInstance& instance, QWidget& window)
{
    instance.onActivationRequest([&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
}

} // namespace zb
