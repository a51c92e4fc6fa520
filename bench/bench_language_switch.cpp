// One language switch of the main window (the walk, the look-ups and the
// marker bookkeeping), over alternating German/English switches, beside the
// time to construct the main window, measured in the same run. Target: a
// switch costs less than a tenth of constructing the window.
#include "ui/main/uMain.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "core/i18n/LanguageManager.h"

#include <QApplication>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {
TMainSetup setupFor(SimBus &bus, const QTemporaryDir &dir)
{
    TMainSetup s;
    s.ControllerFactory = [&bus] { return std::make_unique<SimController>(&bus); };
    s.SettingsPath = dir.filePath(QStringLiteral("CORVANE_Config.ini"));
    return s;
}

void BM_ConstructMainWindow(benchmark::State &state)
{
    SimBus bus;
    QTemporaryDir dir;
    for (auto _ : state) {
        TMain window(setupFor(bus, dir));
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(BM_ConstructMainWindow)->Unit(benchmark::kMillisecond);

void BM_LanguageSwitch(benchmark::State &state)
{
    SimBus bus;
    QTemporaryDir dir;
    TMain window(setupFor(bus, dir));
    TLanguage *de = SystemLanguages->FindLanguageExact(QStringLiteral("de"));
    TLanguage *en = SystemLanguages->FindLanguageExact(QStringLiteral("en"));
    bool german = false;
    for (auto _ : state) {
        german = !german;
        LanguageManager->CurrentLanguage = german ? de : en;
        LanguageManager->Translate(&window);
    }
}
BENCHMARK(BM_LanguageSwitch)->Iterations(100)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    initLocalisation();
    const int rc = runBenchmarks<QApplication>(argc, argv);
    shutdownLocalisation();
    return rc;
}
