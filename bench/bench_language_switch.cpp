// The language switch as the user makes it, beside building the window, in
// one run. A switch is the selector's handler (the texts, the names for
// assistive technology and the window's new size) with the relayout and
// repaint that follow before the user sees it; it alternates between
// German and English on a shown window. Building the window likewise runs
// until the user sees it: construction, first layout and first paint.
// Target: a switch costs at most a quarter of building the window.
#include "ui/main/uMain.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "core/i18n/LanguageManager.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>

#include <memory>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {
MainSetup setupFor(SimBus &bus, const QTemporaryDir &dir)
{
    MainSetup s;
    s.controllerFactory = [&bus] { return std::make_unique<SimController>(&bus); };
    s.settingsPath = dir.filePath(QStringLiteral("CORVANE_Config.ini"));
    return s;
}

// Until the layouts, updates and paints the last step asked for are done.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void BM_BuildMainWindow(benchmark::State &state)
{
    SimBus bus;
    QTemporaryDir dir;
    for (auto _ : state) {
        auto window = std::make_unique<TMain>(setupFor(bus, dir));
        window->show();
        window->Timer1.stop(); // no device link: only the window is measured
        settle();
        state.PauseTiming(); // closing it is no part of building it
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LanguageSwitchAsTheUserMakesIt(benchmark::State &state)
{
    SimBus bus;
    QTemporaryDir dir;
    TMain window(setupFor(bus, dir));
    window.show();
    window.Timer1.stop(); // no device link: only the switch is measured
    settle();
    QComboBox *selector = window.cbLang;
    const int german = selector->findData(QStringLiteral("de"));
    const int english = selector->findData(QStringLiteral("en"));
    if (german < 0 || english < 0) {
        state.SkipWithError("German and English must be listed");
        return;
    }
    for (auto _ : state) {
        const int next = selector->currentIndex() == german ? english : german;
        selector->setCurrentIndex(next);
        emit selector->activated(next);
        settle();
    }
}
BENCHMARK(BM_LanguageSwitchAsTheUserMakesIt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
} // namespace

int main(int argc, char **argv)
{
    initLocalisation();
    const int rc = runBenchmarks<QApplication>(argc, argv);
    shutdownLocalisation();
    return rc;
}
