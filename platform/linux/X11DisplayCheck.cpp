#include "platform/DisplayCheck.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zb {

namespace {

// What Qt says while the display opens is held back: its platform plugins'
// words are the reason when it fails, the rest is said once stderr is back.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
    bool platform() const { return category.startsWith("qt.qpa"); }
};
std::mutex messagesMutex;
QList<HeldMessage>* heldMessages = nullptr;
QtMessageHandler previousHandler = nullptr;

void pass(const HeldMessage& m)
{
    const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
    if (previousHandler != nullptr)
        previousHandler(m.type, context, m.text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    HeldMessage m{type, QByteArray(context.category), text};
    {
        const std::lock_guard<std::mutex> lock(messagesMutex);
        if (heldMessages != nullptr) {
            heldMessages->append(std::move(m));
            return;
        }
    }
    pass(m);
}

// Text from other programs as one short line of plain text: it goes to the
// journal and stderr.
QString oneLine(const QByteArray& raw)
{
    QByteArray text;
    for (const char c : raw)
        text += (c >= 0x20 && c < 0x7f) ? c : ' ';
    return QString::fromLatin1(text.simplified().left(200));
}

class LinuxDisplayOpening : public DisplayOpening {
public:
    LinuxDisplayOpening(int seconds, bool platformGiven, Hang onHang) : display_(qEnvironmentVariable("DISPLAY"))
    {
        // Only where Qt would take X anyway: a platform or a Wayland session
        // chosen by the user is left alone.
        asked_ = !platformGiven && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                 qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (asked_)
            qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        // libxcb tells why a server turned the program away on stderr: kept
        // in memory, which never blocks the writer, and said in one line.
        savedStderr_ = dup(STDERR_FILENO);
        capture_ = memfd_create("zb-display-opening", MFD_CLOEXEC);
        if (savedStderr_ >= 0 && capture_ >= 0)
            dup2(capture_, STDERR_FILENO);
        {
            const std::lock_guard<std::mutex> lock(messagesMutex);
            heldMessages = &messages_;
        }
        previousHandler = qInstallMessageHandler(holdMessage);
        watchdog_ = std::thread([this, seconds, hang = std::move(onHang)] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; }))
                return;
            restoreStderr();
            hang(QStringLiteral("the display %1 did not answer within %2 seconds").arg(display_).arg(seconds));
            _exit(1);
        });
    }

    ~LinuxDisplayOpening() override { finish(QString()); }

    QString finish(const QString& platformChosen) override
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (finished_)
                return {};
            finished_ = true;
        }
        done_.notify_all();
        watchdog_.join();
        qInstallMessageHandler(previousHandler);
        QList<HeldMessage> held;
        {
            const std::lock_guard<std::mutex> lock(messagesMutex);
            heldMessages = nullptr;
            held.swap(messages_);
        }
        const QByteArray written = captured();
        restoreStderr();
        if (capture_ >= 0)
            close(capture_);
        // The tasks get the session as the user left it.
        if (asked_)
            qunsetenv("QT_QPA_PLATFORM");
        const bool opened = !asked_ || platformChosen != QLatin1String("offscreen");
        QString platformSaid;
        for (const HeldMessage& m : held)
            if (opened || !m.platform())
                pass(m);
            else if (platformSaid.isEmpty())
                platformSaid = m.text;
        if (opened) {
            // What the libraries said belongs to the program's stderr as usual.
            (void)!write(STDERR_FILENO, written.constData(), static_cast<size_t>(written.size()));
            return {};
        }
        if (const QString server = oneLine(written); !server.isEmpty())
            return QStringLiteral("the display %1 refuses the connection: %2").arg(display_, server);
        const QString qt = oneLine(platformSaid.toLocal8Bit());
        return qt.isEmpty() ? QStringLiteral("the display %1 cannot be used").arg(display_)
                            : QStringLiteral("the display %1 cannot be used: %2").arg(display_, qt);
    }

private:
    QByteArray captured() const
    {
        QByteArray text;
        if (capture_ < 0)
            return text;
        char buffer[1024];
        for (ssize_t n = 0; text.size() < 4096 && (n = pread(capture_, buffer, sizeof buffer, text.size())) > 0;)
            text.append(buffer, n);
        return text;
    }

    void restoreStderr()
    {
        if (savedStderr_ >= 0) {
            dup2(savedStderr_, STDERR_FILENO);
            close(savedStderr_);
            savedStderr_ = -1;
        }
    }

    QString display_;
    bool asked_ = false;
    int savedStderr_ = -1;
    int capture_ = -1;
    QList<HeldMessage> messages_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread watchdog_;
};

} // namespace

std::unique_ptr<DisplayOpening> beginDisplayOpening(int seconds, bool platformGiven, DisplayOpening::Hang onHang)
{
    return std::make_unique<LinuxDisplayOpening>(seconds, platformGiven, std::move(onHang));
}

void restartThisProgram(char** argv, const QList<QByteArray>& changes)
{
    // A new environment of its own: setenv here could race the stuck thread.
    std::vector<char*> environment;
    for (const QByteArray& change : changes)
        environment.push_back(const_cast<char*>(change.constData()));
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const QByteArray entryText(*entry);
        const QByteArray name = entryText.left(entryText.indexOf('=') + 1);
        if (std::none_of(changes.begin(), changes.end(), [&](const QByteArray& c) { return c.startsWith(name); }))
            environment.push_back(*entry);
    }
    environment.push_back(nullptr);
    execve("/proc/self/exe", argv, environment.data());
}

} // namespace zb
