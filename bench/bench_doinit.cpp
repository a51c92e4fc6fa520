// A full load of the editor (DoInit) against a simulated controller that
// answers at once. Each of the 21 reads must wait 2 ms before its first
// poll; the counter "vs_floor" is the wall time of one load over that floor
// of 42 ms (target <= 1.15), so it shows what filling the editor costs.
#include "ui/editor/ConfigEditorForm.h"
#include "ui/editor/uConfig.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/uComHid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr double kFloorSeconds = 21 * 0.002;

// The editor and the main window's controls the load touches.
struct Window : QWidget, TCfgHost {
    SimBus bus;
    TComHid hid{[this] { return std::make_unique<SimController>(&bus); }};
    TCrypt crypt{};
    bool loaded = false;

    Window()
    {
        auto *lay = new QVBoxLayout(this);
        lay->addWidget(new ConfigEditorForm(this));
        const std::pair<QWidget *, const char *> extra[] = {
            {new QLabel(this), "labCapacity"},
            {new QPushButton(this), "ButSaveConfig"},
            {new QCheckBox(this), "chkAutoSend"},
            {new QStatusBar(this), "sBar"},
        };
        for (const auto &[w, name] : extra) {
            w->setObjectName(QLatin1String(name));
            lay->addWidget(w);
        }
        bus.AddSane(1);
        hid.SetOnEnum({});
        hid.SetDevice(0);
        crypt = DeriveCrypt(bus.Units()[0]->Firmware().Model().CpuInfo.data());
    }

    bool &CfgLoaded() override { return loaded; }
    TComHid *ComHid() override { return &hid; }
    const TCrypt &Crypt() const override { return crypt; }
};

void BM_DoInit(benchmark::State &state)
{
    Window win;
    TCfg cfg(&win, win);
    for (auto _ : state) {
        win.loaded = false;
        cfg.DoInit();
        if (!win.loaded)
            state.SkipWithError("load failed");
    }
    state.counters["vs_floor"] = benchmark::Counter(
        double(state.iterations()) * kFloorSeconds,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DoInit)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    // Widgets need a platform; a benchmark run has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
