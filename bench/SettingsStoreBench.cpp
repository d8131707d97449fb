// The settings file, earlier store (QSettings) against the current one, side
// by side: one write, a shut-down's group of 43 writes and the start-up read,
// on a full file of one copy and on a file of 100,000 keys.
#include "QSettingsBaselineStore.h"
#include "platform/qt/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace zb {
namespace {

const QString kSection = QStringLiteral("zb-sequenta");

QStringList catalogueKeys()
{
    QStringList keys = {QStringLiteral("MAIN-Left"),
                        QStringLiteral("MAIN-Top"),
                        QStringLiteral("MAIN-Width"),
                        QStringLiteral("MAIN-Height"),
                        QStringLiteral("LAST_RUN"),
                        QStringLiteral("AUTOSTART_TICKBOX"),
                        QStringLiteral("AUTOCLOSE_TICKBOX"),
                        QStringLiteral("AlwaysOnTopTimer_TICKBOX"),
                        QStringLiteral("KITT_AUTOSTART_TICKBOX"),
                        QStringLiteral("START_EMAIL_TICKBOX"),
                        QStringLiteral("END_EMAIL_TICKBOX")};
    for (int n = 1; n <= 20; ++n)
        for (const char* suffix : {"ENABLE_TICKBOX", "PAUSE_TICKBOX", "TICKBOX_CAPTION", "CMD", "PROCESS_NAME_TEXTBOX"})
            keys.append(QStringLiteral("TASK_%1_%2").arg(n).arg(QLatin1String(suffix)));
    return keys;
}

// The file one copy has after some use, plus `extraKeys` keys of other copies.
QByteArray seededFile(int extraKeys)
{
    QByteArray out = "[" + kSection.toUtf8() + "]\n";
    for (const QString& key : catalogueKeys())
        out += key.toUtf8() + "=/usr/local/bin/job --verbose --slot 7\n";
    for (int i = 0; i < extraKeys; ++i) {
        if (i % 100 == 0)
            out += "\n[copy-" + QByteArray::number(i / 100) + "]\n";
        out += "TASK_" + QByteArray::number(i % 100) + "_CMD=/usr/local/bin/job --verbose --slot 7\n";
    }
    return out;
}

struct SeededFolder {
    explicit SeededFolder(int extraKeys)
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile f(path());
        f.open(QIODevice::WriteOnly);
        f.write(seededFile(extraKeys));
    }
    QString path() const { return dir.path() + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini"); }
    QTemporaryDir dir;
};

int extraKeys(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

template <class Store>
void BM_OneWrite(benchmark::State& state)
{
    SeededFolder folder(extraKeys(state));
    Store store(folder.path());
    int i = 0;
    for (auto _ : state)
        store.saveSetting(kSection, QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY %1").arg(++i));
}

// Position, 40 slot switches and the last-run text, as the main window's close.
template <class Store>
void BM_ShutDownGroup(benchmark::State& state)
{
    SeededFolder folder(extraKeys(state));
    Store store(folder.path());
    int i = 0;
    for (auto _ : state) {
        const SettingsBatch batch(store);
        ++i;
        store.saveSetting(kSection, QStringLiteral("MAIN-Left"), QString::number(1000 + i));
        store.saveSetting(kSection, QStringLiteral("MAIN-Top"), QString::number(1000 + i));
        for (int n = 1; n <= 20; ++n)
            store.saveSetting(kSection, QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n), QString::number(i % 2));
        for (int n = 1; n <= 20; ++n)
            store.saveSetting(kSection, QStringLiteral("TASK_%1_PAUSE_TICKBOX").arg(n), QString::number(i % 2));
        store.saveSetting(kSection, QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    }
}

// Opening the store and reading every key of the copy, as the start-up does.
template <class Store>
void BM_StartUpRead(benchmark::State& state)
{
    SeededFolder folder(extraKeys(state));
    const QStringList keys = catalogueKeys();
    for (auto _ : state) {
        Store store(folder.path());
        for (const QString& key : keys)
            benchmark::DoNotOptimize(store.getSetting(kSection, key, QString()));
    }
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->ArgName("extra_keys")->Arg(0)->Arg(100'000 - 111)->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(BM_OneWrite, QSettingsBaselineStore)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_OneWrite, IniSettingsStore)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_ShutDownGroup, QSettingsBaselineStore)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_ShutDownGroup, IniSettingsStore)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_StartUpRead, QSettingsBaselineStore)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_StartUpRead, IniSettingsStore)->Apply(sizes);

} // namespace
} // namespace zb
